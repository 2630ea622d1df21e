// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Passes of a satellite over a site: when it rises above the horizon, culminates and
/// sets, where it stands then, and whether it can be seen (lit by the Sun while the site's
/// sky is dark).
#include <vector>

#include "platform/Export.h"
#include "sky/satellites/SatelliteView.h"

namespace sky {

/// One moment of a pass: when, where the satellite stands, how bright it is.
struct PassPoint {
    double jd = NAN;  ///< UTC Julian Day
    /// Altitude and azimuth in degrees, azimuth from the north through the east.
    /// @{
    double altitude = NAN, azimuth = NAN;
    /// @}
    double magnitude = NAN;  ///< visual magnitude; NaN when unknown or in the shadow
    bool sunlit = false;     ///< outside the Earth's umbra
};

/// One pass over the site.
struct Pass {
    /// Rising above the horizon, the highest point, setting.
    /// @{
    PassPoint rise, culmination, set;
    /// @}
    /// Lit by the Sun at some moment above the horizon while the Sun is 6 degrees or more
    /// below the site's horizon.
    bool visible = false;
};

/// Every pass whose rise lies in [jdStart, jdEnd) (a pass in progress at jdStart is left
/// out), to a few milliseconds. Empty when the model cannot follow the orbit or the span is
/// empty or longer than ten years.
ZCMCOM_API std::vector<Pass> FindPasses(const Sgp4& model, const Observer& at, double jdStart,
                                        double jdEnd, double stdMagnitude = NAN);

}  // namespace sky
