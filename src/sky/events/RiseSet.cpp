// SPDX-License-Identifier: LGPL-3.0-or-later
// Rise, transit and set by a few places: the transit by the secant method on the hour
// angle, rise and set by false position on the altitude of the upper limb.
#include "sky/bodies/SkyMath.h"
#include "sky/events/Search.h"
#include "zvacl/zvacl.h"

namespace sky {
namespace {

// Time of the transit nearest to jdUt: the hour angle of the apparent place is zero.
double TransitNear(const std::function<BodyPlace(double)>& at, double jdUt, const Site& site) {
    const auto hourAngle = [&](double t) {
        return Norm180(GetLst(t, site.longitude) - at(t).apparent.lon);
    };
    double t0 = jdUt, h0 = hourAngle(t0);
    if (!std::isfinite(h0)) return NAN;
    double t1 = t0 - h0 / 360.9856;
    for (int i = 0; i < 8; ++i) {
        const double h1 = hourAngle(t1);
        if (!(std::fabs(h1) >= 1e-7)) break;
        // The hour angle grows by about a turn a day, less the body's own motion.
        const double dh = h1 - h0;
        const double rate =
            std::fabs(dh) > 1e-9 && std::fabs(t1 - t0) > 1e-12 ? dh / (t1 - t0) : 360.9856;
        t0 = t1, h0 = h1;
        t1 -= h1 / (rate > 300.0 && rate < 400.0 ? rate : 360.9856);
    }
    return t1;
}

}  // namespace

void RiseTransitSet(const std::function<BodyPlace(double)>& at,
                    const std::function<double(const BodyPlace&)>& limb, double halfDay,
                    double jdUt, const Site& site, BodyPlace* out) {
    const double transit = TransitNear(at, jdUt, site);
    out->transit = transit;
    if (!std::isfinite(transit)) return;
    const auto height = [&](double t) {
        const BodyPlace p = at(t);
        return p.altitude + limb(p) + 34.0 / 60.0;
    };
    const double top = height(transit);
    if (!(top >= 0)) return;  // stays below the horizon
    const double before = height(transit - halfDay), after = height(transit + halfDay);
    if (before < 0) out->rise = Root(height, transit - halfDay, before, transit, top);
    if (after < 0) out->set = Root(height, transit, top, transit + halfDay, after);
}

}  // namespace sky
