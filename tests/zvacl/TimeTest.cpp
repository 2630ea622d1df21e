// Delta T and sidereal time against published values.
#include <gtest/gtest.h>

#include <cmath>

#include "zvacl/ZvaclTestUtil.h"

using namespace zvacltest;

namespace {

double DeltaT(double jdUt) { return (UtToDt(jdUt) - jdUt) * 86400.0; }
double YearJd(double year) { return 2451544.5 + (year - 2000.0) * 365.2425; }

}  // namespace

// Values of the expressions inside several of their pieces.
TEST(ZvaclDeltaT, ThePolynomialsPieceByPiece) {
    EXPECT_NEAR(DeltaT(YearJd(2000.0)), 63.86, 0.01);
    EXPECT_NEAR(DeltaT(YearJd(1975.0)), 45.45, 0.01);
    EXPECT_NEAR(DeltaT(YearJd(1910.0)), 10.3884, 0.01);
    EXPECT_NEAR(DeltaT(YearJd(1750.0)), 13.3701, 0.01);
    EXPECT_NEAR(DeltaT(YearJd(1000.0)), 1574.2, 0.01);
    EXPECT_NEAR(DeltaT(YearJd(0.0)), 10583.6, 0.01);
    EXPECT_NEAR(DeltaT(YearJd(2100.0)), -20 + 32 * 2.8 * 2.8 - 0.5628 * 50, 0.01);
    EXPECT_NEAR(DeltaT(YearJd(-1000.0)), -20 + 32 * 28.2 * 28.2, 0.01);
    EXPECT_NEAR(DeltaT(YearJd(3000.0)), -20 + 32 * 11.8 * 11.8, 0.01);
}

// No step anywhere from -1999 to +3000: the change over a tenth of a day stays within
// what the steepest piece allows (about 25 s a year near -2000), with room for the
// blend over each join; a jump of a hundredth of a second would show.
TEST(ZvaclDeltaT, ContinuousAcrossEveryJoin) {
    const double step = 0.1;
    double prev = DeltaT(YearJd(-1999.0)), worst = 0;
    for (double jd = YearJd(-1999.0) + step; jd < YearJd(3000.0); jd += step) {
        const double v = DeltaT(jd);
        worst = std::fmax(worst, std::fabs(v - prev));
        prev = v;
    }
    EXPECT_LT(worst, 40.0 * step / 365.0);
    EXPECT_TRUE(std::isnan(UtToDt(kNaN)));
    EXPECT_TRUE(std::isfinite(UtToDt(1e12)));
}

// A published worked example: 1987 April 10, 0h UT, apparent sidereal time
// 13h10m46.1351s; east longitudes add.
TEST(ZvaclSidereal, PublishedExampleAndLongitude) {
    const double lst = GetLst(2446895.5, 0.0);
    EXPECT_NEAR((lst - (13 + 10 / 60.0 + 46.1351 / 3600) * 15) * 240, 0.0, 0.002);
    EXPECT_NEAR(GetLst(2446895.5, 135.0), lst + 135.0, 1e-9);
    EXPECT_NEAR(GetLst(2446895.5, 200.0), lst + 200.0 - 360.0, 1e-9);
    EXPECT_NEAR(GetLst(2446895.5, -75.0), lst - 75.0, 1e-9);
    EXPECT_TRUE(GetLst(2446895.5, -300.0) >= 0.0 && GetLst(2446895.5, 400.0) < 360.0);
    EXPECT_TRUE(std::isnan(GetLst(kNaN, 0)));
    EXPECT_TRUE(std::isnan(GetLst(2446895.5, kNaN)));
    EXPECT_TRUE(std::isfinite(GetLst(-1e9, 0)));
}
