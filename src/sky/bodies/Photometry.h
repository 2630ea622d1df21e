// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The brightness and apparent size of the Sun's planets and of minor planets (internal).
#include "sky/bodies/Ephemeris.h"

namespace sky {

/// A planet's (or Pluto's) equatorial diameter at 1 au, arc seconds; NaN for other bodies.
double DiameterAtOneAu(Body body);

/// The visual magnitude of a planet or Pluto at r au from the Sun and delta au from the
/// Earth at phase angle i (degrees), at a TT Julian Day; geo is the planet from the Earth
/// and earth the Earth from the Sun (J2000 equatorial, au), for the rings' and poles' aspect.
double Magnitude(Body body, double r, double delta, double i, double jdTt, const Vec& geo,
                 const Vec& earth);

/// The H, G magnitude of a minor planet at r and delta au and phase angle iDeg (degrees).
double AsteroidMagnitude(const Kepler& k, double r, double delta, double iDeg);

}  // namespace sky
