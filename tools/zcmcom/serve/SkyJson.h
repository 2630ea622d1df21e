// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The answer of /api/sky: a snapshot of the sky placed on one view of the chart.
#include <string>

#include "serve/ChartState.h"
#include "serve/Projection.h"

namespace serve {

// The JSON text: everything, or (fields not 0) only the parts of the bits given.
enum SkyField : unsigned {
    kSkyFrame = 1,   // "frame": what the page places catalogue stars with
    kSkyBodies = 2,  // "bodies": the solar system, above and below the horizon
    kSkySun = 4,     // "sun"
    kSkyClock = 8,   // "jd", "time", "zone" (hours), "zoneName", "abbr", "clock"
};
std::string SkyJson(const Snapshot& sky, const ChartView& view, unsigned fields = 0);
// The bits of a list like "frame,bodies,sun,zone"; false for a name it does not know.
bool ParseSkyFields(const std::string& list, unsigned* fields);
// The radius in pixels the chart draws an object with.
double DrawRadius(const SkyItem& item);

}  // namespace serve
