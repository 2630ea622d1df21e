// SPDX-License-Identifier: LGPL-3.0-or-later
// Apparent places of stars. The steps follow the IERS Conventions (2010), ch. 5 and 7, and
// the Explanatory Supplement (3rd ed., ch. 7): proper motion and parallax as space motion
// (with the Roemer delay of the observer), the Sun's light deflection, aberration to all
// orders in v/c, then frame bias, precession (IAU 2006, Fukushima-Williams angles) and
// nutation to the true equator and equinox of date.
#include "sky/catalogs/Astrometry.h"

#include <cmath>

#include "sky/bodies/SkyMath.h"

namespace sky {
namespace {

constexpr double kArcsec = M_PI / 180.0 / 3600.0;
constexpr double kLightSecondsPerAu = 499.004783836;
constexpr double kLightYearsPerAu = kLightSecondsPerAu / 86400.0 / 365.25;
constexpr double kSunSchwarzschildAu = 1.97412574336e-8;  // 2GM/c^2 of the Sun, au

Vec Cross(const Vec& a, const Vec& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

Vec Unit(const Vec& v) { return v * (1.0 / Norm(v)); }

// The Fukushima-Williams angles of IAU 2006 precession with the frame bias (radians) and
// the mean obliquity of date, at T Julian centuries of TT from J2000.
void PrecessionAngles(double t, double* gamma, double* phi, double* psi, double* eps) {
    *gamma = (-0.052928 +
              t * (10.556378 +
                   t * (0.4932044 + t * (-0.00031238 + t * (-0.000002788 + t * 0.0000000260))))) *
             kArcsec;
    *phi = (84381.412819 +
            t * (-46.811016 +
                 t * (0.0511268 + t * (0.00053289 + t * (-0.000000440 + t * -0.0000000176))))) *
           kArcsec;
    *psi = (-0.041775 +
            t * (5038.481484 +
                 t * (1.5584175 + t * (-0.00018522 + t * (-0.000026452 + t * -0.0000000148))))) *
           kArcsec;
    *eps = (84381.406 +
            t * (-46.836769 +
                 t * (-0.0001831 + t * (0.00200340 + t * (-0.000000576 + t * -0.0000000434))))) *
           kArcsec;
}

// Earth's position (au) and velocity (au a day) for the parallax and the aberration. The
// heliocentric ones stand in for the barycentric: the Sun's offset from the barycentre
// (under 0.01 au, 13 m/s) moves a star's place by under 0.01".
void EarthBarycentric(double jdTt, Vec* position, Vec* velocity, Vec* heliocentric) {
    *heliocentric = EarthAt(jdTt);
    const double h = 0.01;
    *velocity = (EarthAt(jdTt + h) - EarthAt(jdTt - h)) * (0.5 / h);
    *position = *heliocentric;
}

}  // namespace

void ApparentPlace(const CatalogueStar& star, double jdTt, double* ra, double* dec,
                   double* trueObliquity) {
    Vec earth{}, velocity{}, helio{};
    EarthBarycentric(jdTt, &earth, &velocity, &helio);

    // Space motion: the catalogue direction moved by the proper motion over the time the
    // light left the star at, then seen across the parallax from the observer.
    const double a = star.ra * kRad, d = star.dec * kRad;
    const Vec p0{std::cos(d) * std::cos(a), std::cos(d) * std::sin(a), std::sin(d)};
    const Vec east{-std::sin(a), std::cos(a), 0.0};
    const Vec north{-std::sin(d) * std::cos(a), -std::sin(d) * std::sin(a), std::cos(d)};
    const double plx =
        std::isfinite(star.parallax) && star.parallax > 0.0 ? star.parallax * 1e-3 * kArcsec : 0.0;
    const double muA = std::isfinite(star.pmRa) ? star.pmRa * 1e-3 * kArcsec : 0.0;
    const double muD = std::isfinite(star.pmDec) ? star.pmDec * 1e-3 * kArcsec : 0.0;
    // Radial velocity in radians a year (au a year over the distance in au).
    const double rv = std::isfinite(star.radialVelocity)
                          ? star.radialVelocity * 86400.0 * 365.25 / 149597870.7 * plx
                          : 0.0;
    const Vec motion = east * muA + north * muD + p0 * rv;
    const double years = (jdTt - 2451545.0) / 365.25 + Dot(p0, earth) * kLightYearsPerAu;
    const Vec p = Unit(p0 + motion * years - earth * plx);

    // Light deflection by the Sun.
    const double em = Norm(helio);
    const Vec e = helio * (1.0 / em);
    const double limit = 1e-6 / std::fmax(em * em, 1.0);
    const double w = kSunSchwarzschildAu / em / std::fmax(Dot(p, p + e), limit);
    const Vec deflected = Unit(p + Cross(p, Cross(e, p)) * w);

    // Aberration, with the gravitational time dilation at the Earth's distance from the Sun.
    const Vec v = velocity * (kLightSecondsPerAu / 86400.0);
    const double bm1 = std::sqrt(1.0 - Dot(v, v));
    const double pdv = Dot(deflected, v);
    const double w1 = 1.0 + pdv / (1.0 + bm1);
    const double w2 = kSunSchwarzschildAu / em;
    const Vec aberrated = Unit(deflected * bm1 + v * w1 + (v - deflected * pdv) * w2);

    // Bias, precession and nutation.
    const double t = (jdTt - 2451545.0) / 36525.0;
    double gamma = 0, phi = 0, psi = 0, eps = 0, dpsi = 0, deps = 0;
    PrecessionAngles(t, &gamma, &phi, &psi, &eps);
    NutationAngles(jdTt, &dpsi, &deps);
    const Mat npb = R1(-(eps + deps)) * (R3(-(psi + dpsi)) * (R1(phi) * R3(gamma)));
    const Sphere s = ToSphere(npb * aberrated);
    *ra = s.lon;
    *dec = s.lat;
    if (trueObliquity) *trueObliquity = (eps + deps) / kRad;
}

}  // namespace sky
