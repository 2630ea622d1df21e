// SPDX-License-Identifier: LGPL-3.0-or-later
// The sky's reductions against ERFA's: apparent places of catalogue stars
// (tests/data/catalogs/apparent.txt, made by tools/catalogs/make_astrometry_reference.py: 200
// stars at 20 instants, 1900-2100), and apparent places and horizons of directions at star,
// planet and Moon distances and near the Sun (tests/data/sky/erfa_places.txt, made by
// tools/erfa/make_tables.py: 240 instants 1960-2060 and three outside, two sites).
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "sky/bodies/Ephemeris.h"
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
    worst.Expect("apparent places of stars, arcsec", 4e-5, "\"");  // 0.000019"
}

// Deflection, annual aberration and precession-nutation on the geocentric place; parallax
// and diurnal aberration on the horizon.
TEST(Astrometry, PlacesAndHorizonsAgreeWithErfa) {
    const std::vector<std::string> rows = DataRows("sky/erfa_places.txt", 10);
    EXPECT_EQ(rows.size(), 243u);
    WorstError apparent, horizon;
    for (const std::string& line : rows) {
        std::istringstream f(line);
        std::string site;
        sky::Vec geo{};
        double ut = 0, tt = 0, ra = 0, dec = 0, alt = 0, az = 0;
        ASSERT_TRUE(f >> ut >> tt >> site >> geo.x >> geo.y >> geo.z >> ra >> dec >> alt >> az);
        const sky::Site s = site == "tokyo" ? sky::Site{139.7414, 35.6581, 40.0}
                                            : sky::Site{-70.6693, -33.4489, 570.0};
        sky::BodyPlace p;
        sky::FillAstrometric(&p, geo, ut, tt, s);
        apparent.Add(SeparationArcsec(p.apparent.lon, p.apparent.lat, ra, dec), line);
        horizon.Add(SeparationArcsec(p.azimuth + 180.0, p.altitude, az, alt), line);
    }
    apparent.Expect("apparent places vs ERFA, arcsec", 5e-5, "\"");      // 0.000024"
    horizon.Expect("altitude and azimuth vs ERFA, arcsec", 5e-5, "\"");  // 0.000024"
}

}  // namespace
