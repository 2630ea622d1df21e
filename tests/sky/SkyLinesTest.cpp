// The built-in sky's answers for the later click-text lines against an independent
// computation (tests/data/skylines/reference.txt, made by tools/skylines/make_reference.py):
// sidereal time, airmass, light time, phase angle and the next rise, transit and set; and
// what every kind of object answers, and the observing window, by their definitions.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "sky/SkyHost.h"

namespace {

const std::map<std::string, std::array<double, 3>> kSites = {
    {"tokyo", {139.745, 35.654, 40.0}}, {"greenwich", {-0.0015, 51.4769, 46.0}}, {"santiago", {-70.6483, -33.4489, 570.0}}};

double Ask(CSkyHost& host, const std::string& query) {
    const CString answer = host.Execute(CString(("? " + query).c_str()));
    return answer.IsEmpty() || answer == L"*" ? NAN : std::wcstod(answer.GetString(), nullptr);
}

struct Worst {
    double value = 0.0;
    std::string where;
    void Take(double got, double want, double scale, const std::string& w) {
        const double e = std::isnan(want) ? 0.0 : std::fabs(got - want) * scale;
        if (!(e <= value)) {
            value = e;
            where = w;
        }
    }
};

TEST(SkyLines, NumbersAgreeWithTheReferenceTable) {
    std::ifstream in(std::string(ZCMCOM_TEST_DATA) + "/skylines/reference.txt");
    ASSERT_TRUE(in.good());
    // Quantity: worst error in its unit, and the bound.
    std::map<std::string, Worst> worst;
    const std::map<std::string, double> bound = {{"sidereal s", 0.01}, {"airmass", 0.001}, {"light time s", 0.01},
                                                 {"phase angle deg", 0.01}, {"events min", 1.0}};
    std::string line;
    int rows = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        std::string site, path, field[10];
        s >> field[0] >> site >> path;
        for (int i = 1; i < 8; ++i) s >> field[i];
        ASSERT_FALSE(s.fail()) << line;
        double v[8];
        for (int i = 0; i < 8; ++i) v[i] = std::strtod(field[i].c_str(), nullptr);  // "nan" too
        const double jd = v[0], lst = v[1], airmass = v[2], light = v[3], phase = v[4];
        const double* events = v + 5;
        const auto& r = kSites.at(site);
        CSkyHost host(jd);
        host.SetSite(r[0], r[1], r[2]);
        const std::string where = path + " " + std::to_string(jd) + " " + site;
        double st = Ask(host, "Time.SiderealTime") - lst;
        st -= 24.0 * std::round(st / 24.0);
        worst["sidereal s"].Take(st, 0.0, 3600.0, where);
        worst["airmass"].Take(Ask(host, path + ".position.Airmass"), airmass, 1.0, where);
        worst["light time s"].Take(Ask(host, path + ".position.LightTime"), light, 1.0, where);
        worst["phase angle deg"].Take(Ask(host, path + ".position.PhaseAngle"), phase, 1.0, where);
        const char* const kEvents[] = {".Jd.NextRise", ".Jd.NextTransit", ".Jd.NextSet"};
        for (int i = 0; i < 3; ++i)
            worst["events min"].Take(Ask(host, path + kEvents[i]), events[i], 1440.0, where + kEvents[i]);
        ++rows;
    }
    EXPECT_EQ(rows, 120);
    for (const auto& [name, w] : worst) {
        std::printf("%-16s worst %.5f (%s)\n", name.c_str(), w.value, w.where.c_str());
        EXPECT_LT(w.value, bound.at(name)) << name << " worst at " << w.where;
    }
}

// 2026-12-06 12:00 UT at Tokyo: 21:00 local, the Sun far down, Orion rising.
constexpr double kEvening = 2461381.0;

TEST(SkyLines, EveryKindWithAPlaceAnswersAndTheRestAnswerEmptyOrStar) {
    CSkyHost host(kEvening);
    host.SetMark(2.0, 10.0);
    const struct {
        const char* path;
        const char* constellation;
        bool body;  // light time and phase angle
    } kObjects[] = {{"Solar.Planet.Mars", "しし座", true},
                    {"Solar.Planet.Earth.Satellite.Moon", "てんびん座", true},
                    {"Star.HIP.32349", "おおいぬ座", false},
                    {"DeepSkyObject.M.42", "オリオン座", false},
                    {"Equatorial", "おひつじ座", false}};
    for (const auto& o : kObjects) {
        const std::string p = o.path;
        EXPECT_EQ(host.Execute(CString(("? " + p + ".position.Constellation.JapaneseName").c_str())),
                  CString(o.constellation))
            << p;
        EXPECT_TRUE(std::isfinite(Ask(host, p + ".position.ParallacticAngle"))) << p;
        EXPECT_TRUE(std::isfinite(Ask(host, p + ".Jd.NextTransit"))) << p;
        EXPECT_EQ(std::isfinite(Ask(host, p + ".position.LightTime")), o.body) << p;
    }
    // Below the horizon there is no airmass; the magnitude after extinction needs one.
    EXPECT_EQ(host.Execute(L"? Solar.Sun.position.Airmass"), L"*");
    EXPECT_EQ(host.Execute(L"? Solar.Sun.position.ExtinctedMagnitude"), L"*");
    // M42 at 28 degrees from 40 m: 4.0 + 0.276 x 2.103.
    EXPECT_NEAR(Ask(host, "DeepSkyObject.M.42.position.ExtinctedMagnitude"), 4.58, 0.01);
    // A star is at no finite distance: no light time; a point has no provenance.
    EXPECT_EQ(host.Execute(L"? Star.HIP.32349.position.LightTime"), L"*");
    EXPECT_EQ(host.Execute(L"? Equatorial.Provenance"), L"");
    EXPECT_EQ(host.Execute(L"? Solar.Planet.Mars.Provenance"), L"VSOP87");
    EXPECT_EQ(host.Execute(L"? Star.HIP.99999999.Jd.NextRise"), L"");
    // The moved instant is put back.
    EXPECT_EQ(host.GetJd(), kEvening);
}

TEST(SkyLines, ObservingWindowLiesInTheDarkWithTheObjectAboveTwentyDegrees) {
    CSkyHost host(kEvening);
    const CString window = host.Execute(L"? DeepSkyObject.M.42.Jd.ObservingWindow");
    const int comma = window.Find(L',');
    ASSERT_GT(comma, 0) << window.ToUtf8();
    const double start = _wtof(window.Left(comma)), end = _wtof(window.Mid(comma + 1));
    ASSERT_LT(start, end);
    for (const double t : {start + 1e-4, (start + end) / 2.0, end - 1e-4}) {
        CSkyHost at(t);
        EXPECT_LT(Ask(at, "Solar.Sun.position.Altitude"), -18.0);
        EXPECT_GT(Ask(at, "DeepSkyObject.M.42.position.Altitude"), 20.0);
    }
    // Each end is where one of the two conditions turns.
    for (const double t : {start, end}) {
        CSkyHost at(t);
        const double sun = Ask(at, "Solar.Sun.position.Altitude");
        const double m42 = Ask(at, "DeepSkyObject.M.42.position.Altitude");
        EXPECT_TRUE(std::fabs(sun + 18.0) < 0.02 || std::fabs(m42 - 20.0) < 0.02) << sun << " " << m42;
    }
    // The Sun is never in a dark sky; Sigma Octantis never climbs 20 degrees at Tokyo.
    EXPECT_EQ(host.Execute(L"? Solar.Sun.Jd.ObservingWindow"), L"0");
    host.SetSite(139.745, 78.0, 0.0);  // Svalbard's latitude in June: no night at all
    host.SetJd(2461212.5);
    EXPECT_EQ(host.Execute(L"? DeepSkyObject.M.42.Jd.ObservingWindow"), L"0");
}

}  // namespace
