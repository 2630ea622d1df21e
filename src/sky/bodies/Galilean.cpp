// SPDX-License-Identifier: LGPL-3.0-or-later
// Jupiter's four great moons by Lieske's theory E5 as Meeus gives it in its higher-accuracy
// form: periodic terms in longitude, latitude and radius on the mean elements, about
// Jupiter's equator, then turned to the ecliptic and equinox of date.
//
// Derived from Jean Meeus, Astronomical Algorithms (2nd ed., Willmann-Bell 1998), chapter 44,
// its higher-accuracy method after Lieske's E5 (Lieske 1998, A&AS 129, 205): the mean
// elements and the periodic terms. Licence: none, published numerical theory used as facts.
#include <cmath>

#include "sky/bodies/Moons.h"
#include "sky/bodies/SkyMath.h"

namespace sky {

namespace {

// E5's unit of length, Jupiter's equatorial radius, in au.
constexpr double kJupiterRadiusAu = 71398.0 / kKmPerAu;

struct Arguments {
    double l1, l2, l3, l4;       // mean longitudes
    double p1, p2, p3, p4;       // longitudes of the perijoves
    double w1, w2, w3, w4;       // longitudes of the nodes on Jupiter's equator
    double psi, G, Gp, Phi, Pi;  // node of the equator, Jupiter's and Saturn's anomalies, libration
};

Arguments ArgumentsAt(double t) {
    const auto d = [](double a) { return a * kRad; };
    Arguments a{};
    a.l1 = d(106.07719 + 203.488955790 * t);
    a.l2 = d(175.73161 + 101.374724735 * t);
    a.l3 = d(120.55883 + 50.317609207 * t);
    a.l4 = d(84.44459 + 21.571071177 * t);
    a.p1 = d(97.0881 + 0.16138586 * t);
    a.p2 = d(154.8663 + 0.04726307 * t);
    a.p3 = d(188.1840 + 0.00712734 * t);
    a.p4 = d(335.2868 + 0.00184000 * t);
    a.w1 = d(312.3346 - 0.13279386 * t);
    a.w2 = d(100.4411 - 0.03263064 * t);
    a.w3 = d(119.1942 - 0.00717703 * t);
    a.w4 = d(322.6186 - 0.00175934 * t);
    const double gamma = 0.33033 * std::sin(d(163.679 + 0.0010512 * t)) +
                         0.03439 * std::sin(d(34.486 - 0.0161731 * t));
    a.Phi = d(199.6766 + 0.17379190 * t);
    a.psi = d(316.5182 - 0.00000208 * t);
    a.G = d(30.23756 + 0.0830925701 * t + gamma);
    a.Gp = d(31.97853 + 0.0334597339 * t);
    a.Pi = d(13.469942);
    return a;
}

// A sum of sine (or cosine) terms: coefficient and argument.
struct Term {
    double c, arg;
};
template <size_t N>
double SinSum(const Term (&terms)[N]) {
    double s = 0.0;
    for (const Term& t : terms) s += t.c * std::sin(t.arg);
    return s;
}
template <size_t N>
double CosSum(const Term (&terms)[N]) {
    double s = 0.0;
    for (const Term& t : terms) s += t.c * std::cos(t.arg);
    return s;
}

// Longitude, latitude (radians) and radius (Jupiter radii) of one moon about Jupiter's
// equator, the longitude counted from the equinox B1950.
void Orbit(int index, const Arguments& a, double* L, double* B, double* R) {
    const double l1 = a.l1, l2 = a.l2, l3 = a.l3, l4 = a.l4, p1 = a.p1, p2 = a.p2, p3 = a.p3,
                 p4 = a.p4;
    const double w1 = a.w1, w2 = a.w2, w3 = a.w3, w4 = a.w4, psi = a.psi, G = a.G, Gp = a.Gp,
                 Pi = a.Pi;
    const double Phi = a.Phi, k = kRad;
    if (index == 0) {
        const Term s[] = {{0.47259, 2 * (l1 - l2)},
                          {-0.03478, p3 - p4},
                          {0.01081, l2 - 2 * l3 + p3},
                          {0.00738, Phi},
                          {0.00713, l2 - 2 * l3 + p2},
                          {-0.00674, p1 + p3 - 2 * Pi - 2 * G},
                          {0.00666, l2 - 2 * l3 + p4},
                          {0.00445, l1 - p3},
                          {-0.00354, l1 - l2},
                          {-0.00317, 2 * psi - 2 * Pi},
                          {0.00265, l1 - p4},
                          {-0.00186, G},
                          {0.00162, p2 - p3},
                          {0.00158, 4 * (l1 - l2)},
                          {-0.00155, l1 - l3},
                          {-0.00138, psi + w3 - 2 * Pi - 2 * G},
                          {-0.00115, 2 * (l1 - 2 * l2 + w2)},
                          {0.00089, p2 - p4},
                          {0.00085, l1 + p3 - 2 * Pi - 2 * G},
                          {0.00083, w2 - w3},
                          {0.00053, psi - w2}};
        const double sigma = SinSum(s) * k;
        *L = l1 + sigma;
        const Term b[] = {{0.0006393, *L - w1},
                          {0.0001825, *L - w2},
                          {0.0000329, *L - w3},
                          {-0.0000311, *L - psi},
                          {0.0000093, *L - w4},
                          {0.0000075, 3 * *L - 4 * l2 - 1.9927 * sigma + w2},
                          {0.0000046, *L + psi - 2 * Pi - 2 * G}};
        *B = std::atan(SinSum(b));
        const Term r[] = {{-0.0041339, 2 * (l1 - l2)},
                          {-0.0000387, l1 - p3},
                          {-0.0000214, l1 - p4},
                          {0.0000170, l1 - l2},
                          {-0.0000131, 4 * (l1 - l2)},
                          {0.0000106, l1 - l3},
                          {-0.0000066, l1 + p3 - 2 * Pi - 2 * G}};
        *R = 5.90569 * (1 + CosSum(r));
    } else if (index == 1) {
        const Term s[] = {{1.06476, 2 * (l2 - l3)},
                          {0.04256, l1 - 2 * l2 + p3},
                          {0.03581, l2 - p3},
                          {0.02395, l1 - 2 * l2 + p4},
                          {0.01984, l2 - p4},
                          {-0.01778, Phi},
                          {0.01654, l2 - p2},
                          {0.01334, l2 - 2 * l3 + p2},
                          {0.01294, p3 - p4},
                          {-0.01142, l2 - l3},
                          {-0.01057, G},
                          {-0.00775, 2 * (psi - Pi)},
                          {0.00524, 2 * (l1 - l2)},
                          {-0.00460, l1 - l3},
                          {0.00316, psi - 2 * G + w3 - 2 * Pi},
                          {-0.00203, p1 + p3 - 2 * Pi - 2 * G},
                          {0.00146, psi - w3},
                          {-0.00145, 2 * G},
                          {0.00125, psi - w4},
                          {-0.00115, l1 - 2 * l3 + p3},
                          {-0.00094, 2 * (l2 - w2)},
                          {0.00086, 2 * (l1 - 2 * l2 + w2)},
                          {-0.00086, 5 * Gp - 2 * G + 52.225 * k},
                          {-0.00078, l2 - l4},
                          {-0.00064, 3 * l3 - 7 * l4 + 4 * p4},
                          {0.00064, p1 - p4},
                          {-0.00063, l1 - 2 * l3 + p4},
                          {0.00058, w3 - w4},
                          {0.00056, 2 * (psi - Pi - G)},
                          {0.00056, 2 * (l2 - l4)},
                          {0.00055, 2 * (l1 - l3)},
                          {0.00052, 3 * l3 - 7 * l4 + p3 + 3 * p4},
                          {-0.00043, l1 - p3},
                          {0.00041, 5 * (l2 - l3)},
                          {0.00041, p4 - Pi},
                          {0.00032, w2 - w3},
                          {0.00032, 2 * (l3 - G - Pi)}};
        const double sigma = SinSum(s) * k;
        *L = l2 + sigma;
        const Term b[] = {{0.0081004, *L - w2},
                          {0.0004512, *L - w3},
                          {-0.0003284, *L - psi},
                          {0.0001160, *L - w4},
                          {0.0000272, l1 - 2 * l3 + 1.0146 * sigma + w2},
                          {-0.0000144, *L - w1},
                          {0.0000143, *L + psi - 2 * Pi - 2 * G},
                          {0.0000035, *L - psi + G},
                          {-0.0000028, l1 - 2 * l3 + 1.0146 * sigma + w3}};
        *B = std::atan(SinSum(b));
        const Term r[] = {
            {0.0093848, l1 - l2},        {-0.0003116, l2 - p3},      {-0.0001744, l2 - p4},
            {-0.0001442, l2 - p2},       {0.0000553, l2 - l3},       {0.0000523, l1 - l3},
            {-0.0000290, 2 * (l1 - l2)}, {0.0000164, 2 * (l2 - w2)}, {0.0000107, l1 - 2 * l3 + p3},
            {-0.0000102, l2 - p1},       {-0.0000091, 2 * (l1 - l3)}};
        *R = 9.39657 * (1 + CosSum(r));
    } else if (index == 2) {
        const Term s[] = {{0.16490, l3 - p3},
                          {0.09081, l3 - p4},
                          {-0.06907, l2 - l3},
                          {0.03784, p3 - p4},
                          {0.01846, 2 * (l3 - l4)},
                          {-0.01340, G},
                          {-0.01014, 2 * (psi - Pi)},
                          {0.00704, l2 - 2 * l3 + p3},
                          {-0.00620, l2 - 2 * l3 + p2},
                          {-0.00541, l3 - l4},
                          {0.00381, l2 - 2 * l3 + p4},
                          {0.00235, psi - w3},
                          {0.00198, psi - w4},
                          {0.00176, Phi},
                          {0.00130, 3 * (l3 - l4)},
                          {0.00125, l1 - l3},
                          {-0.00119, 5 * Gp - 2 * G + 52.225 * k},
                          {0.00109, l1 - l2},
                          {-0.00100, 3 * l3 - 7 * l4 + 4 * p4},
                          {0.00091, w3 - w4},
                          {0.00080, 3 * l3 - 7 * l4 + p3 + 3 * p4},
                          {-0.00075, 2 * l2 - 3 * l3 + p3},
                          {0.00072, p1 + p3 - 2 * Pi - 2 * G},
                          {0.00069, p4 - Pi},
                          {-0.00058, 2 * l3 - 3 * l4 + p4},
                          {-0.00057, l3 - 2 * l4 + p4},
                          {0.00056, l3 + p3 - 2 * Pi - 2 * G},
                          {-0.00052, l2 - 2 * l3 + p1},
                          {-0.00050, p2 - p3},
                          {0.00048, l3 - 2 * l4 + p3},
                          {-0.00045, 2 * l2 - 3 * l3 + p4},
                          {-0.00041, p2 - p4},
                          {-0.00038, 2 * G},
                          {-0.00037, p3 - p4 + w3 - w4},
                          {-0.00032, 3 * l3 - 7 * l4 + 2 * p3 + 2 * p4},
                          {0.00030, 4 * (l3 - l4)},
                          {0.00029, l3 + p4 - 2 * Pi - 2 * G},
                          {-0.00028, w3 + psi - 2 * Pi - 2 * G},
                          {0.00026, l3 - Pi - G},
                          {0.00024, l2 - 3 * l3 + 2 * l4},
                          {0.00021, 2 * (l3 - Pi - G)},
                          {-0.00021, l3 - p2},
                          {0.00017, 2 * (l3 - p3)}};
        const double sigma = SinSum(s) * k;
        *L = l3 + sigma;
        const Term b[] = {{0.0032402, *L - w3},
                          {-0.0016911, *L - psi},
                          {0.0006847, *L - w4},
                          {-0.0002797, *L - w2},
                          {0.0000321, *L + psi - 2 * Pi - 2 * G},
                          {0.0000051, *L - psi + G},
                          {-0.0000045, *L - psi - G},
                          {-0.0000045, *L + psi - 2 * Pi},
                          {0.0000037, *L + psi - 2 * Pi - 3 * G},
                          {0.0000030, 2 * l2 - 3 * *L + 4.03 * sigma + w2},
                          {-0.0000021, 2 * l2 - 3 * *L + 4.03 * sigma + w3}};
        *B = std::atan(SinSum(b));
        const Term r[] = {{-0.0014388, l3 - p3},
                          {-0.0007917, l3 - p4},
                          {0.0006342, l2 - l3},
                          {-0.0001761, 2 * (l3 - l4)},
                          {0.0000294, l3 - l4},
                          {-0.0000156, 3 * (l3 - l4)},
                          {0.0000156, l1 - l3},
                          {-0.0000153, l1 - l2},
                          {0.0000070, 2 * l2 - 3 * l3 + p3},
                          {-0.0000051, l3 + p3 - 2 * Pi - 2 * G}};
        *R = 14.98832 * (1 + CosSum(r));
    } else {
        const Term s[] = {{0.84287, l4 - p4},
                          {0.03431, p4 - p3},
                          {-0.03305, 2 * (psi - Pi)},
                          {-0.03211, G},
                          {-0.01862, l4 - p3},
                          {0.01186, psi - w4},
                          {0.00623, l4 + p4 - 2 * G - 2 * Pi},
                          {0.00387, 2 * (l4 - p4)},
                          {-0.00284, 5 * Gp - 2 * G + 52.225 * k},
                          {-0.00234, 2 * (psi - p4)},
                          {-0.00223, l3 - l4},
                          {-0.00208, l4 - Pi},
                          {0.00178, psi + w4 - 2 * p4},
                          {0.00134, p4 - Pi},
                          {0.00125, 2 * (l4 - G - Pi)},
                          {-0.00117, 2 * G},
                          {-0.00112, 2 * (l3 - l4)},
                          {0.00107, 3 * l3 - 7 * l4 + 4 * p4},
                          {0.00102, l4 - G - Pi},
                          {0.00096, 2 * l4 - psi - w4},
                          {0.00087, 2 * (psi - w4)},
                          {-0.00085, 3 * l3 - 7 * l4 + p3 + 3 * p4},
                          {0.00085, l3 - 2 * l4 + p4},
                          {-0.00081, 2 * (l4 - psi)},
                          {0.00071, l4 + p4 - 2 * Pi - 3 * G},
                          {0.00061, l1 - l4},
                          {-0.00056, psi - w3},
                          {-0.00054, l3 - 2 * l4 + p3},
                          {0.00051, l2 - l4},
                          {0.00042, 2 * (psi - G - Pi)},
                          {0.00039, 2 * (p4 - w4)},
                          {0.00036, psi + Pi - p4 - w4},
                          {0.00035, 2 * Gp - G + 188.37 * k},
                          {-0.00035, l4 - p4 + 2 * Pi - 2 * psi},
                          {-0.00032, l4 + p4 - 2 * Pi - G},
                          {0.00030, 2 * Gp - 2 * G + 149.15 * k},
                          {0.00029, 3 * l3 - 7 * l4 + 2 * p3 + 2 * p4},
                          {0.00028, l4 - p4 + 2 * psi - 2 * Pi},
                          {-0.00028, 2 * (l4 - w4)},
                          {-0.00027, p3 - p4 + w3 - w4},
                          {-0.00026, 5 * Gp - 3 * G + 188.37 * k},
                          {0.00025, w4 - w3},
                          {-0.00025, l2 - 3 * l3 + 2 * l4},
                          {-0.00023, 3 * (l3 - l4)},
                          {0.00021, 2 * l4 - 2 * Pi - 3 * G},
                          {-0.00021, 2 * l3 - 3 * l4 + p4},
                          {0.00019, l4 - p4 - G},
                          {-0.00019, 2 * l4 - p3 - p4},
                          {-0.00018, l4 - p4 + G},
                          {-0.00016, l4 + p3 - 2 * Pi - 2 * G}};
        const double sigma = SinSum(s) * k;
        *L = l4 + sigma;
        const Term b[] = {{-0.0076579, *L - psi},
                          {0.0044134, *L - w4},
                          {-0.0005112, *L - w3},
                          {0.0000773, *L + psi - 2 * Pi - 2 * G},
                          {0.0000104, *L - psi + G},
                          {-0.0000102, *L - psi - G},
                          {0.0000088, *L + psi - 2 * Pi - 3 * G},
                          {-0.0000038, *L + psi - 2 * Pi - G}};
        *B = std::atan(SinSum(b));
        const Term r[] = {{-0.0073546, l4 - p4},
                          {0.0001621, l4 - p3},
                          {0.0000974, l3 - l4},
                          {-0.0000543, l4 + p4 - 2 * Pi - 2 * G},
                          {-0.0000271, 2 * (l4 - p4)},
                          {0.0000182, l4 - Pi},
                          {0.0000177, 2 * (l3 - l4)},
                          {-0.0000167, 2 * l4 - psi - w4},
                          {0.0000167, psi - w4},
                          {-0.0000155, 2 * (l4 - Pi - G)},
                          {0.0000142, 2 * (l4 - psi)},
                          {0.0000105, l1 - l4},
                          {0.0000092, l2 - l4},
                          {-0.0000089, l4 - Pi - G},
                          {-0.0000062, l4 + p4 - 2 * Pi - 3 * G},
                          {0.0000048, 2 * (l4 - w4)}};
        *R = 26.36273 * (1 + CosSum(r));
    }
}

}  // namespace

Vec GalileanMoon(int index, double jdTt) {
    const Arguments a = ArgumentsAt(jdTt - 2443000.5);
    double L = 0, B = 0, R = 0;
    Orbit(index, a, &L, &B, &R);
    // From the equinox B1950 to that of date.
    const double T0 = (jdTt - 2433282.423) / 36525.0;
    const double P = (1.3966626 + 0.0003088 * T0) * T0 * kRad;
    L += P;
    const double psi = a.psi + P;
    // Jupiter's equator on its orbit, its orbit on the ecliptic of date.
    const double T = (jdTt - 2451545.0) / 36525.0;
    const double I = (3.120262 + 0.0006 * (jdTt - 2415020.0) / 36525.0) * kRad;
    const double node = (100.464441 + T * (1.0209550 + T * (0.00040117 + T * 0.000000569))) * kRad;
    const double incl = (1.303270 + T * (-0.0054966 + T * (0.00000465 - T * 0.000000004))) * kRad;
    const Vec v{R * std::cos(L - psi) * std::cos(B), R * std::sin(L - psi) * std::cos(B),
                R * std::sin(B)};
    const Vec ecliptic = R3(-node) * (R1(-incl) * (R3(-(psi - node)) * (R1(-I) * v)));
    return ecliptic * kJupiterRadiusAu;
}

}  // namespace sky
