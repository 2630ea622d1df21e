// SPDX-License-Identifier: LGPL-3.0-or-later
// Apparent sidereal time: mean sidereal time of the 1982 IAU expression plus the
// equation of the equinoxes (the 1994 form, with its two small node terms).
#include <cmath>

#include "zvacl/Nutation.h"
#include "zvacl/ZvaclMath.h"
#include "zvacl/zvacl.h"

using namespace zvacl;

namespace {

// Greenwich mean sidereal time in degrees, [0, 360).
double MeanSiderealTime(double jdUt) {
    const double d = jdUt - kJ2000;
    const double t = d / kDaysPerJulianCentury;
    // The whole turns of the day are dropped before scaling, which keeps the fraction of
    // a turn exact to microseconds even centuries away from J2000.
    const double wholeDays = std::floor(d);
    const double turns = 360.0 * (d - wholeDays) + 0.98564736629 * d;
    return Norm360(280.46061837 + turns + 0.000387933 * t * t - t * t * t / 38710000.0);
}

}  // namespace

double GetLst(double jdUt, double longitudeDeg) {
    if (!std::isfinite(jdUt) || !std::isfinite(longitudeDeg)) return kNaN;
    const Nutation n = ComputeNutation(UtToDt(jdUt));
    const double eps = Rad(n.meanEps + n.dEps);
    const double om = Rad(n.omega);
    const double equationOfEquinoxes =
        n.dPsi * std::cos(eps) + (0.00264 * std::sin(om) + 0.000063 * std::sin(2.0 * om)) / 3600.0;
    return Norm360(MeanSiderealTime(jdUt) + equationOfEquinoxes + longitudeDeg);
}
