// SPDX-License-Identifier: LGPL-3.0-or-later
// The IAU 2000A nutation and the Sun's barycentric motion from their Chebyshev tables
// (tools/erfa/erfa_tables.cpp, made by ERFA at build time) and the apparent sidereal time by
// ERFA; the mean obliquity of IAU 1980 that GetMeanObliquity documents.
#include "zvacl/Reductions.h"

#include <erfa.h>

#include <cmath>

#include "zvacl/ErfaTables.h"
#include "zvacl/ZvaclMath.h"
#include "zvacl/zvacl.h"

namespace zvacl {

namespace {

// The sums of Chebyshev series at x in [-1, 1] (Clenshaw's recurrence), N series at once.
template <int N, int D>
void Chebyshev(const double (&c)[N][D], double x, double* out) {
    double b1[N] = {}, b2[N] = {};
    for (int j = D - 1; j >= 1; --j)
        for (int a = 0; a < N; ++a) {
            const double b = 2.0 * x * b1[a] - b2[a] + c[a][j];
            b2[a] = b1[a];
            b1[a] = b;
        }
    for (int a = 0; a < N; ++a) out[a] = x * b1[a] - b2[a] + c[a][0];
}

// The nutation in longitude and in obliquity and the complementary terms of the equation of
// the equinoxes, radians.
void NutationTerms(double jdTt, double out[3]) {
    using namespace tables;
    const double u = (jdTt - kStart) / kGranuleDays;
    if (u >= 0.0 && u < kGranules) {
        const int g = static_cast<int>(u);
        Chebyshev(kCoefficients[g], 2.0 * (u - g) - 1.0, out);
    } else if (std::isfinite(jdTt)) {
        eraNut06a(jdTt, 0.0, &out[0], &out[1]);
        out[2] = eraEect00(jdTt, 0.0);
    } else {
        out[0] = out[1] = out[2] = kNaN;
    }
}

}  // namespace

void PrefetchNutation(double jdTt) {
    const double u = (jdTt - tables::kStart) / tables::kGranuleDays;
    if (!(u >= 0.0 && u < tables::kGranules)) return;
    const char* c = reinterpret_cast<const char*>(tables::kCoefficients[static_cast<int>(u)]);
    for (size_t b = 0; b < sizeof tables::kCoefficients[0]; b += 64) __builtin_prefetch(c + b);
}

void Nutation2000A(double jdTt, double* dpsi, double* deps, double* eect) {
    double out[3];
    NutationTerms(jdTt, out);
    *dpsi = out[0];
    *deps = out[1];
    if (eect) *eect = out[2];
}

void SunBarycentric(double jdTt, double position[3], double velocity[3]) {
    using namespace tables;
    const double u = (jdTt - kStart) / kSunGranuleDays;
    if (!(u >= 0.0 && u < kSunGranules)) {
        double pvh[2][3], pvb[2][3];
        if (!std::isfinite(jdTt) || eraEpv00(jdTt, 0.0, pvh, pvb) < 0) {
            for (int i = 0; i < 3; ++i) position[i] = velocity[i] = kNaN;
            return;
        }
        for (int i = 0; i < 3; ++i) {
            position[i] = pvb[0][i] - pvh[0][i];
            velocity[i] = pvb[1][i] - pvh[1][i];
        }
        return;
    }
    const int g = static_cast<int>(u);
    double out[6];
    Chebyshev(kSunCoefficients[g], 2.0 * (u - g) - 1.0, out);
    for (int i = 0; i < 3; ++i) {
        position[i] = out[i];
        velocity[i] = out[3 + i];
    }
}

double ApparentSiderealTime(double jdUt1, double jdTt, double dpsi) {
    const double gmst = eraGmst06(jdUt1, 0.0, jdTt, 0.0);
    double terms[3];
    NutationTerms(jdTt, terms);
    const double ee = dpsi * std::cos(eraObl06(jdTt, 0.0)) + terms[2];
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
