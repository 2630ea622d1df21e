// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The layout of the nutation table made by tools/nutation when the library is built:
/// Chebyshev coefficients of the nutation in longitude and in obliquity (radians) per
/// granule of TT days (internal).

namespace zvacl {
namespace nutation {

constexpr double kStart = 2436934.5;  ///< TT Julian Day of the first granule (1960 January 1)
constexpr double kGranuleDays = 8.0;  ///< the length of a granule, days
constexpr int kGranules = 4566;       ///< granules, to 2060 January 2
constexpr int kDegree = 12;           ///< coefficients per series

/// [granule][0: longitude, 1: obliquity][coefficient]
extern const double kCoefficients[kGranules][2][kDegree];

}  // namespace nutation
}  // namespace zvacl
