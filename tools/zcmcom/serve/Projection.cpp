// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/Projection.h"

#include <algorithm>
#include <cmath>

namespace serve {

namespace {
constexpr double kDeg = M_PI / 180.0;
double Radius(const ChartView& v) { return std::min(v.w, v.h) / 2.0; }
}  // namespace

bool ParseViewKind(const std::string& name, ChartView::Kind* kind) {
    if (name == "horizon")
        *kind = ChartView::Horizon;
    else if (name == "equatorial")
        *kind = ChartView::Equatorial;
    else
        return false;
    return true;
}

const char* ViewKindName(ChartView::Kind kind) {
    return kind == ChartView::Horizon ? "horizon" : "equatorial";
}

void ProjectHorizon(const ChartView& v, double alt, double az, double* x, double* y) {
    // Zenith distance z maps to R tan(z/2): the horizon (z = 90) lands on R.
    const double r = Radius(v) * std::tan((90.0 - alt) * kDeg / 2.0);
    *x = v.w / 2.0 - r * std::sin(az * kDeg);
    *y = v.h / 2.0 - r * std::cos(az * kDeg);
}

bool UnprojectHorizon(const ChartView& v, double x, double y, double* alt, double* az) {
    const double dx = v.w / 2.0 - x, dy = v.h / 2.0 - y, r = std::hypot(dx, dy);
    if (r > Radius(v)) return false;
    *alt = 90.0 - 2.0 * std::atan(r / Radius(v)) / kDeg;
    double a = std::atan2(dx, dy) / kDeg;
    *az = a < 0 ? a + 360.0 : a;
    return true;
}

void ProjectEquatorial(const ChartView& v, double ra, double dec, double* x, double* y) {
    *x = v.w * (1.0 - ra / 360.0);
    *y = v.h * (90.0 - dec) / 180.0;
}

bool UnprojectEquatorial(const ChartView& v, double x, double y, double* ra, double* dec) {
    if (x < 0 || x > v.w || y < 0 || y > v.h) return false;
    *ra = std::fmod(360.0 * (1.0 - x / v.w), 360.0);
    *dec = 90.0 - 180.0 * y / v.h;
    return true;
}

}  // namespace serve
