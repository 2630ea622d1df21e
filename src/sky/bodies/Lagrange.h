// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The Lagrangian points and the Earth's shadow (internal to the built-in sky).
#include "sky/bodies/Ephemeris.h"

namespace sky {

/// Point 1..5 of the Sun-Earth system (earthMoon false) or of the Earth-Moon system, as seen
/// from the Earth's centre at a TT Julian Day: geometric, J2000 equatorial, au. L4 leads the
/// secondary by 60 degrees in its orbit, L5 trails it.
Vec LagrangianPoint(bool earthMoon, int point, double jdTt);

/// The Earth's shadow at the Moon's distance: its centre (geometric, J2000 equatorial, au),
/// that distance in km, and the angular radii of umbra and penumbra seen from the Earth's
/// centre, degrees, without the atmosphere's enlargement.
struct Shadow {
    Vec centre{NAN, NAN, NAN};  ///< geometric, J2000 equatorial, au
    /// The distance (km) and the radii of umbra and penumbra (degrees).
    /// @{
    double distanceKm = NAN, umbra = NAN, penumbra = NAN;
    /// @}
};
/// The Earth's shadow at a TT Julian Day (see Shadow).
Shadow EarthShadow(double jdTt);

}  // namespace sky
