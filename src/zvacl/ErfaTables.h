// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The layout of the tables made by tools/erfa/erfa_tables.cpp when the library is built: Chebyshev
/// coefficients per granule of TT days from kStart of the nutation in longitude and in
/// obliquity and the complementary terms of the equation of the equinoxes (radians), and of the
/// Sun's barycentric position (au) and velocity (au a day) in GCRS axes (internal).

namespace zvacl {
namespace tables {

constexpr double kStart = 2436934.5;  ///< TT Julian Day where both begin (1960 January 1)
/// The nutation: granule length in days, granules (to 2060 January 2), coefficients.
/// @{
constexpr double kGranuleDays = 8.0;
constexpr int kGranules = 4566;
constexpr int kDegree = 12;
/// @}
/// The Sun: the same (to 2060 February 11).
/// @{
constexpr double kSunGranuleDays = 64.0;
constexpr int kSunGranules = 571;
constexpr int kSunDegree = 10;
/// @}

/// [granule][0: longitude, 1: obliquity, 2: complementary terms][coefficient]
extern const double kCoefficients[kGranules][3][kDegree];
/// [granule][x, y, z, vx, vy, vz][coefficient]
extern const double kSunCoefficients[kSunGranules][6][kSunDegree];

}  // namespace tables
}  // namespace zvacl
