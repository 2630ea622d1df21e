// SPDX-License-Identifier: LGPL-3.0-or-later
// Light time: the body where the light left it, the Earth where it arrives, about the solar
// system's barycentre where the ephemeris file holds the instant, else about the Sun.
#include "sky/bodies/LightTime.h"

#include "sky/bodies/Positions.h"
#include "sky/bodies/SkyMath.h"
#include "sky/bodies/Spans.h"

namespace sky {

Arrival ArrivalOf(const Instant& at) {
    if (at.barycentric) return {at.jdTt, true, at.earthBarycentric, at.sunBarycentric, at.earth};
    return {at.jdTt, false, at.earth, Vec{0, 0, 0}, at.earth};
}

Arrival ArrivalAt(double jdTt) {
    Arrival a{jdTt, false, {}, {0, 0, 0}, {}};
    a.bary = TableBarycentric(Body::Earth, jdTt, &a.observer) &&
             TableBarycentric(Body::Sun, jdTt, &a.sun);
    if (a.bary) {
        a.earth = a.observer - a.sun;
    } else {
        a.observer = a.earth = EarthAt(jdTt);
        a.sun = Vec{0, 0, 0};
    }
    return a;
}

Vec Geocentric(Body body, const Arrival& a, const Kepler* k, Vec* helio, Vec* now) {
    const bool bary = a.bary;
    // The Sun's place in the frame at t, and the body's.
    const auto sunAt = [&](double t) {
        Vec s{0, 0, 0};
        if (t == a.jdTt) return a.sun;
        if (bary && !TableBarycentric(Body::Sun, t, &s)) s = kNowhere;
        return s;
    };
    Vec moon{};  // the Moon from the Earth at the last t asked
    const auto position = [&](double t) {
        Vec p{};
        if (bary && body != Body::Moon && TableBarycentric(body, t, &p)) return p;
        switch (body) {
            case Body::Sun:
                return sunAt(t);
            case Body::Moon: {
                Vec e{};
                if (bary && TableEarthMoon(t, &e, &moon)) return moon + e;
                e = EarthAt(t) + sunAt(t);
                moon = MoonAt(t);
                return moon + e;
            }
            default:
                return Heliocentric(body, t, k) + sunAt(t);
        }
    };
    Vec bodyNow{}, moonNow{};  // at the instant itself, which the light time asks first
    const auto bodyAt = [&](double t) {
        const Vec p = position(t);
        if (t == a.jdTt) bodyNow = p, moonNow = moon;
        return p;
    };
    double left = a.jdTt;
    const Vec at = LightTimeSource(bodyAt, a.jdTt, a.observer, &left);
    if (now) {
        // Distances are the geometric ones, at the instant itself.
        if (body == Body::Sun)
            *now = -1.0 * a.earth;
        else if (body == Body::Moon)
            *now = moonNow;
        else
            *now = (bodyNow - a.sun) - a.earth;
    }
    if (helio) *helio = at - sunAt(left);
    return at - a.observer;
}

Vec AstrometricGeocentric(Body body, double jdTt, double* distance) {
    Vec now{};
    const Vec geo = Geocentric(body, ArrivalAt(jdTt), nullptr, nullptr, &now);
    if (distance) *distance = Norm(now);
    return geo;
}

}  // namespace sky
