// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// When an object can be seen: the next rise, transit or set after an instant, and
/// tonight's observing window (internal to the sky). Both work from functions of time, so
/// any source's object serves.
#include <cmath>
#include <functional>

namespace sky {

/// The first event at or after jdUt, given eventOfPass(t): the UT Julian Day of the event
/// in the pass nearest to t (NaN when the pass has none). Passes near jdUt, jdUt + 1 and
/// jdUt + 2 are asked; NaN when none of them has the event after jdUt.
double NextEvent(const std::function<double(double)>& eventOfPass, double jdUt);

/// Tonight: the astronomical night (the Sun below -18 degrees) that holds jdUt, or else the
/// next one to begin within a day. The window is the first stretch of it in which the
/// object stands above minAltitude degrees (UT Julian Days, found to about two seconds on a
/// half-hour grid, so a shorter stretch may be missed).
/// night false: no astronomical night begins within a day; start NaN: the object does not
/// reach minAltitude in it.
struct ObservingWindow {
    bool night = false;  ///< an astronomical night begins within a day
    /// The window's start and end, UT Julian Days.
    /// @{
    double start = NAN, end = NAN;
    /// @}
};
/// Tonight's observing window (see ObservingWindow) from the Sun's and the object's
/// altitudes (degrees) as functions of the UT Julian Day.
ObservingWindow WindowTonight(const std::function<double(double)>& sunAltitude,
                              const std::function<double(double)>& altitude, double jdUt,
                              double minAltitude = 20.0);

}  // namespace sky
