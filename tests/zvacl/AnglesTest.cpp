// Angle normalisation, separation and position angle, refraction.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "zvacl/zvacl.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

struct PaDist {
    double pa, dist;
};

PaDist Measure(double ra1, double de1, double ra2, double de2) {
    const double a[2] = {ra1, de1};
    const double b[2] = {ra2, de2};
    PaDist r{kNaN, kNaN};
    AdToPaDist(a, b, &r.pa, &r.dist);
    return r;
}

double Apparent(double trueAltitude) {
    const double in[2] = {0.0, trueAltitude};
    double out[2] = {kNaN, kNaN};
    AtmosphericRefraction(in, out);
    return out[1];
}

}  // namespace

TEST(ZvaclAngles, DegmalKeepsZeroToThreeSixty) {
    EXPECT_EQ(degmal(0.0), 0.0);
    EXPECT_EQ(degmal(360.0), 0.0);
    EXPECT_EQ(degmal(-90.0), 270.0);
    EXPECT_NEAR(degmal(725.5), 5.5, 1e-12);
    EXPECT_NEAR(degmal(-1e-20), 0.0, 1e-12);  // never 360 itself
    EXPECT_LT(degmal(-1e-20), 360.0);
    EXPECT_LT(degmal(-1e-14), 360.0);
    EXPECT_TRUE(std::isnan(degmal(kNaN)));
    EXPECT_TRUE(std::isnan(degmal(kInf)));
}

TEST(ZvaclAngles, Degmal2FoldsIntoPlusMinusNinety) {
    EXPECT_EQ(degmal2(45.0), 45.0);
    EXPECT_EQ(degmal2(-45.0), -45.0);
    EXPECT_EQ(degmal2(100.0), 90.0);
    EXPECT_EQ(degmal2(250.0), -90.0);
    EXPECT_EQ(degmal2(350.0), -10.0);
    EXPECT_TRUE(std::isnan(degmal2(kNaN)));
}

// The four directions, across RA 0h, from the equator and from high declinations.
TEST(ZvaclAngles, PositionAngleInEveryQuadrant) {
    PaDist r = Measure(10, 0, 10, 1);
    EXPECT_NEAR(r.pa, 0, 1e-9);
    EXPECT_NEAR(r.dist, 1, 1e-9);
    r = Measure(10, 0, 11, 0);
    EXPECT_NEAR(r.pa, 90, 1e-9);  // east is increasing right ascension
    r = Measure(10, 0, 10, -1);
    EXPECT_NEAR(r.pa, 180, 1e-9);
    r = Measure(10, 0, 9, 0);
    EXPECT_NEAR(r.pa, 270, 1e-9);
    r = Measure(359.5, 20, 0.5, 20);  // across 0h: a small step east, not most of the sky
    EXPECT_NEAR(r.dist, Measure(0, 20, 1, 20).dist, 1e-12);
    EXPECT_NEAR(r.pa, 90, 0.2);
    r = Measure(0.5, 20, 359.5, 20);
    EXPECT_NEAR(r.pa, 270, 0.2);
    r = Measure(30, 60, 40, 61);  // north-east
    EXPECT_GT(r.pa, 0);
    EXPECT_LT(r.pa, 90);
    r = Measure(30, 60, 20, 59);  // south-west
    EXPECT_GT(r.pa, 180);
    EXPECT_LT(r.pa, 270);
    // Arcturus to Spica: 32.7930 degrees apart (a published worked example).
    r = Measure(213.9154, 19.1825, 201.2983, -11.1614);
    EXPECT_NEAR(r.dist, 32.7930, 1e-4);
    // Cross-check against the spherical triangle on the unit vectors.
    for (double ra2 = 0; ra2 < 360; ra2 += 37) {
        for (double de2 = -85; de2 <= 85; de2 += 17) {
            const double ra1 = 123.4, de1 = -33.3;
            r = Measure(ra1, de1, ra2, de2);
            const double k = M_PI / 180;
            const double c = std::sin(de1 * k) * std::sin(de2 * k) +
                             std::cos(de1 * k) * std::cos(de2 * k) * std::cos((ra2 - ra1) * k);
            EXPECT_NEAR(r.dist, std::acos(c) / k, 1e-7);
            const double tanPa = std::sin((ra2 - ra1) * k) /
                                 (std::cos(de1 * k) * std::tan(de2 * k) -
                                  std::sin(de1 * k) * std::cos((ra2 - ra1) * k));
            EXPECT_NEAR(std::tan(r.pa * k), tanPa, 1e-6 * (1 + tanPa * tanPa));
        }
    }
}

TEST(ZvaclAngles, SeparationAtTheLimits) {
    PaDist r = Measure(123.0, 45.0, 123.0, 45.0);  // the same point
    EXPECT_EQ(r.dist, 0.0);
    EXPECT_EQ(r.pa, 0.0);
    r = Measure(0, 0, 180, 0);  // antipodes
    EXPECT_NEAR(r.dist, 180.0, 1e-12);
    r = Measure(10, 20, 10, 20 + 1e-9);  // tiny separations keep their precision
    EXPECT_NEAR(r.dist, 1e-9, 1e-13);
    EXPECT_NEAR(r.pa, 0.0, 1e-6);
    // From the north pole everything lies to the south of the pole's meridian line; the
    // distance is the polar distance whatever the right ascension.
    r = Measure(0, 90, 77, 30);
    EXPECT_NEAR(r.dist, 60.0, 1e-9);
    EXPECT_GE(r.pa, 0.0);
    EXPECT_LT(r.pa, 360.0);
    r = Measure(77, 30, 0, 90);  // towards the pole: due north
    EXPECT_NEAR(r.pa, 0.0, 1e-9);
    r = Measure(77, -30, 0, -90);
    EXPECT_NEAR(r.pa, 180.0, 1e-9);
    r = Measure(kNaN, 0, 0, 0);
    EXPECT_TRUE(std::isnan(r.dist));
    AdToPaDist(nullptr, nullptr, nullptr, nullptr);
    double pa = 0, dist = 0;
    AdToPaDist(nullptr, nullptr, &pa, &dist);
    EXPECT_TRUE(std::isnan(pa));
}

TEST(ZvaclRefraction, StandardValuesAboveTheHorizon) {
    EXPECT_NEAR((Apparent(0.0) - 0.0) * 60, 29.0, 0.1);  // about half a degree at the horizon
    EXPECT_NEAR((Apparent(10.0) - 10.0) * 60, 5.4, 0.1);
    EXPECT_NEAR((Apparent(45.0) - 45.0) * 60, 1.0, 0.05);
    EXPECT_NEAR(Apparent(90.0), 90.0, 1e-9);
    EXPECT_NEAR(Apparent(-10.0), -10.0, 1e-12);  // far below: nothing added
    EXPECT_NEAR(Apparent(-90.0), -90.0, 1e-12);
    const double in[2] = {123.0, 10.0};
    double out[2] = {0, 0};
    AtmosphericRefraction(in, out);
    EXPECT_EQ(out[0], 123.0);
}

// Finite, continuous and increasing for every altitude: no jump where the formula
// hands over to the fall-off below the horizon.
TEST(ZvaclRefraction, ContinuousAndMonotonicEverywhere) {
    double prev = Apparent(-90.0);
    for (double h = -90.0 + 1e-3; h <= 90.0; h += 1e-3) {
        const double a = Apparent(h);
        ASSERT_TRUE(std::isfinite(a)) << h;
        ASSERT_GT(a, prev) << h;
        ASSERT_LT(a - prev, 2e-3) << h;
        prev = a;
    }
    EXPECT_TRUE(std::isnan(Apparent(kNaN)));
    EXPECT_EQ(Apparent(kInf), kInf);
    AtmosphericRefraction(nullptr, nullptr);
}
