// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Light time: where a body was when the light that reaches the Earth at an instant left it
/// (internal; the place pipeline and the bodies' figures use it).
#include "sky/Instant.h"
#include "sky/bodies/Ephemeris.h"

namespace sky {

/// Where the light arrives: the Earth at jdTt, about the barycentre where the ephemeris file
/// holds the instant (the Sun moves up to 15 m/s about it, worth 0.01" over a light time),
/// elsewhere about the Sun.
struct Arrival {
    double jdTt;   ///< the instant, TT Julian Day
    bool bary;     ///< about the barycentre
    Vec observer;  ///< the Earth, barycentric or heliocentric
    Vec sun;       ///< the Sun, barycentric or zero
    Vec earth;     ///< the Earth from the Sun
};

/// The arrival at an instant whose figures are already computed.
Arrival ArrivalOf(const Instant& at);
/// The arrival at a TT Julian Day.
Arrival ArrivalAt(double jdTt);

/// The light-time iteration: bodyAt(t) gives the body's position at TT t in the frame of
/// observer, where the light arrives at jdTt. Returns the body's position where the light
/// that arrives left it, and *left that TT. Three steps; the first asks for the body at
/// jdTt itself, and the third, a small fraction of a second from the second, lies on the
/// line through the first two places (within 1e-12 au: the body's acceleration over that
/// fraction) rather than asking again.
template <typename BodyAt>
Vec LightTimeSource(const BodyAt& bodyAt, double jdTt, const Vec& observer, double* left) {
    const Vec first = bodyAt(jdTt);
    const double tau0 = Norm(first - observer) * kLightDaysPerAu;
    const Vec second = bodyAt(jdTt - tau0);
    const double tau1 = Norm(second - observer) * kLightDaysPerAu;
    *left = jdTt - tau1;
    if (!(tau0 > 0.0)) return tau1 > 0.0 ? bodyAt(*left) : second;
    return second + (second - first) * ((tau1 - tau0) / tau0);
}

/// The astrometric geocentric position (J2000, au): the body where the light left it, the
/// Earth where the light arrives; helio, when given, gets the body's heliocentric position
/// when the light left (so the Sun, the body and the Earth make one closed triangle), and
/// now its geometric geocentric position at the instant itself. orbit: for Body::Kepler.
Vec Geocentric(Body body, const Arrival& a, const Kepler* orbit, Vec* helio, Vec* now = nullptr);

}  // namespace sky
