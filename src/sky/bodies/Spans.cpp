// SPDX-License-Identifier: LGPL-3.0-or-later
#include "sky/bodies/Spans.h"

#include <cmath>

#include "sky/bodies/EphemerisFile.h"
#include "sky/bodies/SkyMath.h"

namespace sky {
namespace {

// The first instant of a year (TT Julian Day; whole Julian years from J2000, which is
// close enough for spans of centuries).
constexpr double Year(double y) { return 2451544.5 + (y - 2000.0) * 365.25; }

// The theories' published spans: VSOP87 within 1" (Bretagnon and Francou 1988), ELP
// 2000-82B, and the Pluto series of Meeus' Astronomical Algorithms (1885-2099).
constexpr Span kVsopInner{L"VSOP87", Year(-2000), Year(6000)};
constexpr Span kVsopGiants{L"VSOP87", Year(1), Year(4000)};
constexpr Span kVsopOuter{L"VSOP87", Year(-4000), Year(8000)};
constexpr Span kElp{L"ELP2000-82B", Year(-3000), Year(3000)};
constexpr Span kPluto{L"Meeus (冥王星の理論)", Year(1885), Year(2100)};
constexpr Span kKepler{L"ケプラー軌道要素", -1e300, 1e300};

Span TheoryOf(Body body) {
    switch (body) {
        case Body::Moon:
            return kElp;
        case Body::Jupiter:
        case Body::Saturn:
            return kVsopGiants;
        case Body::Uranus:
        case Body::Neptune:
            return kVsopOuter;
        case Body::Pluto:
            return kPluto;
        case Body::Kepler:
            return kKepler;
        default:
            return kVsopInner;  // the Sun's place is the Earth's
    }
}

bool Within(const Span& s, double jd) { return jd >= s.first && jd <= s.last; }

// The file's span in TT (a day short of either end, so a light time stays inside too).
bool TableSpan(Span* span) {
    const EphemerisData* d = SharedEphemeris();
    if (!d) return false;
    const double first = d->header->firstJd, last = first + d->header->records * d->header->days;
    *span = Span{L"JPL DE405", first + 1.0, last - 1.0};
    return true;
}

int FileBody(Body body) {
    switch (body) {
        case Body::Mercury:
            return kEphMercury;
        case Body::Venus:
            return kEphVenus;
        case Body::Mars:
            return kEphMars;
        case Body::Jupiter:
            return kEphJupiter;
        case Body::Saturn:
            return kEphSaturn;
        case Body::Uranus:
            return kEphUranus;
        case Body::Neptune:
            return kEphNeptune;
        case Body::Pluto:
            return kEphPluto;
        case Body::Sun:
            return kEphSun;
        default:
            return -1;
    }
}

// TDB of a TT Julian Day; the last one is kept, as a place asks the file at one instant
// for several bodies.
double TdbOf(double jdTt) {
    thread_local double tt = NAN, tdb = NAN;
    if (jdTt != tt) {
        tdb = jdTt + TdbMinusTt(jdTt);
        tt = jdTt;
    }
    return tdb;
}

bool Evaluate(int b, double jdTt, Vec* pos, Vec* vel) {
    const EphemerisData* d = SharedEphemeris();
    double p[3], v[3];
    if (!d || !EvaluateEphemeris(*d, b, TdbOf(jdTt), p, vel ? v : nullptr)) return false;
    *pos = Vec{p[0], p[1], p[2]};
    if (vel) *vel = Vec{v[0], v[1], v[2]};
    return true;
}

}  // namespace

double TdbMinusTt(double jdTt) {
    const double g = (357.53 + 0.98560028 * (jdTt - 2451545.0)) * kRad;
    return (0.001657 * std::sin(g) + 0.000014 * std::sin(2.0 * g)) / 86400.0;
}

Span SourceOf(Body body, double jdTt, bool* inside) {
    Span table{};
    const bool file = body != Body::Kepler && TableSpan(&table) && Within(table, jdTt);
    const Span s = file ? table : TheoryOf(body);
    if (inside) *inside = file || (Within(s, jdTt) && Within(kVsopInner, jdTt));
    return s;
}

bool TableBarycentric(Body body, double jdTt, Vec* pos, Vec* vel) {
    if (body != Body::Earth) {
        const int b = FileBody(body);
        return b >= 0 && Evaluate(b, jdTt, pos, vel);
    }
    Vec moon{};
    return TableEarthMoon(jdTt, pos, &moon, vel);
}

bool TableEarthMoon(double jdTt, Vec* earth, Vec* moon, Vec* earthVel) {
    // The Earth from the Earth-Moon barycentre and the Moon.
    Vec emb{}, embV{}, moonV{};
    if (!Evaluate(kEphEmb, jdTt, &emb, earthVel ? &embV : nullptr) ||
        !Evaluate(kEphMoon, jdTt, moon, earthVel ? &moonV : nullptr))
        return false;
    const double share = 1.0 / (1.0 + SharedEphemeris()->header->emrat);
    *earth = emb - *moon * share;
    if (earthVel) *earthVel = embV - moonV * share;
    return true;
}

void TablePrefetch(double jdTt) {
    if (const EphemerisData* d = SharedEphemeris()) {
        const double tdb = TdbOf(jdTt);
        for (int b : {kEphEmb, kEphMoon, kEphSun}) PrefetchEphemeris(*d, b, tdb);
    }
}

bool TableMoon(double jdTt, Vec* pos, Vec* vel) { return Evaluate(kEphMoon, jdTt, pos, vel); }

}  // namespace sky
