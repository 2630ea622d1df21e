// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Small vector and rotation helpers of the built-in sky's ephemeris (internal).
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

/// A vector of length r towards (lonDeg, latDeg), and the angles of a vector (degrees).
/// @{
inline Vec FromSphere(double lonDeg, double latDeg, double r) {
    const double l = lonDeg * kRad, b = latDeg * kRad;
    return {r * std::cos(b) * std::cos(l), r * std::cos(b) * std::sin(l), r * std::sin(b)};
}
inline Sphere ToSphere(const Vec& v) {
    return Sphere{Norm360(std::atan2(v.y, v.x) / kRad),
                  std::atan2(v.z, std::hypot(v.x, v.y)) / kRad};
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
