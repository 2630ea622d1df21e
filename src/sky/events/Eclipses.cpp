// SPDX-License-Identifier: LGPL-3.0-or-later
// Eclipses seen from the Earth: the magnitude of the solar eclipse at a site and its
// local contacts, and the magnitude of the Moon's umbral eclipse.
#include <algorithm>

#include "sky/bodies/SkyMath.h"
#include "sky/events/Search.h"

namespace sky {

namespace {

// The Sun's and the Moon's topocentric discs at one instant: separation of the centres,
// semidiameters and the Sun's altitude, degrees.
struct Discs {
    double sep, sdSun, sdMoon, sunAltitude;
};

Discs DiscsAt(double jdUt, const Site& site) {
    const BodyPlace sun = PlaceOf(Body::Sun, jdUt, site, false);
    const BodyPlace moon = PlaceOf(Body::Moon, jdUt, site, false);
    // Separation from altitude and azimuth (both without refraction).
    const double cosSep = std::sin(sun.altitude * kRad) * std::sin(moon.altitude * kRad) +
                          std::cos(sun.altitude * kRad) * std::cos(moon.altitude * kRad) *
                              std::cos((sun.azimuth - moon.azimuth) * kRad);
    return {std::acos(std::clamp(cosSep, -1.0, 1.0)) / kRad,
            SunSemidiameterDeg(sun.topocentricDistance),
            MoonSemidiameterDeg(moon.topocentricDistance), sun.altitude};
}

}  // namespace

double SolarEclipseMagnitude(double jdUt, const Site& site) {
    const Discs d = DiscsAt(jdUt, site);
    if (d.sunAltitude < -d.sdSun) return -1.0;
    return (d.sdSun + d.sdMoon - d.sep) / (2.0 * d.sdSun);
}

EclipseContacts SolarEclipseContacts(double jdUt, const Site& site) {
    EclipseContacts c;
    if (!(SolarEclipseMagnitude(jdUt, site) > 0.0)) return c;
    // The separation less the sum (outer) or the difference (inner) of the semidiameters.
    const auto outer = [&](double t) {
        const Discs d = DiscsAt(t, site);
        return d.sep - d.sdSun - d.sdMoon;
    };
    const auto inner = [&](double t) {
        const Discs d = DiscsAt(t, site);
        return d.sep - std::fabs(d.sdSun - d.sdMoon);
    };
    // Step out of the eclipse both ways (a whole one lasts under 4 hours), then close in.
    const double step = 1.0 / 24.0;
    double before = jdUt - step, after = jdUt + step;
    for (int i = 0; i < 6 && outer(before) < 0.0; ++i) before -= step;
    for (int i = 0; i < 6 && outer(after) < 0.0; ++i) after += step;
    if (outer(before) < 0.0 || outer(after) < 0.0) return c;
    c.first = Root(outer, before, before + step);
    c.fourth = Root(outer, after - step, after);
    // The least separation: where the separation stops falling.
    const double half = 0.5 / 86400.0;
    const auto slope = [&](double t) {
        return DiscsAt(t + half, site).sep - DiscsAt(t - half, site).sep;
    };
    c.maximum = Root(slope, c.first, c.fourth);
    if (inner(c.maximum) < 0.0) {
        c.second = Root(inner, c.first, c.maximum);
        c.third = Root(inner, c.maximum, c.fourth);
    }
    return c;
}

double LunarEclipseMagnitude(double jdUt) {
    const Site centre;
    const BodyPlace sun = PlaceOf(Body::Sun, jdUt, centre, false);
    const BodyPlace moon = PlaceOf(Body::Moon, jdUt, centre, false);
    const Sphere anti{Norm360(sun.apparent.lon + 180.0), -sun.apparent.lat};
    const double sep = Separation(anti, moon.apparent);
    const double piMoon = std::asin(kEarthRadiusKm / moon.geocentricDistance) / kRad;
    const double piSun = 8.794 / 3600.0 / sun.geocentricDistance;
    const double sdSun = SunSemidiameterDeg(sun.geocentricDistance);
    const double sdMoon = MoonSemidiameterDeg(moon.geocentricDistance);
    const double umbra = 1.02 * (0.99834 * piMoon - sdSun + piSun);
    return (umbra + sdMoon - sep) / (2.0 * sdMoon);
}

}  // namespace sky
