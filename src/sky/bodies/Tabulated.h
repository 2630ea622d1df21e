// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Positions of bodies whose theories are costly (VSOP87, ELP 2000-82B), read from tables of
/// exact values at equally spaced instants and interpolated, so one evaluation of a theory
/// serves every place asked near it (internal).
#include "sky/bodies/Ephemeris.h"

namespace sky {

/// The position of a body at a TT Julian Day, interpolated (Lagrange: 6 points for the Moon,
/// 4 for the others) from exact(t) at multiples of step days, which are computed as needed
/// and kept per thread; for the steps the ephemeris uses the error stays within 0.003". velocity,
/// when given, gets the rate of change per day. Instants beyond a few thousand years of J2000 (or
/// not finite) are computed directly.
Vec Tabulated(Body body, double step, Vec (*exact)(double jdTt), double jdTt,
              Vec* velocity = nullptr);

}  // namespace sky
