// SPDX-License-Identifier: LGPL-3.0-or-later
// Apparent places of catalogue stars against ERFA's (tests/data/catalogs/apparent.txt, made
// by tools/catalogs/make_astrometry_reference.py): 200 stars at 20 instants, 1900-2100.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "sky/catalogs/Astrometry.h"
#include "support/Accuracy.h"

namespace {

constexpr double kRad = M_PI / 180.0;

double SeparationArcsec(double ra1, double de1, double ra2, double de2) {
    const double x1 = std::cos(de1 * kRad) * std::cos(ra1 * kRad),
                 y1 = std::cos(de1 * kRad) * std::sin(ra1 * kRad);
    const double x2 = std::cos(de2 * kRad) * std::cos(ra2 * kRad),
                 y2 = std::cos(de2 * kRad) * std::sin(ra2 * kRad);
    const double z1 = std::sin(de1 * kRad), z2 = std::sin(de2 * kRad);
    const double cx = y1 * z2 - z1 * y2, cy = z1 * x2 - x1 * z2, cz = x1 * y2 - y1 * x2;
    return std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), x1 * x2 + y1 * y2 + z1 * z2) / kRad *
           3600.0;
}

TEST(Astrometry, ApparentPlacesAgreeWithErfa) {
    int rows = 0;
    double worst = 0.0;
    std::string worstLine;
    for (const std::string& line : DataRows("catalogs/apparent.txt", 9)) {
        std::istringstream f(line);
        int hip = 0;
        sky::CatalogueStar star;
        double jd = 0, ra = 0, dec = 0;
        ASSERT_TRUE(f >> hip >> star.ra >> star.dec >> star.pmRa >> star.pmDec >> star.parallax >>
                    jd >> ra >> dec);
        double myRa = 0, myDec = 0;
        sky::ApparentPlace(star, jd, &myRa, &myDec);
        const double error = SeparationArcsec(myRa, myDec, ra, dec);
        if (error > worst) {
            worst = error;
            worstLine = line;
        }
        EXPECT_LT(error, 0.05) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 4000);
    std::printf("apparent places: %d compared, largest difference %.4f\" (%s)\n", rows, worst,
                worstLine.c_str());
}

}  // namespace
