// SPDX-License-Identifier: LGPL-3.0-or-later
// The Julian Day of a meteor shower's next peak, against the Sun's real longitude (the
// texts of satellites and showers are in the golden texts, tests/golden/click_texts.txt).
#include <gtest/gtest.h>

#include <cmath>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

double SunLongitude(double jd) {
    double lb[2], r;
    CalcPlanetLbr(-3, UtToDt(jd), lb, &r);
    return degmal(lb[0] + 180.0);
}

TEST(MeteorPeak, AlwaysWithinTheComingYearAndNextTo360) {
    // From every fifth day of a year, for showers all round the ecliptic (including the
    // fast-moving Sun of December and January, where a step overshoots most).
    for (const double lambda : {283.16, 32.32, 45.5, 140.0, 208.0, 262.2, 359.95}) {
        for (int day = 0; day < 366; day += 5) {
            const double start = 2460676.5 + day;  // from 1 January 2025
            const double peak = ClickDataProbe::GetJdSunLambda(start, lambda);
            EXPECT_GE(peak, start - 0.1) << lambda << " " << day;
            EXPECT_LT(peak - start, 365.6) << lambda << " " << day;
            EXPECT_LT(std::fabs(degmal(SunLongitude(peak) - lambda + 180.0) - 180.0), 0.1);
        }
    }
    // Shortly before the March equinox: a target a hair below 360 ends next to it, even
    // when the estimate lands just past 0.
    double start = 2461105.5;
    while (start < 2461135.5 && !(SunLongitude(start) > 359.5 && SunLongitude(start) < 359.9))
        start += 0.05;
    ASSERT_LT(start, 2461135.5);
    const double jd = ClickDataProbe::GetJdSunLambda(start, 359.9999);
    EXPECT_LT(jd - start, 2.0);
    EXPECT_GT(jd, start);
}

}  // namespace
