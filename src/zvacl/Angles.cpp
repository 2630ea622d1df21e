// SPDX-License-Identifier: LGPL-3.0-or-later
// Angle normalisation, and the separation and position angle of two points on the sphere.
#include <cmath>

#include "zvacl/ZvaclMath.h"
#include "zvacl/zvacl.h"

using namespace zvacl;

double degmal(double a) {
    const double q = a / 360.0;
    double r = (q - std::floor(q)) * 360.0;
    if (r < 0) r += 360.0;
    if (r >= 360.0) r -= 360.0;
    return r;
}

double degmal2(double a) {
    double r = degmal(a);
    if (r > 180.0) r -= 360.0;
    if (r > 90.0) r = 90.0;
    if (r < -90.0) r = -90.0;
    return r;
}

void AdToPaDist(const double* from, const double* to, double* pa, double* dist) {
    double p = kNaN;
    double d = kNaN;
    if (from && to) {
        const double d1 = Rad(from[1]);
        const double d2 = Rad(to[1]);
        const double da = Rad(to[0] - from[0]);
        const double sd1 = std::sin(d1), cd1 = std::cos(d1);
        const double sd2 = std::sin(d2), cd2 = std::cos(d2);
        // Components of the second point in the tangent frame of the first: x north,
        // y east, z along the first point. atan2 keeps full precision for tiny and for
        // nearly antipodal separations, where acos would not.
        const double x = cd1 * sd2 - sd1 * cd2 * std::cos(da);
        const double y = cd2 * std::sin(da);
        const double z = sd1 * sd2 + cd1 * cd2 * std::cos(da);
        d = Deg(std::atan2(std::hypot(x, y), z));
        p = (x == 0.0 && y == 0.0) ? 0.0 : Norm360(Deg(std::atan2(y, x)));
    }
    if (pa) *pa = p;
    if (dist) *dist = d;
}
