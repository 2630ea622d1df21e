// SPDX-License-Identifier: LGPL-3.0-or-later
// Saturn's major moons by the theory Meeus gives (after Harper and Taylor, Dourneau for
// Iapetus; Hyperion, whose orbit this theory lets drift, is in Hyperion.cpp): orbits about Saturn's
// equator of B1950, turned to the ecliptic and equinox B1950 and from there to J2000.
//
// Derived from Jean Meeus, Astronomical Algorithms (2nd ed., Willmann-Bell 1998), chapter 46:
// the elements and their periodic terms. Licence: none, published numerical theory used as
// facts.
#include <cmath>

#include "sky/bodies/Moons.h"
#include "sky/bodies/SkyMath.h"

namespace sky {

namespace {

// The theory's unit of length. Titan's 20.216193 units are its semi-major axis, 1 221 850 km
// by Kepler's third law (GM 37 940 186 km^3/s^2 of Saturn and Titan, n = 22.57697855 degrees a
// day), so the unit is 60 439 km: Saturn's radius of 60 330 km put every moon 0.18 % short.
constexpr double kSaturnRadiusAu = 60439.0 / kKmPerAu;
// Saturn's equator on the ecliptic B1950: inclination and node.
constexpr double kEquatorIncl = 28.0817 * kRad;
constexpr double kEquatorNode = 168.8112 * kRad;

// A moon's orbit: true longitude and node measured as the theory does, radius in Saturn
// radii, inclination to the equator.
struct Orbit {
    double lambda, r, gamma, node;
};

struct Times {
    double t1, t2, t3, t4, t5, t6, t7, t8, t9, t10, t11;
    double W0, W1, W2, W3, W4, W5, W6, W7, W8, e1;
};

Times TimesAt(double jde) {
    Times t{};
    t.t1 = jde - 2411093.0;
    t.t2 = t.t1 / 365.25;
    t.t3 = (jde - 2433282.423) / 365.25 + 1950.0;
    t.t4 = jde - 2411368.0;
    t.t5 = t.t4 / 365.25;
    t.t6 = jde - 2415020.0;
    t.t7 = t.t6 / 36525.0;
    t.t8 = t.t6 / 365.25;
    t.t9 = (jde - 2442000.5) / 365.25;
    t.t10 = jde - 2409786.0;
    t.t11 = t.t10 / 36525.0;
    t.W0 = 5.095 * (t.t3 - 1866.39) * kRad;
    t.W1 = (74.4 + 32.39 * t.t2) * kRad;
    t.W2 = (134.3 + 92.62 * t.t2) * kRad;
    t.W3 = (42.0 - 0.5118 * t.t5) * kRad;
    t.W4 = (276.59 + 0.5118 * t.t5) * kRad;
    t.W5 = (267.2635 + 1222.1136 * t.t7) * kRad;
    t.W6 = (175.4762 + 1221.5515 * t.t7) * kRad;
    t.W7 = (2.4891 + 0.002435 * t.t7) * kRad;
    t.W8 = (113.35 - 0.2597 * t.t7) * kRad;
    t.e1 = 0.05589 - 0.000346 * t.t7;
    return t;
}

// An eccentric orbit given by its mean longitude, perisaturnium, eccentricity, axis, node and
// inclination on the ecliptic B1950, brought to the form of the others (about the equator).
Orbit FromEcliptic(double lam, double peri, double e, double a, double node, double incl) {
    const double M = lam - peri;
    const double e2 = e * e, e3 = e2 * e, e4 = e2 * e2, e5 = e3 * e2;
    const double C = (2 * e - 0.25 * e3 + 0.0520833333 * e5) * std::sin(M) +
                     (1.25 * e2 - 0.458333333 * e4) * std::sin(2 * M) +
                     (1.083333333 * e3 - 0.671875 * e5) * std::sin(3 * M) +
                     1.072917 * e4 * std::sin(4 * M) + 1.142708 * e5 * std::sin(5 * M);
    Orbit o{};
    o.r = a * (1 - e2) / (1 + e * std::cos(M + C));
    const double g = node - kEquatorNode;
    const double a1 = std::sin(incl) * std::sin(g);
    const double a2 = std::cos(kEquatorIncl) * std::sin(incl) * std::cos(g) -
                      std::sin(kEquatorIncl) * std::cos(incl);
    o.gamma = std::asin(std::hypot(a1, a2));
    const double u = std::atan2(a1, a2);
    o.node = kEquatorNode + u;
    const double h = std::cos(kEquatorIncl) * std::sin(incl) -
                     std::sin(kEquatorIncl) * std::cos(incl) * std::cos(g);
    const double psi = std::atan2(std::sin(kEquatorIncl) * std::sin(g), h);
    o.lambda = lam + C + u - g - psi;
    return o;
}

// The first moons: a mean longitude with librations and, but for Tethys, an equation of
// the centre.
Orbit Inner(int index, const Times& t) {
    const double k = kRad;
    Orbit o{};
    double L = 0, p = 0, e = 0, a = 0, C = 0;
    switch (index) {
        case 0:
            L = (127.64 + 381.994497 * t.t1 - 43.57 * std::sin(t.W0) - 0.720 * std::sin(3 * t.W0) -
                 0.02144 * std::sin(5 * t.W0)) *
                k;
            p = (106.1 + 365.549 * t.t2) * k;
            C = (2.18287 * std::sin(L - p) + 0.025988 * std::sin(2 * (L - p)) +
                 0.00043 * std::sin(3 * (L - p))) *
                k;
            e = 0.01905, a = 3.06879;
            o.gamma = 1.563 * k, o.node = (54.5 - 365.072 * t.t2) * k;
            break;
        case 1:
            L = (200.317 + 262.7319002 * t.t1 + 0.25667 * std::sin(t.W1) +
                 0.20883 * std::sin(t.W2)) *
                k;
            p = (309.107 + 123.44121 * t.t2) * k;
            C = (0.55577 * std::sin(L - p) + 0.00168 * std::sin(2 * (L - p))) * k;
            e = 0.00485, a = 3.94118;
            o.gamma = 0.0262 * k, o.node = (348.0 - 151.95 * t.t2) * k;
            break;
        case 2:
            o.lambda = (285.306 + 190.69791226 * t.t1 + 2.063 * std::sin(t.W0) +
                        0.03409 * std::sin(3 * t.W0) + 0.001015 * std::sin(5 * t.W0)) *
                       k;
            o.r = 4.880998, o.gamma = 1.0976 * k, o.node = (111.33 - 72.2441 * t.t2) * k;
            return o;
        default:
            L = (254.712 + 131.53493193 * t.t1 - 0.0215 * std::sin(t.W1) -
                 0.01733 * std::sin(t.W2)) *
                k;
            p = (174.8 + 30.82 * t.t2) * k;
            C = (0.24717 * std::sin(L - p) + 0.00033 * std::sin(2 * (L - p))) * k;
            e = 0.002157, a = 6.24871;
            o.gamma = 0.0139 * k, o.node = (232.0 - 30.27 * t.t2) * k;
            break;
    }
    o.lambda = L + C;
    o.r = a / (1 + e * std::cos(L - p + C));
    return o;
}

Orbit Rhea(const Times& t) {
    const double k = kRad;
    const double pp = (342.7 + 10.057 * t.t2) * k;
    const double a1 = 0.000265 * std::sin(pp) + 0.001 * std::sin(t.W4);
    const double a2 = 0.000265 * std::cos(pp) + 0.001 * std::cos(t.W4);
    const double N = (345.0 - 10.057 * t.t2) * k;
    const double lam = (359.244 + 79.69004720 * t.t1 + 0.086754 * std::sin(N)) * k;
    const double incl = (28.0362 + 0.346898 * std::cos(N) + 0.01930 * std::cos(t.W3)) * k;
    const double node = (168.8034 + 0.736936 * std::sin(N) + 0.041 * std::sin(t.W3)) * k;
    return FromEcliptic(lam, std::atan2(a1, a2), std::hypot(a1, a2), 8.725924, node, incl);
}

Orbit Titan(const Times& t) {
    const double k = kRad;
    const double L = (261.1582 + 22.57697855 * t.t4 + 0.074025 * std::sin(t.W3)) * k;
    const double i1 = (27.45141 + 0.295999 * std::cos(t.W3)) * k;
    const double n1 = (168.66925 + 0.628808 * std::sin(t.W3)) * k;
    const double a1 = std::sin(t.W7) * std::sin(n1 - t.W8);
    const double a2 =
        std::cos(t.W7) * std::sin(i1) - std::sin(t.W7) * std::cos(i1) * std::cos(n1 - t.W8);
    const double g0 = 102.8623 * k;
    const double psi = std::atan2(a1, a2);
    const double s = std::hypot(a1, a2);
    double g = t.W4 - n1 - psi, peri = 0.0;
    for (int i = 0; i < 3; ++i) {
        peri = t.W4 + 0.37515 * k * (std::sin(2 * g) - std::sin(2 * g0));
        g = peri - n1 - psi;
    }
    const double e1 = 0.029092 + 0.00019048 * (std::cos(2 * g) - std::cos(2 * g0));
    const double q = 2 * (t.W5 - peri);
    const double b1 = std::sin(i1) * std::sin(n1 - t.W8);
    const double b2 =
        std::cos(t.W7) * std::sin(i1) * std::cos(n1 - t.W8) - std::sin(t.W7) * std::cos(i1);
    const double theta = std::atan2(b1, b2) + t.W8;
    const double e = e1 + 0.002778797 * e1 * std::cos(q);
    const double p = peri + 0.159215 * k * std::sin(q);
    const double u = 2 * t.W5 - 2 * theta + psi;
    const double h = 0.9375 * e1 * e1 * std::sin(q) + 0.1875 * s * s * std::sin(2 * (t.W5 - theta));
    const double lam =
        L - 0.254744 * k * (t.e1 * std::sin(t.W6) + 0.75 * t.e1 * t.e1 * std::sin(2 * t.W6) + h);
    const double incl = i1 + 0.031843 * k * s * std::cos(u);
    const double node = n1 + 0.031843 * k * s * std::sin(u) / std::sin(i1);
    return FromEcliptic(lam, p, e, 20.216193, node, incl);
}

Orbit Iapetus(const Times& t) {
    const double k = kRad;
    const double L = (261.1582 + 22.57697855 * t.t4) * k;
    const double peri1 = (91.796 + 0.562 * t.t7) * k;
    const double psi = (4.367 - 0.195 * t.t7) * k;
    const double theta = (146.819 - 3.198 * t.t7) * k;
    const double phi = (60.470 + 1.521 * t.t7) * k;
    const double Phi = (205.055 - 2.091 * t.t7) * k;
    const double e1 = 0.028298 + 0.001156 * t.t11;
    const double peri0 = (352.91 + 11.71 * t.t11) * k;
    const double mu = (76.3852 + 4.53795125 * t.t10) * k;
    const double T = t.t11;
    const double i1 = (18.4602 + T * (-0.9518 + T * (-0.072 + T * 0.0054))) * k;
    const double n1 = (143.198 + T * (-3.919 + T * (0.116 + T * 0.008))) * k;
    const double l = mu - peri0, g = peri0 - n1 - psi, g1 = peri0 - n1 - phi;
    const double ls = t.W5 - peri1, gs = peri1 - theta, lT = L - t.W4, gT = t.W4 - Phi;
    const double u1 = 2 * (l + g - ls - gs), u2 = l + g1 - lT - gT, u3 = l + 2 * (g - ls - gs);
    const double u4 = lT + gT - g1, u5 = 2 * (ls + gs);
    const double a = 58.935028 + 0.004638 * std::cos(u1) + 0.058222 * std::cos(u2);
    const double e = e1 - 0.0014097 * std::cos(g1 - gT) + 0.0003733 * std::cos(u5 - 2 * g) +
                     0.0001180 * std::cos(u3) + 0.0002408 * std::cos(l) +
                     0.0002849 * std::cos(l + u2) + 0.0006190 * std::cos(u4);
    const double w =
        k * (0.08077 * std::sin(g1 - gT) + 0.02139 * std::sin(u5 - 2 * g) - 0.00676 * std::sin(u3) +
             0.01380 * std::sin(l) + 0.01632 * std::sin(l + u2) + 0.03547 * std::sin(u4));
    const double p = peri0 + w / e1;
    const double lam = mu + k * (-0.04299 * std::sin(u2) - 0.00789 * std::sin(u1) -
                                 0.06312 * std::sin(ls) - 0.00295 * std::sin(2 * ls) -
                                 0.02231 * std::sin(u5) + 0.00650 * std::sin(u5 + psi));
    const double incl =
        i1 + k * (0.04204 * std::cos(u5 + psi) + 0.00235 * std::cos(l + g1 + lT + gT + phi) +
                  0.00360 * std::cos(u2 + phi));
    const double w1 =
        k * (0.04204 * std::sin(u5 + psi) + 0.00235 * std::sin(l + g1 + lT + gT + phi) +
             0.00358 * std::sin(u2 + phi));
    return FromEcliptic(lam, p, e, a, n1 + w1 / std::sin(i1), incl);
}

}  // namespace

Vec SaturnMoon(int index, double jdTt) {
    if (index == 6) return Vec{NAN, NAN, NAN};  // Hyperion has a theory of its own
    const Times t = TimesAt(jdTt);
    const Orbit o = index < 4    ? Inner(index, t)
                    : index == 4 ? Rhea(t)
                    : index == 5 ? Titan(t)
                                 : Iapetus(t);
    // In the orbit's plane from its node, then the equator to the ecliptic B1950.
    const double u = o.lambda - o.node, w = o.node - kEquatorNode;
    const Vec v{o.r * (std::cos(u) * std::cos(w) - std::sin(u) * std::cos(o.gamma) * std::sin(w)),
                o.r * (std::sin(u) * std::cos(w) * std::cos(o.gamma) + std::cos(u) * std::sin(w)),
                o.r * std::sin(u) * std::sin(o.gamma)};
    const Vec ecliptic = R3(-kEquatorNode) * (R1(-kEquatorIncl) * v);
    return ecliptic * kSaturnRadiusAu;
}

}  // namespace sky
