// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Where each body is, by the first source that holds the instant (sky/bodies/Spans.h):
/// shared by the place pipeline and the bodies' figures (internal). The public entry points
/// (EarthAt, MoonAt, HeliocentricAt, ...) are declared in sky/bodies/Ephemeris.h.
#include <cmath>

#include "sky/bodies/Ephemeris.h"

namespace sky {

/// A position no source holds.
constexpr Vec kNowhere{NAN, NAN, NAN};

/// A body's heliocentric position, J2000 equatorial, au, at a TT Julian Day (orbit: the
/// elements of Body::Kepler, else unused); not finite outside the sources' spans.
Vec Heliocentric(Body body, double jdTt, const Kepler* orbit);

}  // namespace sky
