// SPDX-License-Identifier: LGPL-3.0-or-later
// Principal phases of the Moon: the mean lunation corrected by the periodic terms of the
// ELP-based phase series (the Sun's and the Moon's anomalies, the Moon's argument of
// latitude and node, and fourteen planetary arguments). The instants come out in TT and
// are turned into UT with Delta T.
//
// Derived from Jean Meeus, Astronomical Algorithms (2nd ed., Willmann-Bell 1998), chapter 49:
// the mean lunation and the correction terms of the phases. Licence: none, published
// numerical theory used as facts.
#include <cmath>

#include "zvacl/ZvaclMath.h"
#include "zvacl/zvacl.h"

using namespace zvacl;

namespace {

constexpr double kSynodicMonth = 29.530588861;
constexpr double kLunationsPerYear = 12.3685;

// Multiples of M (the Sun's anomaly), M' (the Moon's), F and Omega in one correction
// term, the power of E that scales it, and its coefficients in days for the new moon,
// the full moon and the quarters.
struct Term {
    signed char m, mp, f, om, e;
    double newMoon, fullMoon, quarter;
};

const Term kTerms[] = {
    {0, 1, 0, 0, 0, -0.40720, -0.40614, -0.62801},
    {1, 0, 0, 0, 1, 0.17241, 0.17302, 0.17172},
    {0, 2, 0, 0, 0, 0.01608, 0.01614, 0.00862},
    {0, 0, 2, 0, 0, 0.01039, 0.01043, 0.00804},
    {-1, 1, 0, 0, 1, 0.00739, 0.00734, 0.00454},
    {1, 1, 0, 0, 1, -0.00514, -0.00515, -0.01183},
    {2, 0, 0, 0, 2, 0.00208, 0.00209, 0.00204},
    {0, 1, -2, 0, 0, -0.00111, -0.00111, -0.00180},
    {0, 1, 2, 0, 0, -0.00057, -0.00057, -0.00070},
    {1, 2, 0, 0, 1, 0.00056, 0.00056, 0.00027},
    {0, 3, 0, 0, 0, -0.00042, -0.00042, -0.00040},
    {1, 0, 2, 0, 1, 0.00042, 0.00042, 0.00032},
    {1, 0, -2, 0, 1, 0.00038, 0.00038, 0.00032},
    {-1, 2, 0, 0, 1, -0.00024, -0.00024, -0.00034},
    {0, 0, 0, 1, 0, -0.00017, -0.00017, -0.00017},
    {2, 1, 0, 0, 0, -0.00007, -0.00007, 0.0},
    {0, 2, -2, 0, 0, 0.00004, 0.00004, 0.00002},
    {3, 0, 0, 0, 0, 0.00004, 0.00004, 0.00003},
    {1, 1, -2, 0, 0, 0.00003, 0.00003, 0.00003},
    {0, 2, 2, 0, 0, 0.00003, 0.00003, 0.00004},
    {1, 1, 2, 0, 0, -0.00003, -0.00003, -0.00004},
    {-1, 1, 2, 0, 0, 0.00003, 0.00003, 0.00002},
    {-1, 1, -2, 0, 0, -0.00002, -0.00002, -0.00005},
    {1, 3, 0, 0, 0, -0.00002, -0.00002, -0.00002},
    {0, 4, 0, 0, 0, 0.00002, 0.00002, 0.0},
    // Terms of the quarters only.
    {2, 1, 0, 0, 2, 0.0, 0.0, -0.00028},
    {-2, 1, 0, 0, 0, 0.0, 0.0, 0.00004},
};

// Planetary arguments: constant and rate per lunation (degrees), and amplitude (days).
struct Planetary {
    double a0, rate, amplitude;
};

const Planetary kPlanetary[] = {
    {299.77, 0.107408, 0.000325},  {251.88, 0.016321, 0.000165}, {251.83, 26.651886, 0.000164},
    {349.42, 36.412478, 0.000126}, {84.66, 18.206239, 0.000110}, {141.74, 53.303771, 0.000062},
    {207.14, 2.453732, 0.000060},  {154.84, 7.306860, 0.000056}, {34.52, 27.261239, 0.000047},
    {207.19, 0.121824, 0.000042},  {291.34, 1.844379, 0.000040}, {161.72, 24.198154, 0.000037},
    {239.56, 25.513099, 0.000035}, {331.55, 3.592518, 0.000023},
};

// The instant (JD in TT) of phase number q: q / 4 lunations after the new moon of
// 2000 January 6; q modulo 4 is the phase code.
double PhaseTt(double q) {
    const double k = q / 4.0;
    const double t = k / kLunationsPerYear / 100.0;
    const double t2 = t * t, t3 = t2 * t, t4 = t3 * t;
    const double jde =
        2451550.09766 + kSynodicMonth * k + 0.00015437 * t2 - 0.000000150 * t3 + 0.00000000073 * t4;
    const double e = 1.0 - 0.002516 * t - 0.0000074 * t2;
    const double m = Rad(Norm360(2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3));
    const double mp = Rad(
        Norm360(201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4));
    const double f = Rad(
        Norm360(160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4));
    const double om = Rad(Norm360(124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3));
    const int phase = static_cast<int>(q - 4.0 * std::floor(q / 4.0));
    const double ePow[3] = {1.0, e, e * e};
    double corr = 0.0;
    for (const Term& term : kTerms) {
        const double c = phase == 0 ? term.newMoon : phase == 2 ? term.fullMoon : term.quarter;
        if (c == 0.0) continue;
        corr += c * ePow[static_cast<int>(term.e)] *
                std::sin(term.m * m + term.mp * mp + term.f * f + term.om * om);
    }
    if (phase == 1 || phase == 3) {
        const double w = 0.00306 - 0.00038 * e * std::cos(m) + 0.00026 * std::cos(mp) -
                         0.00002 * std::cos(mp - m) + 0.00002 * std::cos(mp + m) +
                         0.00002 * std::cos(2.0 * f);
        corr += phase == 1 ? w : -w;
    }
    for (int i = 0; i < static_cast<int>(sizeof(kPlanetary) / sizeof(kPlanetary[0])); ++i) {
        double arg = kPlanetary[i].a0 + kPlanetary[i].rate * k;
        if (i == 0) arg -= 0.009173 * t2;
        corr += kPlanetary[i].amplitude * std::sin(Rad(Norm360(arg)));
    }
    return jde + corr;
}

double PhaseUt(double q) { return TtToUt(PhaseTt(q)); }

// Phase numbers are kept within the range where double arithmetic stays exact and the
// series still describes something (about a million years either side of 2000).
constexpr double kMaxPhaseNumber = 5e7;

}  // namespace

int GetMoonPhases(const tagADATE* date, tagMOONPHASE* phases, int capacity) {
    if (!date || !phases || capacity <= 0) return 0;
    const double jd = GetJd(date);
    if (!std::isfinite(jd)) return 0;
    // First guess from the mean lunation, then step to the last phase at or before jd.
    double q = std::floor((jd - 2451550.09766) / kSynodicMonth * 4.0);
    if (!(std::fabs(q) < kMaxPhaseNumber)) return 0;
    // Corrections and Delta T move a phase by well under one phase interval, so a few
    // steps always settle; the bound guards against anything unforeseen.
    double current = PhaseUt(q);
    for (int i = 0; i < 8 && current > jd; ++i) {
        q -= 1.0;
        current = PhaseUt(q);
    }
    double next = PhaseUt(q + 1.0);
    for (int i = 0; i < 8 && next <= jd; ++i) {
        q += 1.0;
        current = next;
        next = PhaseUt(q + 1.0);
    }
    int n = 0;
    for (; n < capacity; ++n) {
        const double p = q + n;
        phases[n].phase = static_cast<int>(p - 4.0 * std::floor(p / 4.0));
        phases[n].jd = n == 0 ? current : n == 1 ? next : PhaseUt(p);
    }
    return n;
}

double GetMoonAge(double jdUt) {
    // Eight phases from a month before cover the last new moon whatever phase comes first.
    tagADATE d{};
    JdToDate2(jdUt - 32.0, &d);
    tagMOONPHASE phases[8] = {};
    const int n = GetMoonPhases(&d, phases, 8);
    double last = NAN;
    for (int i = 0; i < n; ++i)
        if (phases[i].phase == 0 && phases[i].jd <= jdUt) last = phases[i].jd;
    return jdUt - last;
}
