// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The sky at one instant from one site: the time scales, the Earth's position and
/// velocity, precession-nutation (IAU 2006/2000A), sidereal time and the observer's place
/// and motion. Every place asked for that instant and site is reduced with the same one
/// (internal).
#include "sky/bodies/Ephemeris.h"
#include "sky/bodies/SkyMath.h"

namespace sky {

/// What every place at one instant from one site shares (see InstantAt).
struct Instant {
    /// The instant as a UT (UT1) and as a TT Julian Day.
    /// @{
    double jdUt = NAN, jdTt = NAN;
    /// @}
    Site site;  ///< the observer
    /// The Earth: heliocentric position (au) and barycentric velocity (au a day), both
    /// J2000 (GCRS) equatorial.
    /// @{
    Vec earth{}, earthVelocity{};
    /// @}
    /// Where DE405 holds the instant (barycentric), the barycentric positions (ICRF, au) of
    /// the Earth and of the Sun; light time is reckoned about the barycentre then.
    /// @{
    bool barycentric = false;
    Vec earthBarycentric{}, sunBarycentric{};
    /// @}
    Mat precession{};  ///< J2000 (GCRS) to the mean equator and equinox of date, frame bias
                       ///< included
    Mat toDate{};      ///< J2000 (GCRS) to the true equator and equinox of date
    /// The mean obliquity of the ecliptic of date and the nutation in longitude and in
    /// obliquity, radians (IAU 2006/2000A).
    /// @{
    double eps0 = 0.0, dpsi = 0.0, deps = 0.0;
    /// @}
    double lst = NAN;  ///< local apparent sidereal time, degrees
    /// The sine and cosine of the local apparent sidereal time and of the site's latitude.
    /// @{
    double sinLst = NAN, cosLst = NAN, sinLat = NAN, cosLat = NAN;
    /// @}
    /// The observer from the Earth's centre, true equator of date: position in au and
    /// velocity by the Earth's rotation in au a day.
    /// @{
    Vec observer{}, observerVelocity{};
    /// @}
    /// The same two in J2000 (GCRS) axes.
    /// @{
    Vec observerJ2000{}, observerVelocityJ2000{};
    /// @}
};

/// The instant jdUt (UT Julian Day) at the site, jdTt being the same instant in TT. The last
/// few are kept per thread and given again while instant and site are the same.
Instant InstantAt(double jdUt, double jdTt, const Site& site);
/// The same with TT from the library's Delta T.
inline Instant InstantAt(double jdUt, const Site& site) {
    return InstantAt(jdUt, TtOf(jdUt), site);
}

/// The astrometric vector seen (au, J2000) from a place at the heliocentric position from,
/// moving with velocity (barycentric, au a day) made apparent: light deflection by the Sun
/// (none for a body within the Sun's radius) and aberration to all orders. The length of seen
/// is kept.
Vec ApparentDirection(const Vec& seen, const Vec& from, const Vec& velocity);

}  // namespace sky
