// SPDX-License-Identifier: LGPL-3.0-or-later
#include "sky/Instant.h"

#include "zvacl/zvacl.h"

namespace sky {
namespace {

// The observer's geocentric position in the true equator of date, au.
Vec ObserverOfDate(const Site& site, double lstDeg) {
    const double phi = site.latitude * kRad;
    const double u = std::atan(0.99664719 * std::tan(phi));
    const double h = site.height / (kEarthRadiusKm * 1000.0);
    const double rhoSin = 0.99664719 * std::sin(u) + h * std::sin(phi);
    const double rhoCos = std::cos(u) + h * std::cos(phi);
    const double a = kEarthRadiusKm / kKmPerAu;
    const double t = lstDeg * kRad;
    return Vec{a * rhoCos * std::cos(t), a * rhoCos * std::sin(t), a * rhoSin};
}

bool Same(const Instant& a, double jdUt, double jdTt, const Site& s) {
    return a.jdUt == jdUt && a.jdTt == jdTt && a.site.longitude == s.longitude &&
           a.site.latitude == s.latitude && a.site.height == s.height;
}

Instant Make(double jdUt, double jdTt, const Site& site) {
    Instant in;
    in.jdUt = jdUt;
    in.jdTt = jdTt;
    in.site = site;
    in.earth = EarthAndVelocity(jdTt, &in.earthVelocity);
    in.precession = Precession(jdTt);
    in.eps0 = MeanObliquity(jdTt);
    NutationAngles(jdTt, &in.dpsi, &in.deps);
    in.toDate = Nutation(in.eps0, in.dpsi, in.deps) * in.precession;
    in.lst = GetLst(jdUt, site.longitude);
    in.observer = ObserverOfDate(site, in.lst);
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
