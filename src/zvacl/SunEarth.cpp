// SPDX-License-Identifier: LGPL-3.0-or-later
// Heliocentric position of the Earth: the VSOP87 series evaluated by libnova on the
// J2000 ecliptic, then carried to the mean ecliptic and equinox of date with the IAU 2006
// precession of the ecliptic.
#include <libnova/earth.h>

#include <cmath>
#include <mutex>

#include "zvacl/ZvaclMath.h"
#include "zvacl/zvacl.h"

using namespace zvacl;

namespace {

constexpr int kEarth = -3;

// libnova keeps caches in static storage; its calls are made one at a time.
std::mutex& LibnovaMutex() {
    static std::mutex m;
    return m;
}

// Longitude and latitude (degrees) from the J2000 ecliptic to the mean ecliptic of date.
void PrecessEcliptic(double jdTt, double* lon, double* lat) {
    const double t = (jdTt - kJ2000) / kDaysPerJulianCentury;
    const double t2 = t * t, t3 = t2 * t;
    const double eta = Rad((46.998973 * t - 0.0334926 * t2 - 0.00012559 * t3) / 3600.0);
    const double node =
        Rad((629546.7936 - 867.95758 * t + 0.157992 * t2 - 0.0005371 * t3) / 3600.0);
    const double p = Rad((5028.796195 * t + 1.1054348 * t2 + 0.00007964 * t3) / 3600.0);
    const double l0 = Rad(*lon), b0 = Rad(*lat);
    const double a =
        std::cos(eta) * std::cos(b0) * std::sin(node - l0) - std::sin(eta) * std::sin(b0);
    const double b = std::cos(b0) * std::cos(node - l0);
    const double c =
        std::cos(eta) * std::sin(b0) + std::sin(eta) * std::cos(b0) * std::sin(node - l0);
    *lon = Norm360(Deg(p + node - std::atan2(a, b)));
    *lat = Deg(std::asin(std::fmax(-1.0, std::fmin(1.0, c))));
}

}  // namespace

void CalcPlanetLbr(int body, double jdTt, double* lb, double* r) {
    double lon = kNaN, lat = kNaN, radius = kNaN;
    if (body == kEarth && std::isfinite(jdTt)) {
        ln_helio_posn pos;
        {
            std::lock_guard<std::mutex> lock(LibnovaMutex());
            ln_get_earth_helio_coords(jdTt, &pos);
        }
        lon = pos.L;
        lat = pos.B;
        radius = pos.R;
        PrecessEcliptic(jdTt, &lon, &lat);
    }
    if (lb) {
        lb[0] = lon;
        lb[1] = lat;
    }
    if (r) *r = radius;
}
