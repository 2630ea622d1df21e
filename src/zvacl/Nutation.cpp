// SPDX-License-Identifier: LGPL-3.0-or-later
// IAU 1980 nutation, truncated to the terms of 0.0003" and more: good to a few
// ten-thousandths of an arc second against the full series.
//
// Derived from the IAU 1980 theory of nutation (Seidelmann 1982, Celest. Mech. 27, 79) in the
// truncation of Jean Meeus, Astronomical Algorithms (2nd ed., Willmann-Bell 1998), table
// 22.A: the 63 terms. Licence: none, published numerical theory used as facts.
#include "zvacl/Nutation.h"

#include <cmath>

#include "zvacl/ZvaclMath.h"
#include "zvacl/zvacl.h"

namespace zvacl {

namespace {

struct Term {
    signed char d, m, mp, f, om;  // multiples of D, M, M', F, Omega
    double psi, psiT;             // sine coefficient of dPsi and its rate, 0.0001"
    double eps, epsT;             // cosine coefficient of dEps and its rate, 0.0001"
};

const Term kTerms[] = {
    {0, 0, 0, 0, 1, -171996, -174.2, 92025, 8.9},
    {-2, 0, 0, 2, 2, -13187, -1.6, 5736, -3.1},
    {0, 0, 0, 2, 2, -2274, -0.2, 977, -0.5},
    {0, 0, 0, 0, 2, 2062, 0.2, -895, 0.5},
    {0, 1, 0, 0, 0, 1426, -3.4, 54, -0.1},
    {0, 0, 1, 0, 0, 712, 0.1, -7, 0},
    {-2, 1, 0, 2, 2, -517, 1.2, 224, -0.6},
    {0, 0, 0, 2, 1, -386, -0.4, 200, 0},
    {0, 0, 1, 2, 2, -301, 0, 129, -0.1},
    {-2, -1, 0, 2, 2, 217, -0.5, -95, 0.3},
    {-2, 0, 1, 0, 0, -158, 0, 0, 0},
    {-2, 0, 0, 2, 1, 129, 0.1, -70, 0},
    {0, 0, -1, 2, 2, 123, 0, -53, 0},
    {2, 0, 0, 0, 0, 63, 0, 0, 0},
    {0, 0, 1, 0, 1, 63, 0.1, -33, 0},
    {2, 0, -1, 2, 2, -59, 0, 26, 0},
    {0, 0, -1, 0, 1, -58, -0.1, 32, 0},
    {0, 0, 1, 2, 1, -51, 0, 27, 0},
    {-2, 0, 2, 0, 0, 48, 0, 0, 0},
    {0, 0, -2, 2, 1, 46, 0, -24, 0},
    {2, 0, 0, 2, 2, -38, 0, 16, 0},
    {0, 0, 2, 2, 2, -31, 0, 13, 0},
    {0, 0, 2, 0, 0, 29, 0, 0, 0},
    {-2, 0, 1, 2, 2, 29, 0, -12, 0},
    {0, 0, 0, 2, 0, 26, 0, 0, 0},
    {-2, 0, 0, 2, 0, -22, 0, 0, 0},
    {0, 0, -1, 2, 1, 21, 0, -10, 0},
    {0, 2, 0, 0, 0, 17, -0.1, 0, 0},
    {2, 0, -1, 0, 1, 16, 0, -8, 0},
    {-2, 2, 0, 2, 2, -16, 0.1, 7, 0},
    {0, 1, 0, 0, 1, -15, 0, 9, 0},
    {-2, 0, 1, 0, 1, -13, 0, 7, 0},
    {0, -1, 0, 0, 1, -12, 0, 6, 0},
    {0, 0, 2, -2, 0, 11, 0, 0, 0},
    {2, 0, -1, 2, 1, -10, 0, 5, 0},
    {2, 0, 1, 2, 2, -8, 0, 3, 0},
    {0, 1, 0, 2, 2, 7, 0, -3, 0},
    {-2, 1, 1, 0, 0, -7, 0, 0, 0},
    {0, -1, 0, 2, 2, -7, 0, 3, 0},
    {2, 0, 0, 2, 1, -7, 0, 3, 0},
    {2, 0, 1, 0, 0, 6, 0, 0, 0},
    {-2, 0, 2, 2, 2, 6, 0, -3, 0},
    {-2, 0, 1, 2, 1, 6, 0, -3, 0},
    {2, 0, -2, 0, 1, -6, 0, 3, 0},
    {2, 0, 0, 0, 1, -6, 0, 3, 0},
    {0, -1, 1, 0, 0, 5, 0, 0, 0},
    {-2, -1, 0, 2, 1, -5, 0, 3, 0},
    {-2, 0, 0, 0, 1, -5, 0, 3, 0},
    {0, 0, 2, 2, 1, -5, 0, 3, 0},
    {-2, 0, 2, 0, 1, 4, 0, 0, 0},
    {-2, 1, 0, 2, 1, 4, 0, 0, 0},
    {0, 0, 1, -2, 0, 4, 0, 0, 0},
    {-1, 0, 1, 0, 0, -4, 0, 0, 0},
    {-2, 1, 0, 0, 0, -4, 0, 0, 0},
    {1, 0, 0, 0, 0, -4, 0, 0, 0},
    {0, 0, 1, 2, 0, 3, 0, 0, 0},
    {0, 0, -2, 2, 2, -3, 0, 0, 0},
    {-1, -1, 1, 0, 0, -3, 0, 0, 0},
    {0, 1, 1, 0, 0, -3, 0, 0, 0},
    {0, -1, 1, 2, 2, -3, 0, 0, 0},
    {2, -1, -1, 2, 2, -3, 0, 0, 0},
    {0, 0, 3, 2, 2, -3, 0, 0, 0},
    {2, -1, 0, 2, 2, -3, 0, 0, 0},
};

// Mean obliquity (IAU 1980), degrees, t in Julian centuries from J2000 (TT).
double MeanObliquityAt(double t) {
    return 23.0 + 26.0 / 60.0 +
           (21.448 - 46.8150 * t - 0.00059 * t * t + 0.001813 * t * t * t) / 3600.0;
}

}  // namespace

Nutation ComputeNutation(double jdTt) {
    const double t = (jdTt - kJ2000) / kDaysPerJulianCentury;
    const double t2 = t * t, t3 = t2 * t;
    // Fundamental arguments: mean elongation of the Moon, mean anomalies of the Sun and
    // the Moon, the Moon's argument of latitude, the node of its orbit.
    const double d = Rad(Norm360(297.85036 + 445267.111480 * t - 0.0019142 * t2 + t3 / 189474.0));
    const double m = Rad(Norm360(357.52772 + 35999.050340 * t - 0.0001603 * t2 - t3 / 300000.0));
    const double mp = Rad(Norm360(134.96298 + 477198.867398 * t + 0.0086972 * t2 + t3 / 56250.0));
    const double f = Rad(Norm360(93.27191 + 483202.017538 * t - 0.0036825 * t2 + t3 / 327270.0));
    const double om = Norm360(125.04452 - 1934.136261 * t + 0.0020708 * t2 + t3 / 450000.0);
    const double omr = Rad(om);
    double psi = 0.0, eps = 0.0;
    for (const Term& k : kTerms) {
        const double arg = k.d * d + k.m * m + k.mp * mp + k.f * f + k.om * omr;
        psi += (k.psi + k.psiT * t) * std::sin(arg);
        if (k.eps != 0.0) eps += (k.eps + k.epsT * t) * std::cos(arg);
    }
    Nutation n;
    n.dPsi = psi * 1e-4 / 3600.0;
    n.dEps = eps * 1e-4 / 3600.0;
    n.meanEps = MeanObliquityAt(t);
    n.omega = om;
    return n;
}

}  // namespace zvacl

double GetMeanObliquity(double jdTt) {
    return zvacl::MeanObliquityAt((jdTt - zvacl::kJ2000) / zvacl::kDaysPerJulianCentury);
}
