// SPDX-License-Identifier: LGPL-3.0-or-later
// The place pipeline of the built-in sky: from a body's astrometric geocentric vector (light
// time, sky/bodies/LightTime.h) to the apparent and topocentric place, in rectangular J2000
// coordinates: the Sun's deflection and the aberration, the other frames (B1950, ecliptic,
// galactic), precession-nutation IAU 2006/2000A and sidereal time by ERFA with the
// instant's shared figures (sky/Instant.h), and the horizon. Where the bodies are is in
// sky/bodies/Positions.cpp, their magnitudes and diameters in sky/bodies/Photometry.cpp.
#include "sky/bodies/Ephemeris.h"

#include <libnova/libnova.h>

#include <algorithm>
#include <functional>

#include "sky/Instant.h"
#include "sky/bodies/LightTime.h"
#include "sky/bodies/Photometry.h"
#include "sky/bodies/SkyMath.h"
#include "sky/events/Search.h"
#include "zvacl/zvacl.h"

namespace sky {
namespace {

constexpr double kJ2000 = 2451545.0;
constexpr double kB1950 = 2433282.4235;

}  // namespace

double TtOf(double jdUt) { return UtToDt(jdUt); }

namespace {

// Altitude and azimuth (from the south) of a true-of-date vector, by the instant's local
// sidereal time and the site's latitude.
void Horizon(const Vec& v, const Instant& at, double* alt, double* az) {
    // The direction's hour-angle components: cos d cos H and cos d sin H, times |v|.
    const double c = at.cosLst * v.x + at.sinLst * v.y, s = at.sinLst * v.x - at.cosLst * v.y;
    const double up = at.sinLat * v.z + at.cosLat * c;
    *alt = std::asin(std::clamp(up / Norm(v), -1.0, 1.0)) / kRad;
    *az = Norm360(Atan2(s, c * at.sinLat - v.z * at.cosLat) / kRad);
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
    const Vec trueOfDate = at.toDate * app;
    p->apparent = ToSphere(trueOfDate);
    if (all) {
        // The other systems are built when asked for (BodyPlace::In).
        p->astrometric = geo;
        p->meanOfDate = at.precession * app;
        p->trueOfDate = trueOfDate;
        p->eps0 = at.eps0;
        p->eps = at.eps0 + at.deps;
    }
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
    Horizon(topo, at, &p->altitude, &p->azimuth);
    return app;
}

}  // namespace

Sphere BodyPlace::In(Frame frame) const {
    static const Mat kToB1950 = Precession(kB1950);
    switch (frame) {
        case Frame::Equatorial2000:
            return ToSphere(astrometric);
        case Frame::Equatorial1950:
            return ToSphere(kToB1950 * astrometric);
        case Frame::EclipticMean:
            return ToSphere(EquatorialToEcliptic(meanOfDate, eps0));
        case Frame::EclipticApp:
            return ToSphere(EquatorialToEcliptic(trueOfDate, eps));
        case Frame::Ecliptic2000:
            return ToSphere(EquatorialToEcliptic(astrometric, MeanObliquity(kJ2000)));
        case Frame::Galactic:
            return ToSphere(GalacticRotation() * astrometric);
    }
    return Sphere{};
}

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

// The angle between two directions, degrees.
double AngleDeg(const Vec& a, const Vec& b) {
    return std::acos(std::clamp(Dot(a, b) / (Norm(a) * Norm(b)), -1.0, 1.0)) / kRad;
}

// What every body about the Sun gets from its vectors: the distances (au) and light time,
// r from the Sun, geo the astrometric and now the geometric geocentric vector; and the
// elongation of its apparent vector app from the Sun's.
void Distances(BodyPlace* p, double r, const Vec& geo, const Vec& now, const Vec& app,
               const Instant& at) {
    p->heliocentricDistance = r;
    p->lightTime = Norm(geo) * kLightDaysPerAu * kSecondsPerDay;
    p->geocentricDistance = Norm(now);
    p->topocentricDistance = TopocentricDistance(now, at);
    p->elongation = AngleDeg(app, Aberrate(-1.0 * at.earth, at));
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
    Distances(&p, r, geo, now, app, at);

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
        p.phaseAngle = AngleDeg(toSun, toEarth);
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
    Vec hNow{};  // at the instant itself, which the light time asks first
    const auto bodyAt = [&](double t) {
        const Vec h = helio(t);
        if (t == at.jdTt) hNow = h;
        return h;
    };
    double left = at.jdTt;
    const Vec h = LightTimeSource(bodyAt, at.jdTt, earth, &left);
    const Vec geo = h - earth;
    BodyPlace p;
    const Vec app = Fill(&p, geo, nullptr, at, all);
    if (!std::isfinite(p.apparent.lon)) return BodyPlace{};
    if (!all) return p;
    const Vec now = hNow - earth;
    const double r = Norm(h), delta = Norm(geo), R = Norm(earth);
    Distances(&p, r, geo, now, app, at);
    const double cosI = std::clamp((r * r + delta * delta - R * R) / (2.0 * r * delta), -1.0, 1.0);
    p.phaseAngle = std::acos(cosI) / kRad;
    p.illuminated = (1.0 + cosI) / 2.0;
    return p;
}

// A fixed J2000 direction, as far away as the stars.
BodyPlace Fixed(const Vec& direction, double jdUt, const Site& site, bool all) {
    const Instant at = InstantAt(jdUt, site);
    const Vec geo = direction * (1e9 / Norm(direction));
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
    return FixedPlace(FromSphere(ra2000, dec2000, 1.0), jdUt, site, withEvents);
}

BodyPlace FixedPlace(const Vec& direction2000, double jdUt, const Site& site, bool withEvents) {
    BodyPlace p = Fixed(direction2000, jdUt, site, true);
    if (withEvents) {
        const auto place = [&](double t) { return Fixed(direction2000, t, site, false); };
        RiseTransitSet(place, NoLimb, 0.4986, jdUt, site, &p);
    }
    return p;
}

void DailyMotion(Body body, double jdUt, const Site& site, double* dRa, double* dDec,
                 const Kepler* orbit) {
    const BodyPlace a = PlaceOf(body, jdUt - 0.5 / 24.0, site, false, orbit);
    const BodyPlace b = PlaceOf(body, jdUt + 0.5 / 24.0, site, false, orbit);
    *dRa = Norm180(b.apparent.lon - a.apparent.lon) * 24.0;
    *dDec = (b.apparent.lat - a.apparent.lat) * 24.0;
}

const char* ConstellationAt(double ra2000, double dec2000) {
    struct ln_equ_posn p {
        ra2000, dec2000
    };
    return ln_get_constellation(&p);
}

}  // namespace sky
