// SPDX-License-Identifier: LGPL-3.0-or-later
// The sky's instant by ERFA: IAU 2006 precession with the IAU 2000A nutation (tabulated
// over 1960-2060 when the library is built), Greenwich apparent sidereal time, the site on
// the WGS84 ellipsoid turned with the Earth, light deflection and aberration.
#include "sky/Instant.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <cstring>

#include "sky/bodies/Spans.h"
#include "zvacl/Reductions.h"

namespace sky {

Vec ApparentDirection(const Vec& seen, const Vec& from, const Vec& velocity) {
    const double r = Norm(seen);
    double p[3] = {seen.x / r, seen.y / r, seen.z / r};
    const double em = Norm(from);
    const Vec helio = seen + from;
    const double h = Norm(helio);
    if (h > 0.005) {  // not the Sun itself
        double q[3] = {helio.x / h, helio.y / h, helio.z / h};
        double e[3] = {from.x / em, from.y / em, from.z / em};
        double d[3];
        eraLd(1.0, p, q, e, em, 1e-6 / std::fmax(em * em, 1.0), d);
        eraCp(d, p);
    }
    constexpr double c = 1.0 / ERFA_CMPS * ERFA_DAU / ERFA_DAYSEC;  // light days per au
    double v[3] = {velocity.x * c, velocity.y * c, velocity.z * c};
    double out[3];
    eraAb(p, v, em, std::sqrt(1.0 - eraPdp(v, v)), out);
    return Vec{out[0] * r, out[1] * r, out[2] * r};
}

namespace {

Mat ToMat(double r[3][3]) {
    Mat m{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m.m[i][j] = r[i][j];
    return m;
}

bool Same(const Instant& a, double jdUt, double jdTt, const Site& s) {
    return a.jdUt == jdUt && a.jdTt == jdTt && a.site.longitude == s.longitude &&
           a.site.latitude == s.latitude && a.site.height == s.height;
}

// eraRx (rows 1 and 2) and eraRz (rows 0 and 1) in place: the same operations, inline
// (sincos gives sin's and cos's own values).
void Rotate(double angle, int a, int b, double r[3][3]) {
    double s, c;
    ::sincos(angle, &s, &c);
    for (int j = 0; j < 3; ++j) {
        const double u = c * r[a][j] + s * r[b][j], v = -s * r[a][j] + c * r[b][j];
        r[a][j] = u, r[b][j] = v;
    }
}
void RotateX(double phi, double r[3][3]) { Rotate(phi, 1, 2, r); }
void RotateZ(double psi, double r[3][3]) { Rotate(psi, 0, 1, r); }

// eraPn06's bias-precession and bias-precession-nutation matrices from the Fukushima-
// Williams angles and the nutation, without the frame bias and precession apart, which it
// makes as well. Each is eraFw2m's Rx(-eps) Rz(-psi) Rx(phi) Rz(gamma), the same
// operations in the same order, with the first two rotations made once for both.
void Rotations(double gamb, double phib, double psib, double epsa, double dpsi, double deps,
               double rbp[3][3], double rbpn[3][3]) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) rbp[i][j] = i == j ? 1.0 : 0.0;
    RotateZ(gamb, rbp);
    RotateX(phib, rbp);
    std::memcpy(rbpn, rbp, sizeof(double[3][3]));
    RotateZ(-psib, rbp);
    RotateX(-epsa, rbp);
    RotateZ(-(psib + dpsi), rbpn);
    RotateX(-(epsa + deps), rbpn);
}

// eraAnp's angle in [0, 2 pi): fmod's exact remainder by a floor and a fused multiply-add,
// without fmod's long division (the sidereal angle runs to a hundred turns).
double Normalized(double a) {
    double w = std::fma(-std::floor(a / ERFA_D2PI), ERFA_D2PI, a);
    if (w < 0.0) w += ERFA_D2PI;
    if (w >= ERFA_D2PI) w -= ERFA_D2PI;
    return w;
}

// eraGmst06(jdUt, 0, jdTt, 0): the Earth rotation angle (eraEra00) and the IAU 2006
// polynomial, the same arithmetic with the angles reduced by Normalized.
double Gmst06(double jdUt, double jdTt) {
    const double f = jdUt - std::trunc(jdUt);  // fmod(jdUt, 1.0), exactly
    const double era =
        Normalized(ERFA_D2PI * (f + 0.7790572732640 + 0.00273781191135448 * (jdUt - ERFA_DJ00)));
    const double t = (jdTt - ERFA_DJ00) / ERFA_DJC;
    return Normalized(
        era + (0.014506 +
               (4612.156534 +
                (1.3915817 + (-0.00000044 + (-0.000029956 + (-0.0000000368) * t) * t) * t) * t) *
                   t) *
                  ERFA_DAS2R);
}

// The site on the WGS84 ellipsoid, Earth-fixed (ITRS), au, with the sines and cosines of
// its longitude and latitude; the last site's are kept.
struct FixedSite {
    Vec at{};
    double sinLon = NAN, cosLon = NAN, sinLat = NAN, cosLat = NAN;
};
const FixedSite& SiteFixed(const Site& site) {
    thread_local Site last{NAN, NAN, NAN};
    thread_local FixedSite fixed;
    if (site.longitude == last.longitude && site.latitude == last.latitude &&
        site.height == last.height)
        return fixed;
    double itrs[3] = {0, 0, 0};
    if (eraGd2gc(1, site.longitude * kRad, site.latitude * kRad, site.height, itrs) != 0)
        itrs[0] = itrs[1] = itrs[2] = NAN;
    const double kMetresPerAu = kKmPerAu * 1000.0;
    fixed.at = Vec{itrs[0] / kMetresPerAu, itrs[1] / kMetresPerAu, itrs[2] / kMetresPerAu};
    ::sincos(site.longitude * kRad, &fixed.sinLon, &fixed.cosLon);
    ::sincos(site.latitude * kRad, &fixed.sinLat, &fixed.cosLat);
    last = site;
    return fixed;
}

Instant Make(double jdUt, double jdTt, const Site& site) {
    Instant in;
    in.jdUt = jdUt;
    in.jdTt = jdTt;
    in.site = site;
    // The file's Earth, Moon and Sun once for the instant (fetched while the nutation and
    // the precession are made); elsewhere the theories.
    TablePrefetch(jdTt);
    zvacl::PrefetchNutation(jdTt);
    double gamb = 0, phib = 0, psib = 0, epsa = 0, rbp[3][3], rbpn[3][3];
    eraPfw06(jdTt, 0.0, &gamb, &phib, &psib, &epsa);
    const double gmst = Gmst06(jdUt, jdTt);
    double eect = 0.0;
    zvacl::Nutation2000A(jdTt, &in.dpsi, &in.deps, &eect);
    Rotations(gamb, phib, psib, epsa, in.dpsi, in.deps, rbp, rbpn);
    Vec moon{};
    in.barycentric = TableEarthMoon(jdTt, &in.earthBarycentric, &moon, &in.earthVelocity) &&
                     TableBarycentric(Body::Sun, jdTt, &in.sunBarycentric);
    if (in.barycentric) {
        in.earth = in.earthBarycentric - in.sunBarycentric;
    } else {
        in.earth = EarthAt(jdTt);
        EarthBarycentric(jdTt, &in.earthVelocity);
    }
    in.eps0 = epsa;
    in.precession = ToMat(rbp);
    in.toDate = ToMat(rbpn);
    // Greenwich apparent sidereal time: the equation of the equinoxes with the mean obliquity
    // eraPfw06 gave (eraObl06 of the same instant).
    const double gast = Normalized(gmst + (in.dpsi * std::cos(epsa) + eect));
    in.lst = Norm360(gast / kRad + site.longitude);
    // The site on the WGS84 ellipsoid, turned by the sidereal time (polar motion left out).
    const FixedSite& fixed = SiteFixed(site);
    double sg = 0.0, cg = 0.0;
    ::sincos(gast, &sg, &cg);
    in.observer =
        Vec{cg * fixed.at.x - sg * fixed.at.y, sg * fixed.at.x + cg * fixed.at.y, fixed.at.z};
    in.sinLst = sg * fixed.cosLon + cg * fixed.sinLon;
    in.cosLst = cg * fixed.cosLon - sg * fixed.sinLon;
    in.sinLat = fixed.sinLat, in.cosLat = fixed.cosLat;
    constexpr double kTurnsPerUt1Day = 1.00273781191135448;  // the Earth's rotation rate
    const double w = 2.0 * M_PI * kTurnsPerUt1Day;           // radians a day
    in.observerVelocity = Vec{-w * in.observer.y, w * in.observer.x, 0.0};
    const Mat back = Transpose(in.toDate);
    in.observerJ2000 = back * in.observer;
    in.observerVelocityJ2000 = back * in.observerVelocity;
    return in;
}

}  // namespace

Instant InstantAt(double jdUt, double jdTt, const Site& site) {
    // A few instants: a text asks at one, a rise or set search at a handful in turn.
    constexpr int kKept = 4;
    thread_local Instant kept[kKept];
    thread_local int next = 0;
    for (const Instant& in : kept)
        if (Same(in, jdUt, jdTt, site)) return in;
    kept[next] = Make(jdUt, jdTt, site);
    const Instant& made = kept[next];
    next = (next + 1) % kKept;
    return made;
}

}  // namespace sky
