// SPDX-License-Identifier: LGPL-3.0-or-later
// Moon phases and the Sun's longitude: published worked examples and the contract the
// callers rely on.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <tuple>

#include "zvacl/ZvaclTestUtil.h"

using namespace zvacltest;

// The new moon of 1977 February (JDE 2443192.65118) and the last quarter of 2044 January
// (JDE 2467636.49186), both published in dynamical time.
TEST(ZvaclMoonPhases, PublishedExamplesCapacityAndBadInput) {
    struct {
        tagADATE at;
        int phase;
        double jde;
    } const kCases[] = {{Date(1977, 2, 17), 0, 2443192.65118},
                        {Date(2044, 1, 20), 3, 2467636.49186}};
    for (const auto& c : kCases) {
        tagMOONPHASE p[2];
        ASSERT_EQ(GetMoonPhases(&c.at, p, 2), 2);
        EXPECT_EQ(p[1].phase, c.phase);
        EXPECT_NEAR(UtToDt(p[1].jd), c.jde, 1e-5);
    }
    tagADATE at = Date(2024, 1, 1);
    tagMOONPHASE p[3] = {{-1, -1}, {-1, -1}, {-1, -1}};
    // Nothing written without room or input; then only as many as asked for.
    EXPECT_EQ((std::tuple{GetMoonPhases(&at, p, 0), GetMoonPhases(&at, p, -5), int(p[0].phase),
                          GetMoonPhases(&at, nullptr, 6), GetMoonPhases(nullptr, p, 3),
                          GetMoonPhases(&at, p, 1), p[1].phase}),
              (std::tuple{0, 0, -1, 0, 0, 1, -1}));
    // Not a time, or beyond any use of the series: nothing; the callers' range still
    // gives phases.
    for (const tagADATE& bad : {Date(2024, 1, 1, 0, 0, kNaN), Date(INT_MAX, 1, 1)})
        EXPECT_EQ(GetMoonPhases(&bad, p, 3), 0);
    for (int year : {-99999, 99999}) {
        at = Date(year, 6, 1);
        EXPECT_EQ(GetMoonPhases(&at, p, 3), 3);
        EXPECT_TRUE(std::isfinite(p[2].jd));
    }
}

// The first record is the last phase at or before the instant (the instant of a phase
// itself included); the rest follow one kind after the other, about a week apart.
TEST(ZvaclMoonPhases, StartsWithTheLastPhaseBeforeTheInstant) {
    for (double jd = 2415020.5; jd < 2488069.5; jd += 97.31) {
        const tagADATE at = DateOf(jd);
        tagMOONPHASE p[6];
        ASSERT_EQ(GetMoonPhases(&at, p, 6), 6);
        ASSERT_TRUE(p[0].jd <= jd && p[1].jd > jd) << jd;
        for (int i = 1; i < 6; ++i) {
            ASSERT_EQ(p[i].phase, (p[i - 1].phase + 1) % 4);
            ASSERT_TRUE(p[i].jd - p[i - 1].jd > 6.0 && p[i].jd - p[i - 1].jd < 8.5);
        }
        const tagADATE exact = DateOf(p[1].jd);
        tagMOONPHASE q[1];
        ASSERT_EQ(GetMoonPhases(&exact, q, 1), 1);
        ASSERT_EQ(q[0].phase, p[1].phase);
        // The age counts from the last new moon of the list, whatever phase comes first.
        const double lastNew = p[0].jd - 7.4 * ((p[0].phase + 4) % 4);
        ASSERT_NEAR(jd - GetMoonAge(jd), lastNew, 1.5) << jd;
        for (const tagMOONPHASE& n : p) {
            if (n.phase == 0) {
                ASSERT_NEAR(GetMoonAge(n.jd + 1.0), 1.0, 1e-9) << jd;
            }
        }
    }
}

// The callers list the phases of the local day from the local date at any hour: the
// full moon of 2024 January 25, 17:54 UT, is January 26 in Tokyo, the 25th in Honolulu.
TEST(ZvaclMoonPhases, EveryPhaseOfTheLocalDayIsListed) {
    for (double zone : {9.0, -10.0, 0.0, 13.75}) {
        const tagADATE full = InZone(Date(2024, 1, 25, 17, 54), zone);
        const tagADATE midnight = Date(full.year, full.month, full.day, 0, 0, 0, zone);
        const double jd0 = GetJd(&midnight);
        for (int hour : {0, 12, 23}) {
            const tagADATE local = Date(full.year, full.month, full.day, hour, 59, 59.9, zone);
            tagMOONPHASE p[6];
            const int n = GetMoonPhases(&local, p, 6);
            int found = 0;
            for (int i = 0; i < n; ++i) found += p[i].jd >= jd0 && p[i].jd < jd0 + 1.0;
            EXPECT_EQ(found, 1) << "zone " << zone << " hour " << hour;
        }
    }
}

// A published example of the Sun (1992 October 13.0 TD): latitude +0.000179 degrees (the
// longitude and radius are checked against a whole table elsewhere).
TEST(ZvaclSun, PublishedExampleAndOutputs) {
    double lb[2] = {0, 0}, r = 0;
    CalcPlanetLbr(-3, 2448908.5, lb, &r);
    EXPECT_NEAR(lb[1], -0.000179, 0.1 / 3600);
    CalcPlanetLbr(-3, 2448908.5, lb, nullptr);  // either output may be left out
    CalcPlanetLbr(-3, 2448908.5, nullptr, &r);
    CalcPlanetLbr(5, 2448908.5, lb, &r);  // only the Earth is known
    EXPECT_TRUE(std::isnan(lb[0]) && std::isnan(r));
    CalcPlanetLbr(-3, kNaN, lb, &r);
    EXPECT_TRUE(std::isnan(lb[0]));
    CalcPlanetLbr(-3, 1e12, lb, &r);  // far outside the series: no crash
}
