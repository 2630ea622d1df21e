// SPDX-License-Identifier: LGPL-3.0-or-later
// The built-in sky's answers for the later click-text lines against an independent
// computation (tests/data/skylines/reference.txt, made by tools/skylines/make_reference.py):
// sidereal time, airmass, light time, phase angle and the next rise, transit and set; and
// what every kind of object answers, and the observing window, by their definitions.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "sky/SkyHost.h"
#include "SkyTables.h"
#include "support/Accuracy.h"
#include "support/SkyClick.h"
#include "support/TestUtil.h"

namespace {

const std::map<std::string, std::array<double, 3>> kSites = {
    {"tokyo", {139.745, 35.654, 40.0}},
    {"greenwich", {-0.0015, 51.4769, 46.0}},
    {"santiago", {-70.6483, -33.4489, 570.0}}};

// Bounds by object, with the worst measured, in tests/data/skylines/bounds.txt; the sidereal
// time's with its figure (in the comment), about twice it.
enum Line { kAirmass, kLight, kPhase, kEvents, kLines };
const char* const kLineNames[kLines] = {"airmass above 10 degrees", "light time, s",
                                        "phase angle, deg", "next rise, transit and set, min"};
constexpr double kSiderealS = 0.01;  // 0.0065 s

TEST(SkyLines, NumbersAgreeWithTheReferenceTable) {
    WorstError sidereal;
    std::map<std::string, WorstError> worst[kLines];
    const std::vector<std::string> rows = DataRows("skylines/reference.txt", 10);
    for (const std::string& line : rows) {
        std::istringstream s(line);
        std::string site, path, field[8];
        s >> field[0] >> site >> path;
        for (int i = 1; i < 8; ++i) s >> field[i];
        ASSERT_FALSE(s.fail()) << line;
        double v[8];
        for (int i = 0; i < 8; ++i) v[i] = std::strtod(field[i].c_str(), nullptr);  // "nan" too
        const auto& r = kSites.at(site);
        CSkyHost host(v[0]);
        host.SetSite(r[0], r[1], r[2]);
        const std::string where = field[0] + " " + site;
        const double st = AskNumber(host, "Time.SiderealTime") - v[1];
        sidereal.Add((st - 24.0 * std::round(st / 24.0)) * 3600.0, where);
        // Where the reference has no value (airmass under 10 degrees too), no row.
        const std::string object = path.rfind("Star.HIP.", 0) == 0
                                       ? "HIP" + path.substr(9)
                                       : path.substr(path.rfind('.') + 1);
        const auto add = [&](Line l, double got, double want, double scale, const char* what) {
            if (!std::isnan(want)) worst[l][object].Add((got - want) * scale, where + what);
        };
        add(kAirmass, AskNumber(host, path + ".position.Airmass"), v[2], 1.0, "");
        add(kLight, AskNumber(host, path + ".position.LightTime"), v[3], 1.0, "");
        add(kPhase, AskNumber(host, path + ".position.PhaseAngle"), v[4], 1.0, "");
        const char* const kNext[] = {".Jd.NextRise", ".Jd.NextTransit", ".Jd.NextSet"};
        for (int i = 0; i < 3; ++i)
            add(kEvents, AskNumber(host, path + kNext[i]), v[5 + i], 1440.0, kNext[i]);
    }
    EXPECT_EQ(rows.size(), 120u);
    sidereal.Expect("local apparent sidereal time", kSiderealS, "s");
    const auto bounds = BoundsIn<kLines>("skylines/bounds.txt");
    for (int l = 0; l < kLines; ++l) ExpectEach(worst[l], bounds, l, kLineNames[l]);
}

// 2026-12-06 12:00 UT at Tokyo: 21:00 local, the Sun far down, Orion rising.
constexpr double kEvening = 2461381.0;

TEST(SkyLines, EveryKindAnswersAndTheObservingWindowLiesInTheDark) {
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
        EXPECT_EQ(
            host.Execute(CString(("? " + p + ".position.Constellation.JapaneseName").c_str())),
            CString(o.constellation))
            << p;
        EXPECT_TRUE(std::isfinite(AskNumber(host, p + ".position.ParallacticAngle"))) << p;
        EXPECT_TRUE(std::isfinite(AskNumber(host, p + ".Jd.NextTransit"))) << p;
        EXPECT_EQ(std::isfinite(AskNumber(host, p + ".position.LightTime")), o.body) << p;
    }
    ExpectAnswersIn(host, "skylines/answers.txt");
    // The moved instant is put back; a point moved elsewhere has events of its own.
    EXPECT_EQ(host.GetJd(), kEvening);
    const CString transit = host.Execute(L"? Equatorial.Jd.NextTransit");
    host.SetMark(14.0, 10.0);
    EXPECT_NE(host.Execute(L"? Equatorial.Jd.NextTransit"), transit);

    // The observing window lies in the dark with the object above 20 degrees. M42 rises to 20
    // degrees after dusk; M31 stands high when the night falls.
    for (const std::string path : {"DeepSkyObject.M.42", "DeepSkyObject.M.31"}) {
        const CString window = host.Execute(CString(("? " + path + ".Jd.ObservingWindow").c_str()));
        const int comma = window.Find(L',');
        ASSERT_GT(comma, 0) << window.ToUtf8();
        const double start = _wtof(window.Left(comma)), end = _wtof(window.Mid(comma + 1));
        ASSERT_LT(start, end);
        for (const double t : {start + 1e-4, (start + end) / 2.0, end - 1e-4}) {
            CSkyHost at(t);
            EXPECT_LT(AskNumber(at, "Solar.Sun.position.Altitude"), -18.0) << path;
            EXPECT_GT(AskNumber(at, path + ".position.Altitude"), 20.0) << path;
        }
        // Each end is where one of the two conditions turns.
        for (const double t : {start, end}) {
            CSkyHost at(t);
            const double sun = AskNumber(at, "Solar.Sun.position.Altitude");
            const double object = AskNumber(at, path + ".position.Altitude");
            EXPECT_TRUE(std::fabs(sun + 18.0) < 0.02 || std::fabs(object - 20.0) < 0.02)
                << path << " " << sun << " " << object;
        }
    }
    // The Sun is never in a dark sky; Sigma Octantis never climbs 20 degrees at Tokyo.
    EXPECT_EQ(host.Execute(L"? Solar.Sun.Jd.ObservingWindow"), L"0");
    host.SetSite(139.745, 78.0, 0.0);  // Svalbard's latitude in June: no night at all
    host.SetJd(2461212.5);
    EXPECT_EQ(host.Execute(L"? DeepSkyObject.M.42.Jd.ObservingWindow"), L"0");
}

}  // namespace
