// SPDX-License-Identifier: LGPL-3.0-or-later
// The sky's ephemeris against DE405 reduced by ERFA (tests/data/sky/de405.txt, made by
// tools/ephemeris/make_de405_reference.py), the ephemeris file itself, and the spans each
// source holds for.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "SkyTables.h"
#include "sky/DataFolders.h"
#include "sky/bodies/Ephemeris.h"
#include "sky/bodies/EphemerisFile.h"

namespace {

constexpr double kArcsec = 1.0 / 3600.0;

std::string PathOf(const std::string& body) {
    if (body == "Sun") return "Solar.Sun";
    if (body == "Moon") return "Solar.Planet.Earth.Satellite.Moon";
    if (body == "Pluto") return "Solar.DwarfPlanet.Pluto";
    return "Solar.Planet." + body;
}

// The angle between two directions given in degrees, arc seconds.
double Separation(double ra1, double dec1, double ra2, double dec2) {
    const double r = M_PI / 180.0;
    const double c = std::sin(dec1 * r) * std::sin(dec2 * r) +
                     std::cos(dec1 * r) * std::cos(dec2 * r) * std::cos((ra1 - ra2) * r);
    const double s =
        std::hypot(std::cos(dec2 * r) * std::sin((ra1 - ra2) * r),
                   std::cos(dec1 * r) * std::sin(dec2 * r) -
                       std::sin(dec1 * r) * std::cos(dec2 * r) * std::cos((ra1 - ra2) * r));
    return std::atan2(s, c) / r / kArcsec;
}

const std::map<std::string, sky::Body> kBodies = {
    {"Sun", sky::Body::Sun},       {"Moon", sky::Body::Moon},     {"Mercury", sky::Body::Mercury},
    {"Venus", sky::Body::Venus},   {"Mars", sky::Body::Mars},     {"Jupiter", sky::Body::Jupiter},
    {"Saturn", sky::Body::Saturn}, {"Uranus", sky::Body::Uranus}, {"Neptune", sky::Body::Neptune},
    {"Pluto", sky::Body::Pluto}};

}  // namespace

// The astrometric place and the distance are the ephemeris' own and held to DE405's
// precision; the texts' places (asked at the UT whose TT is the table's by the library's
// Delta T when the table was made), the apparent place and the horizon add ERFA's reductions.
TEST(SkyEphemeris, PlacesAgreeWithDe405ReducedByErfa) {
    const std::vector<std::string> rows = DataRows("sky/de405.txt", 11);
    ASSERT_EQ(rows.size(), 5200u);
    const std::map<std::string, std::array<double, 3>> sites = {
        {"tokyo", {139.745, 35.654, 40.0}}, {"santiago", {-70.6483, -33.4489, 570.0}}};
    std::map<std::string, WorstError> astrometric, distance, hostJ2000, apparent, horizon;
    for (const std::string& line : rows) {
        std::istringstream s(line);
        double tt, ut, ra, dec, dist, raApp, decApp, alt, az;
        std::string site, body;
        s >> tt >> ut >> site >> body >> ra >> dec >> dist >> raApp >> decApp >> alt >> az;
        ASSERT_FALSE(s.fail()) << line;
        const std::string where = body + " " + std::to_string(tt) + " " + site;
        double d = NAN;
        const sky::Vec v = sky::AstrometricGeocentric(kBodies.at(body), tt, &d);
        astrometric[body].Add(
            Separation(std::atan2(v.y, v.x) * 180.0 / M_PI,
                       std::atan2(v.z, std::hypot(v.x, v.y)) * 180.0 / M_PI, ra, dec),
            where);
        distance[body].Add((d - dist) / dist, where);

        const std::array<double, 3>& at = sites.at(site);
        CSkyHost host(ut);
        host.SetSite(at[0], at[1], at[2]);
        const std::string path = PathOf(body);
        hostJ2000[body].Add(Separation(AskNumber(host, path + ".position.RA") * 15.0,
                                       AskNumber(host, path + ".position.DEC"), ra, dec),
                            where);
        apparent[body].Add(
            Separation(AskNumber(host, path + ".position.EquatorialDateApp.RA") * 15.0,
                       AskNumber(host, path + ".position.EquatorialDateApp.DEC"), raApp, decApp),
            where);
        // Azimuth as a longitude, altitude as a latitude.
        horizon[body].Add(Separation(AskNumber(host, path + ".position.Azimuth"),
                                     AskNumber(host, path + ".position.Altitude"), az, alt),
                          where);
    }
    for (const auto& [body, b] : kBodies) {
        astrometric[body].Expect(body + " astrometric place", 0.01, "\"");
        distance[body].Expect(body + " geocentric distance, relative", 1e-8);
        // Twice the worst measured: texts' J2000 0.00049" (the Moon), apparent 0.00055" (the
        // Moon), horizon 0.0124" for the Moon (its own motion about the Earth during the
        // site's light-time difference) and 0.0024" for the rest.
        hostJ2000[body].Expect(body + " J2000 place of the texts", 0.001, "\"");
        apparent[body].Expect(body + " apparent place", 0.0012, "\"");
        horizon[body].Expect(body + " altitude and azimuth", body == "Moon" ? 0.025 : 0.005, "\"");
    }
}

// Velocities are the derivative of the same series: against the positions' central
// difference over three minutes, for every body of the file across its span.
TEST(SkyEphemeris, VelocitiesAreThePositionsRateOfChange) {
    const char* error = nullptr;
    const sky::EphemerisData* data = sky::MapEphemeris(sky::DataPath("de405.zce").c_str(), &error);
    ASSERT_NE(data, nullptr) << error;
    WorstError worst;
    const double h = 0.001;
    for (double jd = 2437000.3; jd < 2473400.0; jd += 731.17) {
        for (int b = 0; b < sky::kEphemerisBodies; ++b) {
            double p[3], v[3], before[3], after[3];
            ASSERT_TRUE(sky::EvaluateEphemeris(*data, b, jd, p, v));
            sky::EvaluateEphemeris(*data, b, jd - h, before, nullptr);
            sky::EvaluateEphemeris(*data, b, jd + h, after, nullptr);
            const double speed = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
            for (int i = 0; i < 3; ++i)
                worst.Add(((after[i] - before[i]) / (2 * h) - v[i]) / speed, jd);
        }
    }
    worst.Expect("velocity less the positions' difference, relative", 1e-6);
    double p[3];
    EXPECT_FALSE(sky::EvaluateEphemeris(*data, 0, data->header->firstJd - 1e-6, p, nullptr));
    EXPECT_FALSE(sky::EvaluateEphemeris(*data, 0, NAN, p, nullptr));
}

// A file that is missing, cut short or of another kind is refused (the sky then answers
// from its theories).
TEST(SkyEphemeris, DamagedFilesAreRefused) {
    const TempDir dir;
    const char* error = nullptr;
    EXPECT_EQ(sky::MapEphemeris(dir.File("none.zce").c_str(), &error), nullptr);
    std::ifstream in(sky::DataPath("de405.zce"), std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(whole.size(), 100000u);
    std::string otherKind = whole;
    otherKind[0] = 'X';
    for (const std::string& bytes :
         {whole.substr(0, whole.size() - 8), otherKind, whole.substr(0, 40)}) {
        std::ofstream(dir.File("bad.zce"), std::ios::binary) << bytes;
        error = nullptr;
        EXPECT_EQ(sky::MapEphemeris(dir.File("bad.zce").c_str(), &error), nullptr);
        EXPECT_NE(error, nullptr);
    }
}

// Each source's span: a place just inside an edge, "*" just outside where no other source
// takes over, and the source line naming who answered ("範囲外" outside). Instants are UT,
// ten days from the edge (Delta T is under two days there).
TEST(SkyEphemeris, EachSourceAnswersWithinItsSpan) {
    auto year = [](double y) { return 2451544.5 + (y - 2000.0) * 365.25; };
    const struct {
        const char* body;
        double jd;
        const char* source;  // the source line; a place is given unless it ends in 範囲外
    } kEdges[] = {
        {"Moon", 2436913.5 + 10, "JPL DE405"},
        {"Moon", 2436913.5 - 10, "ELP2000-82B"},
        {"Mars", 2473487.5 - 10, "JPL DE405"},
        {"Mars", 2473487.5 + 10, "VSOP87"},
        {"Sun", year(-2000) + 10, "VSOP87"},
        {"Sun", year(-2000) - 10, "VSOP87 範囲外"},
        {"Venus", year(6000) - 10, "VSOP87"},
        {"Venus", year(6000) + 10, "VSOP87 範囲外"},
        {"Jupiter", year(1) + 10, "VSOP87"},
        {"Jupiter", year(1) - 10, "VSOP87 範囲外"},
        {"Saturn", year(4000) - 10, "VSOP87"},
        {"Saturn", year(4000) + 10, "VSOP87 範囲外"},
        {"Neptune", year(6000) - 10, "VSOP87"},  // the Earth's span is the narrower
        {"Neptune", year(6000) + 10, "VSOP87 範囲外"},
        {"Moon", year(3000) - 10, "ELP2000-82B"},
        {"Moon", year(3000) + 10, "ELP2000-82B 範囲外"},
        {"Pluto", year(1885) + 10, "Meeus (冥王星の理論)"},
        {"Pluto", year(1885) - 10, "Meeus (冥王星の理論) 範囲外"},
        {"Pluto", year(2100) - 10, "Meeus (冥王星の理論)"},
        {"Pluto", year(2100) + 10, "Meeus (冥王星の理論) 範囲外"},
        {"Uranus", year(99999), "VSOP87 範囲外"},
    };
    for (const auto& e : kEdges) {
        CSkyHost host(e.jd);
        const std::string path = PathOf(e.body), where = path + " " + std::to_string(e.jd);
        const std::string source = e.source;
        EXPECT_EQ(host.Execute(W("? " + path + ".Provenance")), W(source)) << where;
        const bool outside = source.find("範囲外") != std::string::npos;
        for (const char* q : {".position.RA", ".position.Altitude", ".GeocentricDistance"}) {
            const CString answer = host.Execute(W("? " + path + q));
            if (outside)
                EXPECT_EQ(answer, L"*") << where << q;
            else
                EXPECT_TRUE(std::isfinite(NumberOf(answer)))
                    << where << q << " " << answer.ToUtf8();
        }
    }
}
