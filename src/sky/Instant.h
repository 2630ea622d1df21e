// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The sky at one instant from one site: the time scales, the Earth's heliocentric position
/// and velocity, precession and nutation, sidereal time and the observer's place. Every
/// place asked for that instant and site is reduced with the same one (internal).
#include "sky/bodies/Ephemeris.h"
#include "sky/bodies/SkyMath.h"

namespace sky {

/// What every place at one instant from one site shares (see InstantAt).
struct Instant {
    /// The instant as a UT and as a TT Julian Day.
    /// @{
    double jdUt = NAN, jdTt = NAN;
    /// @}
    Site site;  ///< the observer
    /// Heliocentric, J2000 equatorial, au and au a day.
    /// @{
    Vec earth{}, earthVelocity{};
    /// @}
    Mat precession{};  ///< mean J2000 to mean of date
    Mat toDate{};      ///< mean J2000 to true of date
    /// The mean obliquity of the ecliptic and the nutation in longitude and in obliquity,
    /// radians.
    /// @{
    double eps0 = 0.0, dpsi = 0.0, deps = 0.0;
    /// @}
    double lst = NAN;  ///< local apparent sidereal time, degrees
    Vec observer{};    ///< geocentric, true equator of date, au
};

/// The instant jdUt (UT Julian Day) at the site, jdTt being the same instant in TT. The last
/// few are kept per thread and given again while instant and site are the same.
Instant InstantAt(double jdUt, double jdTt, const Site& site);
/// The same with TT from the library's Delta T.
inline Instant InstantAt(double jdUt, const Site& site) {
    return InstantAt(jdUt, TtOf(jdUt), site);
}

}  // namespace sky
