// SPDX-License-Identifier: LGPL-3.0-or-later
// Mars' moons on precessing ellipses: JPL's mean elements (MAR080, epoch 1950 Jan 1.0 TT)
// referred to each moon's Laplace plane, the node regressing and the periapsis advancing
// uniformly.
//
// Derived from JPL Solar System Dynamics, Planetary Satellite Mean Elements (R. A. Jacobson,
// MAR080): Phobos' and Deimos' elements, rates and Laplace poles. Licence: none, published
// data used as facts.
#include <cmath>

#include "sky/bodies/Moons.h"
#include "sky/bodies/SkyMath.h"

namespace sky {

namespace {

struct MeanElements {
    double a, e, w, M, i, node, n;  // km, degrees, degrees a day
    double periodW, periodNode;     // years
    double poleRa, poleDec;         // the Laplace plane's pole, ICRF, degrees
};

const MeanElements kMars[] = {
    {9376.0, 0.0151, 150.057, 91.059, 1.075, 207.784, 1128.8447569, 1.1316, 2.2617, 317.671,
     52.893},
    {23458.0, 0.0002, 260.729, 325.329, 1.788, 24.525, 285.1618790, 27.3703, 54.5367, 316.657,
     53.529},
};
constexpr double kEpoch = 2433282.5;

}  // namespace

Vec MarsMoon(int index, double jdTt) {
    const MeanElements& el = kMars[index == 1 ? 1 : 0];
    const double t = jdTt - kEpoch;
    // n is the mean longitude's rate: the mean anomaly's is n less the periapsis' and the
    // node's motions.
    const double wDot = 360.0 / (el.periodW * 365.25), nodeDot = -360.0 / (el.periodNode * 365.25);
    const double w = (el.w + wDot * t) * kRad;
    const double node = (el.node + nodeDot * t) * kRad;
    const double M = Norm360(el.M + (el.n - wDot - nodeDot) * t) * kRad;
    double E = M;
    for (int it = 0; it < 8; ++it) E -= (E - el.e * std::sin(E) - M) / (1.0 - el.e * std::cos(E));
    const Vec orbital{el.a * (std::cos(E) - el.e),
                      el.a * std::sqrt(1.0 - el.e * el.e) * std::sin(E), 0.0};
    const Vec laplace = R3(-node) * (R1(-el.i * kRad) * (R3(-w) * orbital));
    // The Laplace plane's ascending node on the equator lies 90 degrees east of its pole.
    const Vec icrf = R3(-(el.poleRa + 90.0) * kRad) * (R1(-(90.0 - el.poleDec) * kRad) * laplace);
    return icrf * (1.0 / kKmPerAu);
}

}  // namespace sky
