// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Where the bodies' positions come from: DE405 (share/zcmcom/de405.zce) over the span it
/// covers, the theories elsewhere, each within the span it is published for (internal).
#include "sky/bodies/Ephemeris.h"

namespace sky {

/// A source of positions and the TT Julian Days it holds for.
struct Span {
    const wchar_t* name;  ///< as the texts' source line gives it
    /// The first and last TT Julian Days.
    /// @{
    double first, last;
    /// @}
};

/// The source that gives the body's position at jdTt: the ephemeris file when it is there
/// and holds the instant, else the body's theory. inside tells whether the instant lies in
/// that source's span (and in the Earth's, which every geocentric place needs); outside,
/// the positions are not finite.
Span SourceOf(Body body, double jdTt, bool* inside = nullptr);

/// The barycentric position of the Sun, a planet, Pluto or the Earth (ICRF, au) and its
/// velocity (au a day) at a TT Julian Day from the ephemeris file; false when the file is
/// missing or does not hold the instant.
bool TableBarycentric(Body body, double jdTt, Vec* pos, Vec* vel = nullptr);
/// The Moon's geocentric position from the file (ICRF, au); false as above.
bool TableMoon(double jdTt, Vec* pos, Vec* vel = nullptr);
/// The Earth's barycentric position and the Moon's geocentric one from the file at once (and
/// the Earth's velocity when earthVel is given); false as above.
bool TableEarthMoon(double jdTt, Vec* earth, Vec* moon, Vec* earthVel = nullptr);
/// Asks for the file's Earth-Moon barycentre, Moon and Sun at a TT Julian Day ahead of their
/// evaluation, so their fetches from memory overlap each other and other work.
void TablePrefetch(double jdTt);
/// TDB - TT at a TT Julian Day, days (its main periodic terms, within 30 microseconds).
double TdbMinusTt(double jdTt);

}  // namespace sky
