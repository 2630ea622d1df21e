// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The answer of /api/sky: a snapshot of the sky placed on one view of the chart.
#include <string>

#include "serve/ChartState.h"
#include "serve/Projection.h"

namespace serve {

// The JSON text.
std::string SkyJson(const Snapshot& sky, const ChartView& view);
// The radius in pixels the chart draws an object with.
double DrawRadius(const SkyItem& item);

}  // namespace serve
