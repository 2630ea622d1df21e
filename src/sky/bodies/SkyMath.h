// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Small vector and rotation helpers of the built-in sky's ephemeris (internal).
#include <cfloat>
#include <cmath>

#include "sky/Constants.h"
#include "sky/bodies/Ephemeris.h"
#include "zvacl/Reductions.h"
#include "zvacl/zvacl.h"

namespace sky {

constexpr double kRad = M_PI / 180.0;  ///< radians per degree

/// Semidiameters in degrees of the Sun at a distance in au and of the Moon at one in km.
/// @{
inline double SunSemidiameterDeg(double distAu) { return 959.63 / distAu / 3600.0; }
inline double MoonSemidiameterDeg(double distKm) { return std::asin(1737.4 / distKm) / kRad; }
/// @}

/// Vector sum, difference, scaling, dot product and length.
/// @{
inline Vec operator+(const Vec& a, const Vec& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec operator-(const Vec& a, const Vec& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec operator*(const Vec& a, double k) { return {a.x * k, a.y * k, a.z * k}; }
inline Vec operator*(double k, const Vec& a) { return a * k; }
inline double Dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline double Norm(const Vec& a) { return std::sqrt(Dot(a, a)); }
/// @}

/// A 3 x 3 rotation matrix, row by row.
struct Mat {
    double m[3][3];  ///< m[row][column]
};
/// A rotated vector, a product of rotations, the inverse rotation.
/// @{
inline Vec operator*(const Mat& r, const Vec& v) {
    return {r.m[0][0] * v.x + r.m[0][1] * v.y + r.m[0][2] * v.z,
            r.m[1][0] * v.x + r.m[1][1] * v.y + r.m[1][2] * v.z,
            r.m[2][0] * v.x + r.m[2][1] * v.y + r.m[2][2] * v.z};
}
inline Mat operator*(const Mat& a, const Mat& b) {
    Mat r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k) r.m[i][j] += a.m[i][k] * b.m[k][j];
    return r;
}
inline Mat Transpose(const Mat& a) {
    Mat r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r.m[i][j] = a.m[j][i];
    return r;
}
/// @}
/// Rotations of the frame about the x, y and z axes by an angle in radians.
/// @{
inline Mat R1(double a) {
    const double c = std::cos(a), s = std::sin(a);
    return Mat{{{1, 0, 0}, {0, c, s}, {0, -s, c}}};
}
inline Mat R2(double a) {
    const double c = std::cos(a), s = std::sin(a);
    return Mat{{{c, 0, -s}, {0, 1, 0}, {s, 0, c}}};
}
inline Mat R3(double a) {
    const double c = std::cos(a), s = std::sin(a);
    return Mat{{{c, s, 0}, {-s, c, 0}, {0, 0, 1}}};
}
/// @}

/// An angle in degrees brought into [0, 360) or (-180, 180].
/// @{
inline double Norm360(double a) {
    if (a > -360.0 && a < 360.0) return a < 0 ? a + 360.0 : a;  // fmod would give a itself
    a = std::fmod(a, 360.0);
    return a < 0 ? a + 360.0 : a;
}
inline double Norm180(double a) {
    a = Norm360(a);
    return a > 180.0 ? a - 360.0 : a;
}
/// @}

/// The arctangents of k / 64, k = 0 to 64, correctly rounded.
// clang-format off
inline constexpr double kAtanOf64ths[65] = {
    0x0.0p+0, 0x1.fff555bbb729bp-7, 0x1.ffd55bba97625p-6,
    0x1.7fb818430da2ap-5, 0x1.ff55bb72cfdeap-5, 0x1.3f59f0e7c559dp-4,
    0x1.7ee182602f10fp-4, 0x1.be39ebe6f07c3p-4, 0x1.fd5ba9aac2f6ep-4,
    0x1.1e1fafb043727p-3, 0x1.3d6eee8c6626cp-3, 0x1.5c9811e3ec26ap-3,
    0x1.7b97b4bce5b02p-3, 0x1.9a6a8e96c8626p-3, 0x1.b90d7529260a2p-3,
    0x1.d77d5df205736p-3, 0x1.f5b75f92c80ddp-3, 0x1.09dc597d86362p-2,
    0x1.18bf5a30bf178p-2, 0x1.278372057ef46p-2, 0x1.362773707ebccp-2,
    0x1.44aa436c2af0ap-2, 0x1.530ad9951cd4ap-2, 0x1.614840309cfe2p-2,
    0x1.6f61941e4def1p-2, 0x1.7d5604b63b3f7p-2, 0x1.8b24d394a1b25p-2,
    0x1.98cd5454d6b18p-2, 0x1.a64eec3cc23fdp-2, 0x1.b3a911da65c6cp-2,
    0x1.c0db4c94ec9f0p-2, 0x1.cde53432c1351p-2, 0x1.dac670561bb4fp-2,
    0x1.e77eb7f175a34p-2, 0x1.f40dd0b541418p-2, 0x1.0039c73c1a40cp-1,
    0x1.0657e94db30d0p-1, 0x1.0c6145b5b43dap-1, 0x1.1255d9bfbd2a9p-1,
    0x1.1835a88be7c13p-1, 0x1.1e00babdefeb4p-1, 0x1.23b71e2cc9e6ap-1,
    0x1.2958e59308e31p-1, 0x1.2ee628406cbcap-1, 0x1.345f01cce37bbp-1,
    0x1.39c391cd4171ap-1, 0x1.3f13fb89e96f4p-1, 0x1.445065b795b56p-1,
    0x1.4978fa3269ee1p-1, 0x1.4e8de5bb6ec04p-1, 0x1.538f57b89061fp-1,
    0x1.587d81f732fbbp-1, 0x1.5d58987169b18p-1, 0x1.6220d115d7b8ep-1,
    0x1.66d663923e087p-1, 0x1.6b798920b3d99p-1, 0x1.700a7c5784634p-1,
    0x1.748978fba8e0fp-1, 0x1.78f6bbd5d315ep-1, 0x1.7d528289fa093p-1,
    0x1.819d0b7158a4dp-1, 0x1.85d69576cc2c5p-1, 0x1.89ff5ff57f1f8p-1,
    0x1.8e17aa99cc05ep-1, 0x1.921fb54442d18p-1,
};
// clang-format on

/// atan2(y, x) within 5e-16 radians, a few times as fast as the C library's: the ratio of
/// the smaller to the larger coordinate is taken to the nearest k / 64, whose arctangent is
/// tabulated, and the rest (a tangent within 1/128) summed as its series to the 7th power.
/// Zeros, infinities and NaN are the C library's.
inline double Atan2(double y, double x) {
    const double ax = std::fabs(x), ay = std::fabs(y);
    const bool steep = ay > ax;
    const double num = steep ? ax : ay, den = steep ? ay : ax;  // num <= den
    if (!(den > 0.0 && den <= DBL_MAX && num >= 0.0)) return std::atan2(y, x);
    const int k = static_cast<int>(num / den * 64.0 + 0.5);
    const double c = k * (1.0 / 64.0);
    const double t = (num - c * den) / (den + c * num);  // tan(atan(num/den) - atan(c))
    const double t2 = t * t;
    double a = kAtanOf64ths[k] + t * (1.0 - t2 * (1.0 / 3.0 - t2 * (1.0 / 5.0 - t2 / 7.0)));
    if (steep) a = M_PI / 2.0 - a;
    if (x < 0.0) a = M_PI - a;
    return std::signbit(y) ? -a : a;
}

/// A vector of length r towards (lonDeg, latDeg), and the angles of a vector (degrees).
/// @{
inline Vec FromSphere(double lonDeg, double latDeg, double r) {
    const double l = lonDeg * kRad, b = latDeg * kRad;
    return {r * std::cos(b) * std::cos(l), r * std::cos(b) * std::sin(l), r * std::sin(b)};
}
inline Sphere ToSphere(const Vec& v) {
    return Sphere{Norm360(Atan2(v.y, v.x) / kRad),
                  Atan2(v.z, std::sqrt(v.x * v.x + v.y * v.y)) / kRad};
}
/// @}
/// The angle between two directions, degrees.
inline double Separation(const Sphere& a, const Sphere& b) {
    const Vec u = FromSphere(a.lon, a.lat, 1.0), v = FromSphere(b.lon, b.lat, 1.0);
    return std::atan2(
               Norm(Vec{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x}),
               Dot(u, v)) /
           kRad;
}

/// Mean obliquity of the ecliptic (IAU 1980), radians, for a JD in TT.
inline double MeanObliquity(double jdTt) { return GetMeanObliquity(jdTt) * kRad; }
/// Between ecliptic and equatorial axes for an obliquity eps in radians.
/// @{
inline Vec EclipticToEquatorial(const Vec& v, double eps) { return R1(-eps) * v; }
inline Vec EquatorialToEcliptic(const Vec& v, double eps) { return R1(eps) * v; }
/// @}

/// Precession (IAU 1976) from the mean equator and equinox J2000 to those of date.
inline Mat Precession(double jdTt) {
    const double T = (jdTt - 2451545.0) / 36525.0;
    const double as = kRad / 3600.0;
    const double zeta = (2306.2181 * T + 0.30188 * T * T + 0.017998 * T * T * T) * as;
    const double z = (2306.2181 * T + 1.09468 * T * T + 0.018203 * T * T * T) * as;
    const double theta = (2004.3109 * T - 0.42665 * T * T - 0.041833 * T * T * T) * as;
    return R3(-z) * R2(theta) * R3(-zeta);
}

/// Nutation in longitude and obliquity, radians (IAU 2000A with the IAU 2006 adjustments;
/// tabulated over 1960-2060, see zvacl/Reductions.h).
inline void NutationAngles(double jdTt, double* dpsi, double* deps) {
    zvacl::Nutation2000A(jdTt, dpsi, deps);
}
/// From the mean to the true equator and equinox of date.
inline Mat Nutation(double eps0, double dpsi, double deps) {
    return R1(-(eps0 + deps)) * R3(-dpsi) * R1(eps0);
}

}  // namespace sky
