// Accuracy against independent ephemerides: the tables under tests/data/zvacl come from
// tools/zvacl_reference.py (PyEphem, astropy and ERFA). Each test measures the largest
// error over its whole table, prints it, and fails when the goal is missed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "zvacl/zvacl.h"

namespace {

const double kPi = 3.14159265358979323846;

// The numeric rows of a table, comment lines left out.
std::vector<std::vector<double>> ReadTable(const std::string& name) {
    std::vector<std::vector<double>> rows;
    std::ifstream in(std::string(ZCMCOM_TEST_DATA) + "/zvacl/" + name);
    EXPECT_TRUE(in.good()) << name;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        std::vector<double> row;
        double v;
        while (s >> v) row.push_back(v);
        rows.push_back(row);
    }
    return rows;
}

// Difference of two angles in degrees, folded into [-180, 180).
double AngleDiff(double a, double b) {
    double d = std::fmod(a - b + 180.0, 360.0);
    if (d < 0) d += 360.0;
    return d - 180.0;
}

void Report(const char* what, double value, const char* unit, const char* where = "") {
    std::printf("[ measured ] %-46s %10.4f %s %s\n", what, value, unit, where);
}

double JdTt(double shortJd) { return shortJd + 2400000.0; }

// The Sun's geometric longitude of date, as the callers form it.
double SunLongitude(double jdTt) {
    double lb[2], r;
    CalcPlanetLbr(-3, jdTt, lb, &r);
    return degmal(lb[0] + 180.0);
}

// Apparent longitude: nutation in longitude (four largest terms, good to 0.5") and the
// annual aberration added to the geometric longitude.
double ApparentSunLongitude(double jdTt) {
    double lb[2], r;
    CalcPlanetLbr(-3, jdTt, lb, &r);
    const double t = (jdTt - 2451545.0) / 36525.0;
    const double k = kPi / 180.0;
    const double om = (125.04452 - 1934.136261 * t) * k;
    const double ls = (280.4665 + 36000.7698 * t) * k;
    const double lm = (218.3165 + 481267.8813 * t) * k;
    const double dpsi = (-17.20 * std::sin(om) - 1.32 * std::sin(2 * ls) - 0.23 * std::sin(2 * lm) +
                         0.21 * std::sin(2 * om)) /
                        3600.0;
    return degmal(lb[0] + 180.0 + dpsi - 20.4898 / r / 3600.0);
}

// The caller's search for the Sun reaching a longitude, stepped forward by the mean
// motion, here run to convergence instead of stopping within 0.1 degree.
double JdSunLambda(double jdUt, double lambda) {
    for (int i = 0; i < 60; ++i) {
        double d = lambda - ApparentSunLongitude(UtToDt(jdUt));
        if (d < 0) d += 360.0;
        if (d > 180.0 && i > 0) d -= 360.0;  // overshoot by a hair: step back
        if (std::fabs(d) < 1e-8) break;
        jdUt += d / 0.9856473320990837;
    }
    return jdUt;
}

}  // namespace

// All 9945 phases 1900-2100 in one walk: none missed, none doubled, each within 30 s.
TEST(ZvaclReference, MoonPhasesAgainstPyEphem) {
    const auto ref = ReadTable("moon_phases.txt");
    ASSERT_EQ(ref.size(), 9945u);
    tagADATE at;
    JdToDate2(JdTt(ref[0][0]) - 1.0, &at);
    size_t next = 0;
    double worst = 0, worstAt = 0;
    int expectedPhase = 0;
    while (next < ref.size()) {
        tagMOONPHASE p[6];
        ASSERT_EQ(GetMoonPhases(&at, p, 6), 6);
        for (int i = 1; i < 6 && next < ref.size(); ++i, ++next) {
            ASSERT_EQ(p[i].phase, expectedPhase) << "phase " << next;
            const double err = (UtToDt(p[i].jd) - JdTt(ref[next][0])) * 86400.0;
            if (std::fabs(err) > std::fabs(worst)) worst = err, worstAt = p[i].jd;
            expectedPhase = (expectedPhase + 1) % 4;
        }
        JdToDate2(p[5].jd + 1e-5, &at);  // just after the last one taken
    }
    char where[64];
    std::snprintf(where, sizeof where, "(at JD %.2f UT)", worstAt);
    Report("Moon phases 1900-2100 vs PyEphem, TT", worst, "s", where);
    EXPECT_LT(std::fabs(worst), 30.0);
}

// Every phase inside JPL's DE405 (1960-2060): the accuracy proper, against an ephemeris
// far better than the goal.
TEST(ZvaclReference, MoonPhasesAgainstDe405) {
    const auto ref = ReadTable("moon_phases_de405.txt");
    ASSERT_GT(ref.size(), 4900u);
    double worst = 0, worstAt = 0, sumSquares = 0;
    for (const auto& row : ref) {
        tagADATE at;
        JdToDate2(JdTt(row[1]) - 2.0, &at);
        tagMOONPHASE p[2];
        ASSERT_EQ(GetMoonPhases(&at, p, 2), 2);
        ASSERT_EQ(p[1].phase, static_cast<int>(row[0]));
        const double err = (UtToDt(p[1].jd) - JdTt(row[1])) * 86400.0;
        sumSquares += err * err;
        if (std::fabs(err) > std::fabs(worst)) worst = err, worstAt = p[1].jd;
    }
    char where[64];
    std::snprintf(where, sizeof where, "(at JD %.2f UT)", worstAt);
    Report("Moon phases 1960-2060 vs DE405, TT", worst, "s", where);
    Report("Moon phases 1960-2060 vs DE405, rms", std::sqrt(sumSquares / ref.size()), "s");
    EXPECT_LT(std::fabs(worst), 30.0);
}

TEST(ZvaclReference, SunLongitudeOfDate) {
    const auto ref = ReadTable("sun_longitude.txt");
    ASSERT_GT(ref.size(), 1800u);
    double worst = 0, worstR = 0;
    for (const auto& row : ref) {
        double lb[2], r;
        CalcPlanetLbr(-3, JdTt(row[0]), lb, &r);
        worst = std::fmax(worst, std::fabs(AngleDiff(lb[0], row[1])) * 3600.0);
        worst = std::fmax(worst, std::fabs(AngleDiff(SunLongitude(JdTt(row[0])), row[1] + 180.0)) * 3600.0);
        worstR = std::fmax(worstR, std::fabs(r - row[2]));
    }
    Report("Sun geometric longitude 1900-2100", worst, "arcsec");
    Report("Earth radius vector", worstR * 1.495978707e8, "km");
    EXPECT_LT(worst, 2.0);
    EXPECT_LT(worstR, 1e-7);
}

// Equinoxes and solstices found by stepping forward from a month before, as the callers'
// search does, on the apparent longitude.
TEST(ZvaclReference, EquinoxAndSolsticeInstants) {
    const auto ref = ReadTable("equinoxes.txt");
    ASSERT_EQ(ref.size(), 804u);
    double worst = 0;
    for (const auto& row : ref) {
        const double found = JdSunLambda(JdTt(row[1]) - 30.0, row[0] * 90.0);
        const double err = (UtToDt(found) - JdTt(row[1])) * 86400.0;
        if (std::fabs(err) > std::fabs(worst)) worst = err;
    }
    Report("equinox and solstice instants 1900-2100", worst, "s");
    EXPECT_LT(std::fabs(worst), 60.0);
}

TEST(ZvaclReference, SiderealTime) {
    const auto ref = ReadTable("sidereal.txt");
    ASSERT_GT(ref.size(), 1000u);
    double worst94 = 0, worst06 = 0;
    for (const auto& row : ref) {
        const double lst = GetLst(JdTt(row[0]), 0.0);
        worst94 = std::fmax(worst94, std::fabs(AngleDiff(lst, row[1])) * 240.0);
        worst06 = std::fmax(worst06, std::fabs(AngleDiff(lst, row[2])) * 240.0);
        // Any longitude simply adds.
        const double east = GetLst(JdTt(row[0]), 139.7);
        ASSERT_NEAR(AngleDiff(east, lst + 139.7) * 240.0, 0.0, 1e-4);
    }
    Report("sidereal time vs IAU 1982/1994 (gst94)", worst94, "s");
    Report("sidereal time vs IAU 2006/2000A (gst06a)", worst06, "s");
    EXPECT_LT(worst94, 0.005);  // the same expressions: a tenth of the goal is plenty
    EXPECT_LT(worst06, 0.05);
}

// The values printed with the polynomial expressions (observed to 2005, and the 2010
// estimate the 2005-2050 piece is built on) are met within half a second. Year by year
// against the observed values the expressions smooth: within 0.7 s up to 2005 (the
// largest gap is the quick swing around 1870) and 1.9 s for 2006-2020, where the
// expressions extrapolate from 2005 and run ahead of the observed Delta T.
TEST(ZvaclReference, DeltaT) {
    const double table[][2] = {
        {1800, 13.7}, {1850, 7.1},  {1900, -2.7}, {1950, 29.1}, {1955, 31.1}, {1960, 33.2},
        {1965, 35.7}, {1970, 40.2}, {1975, 45.5}, {1980, 50.5}, {1985, 54.3}, {1990, 56.9},
        {1995, 60.8}, {2000, 63.8}, {2005, 64.7}, {2010, 66.9},
    };
    auto error = [](double year, double dt) {
        const double jd = CalcJd(year, 1, 1);
        return std::fabs((UtToDt(jd) - jd) * 86400.0 - dt);
    };
    double worstTable = 0, worstObserved = 0, worstLater = 0;
    for (const auto& row : table) worstTable = std::fmax(worstTable, error(row[0], row[1]));
    const auto ref = ReadTable("delta_t.txt");
    ASSERT_EQ(ref.size(), 221u);
    for (const auto& row : ref) {
        double& worst = row[0] <= 2005 ? worstObserved : worstLater;
        worst = std::fmax(worst, error(row[0], row[1]));
    }
    Report("Delta T vs its tabulated values 1800-2010", worstTable, "s");
    Report("Delta T vs observed, yearly 1800-2005", worstObserved, "s");
    Report("Delta T vs observed, yearly 2006-2020", worstLater, "s");
    EXPECT_LT(worstTable, 0.5);
    EXPECT_LT(worstObserved, 0.7);
    EXPECT_LT(worstLater, 1.9);
}
