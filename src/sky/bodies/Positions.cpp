// SPDX-License-Identifier: LGPL-3.0-or-later
// Where the bodies are: DE405 (the ephemeris file) over the span it covers, elsewhere
// libnova's VSOP87 and its Pluto theory, and the Moon from its ELP 2000-82B, each within its
// published span (sky/bodies/Spans.h) and read from tables filled from the series
// (sky/bodies/Tabulated.h); the catalogue's minor bodies on their Keplerian orbits.
#include "sky/bodies/Positions.h"

#include <libnova/libnova.h>

#include "sky/bodies/SkyMath.h"
#include "sky/bodies/Spans.h"
#include "sky/bodies/Tabulated.h"
#include "zvacl/Reductions.h"
#include "zvacl/zvacl.h"

namespace sky {
namespace {

constexpr double kJ2000 = 2451545.0;

using HelioFn = void (*)(double, struct ln_helio_posn*);

HelioFn HelioOf(Body body) {
    switch (body) {
        case Body::Mercury:
            return ln_get_mercury_helio_coords;
        case Body::Venus:
            return ln_get_venus_helio_coords;
        case Body::Earth:
            return ln_get_earth_helio_coords;
        case Body::Mars:
            return ln_get_mars_helio_coords;
        case Body::Jupiter:
            return ln_get_jupiter_helio_coords;
        case Body::Saturn:
            return ln_get_saturn_helio_coords;
        case Body::Uranus:
            return ln_get_uranus_helio_coords;
        case Body::Neptune:
            return ln_get_neptune_helio_coords;
        case Body::Pluto:
            return ln_get_pluto_helio_coords;
        default:
            return nullptr;
    }
}

// The exact heliocentric position by the theory, J2000 equatorial, au. libnova's theories
// give the ecliptic and equinox J2000.
template <Body B>
Vec Exact(double jdTt) {
    struct ln_helio_posn h {};
    HelioOf(B)(jdTt, &h);
    return EclipticToEquatorial(FromSphere(h.L, h.B, h.R), MeanObliquity(kJ2000));
}

// The Moon's geocentric position, J2000 equatorial, au: libnova's ELP 2000-82B in one
// evaluation for direction and distance, without the terms under 0.002" (together
// within 0.1" and 0.1 km of the whole series over 1950-2050).
Vec ExactMoon(double jdTt) {
    struct ln_rect_posn r {};
    ln_get_lunar_geo_posn(jdTt, &r, 1e-8);
    return EclipticToEquatorial(Vec{r.X, r.Y, r.Z} * (1.0 / kKmPerAu), MeanObliquity(kJ2000));
}

using ExactFn = Vec (*)(double);
ExactFn ExactOf(Body body) {
    switch (body) {
        case Body::Moon:
            return ExactMoon;
        case Body::Mercury:
            return Exact<Body::Mercury>;
        case Body::Venus:
            return Exact<Body::Venus>;
        case Body::Earth:
            return Exact<Body::Earth>;
        case Body::Mars:
            return Exact<Body::Mars>;
        case Body::Jupiter:
            return Exact<Body::Jupiter>;
        case Body::Saturn:
            return Exact<Body::Saturn>;
        case Body::Uranus:
            return Exact<Body::Uranus>;
        case Body::Neptune:
            return Exact<Body::Neptune>;
        default:
            return Exact<Body::Pluto>;
    }
}

// The spacing of the tables (days): over 1950-2050 the interpolated places stay within
// 0.003" of the theories' own, seen from the Earth at the bodies' least distances.
double StepOf(Body body) {
    switch (body) {
        case Body::Mercury:
            return 0.25;
        case Body::Moon:
        case Body::Venus:
            return 0.5;
        case Body::Earth:
            return 1.0;
        case Body::Mars:
            return 2.0;
        default:
            return 4.0;
    }
}

// Whether a theory holds the body's position at the instant.
bool TheoryHolds(Body body, double jdTt) {
    bool inside = false;
    SourceOf(body, jdTt, &inside);
    return inside;
}

// A body on a Keplerian orbit, J2000 equatorial, au.
Vec KeplerPosition(const Kepler* k, double jdTt) {
    // Kepler's equation by Newton's method, then the orbit's plane to the ecliptic.
    const double M = Norm360(k->M + k->n * (jdTt - k->epoch)) * kRad;
    double E = M;
    for (int it = 0; it < 30; ++it) {
        const double d = (E - k->e * std::sin(E) - M) / (1.0 - k->e * std::cos(E));
        E -= d;
        if (std::fabs(d) < 1e-14) break;
    }
    const double x = k->a * (std::cos(E) - k->e);
    const double y = k->a * std::sqrt(1.0 - k->e * k->e) * std::sin(E);
    const Vec orbital{x, y, 0.0};
    const Vec ecl = R3(-k->node * kRad) * (R1(-k->i * kRad) * (R3(-k->w * kRad) * orbital));
    return EclipticToEquatorial(ecl, MeanObliquity(kJ2000));
}

}  // namespace

Vec Heliocentric(Body body, double jdTt, const Kepler* k) {
    if (body == Body::Kepler) return KeplerPosition(k, jdTt);
    Vec b{}, sun{};
    if (TableBarycentric(body, jdTt, &b) && TableBarycentric(Body::Sun, jdTt, &sun)) return b - sun;
    if (!TheoryHolds(body, jdTt)) return kNowhere;
    return Tabulated(body, StepOf(body), ExactOf(body), jdTt);
}

Vec EarthAt(double jdTt) { return EarthAndVelocity(jdTt, nullptr); }

Vec EarthAndVelocity(double jdTt, Vec* velocity) {
    Vec e{}, ev{}, sun{}, sunV{};
    if (TableBarycentric(Body::Earth, jdTt, &e, velocity ? &ev : nullptr) &&
        TableBarycentric(Body::Sun, jdTt, &sun, velocity ? &sunV : nullptr)) {
        if (velocity) *velocity = ev - sunV;
        return e - sun;
    }
    if (!TheoryHolds(Body::Earth, jdTt)) {
        if (velocity) *velocity = kNowhere;
        return kNowhere;
    }
    return Tabulated(Body::Earth, StepOf(Body::Earth), ExactOf(Body::Earth), jdTt, velocity);
}

Vec SunBarycentric(double jdTt, Vec* velocity) {
    Vec sun{};
    if (TableBarycentric(Body::Sun, jdTt, &sun, velocity)) return sun;
    double p[3], v[3];  // elsewhere the IAU's model of the Earth and the Sun (eraEpv00)
    zvacl::SunBarycentric(jdTt, p, v);
    if (velocity) *velocity = Vec{v[0], v[1], v[2]};
    return Vec{p[0], p[1], p[2]};
}

Vec EarthBarycentric(double jdTt, Vec* velocity) {
    Vec e{};
    if (TableBarycentric(Body::Earth, jdTt, &e, velocity)) return e;
    Vec sunVelocity{};
    const Vec helio = EarthAndVelocity(jdTt, velocity);
    const Vec sun = SunBarycentric(jdTt, &sunVelocity);
    if (velocity) *velocity = *velocity + sunVelocity;
    return helio + sun;
}

Vec HeliocentricOf(Body body, double jdTt) {
    if (body == Body::Sun || body == Body::Moon || body == Body::Kepler) return Vec{NAN, NAN, NAN};
    return Heliocentric(body, jdTt, nullptr);
}

Vec MoonAt(double jdTt) {
    Vec m{};
    if (TableMoon(jdTt, &m)) return m;
    if (!TheoryHolds(Body::Moon, jdTt)) return kNowhere;
    return Tabulated(Body::Moon, StepOf(Body::Moon), ExactMoon, jdTt);
}

Vec HeliocentricAt(Body body, double jdTt) {
    if (body == Body::Sun || body == Body::Kepler) return Vec{0.0, 0.0, 0.0};
    if (body == Body::Moon) return EarthAt(jdTt) + MoonAt(jdTt);
    return Heliocentric(body, jdTt, nullptr);
}

void EarthHeliocentric(double jdUt, double xyz[3]) {
    const Vec e = EquatorialToEcliptic(EarthAt(UtToDt(jdUt)), MeanObliquity(kJ2000));
    xyz[0] = e.x;
    xyz[1] = e.y;
    xyz[2] = e.z;
}

}  // namespace sky
