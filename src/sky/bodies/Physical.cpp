// SPDX-License-Identifier: LGPL-3.0-or-later
// The face a body turns to the Earth: the Moon's optical libration, and the central
// meridians and the Earth's planetocentric latitude by the IAU rotation models.
#include <algorithm>

#include "sky/bodies/Ephemeris.h"
#include "sky/bodies/LightTime.h"
#include "sky/bodies/Positions.h"
#include "sky/bodies/SkyMath.h"
#include "zvacl/zvacl.h"

namespace sky {
namespace {

constexpr double kJ2000 = 2451545.0;

// The Moon's optical libration: the selenographic longitude and latitude of the Earth, from
// the Moon's apparent geocentric place and its mean node and argument of latitude (the
// Cassini laws; the physical libration, under 0.04 degree, is left out).
Physical MoonLibration(double jdUt) {
    const double jdTt = UtToDt(jdUt);
    const BodyPlace moon = PlaceOf(Body::Moon, jdUt, Site{}, false);
    double dpsi = 0.0, deps = 0.0;
    NutationAngles(jdTt, &dpsi, &deps);
    const double T = (jdTt - kJ2000) / 36525.0;
    const double node =
        125.0445479 + T * (-1934.1362891 + T * (0.0020754 + T * (1.0 / 467441.0 - T / 60616000.0)));
    const double F = 93.2720950 + T * (483202.0175233 +
                                       T * (-0.0036539 + T * (-1.0 / 3526000.0 + T / 863310000.0)));
    const double I = 1.54242 * kRad;
    const Sphere ecliptic = moon.In(Frame::EclipticApp);
    const double W = (ecliptic.lon - dpsi / kRad - node) * kRad;
    const double beta = ecliptic.lat * kRad;
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

}  // namespace sky
