// SPDX-License-Identifier: LGPL-3.0-or-later
// The sky seen from another body: its position from the ephemeris, the IAU rotation models
// of the Moon and Mars for a surface site, and the reduction of a place to that observer.
//
// Derived from the IAU Working Group on Cartographic Coordinates and Rotational Elements,
// report 2009 (Archinal et al. 2011, Celest. Mech. Dyn. Astr. 109, 101): the rotation
// models of the Moon and Mars. Licence: none, published data used as facts.
#include "sky/bodies/Observer.h"

#include <algorithm>
#include <vector>

#include "sky/Instant.h"
#include "sky/bodies/LightTime.h"
#include "sky/bodies/SkyMath.h"
#include "zvacl/Reductions.h"

namespace sky {
namespace {

constexpr double kJ2000 = 2451545.0;

// The IAU frame of a body at a TT Julian Day: the matrix from J2000 equatorial to the
// body-fixed frame (x to the prime meridian, z to the north pole).
Mat BodyFrame(Body body, double jdTt) {
    const double d = jdTt - kJ2000, T = d / 36525.0;
    double ra = 0.0, dec = 90.0, w = 0.0;
    if (body == Body::Mars) {
        ra = 317.68143 - 0.1061 * T;
        dec = 52.88650 - 0.0609 * T;
        w = 176.630 + 350.89198226 * d;
    } else if (body == Body::Moon) {
        static const double k0[13] = {125.045, 250.089, 260.008, 176.625, 357.529, 311.589, 134.963,
                                      276.617, 34.226,  15.134,  119.743, 239.961, 25.053};
        static const double k1[13] = {-0.0529921, -0.1059842, 13.0120009, 13.3407154, 0.9856003,
                                      26.4057084, 13.0649930, 0.3287146,  1.7484877,  -0.1589763,
                                      0.0036096,  0.1643573,  12.9590088};
        // Periodic terms of the pole (sin in RA, cos in Dec) and of the prime meridian.
        static const double a[13] = {-3.8787, -0.1204, 0.0700,  -0.0172, 0, 0.0072, 0,
                                     0,       0,       -0.0052, 0,       0, 0.0043};
        static const double b[13] = {1.5419, 0.0239, -0.0278, 0.0068, 0, -0.0029, 0.0009,
                                     0,      0,      0.0008,  0,      0, -0.0009};
        static const double c[13] = {3.5610,  0.1208, -0.0642, 0.0158, 0.0252, -0.0066, -0.0047,
                                     -0.0046, 0.0028, 0.0052,  0.0040, 0.0019, -0.0044};
        ra = 269.9949 + 0.0031 * T;
        dec = 66.5392 + 0.0130 * T;
        w = 38.3213 + 13.17635815 * d - 1.4e-12 * d * d;
        for (int k = 0; k < 13; ++k) {
            const double E = (k0[k] + k1[k] * d) * kRad;
            ra += a[k] * std::sin(E);
            dec += b[k] * std::cos(E);
            w += c[k] * std::sin(E);
        }
    }
    return R3(Norm360(w) * kRad) * R1((90.0 - dec) * kRad) * R3((90.0 + ra) * kRad);
}

double MeanRadiusKm(Body body) {
    return body == Body::Moon ? 1737.4 : body == Body::Mars ? 3389.5 : 0.0;
}

// The site's offset from the body's centre in the body-fixed frame, au.
Vec SiteOffset(const BodyObserver& o) {
    return FromSphere(o.site.longitude, o.site.latitude,
                      (MeanRadiusKm(o.body) + o.site.height / 1000.0) / kKmPerAu);
}

// Altitude and azimuth (from the south through the west) of a J2000 direction at the site.
void LocalHorizon(const BodyObserver& o, const Vec& dir, double jdTt, double* alt, double* az) {
    const Vec b = BodyFrame(o.body, jdTt) * dir;  // body-fixed
    const double lon = o.site.longitude * kRad, lat = o.site.latitude * kRad;
    const Vec up{std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
    const Vec east{-std::sin(lon), std::cos(lon), 0.0};
    const Vec north{-std::sin(lat) * std::cos(lon), -std::sin(lat) * std::sin(lon), std::cos(lat)};
    const double n = Norm(b);
    *alt = std::asin(std::clamp(Dot(b, up) / n, -1.0, 1.0)) / kRad;
    *az = Norm360(std::atan2(Dot(b, east), Dot(b, north)) / kRad - 180.0);
}

struct Seen {
    Vec geo;       // astrometric, from the observer, light time applied
    Vec apparent;  // with the observer's aberration
    Vec observer;  // the observer, heliocentric
    Vec target;    // the target when its light left
    Vec now;       // the target at the instant itself
};

Seen Look(const BodyObserver& o, Body target, double jdTt) {
    Seen s{};
    s.observer = ObserverAt(o, jdTt);
    const auto bodyAt = [&](double t) {
        const Vec h = HeliocentricAt(target, t);
        if (t == jdTt) s.now = h;  // the light time asks for the instant first
        return h;
    };
    double left = jdTt;
    s.target = LightTimeSource(bodyAt, jdTt, s.observer, &left);
    s.geo = s.target - s.observer;
    // The observer's barycentric velocity: its heliocentric one and the Sun's.
    Vec sunVelocity{};
    SunBarycentric(jdTt, &sunVelocity);
    const Vec v =
        (ObserverAt(o, jdTt + 0.0005) - ObserverAt(o, jdTt - 0.0005)) * (1.0 / 0.001) + sunVelocity;
    s.apparent = ApparentDirection(s.geo, s.observer, v);
    return s;
}

double Altitude(const BodyObserver& o, Body target, double jdUt) {
    const double jdTt = TtOf(jdUt);
    double alt = NAN, az = NAN;
    LocalHorizon(o, Look(o, target, jdTt).apparent, jdTt, &alt, &az);
    return alt;
}

// Rise, transit and set of the current pass (the one in progress, else the next): the
// altitude is sampled over about a day of the observer's body each way, crossings found
// by halving, the transit by a golden-section search for the highest point.
void Events(const BodyObserver& o, Body target, double jdUt, BodyPlace* out) {
    const bool moon = o.body == Body::Moon;
    const double span = moon ? 32.0 : 1.2, step = moon ? 0.5 : 0.02;
    const int n = static_cast<int>(2.0 * span / step);
    std::vector<double> t(n + 1), h(n + 1);
    for (int k = 0; k <= n; ++k) {
        t[k] = jdUt - span + k * step;
        h[k] = Altitude(o, target, t[k]);
    }
    const auto refine = [&](int k) {
        double a = t[k], b = t[k + 1], fa = h[k];
        for (int i = 0; i < 16; ++i) {  // to about a second
            const double m = 0.5 * (a + b), fm = Altitude(o, target, m);
            if ((fm < 0.0) == (fa < 0.0))
                a = m, fa = fm;
            else
                b = m;
        }
        return 0.5 * (a + b);
    };
    const int now = static_cast<int>((jdUt - t[0]) / step);
    const bool up = Altitude(o, target, jdUt) >= 0.0;
    double rise = NAN, set = NAN;
    if (up) {
        for (int k = std::min(now, n - 1); k >= 0 && std::isnan(rise); --k)
            if (h[k] < 0.0 && h[k + 1] >= 0.0) rise = refine(k);
    }
    int from = now;
    if (!up) {
        for (int k = now; k < n && std::isnan(rise); ++k)
            if (h[k] < 0.0 && h[k + 1] >= 0.0) rise = refine(k), from = k + 1;
        if (std::isnan(rise)) return;  // does not rise within the span
    }
    for (int k = from; k < n && std::isnan(set); ++k) {
        if (h[k] < 0.0 || h[k + 1] >= 0.0) continue;
        const double c = refine(k);
        if (std::isnan(rise) || c > rise) set = c;
    }
    out->rise = rise;
    out->set = set;
    if (std::isnan(rise) || std::isnan(set)) return;
    double a = rise, b = set;
    const double g = (std::sqrt(5.0) - 1.0) / 2.0;
    for (int i = 0; i < 60 && b - a > 1e-4; ++i) {
        const double c = b - g * (b - a), d = a + g * (b - a);
        if (Altitude(o, target, c) > Altitude(o, target, d))
            b = d;
        else
            a = c;
    }
    out->transit = 0.5 * (a + b);
}

}  // namespace

bool ObserverBody(const CString& path, Body* body) {
    static const struct {
        const wchar_t* path;
        Body body;
    } kPaths[] = {{L"solar.planet.earth.satellite.moon", Body::Moon},
                  {L"solar.moon", Body::Moon},
                  {L"solar.sun", Body::Sun},
                  {L"solar.planet.mercury", Body::Mercury},
                  {L"solar.planet.venus", Body::Venus},
                  {L"solar.planet.earth", Body::Earth},
                  {L"solar.planet.mars", Body::Mars},
                  {L"solar.planet.jupiter", Body::Jupiter},
                  {L"solar.planet.saturn", Body::Saturn},
                  {L"solar.planet.uranus", Body::Uranus},
                  {L"solar.planet.neptune", Body::Neptune},
                  {L"solar.dwarfplanet.pluto", Body::Pluto}};
    for (const auto& p : kPaths)
        if (path.CompareNoCase(p.path) == 0) {
            *body = p.body;
            return true;
        }
    return false;
}

bool HasRotationModel(Body body) { return body == Body::Moon || body == Body::Mars; }

Vec ObserverAt(const BodyObserver& o, double jdTt) {
    const Vec centre = HeliocentricAt(o.body, jdTt);
    if (!o.surface || !HasRotationModel(o.body)) return centre;
    return centre + Transpose(BodyFrame(o.body, jdTt)) * SiteOffset(o);
}

BodyPlace PlaceFrom(const BodyObserver& o, Body target, double jdUt, bool withEvents) {
    BodyPlace p;
    const double jdTt = TtOf(jdUt);
    if (target == o.body && target != Body::Sun)
        p.heliocentricDistance = Norm(HeliocentricAt(target, jdTt));
    if (target == o.body || target == Body::Kepler) return p;
    const Seen s = Look(o, target, jdTt);
    // The frames (J2000, of date, ecliptic, galactic) are the Earth's; the horizon is the site's.
    FillPlace(&p, s.geo, s.apparent, jdUt, jdTt, Site{});
    p.altitude = p.azimuth = NAN;
    const bool surface = o.surface && HasRotationModel(o.body);
    if (surface) LocalHorizon(o, s.apparent, jdTt, &p.altitude, &p.azimuth);
    const Vec& now = s.now;
    const Vec centre = HeliocentricAt(o.body, jdTt);
    p.geocentricDistance = Norm(now - centre);
    p.topocentricDistance = Norm(now - s.observer);
    p.heliocentricDistance = target == Body::Sun ? NAN : Norm(s.target);
    const Vec toSun = -1.0 * s.observer;
    p.elongation =
        target == Body::Sun
            ? 0.0
            : std::acos(std::clamp(Dot(s.geo, toSun) / (Norm(s.geo) * Norm(toSun)), -1.0, 1.0)) /
                  kRad;
    const double delta = Norm(s.geo);
    if (target == Body::Sun) {
        p.magnitude = -26.74 + 5.0 * std::log10(delta);
        p.diameter = 2.0 * 959.63 / delta;
        p.illuminated = 1.0;
    } else {
        const double r = Norm(s.target), R = Norm(s.observer);
        const double cosI =
            std::clamp((r * r + delta * delta - R * R) / (2.0 * r * delta), -1.0, 1.0);
        p.phaseAngle = std::acos(cosI) / kRad;
        p.illuminated = (1.0 + cosI) / 2.0;
        if (target == Body::Earth) {
            p.diameter = 2.0 * std::asin(kEarthRadiusKm / (delta * kKmPerAu)) / kRad * 3600.0;
        } else {
            // The Earth's view scaled by distance (the change of phase is left out).
            const BodyPlace fromEarth = PlaceOf(target, jdUt, Site{}, false);
            const double ratio =
                fromEarth.geocentricDistance / (target == Body::Moon ? kKmPerAu : 1.0) / delta;
            p.diameter = fromEarth.diameter * ratio;
            p.magnitude = fromEarth.magnitude - 5.0 * std::log10(ratio);
        }
    }
    if (target == Body::Moon) {  // the Moon's distances in km, as from the Earth
        p.geocentricDistance *= kKmPerAu;
        p.topocentricDistance *= kKmPerAu;
    }
    if (withEvents && surface) Events(o, target, jdUt, &p);
    return p;
}

}  // namespace sky
