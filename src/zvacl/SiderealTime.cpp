// SPDX-License-Identifier: LGPL-3.0-or-later
// Apparent sidereal time of the IAU 2006/2000A models (ERFA), from the tabulated nutation.
#include <cmath>

#include "zvacl/Reductions.h"
#include "zvacl/ZvaclMath.h"
#include "zvacl/zvacl.h"

using namespace zvacl;

double GetLst(double jdUt, double longitudeDeg) {
    if (!std::isfinite(jdUt) || !std::isfinite(longitudeDeg)) return kNaN;
    const double jdTt = UtToDt(jdUt);
    double dpsi = 0.0, deps = 0.0;
    Nutation2000A(jdTt, &dpsi, &deps);
    return Norm360(Deg(ApparentSiderealTime(jdUt, jdTt, dpsi)) + longitudeDeg);
}
