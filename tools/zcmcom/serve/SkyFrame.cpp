// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/SkyFrame.h"

#include <cmath>

#include "zvacl/Reductions.h"

namespace serve {

namespace {
constexpr double kDeg = M_PI / 180.0;
constexpr double kMasToDeg = 1.0 / 3.6e6;
}  // namespace

StarFrame StarFrameAt(double jdUt, double lon, double lat, double height) {
    StarFrame s;
    s.f = sky::ChartFrameAt(jdUt, sky::Site{lon, lat, height});
    s.lat = lat, s.lon = lon;
    s.years = (s.f.jdTt - 2451545.0) / 365.25;
    return s;
}

void StarHorizon(const StarFrame& frame, double ra, double dec, double pmRa, double pmDec,
                 double* alt, double* az) {
    if (std::isfinite(pmRa) && std::isfinite(pmDec) && std::fabs(dec) < 89.999) {
        ra += pmRa * kMasToDeg * frame.years / std::cos(dec * kDeg);
        dec += pmDec * kMasToDeg * frame.years;
    }
    const double* v = frame.f.velocity;
    double u[3] = {std::cos(dec * kDeg) * std::cos(ra * kDeg) + v[0],
                   std::cos(dec * kDeg) * std::sin(ra * kDeg) + v[1], std::sin(dec * kDeg) + v[2]};
    double d[3];
    for (int i = 0; i < 3; ++i)
        d[i] = frame.f.npb[i][0] * u[0] + frame.f.npb[i][1] * u[1] + frame.f.npb[i][2] * u[2];
    const double raDate = std::atan2(d[1], d[0]),
                 decDate = std::atan2(d[2], std::hypot(d[0], d[1]));
    const double h = frame.f.lst * kDeg - raDate, phi = frame.lat * kDeg;
    *alt = std::asin(std::sin(phi) * std::sin(decDate) +
                     std::cos(phi) * std::cos(decDate) * std::cos(h)) /
           kDeg;
    const double a = std::atan2(-std::cos(decDate) * std::sin(h),
                                std::sin(decDate) * std::cos(phi) -
                                    std::cos(decDate) * std::cos(h) * std::sin(phi)) /
                     kDeg;
    *az = a < 0 ? a + 360.0 : a;
}

double Refracted(double airlessAlt) {
    return airlessAlt + zvacl::RefractionDeg(airlessAlt, kRefractionTempC, kRefractionHpa);
}

}  // namespace serve
