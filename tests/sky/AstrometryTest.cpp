// SPDX-License-Identifier: LGPL-3.0-or-later
// Apparent places of catalogue stars against ERFA's (tests/data/catalogs/apparent.txt, made
// by tools/catalogs/make_astrometry_reference.py): 200 stars at 20 instants, 1900-2100.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "sky/catalogs/Astrometry.h"
#include "support/Accuracy.h"

namespace {

TEST(Astrometry, ApparentPlacesAgreeWithErfa) {
    const std::vector<std::string> rows = DataRows("catalogs/apparent.txt", 9);
    EXPECT_EQ(rows.size(), 4000u);
    WorstError worst;
    for (const std::string& line : rows) {
        std::istringstream f(line);
        int hip = 0;
        sky::CatalogueStar star;
        double jd = 0, ra = 0, dec = 0;
        ASSERT_TRUE(f >> hip >> star.ra >> star.dec >> star.pmRa >> star.pmDec >> star.parallax >>
                    jd >> ra >> dec);
        double myRa = 0, myDec = 0;
        sky::ApparentPlace(star, jd, &myRa, &myDec);
        worst.Add(SeparationArcsec(myRa, myDec, ra, dec), line);
    }
    worst.Expect("apparent places of stars, arcsec", 0.05, "\"");  // 0.0226"
}

}  // namespace
