// SPDX-License-Identifier: LGPL-3.0-or-later
// The sky's reductions against ERFA's: apparent places of catalogue stars
// (tests/data/catalogs/apparent.txt, made by tools/catalogs/make_astrometry_reference.py: 200
// stars of data/stars.zct, the brightest, alpha Centauri and 61 Cygni among them, at 20
// instants 1960-2060), and apparent places and horizons of directions at star,
// planet and Moon distances and near the Sun (tests/data/sky/erfa_places.txt, made by
// tools/erfa/make_tables.py: 240 instants 1960-2060 and three outside, two sites).
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "sky/bodies/Ephemeris.h"
#include "sky/bodies/SkyMath.h"
#include "sky/catalogs/Astrometry.h"
#include "sky/catalogs/CatalogFile.h"
#include "support/Accuracy.h"

namespace {

// The stars as the shipped catalogue holds them: J2000 places as their source gives them (no
// rounding), and apparent places from those values as ERFA's.
TEST(Astrometry, CatalogueStarsAgreeWithSourceAndErfa) {
    sky::CatalogFile stars;
    std::string error;
    ASSERT_TRUE(stars.Open(ZCMCOM_SOURCE_DIR "/data/stars.zct", &error)) << error;
    const int raColumn = stars.Column("ra"), decColumn = stars.Column("dec"),
              pmRaColumn = stars.Column("pmra"), pmDecColumn = stars.Column("pmdec"),
              plxColumn = stars.Column("plx");
    const std::vector<std::string> rows = DataRows("catalogs/apparent.txt", 11);
    EXPECT_EQ(rows.size(), 4000u);
    WorstError source, apparent;
    for (const std::string& line : rows) {
        std::istringstream f(line);
        int hip = 0;
        double ra = 0, dec = 0, pmRa = 0, pmDec = 0, plx = 0, sourceRa = 0, sourceDec = 0, jd = 0,
               appRa = 0, appDec = 0;
        ASSERT_TRUE(f >> hip >> ra >> dec >> pmRa >> pmDec >> plx >> sourceRa >> sourceDec >> jd >>
                    appRa >> appDec);
        const int64_t row = stars.FindNumber("hip", hip);
        ASSERT_GE(row, 0) << line;
        sky::CatalogueStar star;
        star.ra = stars.Number(raColumn, row);
        star.dec = stars.Number(decColumn, row);
        star.pmRa = stars.Number(pmRaColumn, row);
        star.pmDec = stars.Number(pmDecColumn, row);
        star.parallax = stars.Number(plxColumn, row);
        // The reference's proper motions and parallax are the catalogue's (0: none).
        ASSERT_NEAR(star.pmRa, pmRa, 5e-4) << line;
        ASSERT_NEAR(star.pmDec, pmDec, 5e-4) << line;
        ASSERT_NEAR(std::isfinite(star.parallax) ? star.parallax : 0.0, plx, 5e-4) << line;
        source.Add(SeparationArcsec(star.ra, star.dec, sourceRa, sourceDec), line);
        double myRa = 0, myDec = 0;
        sky::ApparentPlace(star, jd, &myRa, &myDec);
        apparent.Add(SeparationArcsec(myRa, myDec, appRa, appDec), line);
    }
    source.Expect("J2000 places against the source's, arcsec", 1e-4, "\"");  // 0.0000002"
    apparent.Expect("apparent places of stars, arcsec", 4e-5, "\"");         // 0.000003"
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

// The spheres' arctangent: every octant, the table's cells either side of their edges, the
// axes and diagonals, and the C library's answers at zeros, infinities and NaN.
TEST(Astrometry, ArctangentMatchesTheCLibrary) {
    for (int i = -4096; i <= 4096; ++i)
        for (const double r : {1e-300, 0.7, 3e8})
            for (const double eps : {-1e-9, 0.0, 1e-9}) {
                const double a = M_PI * i / 4096.0 + eps, y = r * std::sin(a), x = r * std::cos(a);
                EXPECT_NEAR(sky::Atan2(y, x), std::atan2(y, x), 5e-16) << y << " " << x;
            }
    const double edge[] = {0.0, -0.0, 1.0, -1.0, INFINITY, -INFINITY, NAN};
    for (const double y : edge)
        for (const double x : edge) {
            const double got = sky::Atan2(y, x), want = std::atan2(y, x);
            EXPECT_TRUE(std::isnan(want) ? std::isnan(got)
                                         : got == want && std::signbit(got) == std::signbit(want))
                << y << " " << x;
        }
}
