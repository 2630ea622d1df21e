// SPDX-License-Identifier: LGPL-3.0-or-later
// Comets and minor planets of the built-in sky: the MPC element formats, the two-body
// solver across every eccentricity, places and magnitudes against PyEphem (table made by
// tools/smallbodies/make_reference.py), names, the user's element files and the click texts.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <tuple>

#include "sky/SkyHost.h"
#include "sky/bodies/MinorPlanetTable.h"
#include "sky/bodies/SmallBody.h"
#include "SkyTables.h"
#include "support/Accuracy.h"
#include "support/SkyClick.h"
#include "support/TestUtil.h"

namespace {

constexpr double kGauss = 0.01720209895;
constexpr double kMarch2024 = 2460371.0;  // 2024-03-01 12:00 UT

double Num(CSkyHost& host, const CString& query) { return _wtof(host.Execute(query)); }

sky::SmallBody Orbit(double q, double e) {
    sky::SmallBody b;
    b.q = q, b.e = e, b.i = 0, b.w = 0, b.node = 0, b.perihelion = 2451545.0;
    return b;
}

// Distance from the Sun by the classical solutions, one per kind of conic.
double ClassicalRadius(double q, double e, double dt) {
    if (e == 1.0) {  // Barker: s^3 + 3 s = 3 k dt / sqrt(2 q^3), s = tan(v / 2)
        const double W = 3.0 * kGauss * dt / std::sqrt(2.0 * q * q * q);
        const double Y = std::cbrt(W / 2.0 + std::sqrt(W * W / 4.0 + 1.0));
        const double s = Y - 1.0 / Y;
        return q * (1.0 + s * s);
    }
    const double a = q / std::fabs(1.0 - e);
    const double M = kGauss * dt / (a * std::sqrt(a));
    double E = e < 1.0 ? M : std::asinh(M / e);
    for (int k = 0; k < 100; ++k)
        E -= e < 1.0 ? (E - e * std::sin(E) - M) / (1.0 - e * std::cos(E))
                     : (e * std::sinh(E) - E - M) / (e * std::cosh(E) - 1.0);
    return e < 1.0 ? a * (1.0 - e * std::cos(E)) : a * (e * std::cosh(E) - 1.0);
}

TEST(SmallBodyOrbit, EveryConicAgreesWithItsClassicalSolution) {
    const struct {
        double q, e, dt;
    } cases[] = {{1.0, 0.0, 100.0},     {2.5, 0.3, -400.0}, {0.6, 0.9665, 9000.0},
                 {0.3, 0.999999, 60.0}, {1.2, 1.0, -300.0}, {1.2, 1.0, 1e5},
                 {0.9, 1.000001, 45.0}, {2.0, 3.36, 700.0}, {0.5, 50.0, 30.0},
                 {0.5, 50.0, -3000.0},  {5.0, 0.05, 1e6}};
    for (const auto& c : cases) {
        sky::Vec v{};
        ASSERT_TRUE(sky::SmallBodyAt(Orbit(c.q, c.e), 2451545.0 + c.dt, &v)) << c.e;
        const double r = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
        // The classical forms lose digits near e = 1 where the universal variable does not.
        const double tol = std::fabs(c.e - 1.0) < 1e-3 && c.e != 1.0 ? 1e-5 : 1e-9;
        EXPECT_NEAR(r, ClassicalRadius(c.q, c.e, c.dt), tol * r)
            << "q " << c.q << " e " << c.e << " dt " << c.dt;
    }
    // Across e = 1 the places run on without a jump.
    sky::Vec a{}, b{}, p{};
    sky::SmallBodyAt(Orbit(1.0, 0.999999), 2451545.0 + 200, &a);
    sky::SmallBodyAt(Orbit(1.0, 1.0), 2451545.0 + 200, &p);
    sky::SmallBodyAt(Orbit(1.0, 1.000001), 2451545.0 + 200, &b);
    for (const sky::Vec& near : {a, b}) {
        EXPECT_NEAR(near.x, p.x, 1e-5);
        EXPECT_NEAR(near.y, p.y, 1e-5);
    }
}

TEST(SmallBodyOrbit, ElementsThatAreNoOrbitGiveNoPlaceAndNeverHang) {
    const double nan = NAN, inf = INFINITY;
    const struct {
        double q, e, t;
    } cases[] = {{nan, 0.5, 0}, {1, nan, 0}, {0, 0.5, 0},   {-1, 0.5, 0},   {1, -0.1, 0},
                 {1, 1e9, 0},   {1, inf, 0}, {1, 0.5, nan}, {1, 0.5, 1e12}, {1e-300, 1.0, 0}};
    for (const auto& c : cases) {
        sky::SmallBody b = Orbit(c.q, c.e);
        sky::Vec v{7, 7, 7};
        const bool ok = sky::SmallBodyAt(b, 2451545.0 + 1000.0 + c.t, &v);
        EXPECT_TRUE(!ok || std::isfinite(v.x)) << c.q << " " << c.e;
        if (c.q != 1e-300) {
            EXPECT_FALSE(ok) << c.q << " " << c.e << " " << c.t;
        }
    }
}

TEST(SmallBodyFormats, PackedForms) {
    for (const std::string& row : DataRows("smallbodies/packed.txt", 3)) {
        const std::vector<std::string> f = TabFields(row);
        if (f[0] == "epoch" && f[2] == "nan")
            EXPECT_TRUE(std::isnan(sky::UnpackEpoch(f[1]))) << row;
        else if (f[0] == "epoch")
            EXPECT_DOUBLE_EQ(sky::UnpackEpoch(f[1]), std::stod(f[2])) << row;
        else if (f[0] == "number")
            EXPECT_EQ(sky::UnpackNumber(f[1]), std::stol(f[2])) << row;
        else
            EXPECT_EQ(sky::UnpackDesignation(f[1]), f[2]) << row;
    }
}

TEST(SmallBodyFormats, BadLinesAreReportedWithFileAndLineAndSkipped) {
    TempDir dir;
    const std::string path = dir.path() + "/MPCORB.DAT";
    const std::string vesta =
        "00004    3.20  0.32 K2289  61.19230  151.25778  103.80081    7.14078  0.0884019  "
        "0.27151121   2.3619872"
        "    JPL 36                                                     (4) Vesta";
    const std::string comet =
        "0001P         1986 02 22.6950  0.598630  0.966503  112.1408   59.2191  162.1946  20220824 "
        "  4.0  6.0  "
        "1P/Halley";
    std::string bad = vesta, badComet = comet;
    bad.replace(70, 9, "      nan");
    badComet.replace(19, 2, "13");
    WriteFileBytes(path, "MPCORB header text\n--------------------------------------------\n" +
                             vesta + "\r\n\n" + bad + "\n" + badComet + "\n" + comet + "\n" +
                             vesta.substr(0, 60) + "\n");
    std::vector<sky::SmallBody> bodies;
    std::vector<std::string> problems;
    EXPECT_EQ(sky::ReadElementsFile(path, bodies, &problems), 2);
    EXPECT_EQ(problems, (std::vector<std::string>{path + ":5: bad orbital element",
                                                  path + ":6: bad perihelion date",
                                                  path + ":8: line too short"}));
    ASSERT_EQ(bodies.size(), 2u);
    EXPECT_EQ(bodies[0].id, "4");
    EXPECT_EQ(bodies[0].name, "Vesta");
    EXPECT_NEAR(bodies[0].q, 2.3619872 * (1 - 0.0884019), 1e-9);
    EXPECT_TRUE(bodies[1].comet);
    EXPECT_EQ(bodies[1].id, "1P/Halley");
    EXPECT_DOUBLE_EQ(bodies[1].epoch, 2459815.5);
    // One kind only: the other kind's lines are passed over, bad or not.
    for (const bool comets : {true, false}) {
        std::vector<sky::SmallBody> one;
        std::vector<std::string> told;
        EXPECT_EQ(sky::ReadElementsFile(
                      path, one, &told,
                      comets ? sky::ElementsOnly::kComets : sky::ElementsOnly::kMinorPlanets),
                  1);
        ASSERT_EQ(one.size(), 1u);
        EXPECT_EQ(one[0].id, comets ? "1P/Halley" : "4");
        EXPECT_EQ(told, (comets ? std::vector<std::string>{problems[1]}
                                : std::vector<std::string>{problems[0], problems[2]}));
    }
    EXPECT_EQ(sky::ReadElementsFile(dir.path() + "/none", bodies, &problems), -1);
}

// The bundled 7,096 minor planets as a mapped table: every key finds the body the catalogue
// finds, and the screened search of a region finds what placing every orbit finds.
TEST(MinorPlanetTable, LooksUpLikeTheCatalogueAndScreensLikeABruteForceSearch) {
    TempDir dir;
    const std::string source = std::string(ZCMCOM_SOURCE_DIR) + "/data/mpcorb.txt";
    std::string error;
    ASSERT_TRUE(sky::WriteMinorPlanetTable(source, dir.File("mp.tab"), &error)) << error;
    const auto table = sky::MinorPlanetTable::Open(dir.File("mp.tab"), &error);
    ASSERT_TRUE(table) << error;
    sky::SmallBodyCatalog catalog;
    catalog.Load(source);
    ASSERT_EQ(table->Size(), catalog.Bodies().size());
    for (size_t k = 0; k < catalog.Bodies().size(); k += 97) {
        const sky::SmallBody& b = catalog.Bodies()[k];
        for (const std::string& key : {sky::SmallBodyCatalog::PathName(b), b.name, b.designation,
                                       "(" + std::to_string(b.number) + ") " + b.name}) {
            const sky::SmallBody* want = catalog.Find(false, key);
            if (key.empty() || !want) continue;
            const long found = table->Find(key);
            ASSERT_GE(found, 0) << key;
            const sky::SmallBody got = table->At(found);
            EXPECT_EQ(got.id, want->id) << key;
            EXPECT_EQ(got.name, want->name) << key;
            EXPECT_EQ(got.perihelion, want->perihelion) << key;
        }
    }
    EXPECT_EQ(table->Find("no such body"), -1);
    size_t total = 0;
    for (const auto& [ra, dec, radius, mag] : {std::tuple{0.0, 0.0, 30.0, 18.0},
                                               {150.0, 15.0, 20.0, 16.0},
                                               {270.0, -23.0, 45.0, 14.0},
                                               {90.0, 60.0, 10.0, 20.0}}) {
        const auto screened = sky::MinorPlanetsWithin(*table, kMarch2024, ra, dec, radius, mag);
        EXPECT_EQ(screened,
                  sky::MinorPlanetsWithin(*table, kMarch2024, ra, dec, radius, mag, false))
            << ra << " " << dec;
        EXPECT_LT(table->Screen(kMarch2024, ra, dec, radius, mag).size(), table->Size() / 4);
        total += screened.size();
    }
    EXPECT_GT(total, 50u);  // the regions hold bodies to find
    WriteFileBytes(dir.File("bad.tab"), "ZCMMPTB1 and then too little");
    EXPECT_FALSE(sky::MinorPlanetTable::Open(dir.File("bad.tab"), &error));
}

TEST(SmallBodyNames, HigherRankHidesAndTheNearestEpochOfOneRankAnswers) {
    sky::SmallBody b;
    ASSERT_TRUE(sky::ParseElementsLine(
        "0001P         1986 02 22.6950  0.598630  0.966503  112.1408   59.2191  162.1946  "
        "20220824   4.0  6.0  1P/Halley",
        &b, nullptr));
    sky::SmallBodyCatalog cat;
    for (const auto& [epoch, rank] : {std::pair{2450000.5, 0}, {2460000.5, 0}, {2455000.5, 0}}) {
        b.epoch = epoch;
        b.rank = rank;
        cat.Add(b);
    }
    EXPECT_EQ(cat.Find(true, "1P", 2449000.0)->epoch, 2450000.5);
    EXPECT_EQ(cat.Find(true, "halley", 2456000.0)->epoch, 2455000.5);
    EXPECT_EQ(cat.Find(true, "1p/halley")->epoch, 2455000.5);  // no instant: the last read
    b.epoch = 2440000.5;
    b.rank = 1;
    cat.Add(b);
    b.rank = 0;
    cat.Add(b);  // a lower rank read later changes nothing
    EXPECT_EQ(cat.Find(true, "1P", 2460000.5)->epoch, 2440000.5);
    EXPECT_EQ(cat.Bodies().size(), 1u);
}

// Bounds by body, the J2000 place and the magnitude, with the worst measured, in
// tests/data/smallbodies/bounds.txt.

TEST(SmallBodyPlaces, AgreeWithPyEphem) {
    CSkyHost host(kMarch2024);
    std::map<std::string, WorstError> place, magnitude;
    for (const std::string& line : DataRows("smallbodies/reference.txt", 6)) {
        std::istringstream s(line);
        std::string path;
        double jd = 0, ra = 0, dec = 0, mag = 0;
        s >> path >> jd >> ra >> dec >> mag;
        host.SetJd(jd);
        const CString p(path.c_str());
        const double myRa = Num(host, L"? " + p + L".position.RA"),
                     myDec = Num(host, L"? " + p + L".position.Dec");
        const double dRa = std::remainder(myRa - ra, 24.0) * 15.0 * std::cos(dec * M_PI / 180.0);
        const std::string row = path + " at " + std::to_string(jd);
        place[path].Add(std::hypot(dRa, myDec - dec) * 3600.0, row);
        magnitude[path].Add(Num(host, L"? " + p + L".Magnitude") - mag, row);
    }
    const auto bounds = BoundsIn<2>("smallbodies/bounds.txt");
    ExpectEach(place, bounds, 0, "J2000 astrometric place", "\"");
    ExpectEach(magnitude, bounds, 1, "magnitude", "mag");
}

TEST(SmallBodyNames, DesignationsNamesAndTheUsersFiles) {
    CSkyHost host(kMarch2024);
    ExpectAnswersIn(host, "smallbodies/answers.txt");
    // Ceres on the catalogue's older orbit stays within a few arc minutes of the MPC one.
    EXPECT_NEAR(Num(host, L"? Solar.DwarfPlanet.Ceres.position.Dec"),
                Num(host, L"? Solar.MinorPlanet.1.position.Dec"), 0.1);

    // The user's files come after the bundled ones and replace their bodies.
    EnvRestorer restore("ZCMCOM_SKY_ELEMENTS");
    const std::string data = std::string(ZCMCOM_TEST_DATA) + "/smallbodies/";
    setenv("ZCMCOM_SKY_ELEMENTS",
           (data + "user_halley.txt:" + data + "user_nobody.txt:" + data + "missing").c_str(), 1);
    EXPECT_NEAR(Num(host, L"? Solar.Comet.Halley.TimeOfPerihelionPassage"), 2474033.5, 1e-6);
    EXPECT_EQ(host.Execute(L"? Solar.Comet.Nobody.ID"), L"C/2099 Z1");
    EXPECT_EQ(host.Execute(L"? Solar.Comet.C2099Z1.Eccentricity"), L"1.00000000");
    unsetenv("ZCMCOM_SKY_ELEMENTS");
    EXPECT_EQ(host.Execute(L"? Solar.Comet.Nobody.ID"), L"");
}

TEST(SmallBodyClickTexts, MatchTheGoldenTexts) {
    SkyClick frame(kMarch2024, 139.745, 35.654, 40, 9);
    for (const char* path : {"Solar.Comet.1P", "Solar.Comet.12P", "Solar.Comet.2I",
                             "Solar.MinorPlanet.1", "Solar.MinorPlanet.4", "Solar.MinorPlanet.433"})
        ExpectGolden(frame.Text(CString(path)), std::string("smallbodies/") + path + ".txt");
}

}  // namespace
