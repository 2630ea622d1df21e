// SPDX-License-Identifier: LGPL-3.0-or-later
// The planets' magnitudes by Mallama and Hilton (2018), their apparent diameters and the
// H, G magnitudes of minor planets.
#include "sky/bodies/Photometry.h"

#include <algorithm>
#include <cmath>

#include "sky/bodies/SkyMath.h"

namespace sky {

namespace {
constexpr double kJ2000 = 2451545.0;
}  // namespace

// Equatorial diameters at 1 au, arc seconds.
double DiameterAtOneAu(Body body) {
    switch (body) {
        case Body::Mercury:
            return 6.74;
        case Body::Venus:
            return 16.92;
        case Body::Mars:
            return 9.36;
        case Body::Jupiter:
            return 196.94;
        case Body::Saturn:
            return 165.6;
        case Body::Uranus:
            return 70.48;
        case Body::Neptune:
            return 68.34;
        case Body::Pluto:
            return 3.28;
        default:
            return NAN;
    }
}

namespace {

// Planetocentric latitude (degrees) of the point that faces along -v, for a pole given in
// J2000 equatorial right ascension and declination (degrees).
double SubLatitude(double poleRa, double poleDec, const Vec& v) {
    const Vec pole = FromSphere(poleRa, poleDec, 1.0);
    return std::asin(std::clamp(-Dot(pole, v) / Norm(v), -1.0, 1.0)) / kRad;
}

}  // namespace

// The visual magnitude of a planet by Mallama and Hilton (2018), the model of the
// Astronomical Almanac: r, delta in au, phase angle i in degrees; geo is the planet from
// the Earth and earth the Earth from the Sun (J2000 equatorial, au).
double Magnitude(Body body, double r, double delta, double i, double jdTt, const Vec& geo,
                 const Vec& earth) {
    const double d5 = 5.0 * std::log10(r * delta);
    const double T = (jdTt - kJ2000) / 36525.0;
    switch (body) {
        case Body::Mercury:
            return -0.613 + d5 +
                   i * (6.3280e-02 +
                        i * (-1.6336e-03 +
                             i * (3.3644e-05 +
                                  i * (-3.4265e-07 + i * (1.6893e-09 + i * -3.0334e-12)))));
        case Body::Venus:
            if (i < 163.7)
                return -4.384 + d5 +
                       i * (-1.044e-03 + i * (3.687e-04 + i * (-2.814e-06 + i * 8.938e-09)));
            return 236.05828 + d5 + i * (-2.81914 + i * 8.39034e-03);
        case Body::Mars:
            // Without the terms for the face and season, worth up to about 0.1.
            if (i <= 50.0) return -1.601 + d5 + i * (2.267e-02 - 1.302e-04 * i);
            return -0.367 + d5 + i * (-2.573e-02 + 3.445e-04 * i);
        case Body::Jupiter: {
            if (i <= 12.0) return -9.395 + d5 + i * (-3.7e-04 + 6.16e-04 * i);
            const double x = i / 180.0;
            return -9.428 + d5 -
                   2.5 * std::log10(
                             1.0 +
                             x * (-1.507 + x * (-0.363 + x * (-0.062 + x * (2.809 - 1.876 * x)))));
        }
        case Body::Saturn: {
            // Globe and rings: the rings' opening towards the Sun and towards the Earth.
            const double poleRa = 40.589 - 0.036 * T, poleDec = 83.537 - 0.004 * T;
            const double bSun = SubLatitude(poleRa, poleDec, geo + earth);
            const double bEarth = SubLatitude(poleRa, poleDec, geo);
            const double b = bSun * bEarth > 0.0 ? std::sqrt(bSun * bEarth) : 0.0;
            if (i <= 6.5 && b <= 27.0) {
                const double sb = std::sin(b * kRad);
                return -8.914 + d5 - 1.825 * sb + 0.026 * i - 0.378 * sb * std::exp(-2.25 * i);
            }
            // Seen from beyond the Earth's range of phase angles: the globe alone.
            return -8.94 + d5 + i * (2.446e-4 + i * (2.672e-4 + i * (-1.506e-6 + i * 4.767e-9)));
        }
        case Body::Uranus: {
            const double poleRa = 257.311, poleDec = -15.175;
            const double b = (std::fabs(SubLatitude(poleRa, poleDec, geo + earth)) +
                              std::fabs(SubLatitude(poleRa, poleDec, geo))) /
                             2.0;
            return -7.110 + d5 - 0.00084 * b + (i > 3.1 ? i * (6.587e-3 + 1.045e-4 * i) : 0.0);
        }
        case Body::Neptune: {
            // Neptune brightened from 1980 to 2000.
            const double year = 2000.0 + (jdTt - kJ2000) / 365.25;
            const double v = std::clamp(-6.89 - 0.0054 * (year - 1980.0), -7.00, -6.89) + d5;
            return i > 1.9 && year >= 2000.0 ? v + i * (7.944e-3 + 9.617e-5 * i) : v;
        }
        case Body::Pluto:
            return -1.0 + d5;
        default:
            return NAN;
    }
}

// The H, G magnitude of a minor planet.
double AsteroidMagnitude(const Kepler& k, double r, double delta, double iDeg) {
    const double t = std::tan(iDeg * kRad / 2.0);
    const double phi1 = std::exp(-3.33 * std::pow(t, 0.63));
    const double phi2 = std::exp(-1.87 * std::pow(t, 1.22));
    return k.H + 5.0 * std::log10(r * delta) - 2.5 * std::log10((1.0 - k.G) * phi1 + k.G * phi2);
}

}  // namespace sky
