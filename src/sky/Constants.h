// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The physical constants of the sky and of the texts that print its figures, one value
/// each (IAU 2012 astronomical unit, IAU 1976 speed of light, Julian year).

namespace sky {

constexpr double kKmPerAu = 149597870.7;            ///< the astronomical unit, km (IAU 2012)
constexpr double kSpeedOfLightKmPerS = 299792.458;  ///< km a second
constexpr double kSecondsPerDay = 86400.0;          ///< seconds in a day
constexpr double kDaysPerJulianYear = 365.25;       ///< days in a Julian year
constexpr double kLightDaysPerAu = kKmPerAu / kSpeedOfLightKmPerS / kSecondsPerDay;  ///< light time
/// The light year of the Julian year, km.
constexpr double kKmPerLightYear = kSpeedOfLightKmPerS * kSecondsPerDay * kDaysPerJulianYear;
constexpr double kEarthRadiusKm = 6378.14;  ///< the Earth's equatorial radius, km

}  // namespace sky
