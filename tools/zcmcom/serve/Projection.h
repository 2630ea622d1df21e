// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Where the browser chart draws a direction of the sky. The horizon view is a stereographic
// projection with the zenith in the middle, the horizon on the circle of radius min(w,h)/2,
// north up and east to the left. The equatorial view is J2000 right ascension and
// declination on a plain grid, RA growing to the left from 0h at the right edge.
#include <string>

namespace serve {

struct ChartView {
    enum Kind { Horizon, Equatorial } kind = Horizon;
    int w = 800, h = 800;
};

// "horizon" or "equatorial"; false for any other name.
bool ParseViewKind(const std::string& name, ChartView::Kind* kind);
const char* ViewKindName(ChartView::Kind kind);

// A horizon direction (degrees; azimuth from the north through the east) on the horizon
// view. Points below the horizon still map (outside the circle), up to the nadir.
void ProjectHorizon(const ChartView& v, double alt, double az, double* x, double* y);
// The inverse; false outside the horizon circle.
bool UnprojectHorizon(const ChartView& v, double x, double y, double* alt, double* az);
// A J2000 direction (degrees) on the equatorial view.
void ProjectEquatorial(const ChartView& v, double ra, double dec, double* x, double* y);
// The inverse; false outside the chart.
bool UnprojectEquatorial(const ChartView& v, double x, double y, double* ra, double* dec);

}  // namespace serve
