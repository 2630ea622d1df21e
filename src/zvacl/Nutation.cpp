// SPDX-License-Identifier: LGPL-3.0-or-later
// The IAU 2000A nutation from its Chebyshev table (tools/nutation, made by ERFA at build
// time) and the apparent sidereal time by ERFA; the mean obliquity of IAU 1980 that
// GetMeanObliquity documents.
#include "zvacl/Reductions.h"

#include <erfa.h>

#include <cmath>

#include "zvacl/NutationTableLayout.h"
#include "zvacl/ZvaclMath.h"
#include "zvacl/zvacl.h"

namespace zvacl {

void Nutation2000A(double jdTt, double* dpsi, double* deps) {
    using namespace nutation;
    const double u = (jdTt - kStart) / kGranuleDays;
    if (!(u >= 0.0 && u < kGranules)) {
        if (std::isfinite(jdTt))
            eraNut06a(jdTt, 0.0, dpsi, deps);
        else
            *dpsi = *deps = kNaN;
        return;
    }
    const int g = static_cast<int>(u);
    const double x = 2.0 * (u - g) - 1.0;
    // Clenshaw's recurrence for both series at once.
    const double(&c)[2][kDegree] = kCoefficients[g];
    double b1[2] = {0, 0}, b2[2] = {0, 0};
    for (int j = kDegree - 1; j >= 1; --j)
        for (int a = 0; a < 2; ++a) {
            const double b = 2.0 * x * b1[a] - b2[a] + c[a][j];
            b2[a] = b1[a];
            b1[a] = b;
        }
    *dpsi = x * b1[0] - b2[0] + c[0][0];
    *deps = x * b1[1] - b2[1] + c[1][0];
}

double ApparentSiderealTime(double jdUt1, double jdTt, double dpsi) {
    const double gmst = eraGmst06(jdUt1, 0.0, jdTt, 0.0);
    const double ee = dpsi * std::cos(eraObl06(jdTt, 0.0)) + eraEect00(jdTt, 0.0);
    return eraAnp(gmst + ee);
}

namespace {

// Mean obliquity (IAU 1980), degrees, t in Julian centuries from J2000 (TT).
double MeanObliquityAt(double t) {
    return 23.0 + 26.0 / 60.0 +
           (21.448 - 46.8150 * t - 0.00059 * t * t + 0.001813 * t * t * t) / 3600.0;
}

}  // namespace

}  // namespace zvacl

double GetMeanObliquity(double jdTt) {
    return zvacl::MeanObliquityAt((jdTt - zvacl::kJ2000) / zvacl::kDaysPerJulianCentury);
}
