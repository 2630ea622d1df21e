// SPDX-License-Identifier: LGPL-3.0-or-later
// The chart's geometry: the fast horizon frame agrees with the sky's own places, and the
// projections turn back into the directions they came from.
#include <gtest/gtest.h>

#include <cmath>

#include "serve/Projection.h"
#include "sky/Chart.h"
#include "sky/SkyHost.h"

TEST(ChartGeometry, HorizonFrameAgreesWithTheSky) {
    // Sirius, Polaris, Canopus (J2000 degrees) from Tokyo and from Chicago.
    const struct {
        int hip;
        double ra, dec;
    } kStars[] = {
        {32349, 101.28716, -16.71612}, {11767, 37.95456, 89.26411}, {30438, 95.98796, -52.69566}};
    const double kSites[][2] = {{139.745, 35.654}, {-87.65, 41.85}};
    for (const auto& site : kSites)
        for (double jd : {2461382.0, 2451545.25}) {
            CSkyHost host(jd);
            host.SetSite(site[0], site[1], 0.0);
            const sky::HorizonFrame frame(jd, sky::Site{site[0], site[1], 0.0});
            for (const auto& s : kStars) {
                CString path;
                path.Format(L"? Star.HIP.%d.Position.", s.hip);
                const double alt = std::wcstod(host.Execute(path + L"Altitude"), nullptr);
                const double azSouth = std::wcstod(host.Execute(path + L"Azimuth"), nullptr);
                double a, z, ra, dec;
                frame.ToHorizon(s.ra, s.dec, &a, &z);
                // Aberration, parallax and proper motion are left out: well under a pixel.
                EXPECT_NEAR(a, alt, 0.02) << s.hip << " " << jd;
                EXPECT_NEAR(std::remainder(z - (azSouth + 180.0), 360.0), 0.0,
                            0.02 / std::cos(a * M_PI / 180))
                    << s.hip << " " << jd;
                frame.ToJ2000(a, z, &ra, &dec);
                EXPECT_NEAR(std::remainder(ra - s.ra, 360.0) * std::cos(dec * M_PI / 180), 0.0,
                            1e-9);
                EXPECT_NEAR(dec, s.dec, 1e-9);
            }
        }
}

TEST(ChartGeometry, ProjectionsTurnBack) {
    const serve::ChartView horizon{serve::ChartView::Horizon, 900, 600};
    const serve::ChartView equatorial{serve::ChartView::Equatorial, 900, 600};
    // Where the views put the sky is held against PyEphem in ServeApiTest.cpp.
    double x, y, a, b;
    for (double alt : {1.0, 30.0, 89.0})
        for (double az : {0.5, 123.0, 359.0}) {
            serve::ProjectHorizon(horizon, alt, az, &x, &y);
            ASSERT_TRUE(serve::UnprojectHorizon(horizon, x, y, &a, &b));
            EXPECT_NEAR(a, alt, 1e-9);
            EXPECT_NEAR(b, az, 1e-9);
            serve::ProjectEquatorial(equatorial, az, alt, &x, &y);
            ASSERT_TRUE(serve::UnprojectEquatorial(equatorial, x, y, &a, &b));
            EXPECT_NEAR(a, az, 1e-9);
            EXPECT_NEAR(b, alt, 1e-9);
        }
    EXPECT_FALSE(serve::UnprojectHorizon(horizon, 0, 0, &a, &b));
    EXPECT_FALSE(serve::UnprojectEquatorial(equatorial, -1, 10, &a, &b));
}
