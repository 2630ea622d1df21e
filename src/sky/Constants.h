// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The physical constants of the sky and of the texts that print its figures, one value
/// each (IAU 2012 astronomical unit, IAU 1976 speed of light, Julian year, WGS 84 Earth).

namespace sky {

constexpr double kKmPerAu = 149597870.7;            ///< the astronomical unit, km (IAU 2012)
constexpr double kSpeedOfLightKmPerS = 299792.458;  ///< km a second
constexpr double kSecondsPerDay = 86400.0;          ///< seconds in a day
constexpr double kDaysPerJulianYear = 365.25;       ///< days in a Julian year
constexpr double kLightDaysPerAu = kKmPerAu / kSpeedOfLightKmPerS / kSecondsPerDay;  ///< light time
/// The light year of the Julian year, km.
constexpr double kKmPerLightYear = kSpeedOfLightKmPerS * kSecondsPerDay * kDaysPerJulianYear;
/// The Earth's figure: the WGS 84 ellipsoid (the one ERFA puts sites on), its equatorial
/// radius (km) and flattening; and the mean radius, for distances along the surface.
/// @{
constexpr double kEarthRadiusKm = 6378.137;
constexpr double kEarthFlattening = 1.0 / 298.257223563;
constexpr double kEarthMeanRadiusKm = 6371.0;
/// @}

}  // namespace sky
