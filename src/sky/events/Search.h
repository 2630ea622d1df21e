// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Searches in time that the sky's events share: the root of a function that changes sign,
/// and rise, transit and set of anything with a place (internal).
#include <cmath>
#include <functional>

#include "sky/bodies/Ephemeris.h"

namespace sky {

/// The instant in [a, b] where f changes sign (fa = f(a) and fb = f(b) differ in sign), to
/// about 0.1 s: false position, halving the stale end's value (Illinois) so both ends move.
template <class F>
double Root(F f, double a, double fa, double b, double fb) {
    double c = a;
    int side = 0;
    for (int i = 0; i < 60; ++i) {
        const double previous = c;
        c = (a * fb - b * fa) / (fb - fa);
        if (!(std::fabs(c - previous) >= 0.1 / 86400.0)) break;
        const double fc = f(c);
        if ((fc < 0.0) == (fa < 0.0)) {
            a = c, fa = fc;
            if (side < 0) fb *= 0.5;
            side = -1;
        } else {
            b = c, fb = fc;
            if (side > 0) fa *= 0.5;
            side = 1;
        }
    }
    return c;
}
/// The same, evaluating f at both ends first.
template <class F>
double Root(F f, double a, double b) {
    return Root(f, a, f(a), b, f(b));
}

/// Rise, transit and set of the pass whose transit is nearest to jdUt, into out. at(t) gives
/// the apparent place and the horizon at the UT Julian Day t; the body has risen when its
/// upper limb (limb(place): the semidiameter, degrees) stands at the horizon with the
/// standard refraction of 34'. halfDay: half the body's apparent day, which brackets each
/// crossing.
void RiseTransitSet(const std::function<BodyPlace(double)>& at,
                    const std::function<double(const BodyPlace&)>& limb, double halfDay,
                    double jdUt, const Site& site, BodyPlace* out);

}  // namespace sky
