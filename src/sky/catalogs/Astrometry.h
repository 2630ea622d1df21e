// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The apparent place of a catalogue star (by ERFA): space motion with parallax from the
/// Earth's barycentric position, light deflection by the Sun, relativistic aberration, and the
/// IAU 2006 precession with nutation to the true equator and equinox of date (internal).
#include "platform/Export.h"

namespace sky {

/// A catalogue entry at epoch J2000: degrees; proper motion in mas a year (the one in RA
/// multiplied by cos dec); parallax in mas (not finite or <= 0: none); radial velocity km/s.
struct CatalogueStar {
    /// Right ascension and declination, J2000, degrees.
    /// @{
    double ra = 0.0, dec = 0.0;
    /// @}
    /// Proper motion in right ascension (times cos dec) and in declination, mas a year.
    /// @{
    double pmRa = 0.0, pmDec = 0.0;
    /// @}
    double parallax = 0.0;        ///< mas
    double radialVelocity = 0.0;  ///< km/s, positive receding
};

/// Geocentric apparent right ascension and declination of date (true equator and equinox),
/// degrees, at a TT Julian Day; with trueObliquity, also the true obliquity of date, degrees.
ZCMCOM_API void ApparentPlace(const CatalogueStar& star, double jdTt, double* ra, double* dec,
                              double* trueObliquity = nullptr);

}  // namespace sky
