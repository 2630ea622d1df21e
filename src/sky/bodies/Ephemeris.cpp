// SPDX-License-Identifier: LGPL-3.0-or-later
// The ephemeris of the built-in sky. Positions come from DE405 (the ephemeris file) over the
// span it covers, elsewhere from libnova's VSOP87 and its Pluto theory and the Moon from
// its ELP 2000-82B, each within its published span (sky/bodies/Spans.h); the reduction to the
// apparent and topocentric place is done here in rectangular J2000 coordinates (light time,
// then deflection, aberration, precession-nutation IAU 2006/2000A and sidereal time by ERFA
// with the instant's shared figures, sky/Instant.h). Magnitudes and diameters are in
// sky/bodies/Photometry.cpp.
#include "sky/bodies/Ephemeris.h"

#include <libnova/libnova.h>

#include <algorithm>
#include <functional>

#include "sky/Instant.h"
#include "sky/bodies/Photometry.h"
#include "sky/bodies/SkyMath.h"
#include "sky/bodies/Spans.h"
#include "sky/bodies/Tabulated.h"
#include "sky/events/Search.h"
#include "zvacl/Reductions.h"
#include "zvacl/zvacl.h"

namespace sky {
namespace {

constexpr double kJ2000 = 2451545.0;
constexpr double kB1950 = 2433282.4235;

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

constexpr Vec kNowhere{NAN, NAN, NAN};

// Whether a theory holds the body's position at the instant.
bool TheoryHolds(Body body, double jdTt) {
    bool inside = false;
    SourceOf(body, jdTt, &inside);
    return inside;
}

// Heliocentric position, J2000 equatorial, au; not finite outside the sources' spans.
Vec Heliocentric(Body body, double jdTt, const Kepler* k) {
    if (body == Body::Kepler) {
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
    Vec b{}, sun{};
    if (TableBarycentric(body, jdTt, &b) && TableBarycentric(Body::Sun, jdTt, &sun)) return b - sun;
    if (!TheoryHolds(body, jdTt)) return kNowhere;
    return Tabulated(body, StepOf(body), ExactOf(body), jdTt);
}

}  // namespace

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

double TtOf(double jdUt) { return UtToDt(jdUt); }

Vec HeliocentricOf(Body body, double jdTt) {
    if (body == Body::Sun || body == Body::Moon || body == Body::Kepler) return Vec{NAN, NAN, NAN};
    return Heliocentric(body, jdTt, nullptr);
}

namespace {

Vec MoonGeocentric(double jdTt) {
    Vec m{};
    if (TableMoon(jdTt, &m)) return m;
    if (!TheoryHolds(Body::Moon, jdTt)) return kNowhere;
    return Tabulated(Body::Moon, StepOf(Body::Moon), ExactMoon, jdTt);
}

}  // namespace

Vec MoonAt(double jdTt) { return MoonGeocentric(jdTt); }

namespace {

// Where the light arrives: the Earth at jdTt, about the barycentre where the ephemeris file
// holds the instant (the Sun moves up to 15 m/s about it, worth 0.01" over a light time),
// elsewhere about the Sun.
struct Arrival {
    double jdTt;
    bool bary;
    Vec observer;  ///< the Earth, barycentric or heliocentric
    Vec sun;       ///< the Sun, barycentric or zero
    Vec earth;     ///< the Earth from the Sun
};

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

// The astrometric geocentric position (J2000, au): the body where the light left it, the
// Earth where the light arrives; the body's heliocentric position when the light left (so
// the Sun, the body and the Earth make one closed triangle); and its geometric geocentric
// position at the instant itself.
Vec Geocentric(Body body, const Arrival& a, const Kepler* k, Vec* helio, Vec* now = nullptr) {
    const bool bary = a.bary;
    // The Sun's place in the frame at t, and the body's.
    const auto sunAt = [&](double t) {
        Vec s{0, 0, 0};
        if (t == a.jdTt) return a.sun;
        if (bary && !TableBarycentric(Body::Sun, t, &s)) s = kNowhere;
        return s;
    };
    Vec moon{};          // the Moon from the Earth at the last t asked
    bool table = false;  // whether the file gave the body at the last t asked
    const auto bodyAt = [&](double t) {
        Vec p{};
        table = bary && body != Body::Moon && TableBarycentric(body, t, &p);
        if (table) return p;
        switch (body) {
            case Body::Sun:
                return sunAt(t);
            case Body::Moon: {
                Vec e{};
                if (bary && TableEarthMoon(t, &e, &moon)) return moon + e;
                e = EarthAt(t) + sunAt(t);
                moon = MoonGeocentric(t);
                return moon + e;
            }
            default:
                return Heliocentric(body, t, k) + sunAt(t);
        }
    };
    double tau = 0.0, left = a.jdTt;
    Vec at{}, geo{};
    for (int i = 0; i < 3; ++i) {
        left = a.jdTt - tau;
        at = bodyAt(left);
        geo = at - a.observer;
        tau = Norm(geo) * kLightDaysPerAu;
        if (i > 0 || !now) continue;
        // Distances are the geometric ones, at the instant itself.
        if (body == Body::Sun)
            *now = -1.0 * a.earth;
        else if (body == Body::Moon)
            *now = moon;
        else if (table)
            *now = (at - a.sun) - a.earth;
        else
            *now = Heliocentric(body, a.jdTt, k) - a.earth;
    }
    if (helio) *helio = at - sunAt(left);
    return geo;
}

}  // namespace

Vec AstrometricGeocentric(Body body, double jdTt, double* distance) {
    Vec now{};
    const Vec geo = Geocentric(body, ArrivalAt(jdTt), nullptr, nullptr, &now);
    if (distance) *distance = Norm(now);
    return geo;
}

namespace {

// Altitude and azimuth (from the south) of a true-of-date direction.
void Horizon(const Sphere& equ, double lstDeg, double latDeg, double* alt, double* az) {
    const double H = (lstDeg - equ.lon) * kRad;
    const double d = equ.lat * kRad;
    const double phi = latDeg * kRad;
    *alt =
        std::asin(std::sin(phi) * std::sin(d) + std::cos(phi) * std::cos(d) * std::cos(H)) / kRad;
    *az = Norm360(
        std::atan2(std::sin(H), std::cos(H) * std::sin(phi) - std::tan(d) * std::cos(phi)) / kRad);
}

// J2000 equatorial to galactic axes: the rotation libnova's conversion makes (by way of
// B1950), taken once from the images of the three axes.
const Mat& GalacticRotation() {
    static const Mat kRotation = [] {
        Mat r{};
        const double axes[3][2] = {{0.0, 0.0}, {90.0, 0.0}, {0.0, 90.0}};
        for (int j = 0; j < 3; ++j) {
            struct ln_equ_posn e {
                axes[j][0], axes[j][1]
            };
            struct ln_gal_posn g {};
            ln_get_gal_from_equ2000(&e, &g);
            const Vec v = FromSphere(g.l, g.b, 1.0);
            r.m[0][j] = v.x;
            r.m[1][j] = v.y;
            r.m[2][j] = v.z;
        }
        return r;
    }();
    return kRotation;
}

// Annual aberration and the Sun's light deflection: the direction seen from the Earth's
// centre.
Vec Aberrate(const Vec& geo, const Instant& at) {
    return ApparentDirection(geo, at.earth, at.earthVelocity);
}

// The places of a direction at an instant from its astrometric geocentric vector geo; without
// all, only the apparent place and the horizon (what rise and set searches need). The
// apparent vector is apparentGeo when given (the caller's aberration, kept as it is), else
// the Sun's deflection and the annual aberration are applied here. The horizon is that of
// the direction from the site, with the diurnal aberration of the site's motion. Returns the
// apparent geocentric vector (J2000 axes).
Vec Fill(BodyPlace* p, const Vec& geo, const Vec* apparentGeo, const Instant& at, bool all) {
    const Vec app = apparentGeo ? *apparentGeo : Aberrate(geo, at);
    if (all) {
        static const Mat kToB1950 = Precession(kB1950);
        p->j2000 = ToSphere(geo);
        p->ecliptic2000 = ToSphere(EquatorialToEcliptic(geo, MeanObliquity(kJ2000)));
        p->b1950 = ToSphere(kToB1950 * geo);
        p->galactic = ToSphere(GalacticRotation() * geo);
        p->eclipticMean = ToSphere(EquatorialToEcliptic(at.precession * app, at.eps0));
    }
    const Vec trueOfDate = at.toDate * app;
    p->apparent = ToSphere(trueOfDate);
    if (all) p->eclipticApp = ToSphere(EquatorialToEcliptic(trueOfDate, at.eps0 + at.deps));
    // From the site: the whole reduction again from the topocentric vector (aberration and
    // parallax do not commute to 0.3" for the Moon), or the caller's apparent vector moved
    // by the parallax and the site's own motion.
    Vec topo{};
    if (apparentGeo) {
        topo = app - at.observerJ2000;
        const double r = Norm(topo);
        const Vec u = topo * (1.0 / r) + at.observerVelocityJ2000 * kLightDaysPerAu;
        topo = u * (r / Norm(u));
    } else {
        // The light the site sees left the body a little earlier or later than the light
        // the centre sees; meanwhile the body moved, nearly with the Earth (0.3" for the Moon).
        const Vec seen = geo - at.observerJ2000;
        const Vec moved = seen + at.earthVelocity * ((Norm(geo) - Norm(seen)) * kLightDaysPerAu);
        topo = ApparentDirection(moved, at.earth + at.observerJ2000,
                                 at.earthVelocity + at.observerVelocityJ2000);
    }
    topo = at.toDate * topo;
    p->topocentricDistance = Norm(topo);
    Horizon(ToSphere(topo), at.lst, at.site.latitude, &p->altitude, &p->azimuth);
    return app;
}

}  // namespace

// Everything that follows from a J2000 direction: the other systems and the horizon.
// geo: astrometric geocentric vector (J2000); apparentGeo: with aberration applied.
void FillPlace(BodyPlace* p, const Vec& geo, const Vec& apparentGeo, double jdUt, double jdTt,
               const Site& site) {
    Fill(p, geo, &apparentGeo, InstantAt(jdUt, jdTt, site), true);
}

void FillAstrometric(BodyPlace* p, const Vec& geo, double jdUt, double jdTt, const Site& site) {
    Fill(p, geo, nullptr, InstantAt(jdUt, jdTt, site), true);
}

namespace {

// The distance from the observer of a geocentric J2000 position.
double TopocentricDistance(const Vec& geo, const Instant& at) {
    return Norm(at.toDate * geo - at.observer);
}

// The place of a body; positionOnly leaves out all but the places and the horizon, which is
// all that rise and set searches need.
BodyPlace Place(Body body, double jdUt, const Site& site, bool withEvents, const Kepler* orbit,
                bool positionOnly) {
    const Instant at = InstantAt(jdUt, site);
    const double jdTt = at.jdTt;
    const Vec& earth = at.earth;
    BodyPlace p;
    if (body == Body::Earth) {
        p.heliocentricDistance = Norm(earth);
        return p;
    }
    Vec helio{}, now{};
    const Vec geo = Geocentric(body, ArrivalOf(at), orbit, &helio, &now);
    const double r = Norm(helio);
    const Vec app = Fill(&p, geo, nullptr, at, !positionOnly);
    if (positionOnly) return p;
    const double delta = Norm(geo);
    p.heliocentricDistance = r;
    p.lightTime = delta * kLightDaysPerAu * 86400.0;
    p.geocentricDistance = Norm(now);
    p.topocentricDistance = TopocentricDistance(now, at);

    const Vec sunApp = Aberrate(-1.0 * earth, at);
    const double cosE = Dot(app, sunApp) / (Norm(app) * Norm(sunApp));
    p.elongation = std::acos(std::clamp(cosE, -1.0, 1.0)) / kRad;

    if (body == Body::Sun) {
        p.diameter = 2.0 * SunSemidiameterDeg(delta) * 3600.0;
        p.magnitude = -26.74 + 5.0 * std::log10(delta);
        p.illuminated = 1.0;
        p.elongation = 0.0;
    } else if (body == Body::Moon) {
        p.geocentricDistance *= kKmPerAu;
        p.topocentricDistance *= kKmPerAu;
        p.diameter =
            2.0 * MoonSemidiameterDeg(p.topocentricDistance) * 3600.0;  // seen from the site
        const double R = Norm(earth);
        const double psi = p.elongation * kRad;
        const double i = std::atan2(R * std::sin(psi), delta - R * std::cos(psi));
        p.illuminated = (1.0 + std::cos(i)) / 2.0;
        // The angle at the Moon itself, between the geometric directions to the Sun and to
        // the Earth: the apparent elongation above carries the Sun's aberration, which the
        // Moon's own direction does not.
        const Vec toSun = -1.0 * earth - geo, toEarth = -1.0 * geo;
        p.phaseAngle =
            std::acos(std::clamp(Dot(toSun, toEarth) / (Norm(toSun) * Norm(toEarth)), -1.0, 1.0)) /
            kRad;
        // The Moon's phase law (Allen, Astrophysical Quantities): the lit area alone would
        // make the quarter Moon two magnitudes too bright, its rough surface shadows itself.
        const double a = p.phaseAngle;
        p.magnitude =
            0.21 + 5.0 * std::log10(Norm(toSun) * delta) + 0.026 * a + 4.0e-9 * a * a * a * a;
    } else {
        const double R = Norm(helio - geo);  // the Earth from the Sun when the light left
        const double cosI = (r * r + delta * delta - R * R) / (2.0 * r * delta);
        const double i = std::acos(std::clamp(cosI, -1.0, 1.0)) / kRad;
        p.illuminated = (1.0 + cosI) / 2.0;
        p.phaseAngle = i;
        p.diameter = body == Body::Kepler ? orbit->diameterKm / kKmPerAu / delta * 206264.806
                                          : DiameterAtOneAu(body) / delta;
        p.magnitude = body == Body::Kepler ? AsteroidMagnitude(*orbit, r, delta, i)
                                           : Magnitude(body, r, delta, i, jdTt, geo, earth);
    }
    if (withEvents) {
        const auto place = [&](double t) { return Place(body, t, site, false, orbit, true); };
        const auto limb = [&](const BodyPlace& q) {
            if (body == Body::Sun) return SunSemidiameterDeg(q.topocentricDistance);
            if (body == Body::Moon)
                return MoonSemidiameterDeg(q.topocentricDistance * kKmPerAu);  // au here
            return 0.0;
        };
        RiseTransitSet(place, limb, body == Body::Moon ? 0.5175 : 0.4986, jdUt, site, &p);
    }
    return p;
}

}  // namespace

BodyPlace PlaceOf(Body body, double jdUt, const Site& site, bool withEvents, const Kepler* orbit) {
    return Place(body, jdUt, site, withEvents, orbit, false);
}

namespace {

// The place of a body whose heliocentric position helio(jdTt) is given; without all, only
// the apparent place and the horizon.
BodyPlace HeliocentricPlace(const std::function<Vec(double)>& helio, double jdUt, const Site& site,
                            bool all) {
    const Instant at = InstantAt(jdUt, site);
    const Vec& earth = at.earth;
    double tau = 0.0;
    Vec h{}, geo{};
    for (int i = 0; i < 3; ++i) {
        h = helio(at.jdTt - tau);
        geo = h - earth;
        tau = Norm(geo) * kLightDaysPerAu;
    }
    BodyPlace p;
    const Vec app = Fill(&p, geo, nullptr, at, all);
    if (!std::isfinite(p.apparent.lon)) return BodyPlace{};
    if (!all) return p;
    const Vec now = helio(at.jdTt) - earth;
    const double r = Norm(h), delta = Norm(geo), R = Norm(earth);
    p.heliocentricDistance = r;
    p.lightTime = delta * kLightDaysPerAu * 86400.0;
    p.geocentricDistance = Norm(now);
    p.topocentricDistance = TopocentricDistance(now, at);
    const Vec sunApp = Aberrate(-1.0 * earth, at);
    p.elongation =
        std::acos(std::clamp(Dot(app, sunApp) / (Norm(app) * Norm(sunApp)), -1.0, 1.0)) / kRad;
    const double cosI = std::clamp((r * r + delta * delta - R * R) / (2.0 * r * delta), -1.0, 1.0);
    p.phaseAngle = std::acos(cosI) / kRad;
    p.illuminated = (1.0 + cosI) / 2.0;
    return p;
}

// A fixed J2000 direction, as far away as the stars.
BodyPlace Fixed(double ra2000, double dec2000, double jdUt, const Site& site, bool all) {
    const Instant at = InstantAt(jdUt, site);
    const Vec geo = FromSphere(ra2000, dec2000, 1e9);
    BodyPlace p;
    Fill(&p, geo, nullptr, at, all);
    p.topocentricDistance = NAN;
    return p;
}

double NoLimb(const BodyPlace&) { return 0.0; }

}  // namespace

BodyPlace PlaceOfHeliocentric(const std::function<Vec(double)>& helio, double jdUt,
                              const Site& site, bool withEvents) {
    BodyPlace p = HeliocentricPlace(helio, jdUt, site, true);
    if (withEvents && std::isfinite(p.apparent.lon)) {
        const auto place = [&](double t) { return HeliocentricPlace(helio, t, site, false); };
        RiseTransitSet(place, NoLimb, 0.4986, jdUt, site, &p);
    }
    return p;
}

BodyPlace FixedPlace(double ra2000, double dec2000, double jdUt, const Site& site,
                     bool withEvents) {
    BodyPlace p = Fixed(ra2000, dec2000, jdUt, site, true);
    if (withEvents) {
        const auto place = [&](double t) { return Fixed(ra2000, dec2000, t, site, false); };
        RiseTransitSet(place, NoLimb, 0.4986, jdUt, site, &p);
    }
    return p;
}

void EarthHeliocentric(double jdUt, double xyz[3]) {
    const Vec e = EquatorialToEcliptic(EarthAt(UtToDt(jdUt)), MeanObliquity(kJ2000));
    xyz[0] = e.x;
    xyz[1] = e.y;
    xyz[2] = e.z;
}

void DailyMotion(Body body, double jdUt, const Site& site, double* dRa, double* dDec,
                 const Kepler* orbit) {
    const BodyPlace a = PlaceOf(body, jdUt - 0.5 / 24.0, site, false, orbit);
    const BodyPlace b = PlaceOf(body, jdUt + 0.5 / 24.0, site, false, orbit);
    *dRa = Norm180(b.apparent.lon - a.apparent.lon) * 24.0;
    *dDec = (b.apparent.lat - a.apparent.lat) * 24.0;
}

namespace {

// The Moon's optical libration: the selenographic longitude and latitude of the Earth, from
// the Moon's apparent geocentric place and its mean node and argument of latitude (the
// Cassini laws; the physical libration, under 0.04 degree, is left out).
Physical MoonLibration(double jdUt) {
    const double jdTt = UtToDt(jdUt);
    const BodyPlace moon = Place(Body::Moon, jdUt, Site{}, false, nullptr, false);
    double dpsi = 0.0, deps = 0.0;
    NutationAngles(jdTt, &dpsi, &deps);
    const double T = (jdTt - kJ2000) / 36525.0;
    const double node =
        125.0445479 + T * (-1934.1362891 + T * (0.0020754 + T * (1.0 / 467441.0 - T / 60616000.0)));
    const double F = 93.2720950 + T * (483202.0175233 +
                                       T * (-0.0036539 + T * (-1.0 / 3526000.0 + T / 863310000.0)));
    const double I = 1.54242 * kRad;
    const double W = (moon.eclipticApp.lon - dpsi / kRad - node) * kRad;
    const double beta = moon.eclipticApp.lat * kRad;
    const double A =
        std::atan2(std::sin(W) * std::cos(beta) * std::cos(I) - std::sin(beta) * std::sin(I),
                   std::cos(W) * std::cos(beta));
    Physical out;
    out.cm = Norm180(A / kRad - F);
    out.de = std::asin(-std::sin(W) * std::cos(beta) * std::sin(I) - std::sin(beta) * std::cos(I)) /
             kRad;
    return out;
}

}  // namespace

Physical PhysicalOf(Body body, double jdUt) {
    if (body == Body::Moon) return MoonLibration(jdUt);
    Physical out;
    struct Model {
        Body body;
        double a0, a1, d0, d1;  // pole: a0 + a1 T, d0 + d1 T (degrees, T in centuries)
        double w0[3], w1[3];    // prime meridians: w0 + w1 d (degrees, d in days)
    };
    static const Model kModels[] = {
        {Body::Sun, 286.13, 0.0, 63.87, 0.0, {84.176, NAN, NAN}, {14.1844000, 0, 0}},
        {Body::Mars,
         317.68143,
         -0.1061,
         52.88650,
         -0.0609,
         {176.630, NAN, NAN},
         {350.89198226, 0, 0}},
        {Body::Jupiter,
         268.056595,
         -0.006499,
         64.495303,
         0.002413,
         {67.1, 43.3, 284.95},
         {877.900, 870.270, 870.5360000}},
        {Body::Saturn, 40.589, -0.036, 83.537, -0.004, {NAN, NAN, 38.90}, {0, 0, 810.7939024}},
    };
    const Model* m = nullptr;
    for (const Model& k : kModels)
        if (k.body == body) m = &k;
    if (!m) return out;
    const double jdTt = UtToDt(jdUt);
    const Vec geo = Geocentric(body, ArrivalAt(jdTt), nullptr, nullptr);
    const double emitted = jdTt - Norm(geo) * kLightDaysPerAu;  // the face we see left then
    const double T = (emitted - kJ2000) / 36525.0, d = emitted - kJ2000;
    const double a0 = (m->a0 + m->a1 * T) * kRad, d0 = (m->d0 + m->d1 * T) * kRad;
    const Vec pole{std::cos(d0) * std::cos(a0), std::cos(d0) * std::sin(a0), std::sin(d0)};
    const Vec node{-std::sin(a0), std::cos(a0), 0.0};
    const Vec third{pole.y * node.z - pole.z * node.y, pole.z * node.x - pole.x * node.z,
                    pole.x * node.y - pole.y * node.x};
    const Vec toEarth = geo * (-1.0 / Norm(geo));
    out.de = std::asin(std::clamp(Dot(toEarth, pole), -1.0, 1.0)) / kRad;
    const double theta = std::atan2(Dot(toEarth, third), Dot(toEarth, node)) / kRad;
    double* cms[3] = {&out.cm, &out.cm2, &out.cm3};
    for (int i = 0; i < 3; ++i)
        if (std::isfinite(m->w0[i])) *cms[i] = Norm360(m->w0[i] + m->w1[i] * d - theta);
    if (body == Body::Mars) {
        // Ls: from Mars' northern spring equinox to the Sun, in the plane of its orbit.
        const Vec h0 = Heliocentric(body, emitted - 0.5, nullptr),
                  h1 = Heliocentric(body, emitted + 0.5, nullptr);
        const Vec h = Heliocentric(body, emitted, nullptr);
        const Vec v = h1 - h0;
        Vec n{h.y * v.z - h.z * v.y, h.z * v.x - h.x * v.z, h.x * v.y - h.y * v.x};
        n = n * (1.0 / Norm(n));
        Vec e{pole.y * n.z - pole.z * n.y, pole.z * n.x - pole.x * n.z,
              pole.x * n.y - pole.y * n.x};
        e = e * (1.0 / Norm(e));
        const Vec sun = h * (-1.0 / Norm(h));
        const Vec c{e.y * sun.z - e.z * sun.y, e.z * sun.x - e.x * sun.z,
                    e.x * sun.y - e.y * sun.x};
        out.ls = Norm360(std::atan2(Dot(c, n), Dot(e, sun)) / kRad);
    }
    return out;
}

Vec HeliocentricAt(Body body, double jdTt) {
    if (body == Body::Sun || body == Body::Kepler) return Vec{0.0, 0.0, 0.0};
    if (body == Body::Moon) return EarthAt(jdTt) + MoonGeocentric(jdTt);
    return Heliocentric(body, jdTt, nullptr);
}

const char* ConstellationAt(double ra2000, double dec2000) {
    struct ln_equ_posn p {
        ra2000, dec2000
    };
    return ln_get_constellation(&p);
}

}  // namespace sky
