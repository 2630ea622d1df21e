// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The Earth of WGS-72, as the two-line element sets are fitted with it.
#include <cmath>

namespace sky {
namespace wgs72 {
constexpr double kMu = 398600.8;      ///< km^3/s^2
constexpr double kRadius = 6378.135;  ///< km
/// The zonal harmonics J2, J3 and J4 of the Earth's gravity field.
/// @{
constexpr double kJ2 = 0.001082616;
constexpr double kJ3 = -0.00000253881;
constexpr double kJ4 = -0.00000165597;
/// @}
/// sqrt(mu) in earth radii^1.5 per minute.
inline double Xke() { return 60.0 / std::sqrt(kRadius * kRadius * kRadius / kMu); }
}  // namespace wgs72
}  // namespace sky
