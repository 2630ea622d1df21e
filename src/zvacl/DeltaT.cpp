// SPDX-License-Identifier: LGPL-3.0-or-later
// Delta T = TT - UT1. Over the observed series (DeltaTObserved.cpp, monthly from 1973) the
// observed values, linearly between months. Before them the Espenak-Meeus polynomial
// expressions (-1999 to +3000, and the long-term parabola outside), moved to meet the first
// observed value, the offset fading over the five years before it. After them a prediction:
// the rate of the last three observed years continued, bending into the long-term parabola
// by 2150 (a quadratic correction to the parabola that meets the last value and rate), the
// parabola beyond. The published pieces meet with small jumps; around each join the two
// neighbours are blended over a year, which keeps the result continuous without moving it
// noticeably away from either expression.
//
// Derived from F. Espenak and J. Meeus, Five Millennium Canon of Solar Eclipses (NASA
// TP-2006-214141) and NASA's eclipse web site: the polynomial pieces and the long-term
// parabola. Licence: none, a NASA publication.
#include <cmath>

#include "zvacl/ZvaclMath.h"
#include "zvacl/zvacl.h"

using namespace zvacl;

namespace {

double LongTerm(double y) {
    const double u = (y - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u;
}

// Horner evaluation of c[0] + c[1] t + ... + c[n-1] t^(n-1).
template <int N>
double Poly(const double (&c)[N], double t) {
    double r = 0.0;
    for (int i = N - 1; i >= 0; --i) r = r * t + c[i];
    return r;
}

// The polynomial piece that starts at the given index of kJoins.
double Piece(int i, double y) {
    switch (i) {
        case 0:  // before -500
            return LongTerm(y);
        case 1: {  // -500 .. 500
            static const double c[] = {10583.6,    -1014.41,    33.78311,    -5.952053,
                                       -0.1798452, 0.022174192, 0.0090316521};
            return Poly(c, y / 100.0);
        }
        case 2: {  // 500 .. 1600
            static const double c[] = {1574.2,     -556.01,      71.23472,    0.319781,
                                       -0.8503463, -0.005050998, 0.0083572073};
            return Poly(c, (y - 1000.0) / 100.0);
        }
        case 3: {  // 1600 .. 1700
            static const double c[] = {120.0, -0.9808, -0.01532, 1.0 / 7129.0};
            return Poly(c, y - 1600.0);
        }
        case 4: {  // 1700 .. 1800
            static const double c[] = {8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000.0};
            return Poly(c, y - 1700.0);
        }
        case 5: {  // 1800 .. 1860
            static const double c[] = {13.72,       -0.332447,    0.0068612,     0.0041116,
                                       -0.00037436, 0.0000121272, -0.0000001699, 0.000000000875};
            return Poly(c, y - 1800.0);
        }
        case 6: {  // 1860 .. 1900
            static const double c[] = {7.62,       0.5737,        -0.251754,
                                       0.01680668, -0.0004473624, 1.0 / 233174.0};
            return Poly(c, y - 1860.0);
        }
        case 7: {  // 1900 .. 1920
            static const double c[] = {-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197};
            return Poly(c, y - 1900.0);
        }
        case 8: {  // 1920 .. 1941
            static const double c[] = {21.20, 0.84493, -0.076100, 0.0020936};
            return Poly(c, y - 1920.0);
        }
        case 9: {  // 1941 .. 1961
            static const double c[] = {29.07, 0.407, -1.0 / 233.0, 1.0 / 2547.0};
            return Poly(c, y - 1950.0);
        }
        case 10: {  // 1961 .. 1986
            static const double c[] = {45.45, 1.067, -1.0 / 260.0, -1.0 / 718.0};
            return Poly(c, y - 1975.0);
        }
        case 11: {  // 1986 .. 2005
            static const double c[] = {63.86,     0.3345,      -0.060374,
                                       0.0017275, 0.000651814, 0.00002373599};
            return Poly(c, y - 2000.0);
        }
        case 12: {  // 2005 .. 2050
            static const double c[] = {62.92, 0.32217, 0.005589};
            return Poly(c, y - 2000.0);
        }
        case 13:  // 2050 .. 2150
            return LongTerm(y) - 0.5628 * (2150.0 - y);
        default:  // after 2150
            return LongTerm(y);
    }
}

// Years at which piece i ends and piece i + 1 begins.
const double kJoins[] = {-500, 500,  1600, 1700, 1800, 1860, 1900,
                         1920, 1941, 1961, 1986, 2005, 2050, 2150};
constexpr int kJoinCount = sizeof(kJoins) / sizeof(kJoins[0]);
constexpr double kBlendHalfWidth = 0.5;  // years

double DeltaTForYear(double y) {
    if (std::isnan(y)) return kNaN;
    int i = 0;
    while (i < kJoinCount && y >= kJoins[i]) ++i;
    // Near a join, blend the two neighbouring pieces with a smooth weight.
    for (int j = (i > 0 ? i - 1 : 0); j < kJoinCount && j <= i; ++j) {
        const double s = (y - kJoins[j]) / kBlendHalfWidth;
        if (std::fabs(s) < 1.0) {
            const double w = 0.5 + s * (0.75 - 0.25 * s * s);  // smoothstep from -1 to 1
            return (1.0 - w) * Piece(j, y) + w * Piece(j + 1, y);
        }
    }
    return Piece(i, y);
}

// Decimal year; the polynomials take the year as year + (month - 0.5) / 12, which this
// matches to well within a day.
double YearOf(double jdUt) { return 2000.0 + (jdUt - 2451544.5) / 365.2425; }

constexpr double kMjd = 2400000.5;
constexpr double kPredictionJoins = 2150.0;  // the prediction meets the parabola here
constexpr double kFadeBefore = 5.0;          // years over which the offset fades before 1973

}  // namespace

namespace zvacl {

extern const double kObservedDeltaT[][2];
extern const int kObservedDeltaTCount;

namespace {

double DeltaTAt(double jdUt) {
    if (std::isnan(jdUt)) return kNaN;
    const double(*t)[2] = kObservedDeltaT;
    const int n = kObservedDeltaTCount;
    const double mjd = jdUt - kMjd;
    const double y = YearOf(jdUt);
    if (mjd < t[0][0]) {
        const double y0 = YearOf(t[0][0] + kMjd);
        const double offset = t[0][1] - DeltaTForYear(y0);
        return DeltaTForYear(y) + offset * std::fmax(0.0, 1.0 - (y0 - y) / kFadeBefore);
    }
    if (mjd >= t[n - 1][0]) {
        const double y1 = YearOf(t[n - 1][0] + kMjd);
        if (y >= kPredictionJoins) return DeltaTForYear(y);
        // The last three years' rate, and the correction a + b x + c x^2 to the parabola.
        const double rate = (t[n - 1][1] - t[n - 37][1]) / (y1 - YearOf(t[n - 37][0] + kMjd));
        const double slope = 64.0 * (y1 - 1820.0) / 10000.0;  // of -20 + 32 ((y - 1820) / 100)^2
        const double a = t[n - 1][1] - LongTerm(y1), b = rate - slope;
        const double span = kPredictionJoins - y1;
        const double c = -(a + b * span) / (span * span);
        const double x = y - y1;
        return LongTerm(y) + a + x * (b + c * x);
    }
    // Bisection for the month, then linear.
    int lo = 0, hi = n - 1;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        (t[mid][0] <= mjd ? lo : hi) = mid;
    }
    const double f = (mjd - t[lo][0]) / (t[hi][0] - t[lo][0]);
    return t[lo][1] + f * (t[hi][1] - t[lo][1]);
}

}  // namespace

double DeltaTSeconds(double jdUt) {
    // The last one is kept: a place asks for it several times at one instant.
    thread_local double ut = NAN, kept = NAN;
    if (jdUt != ut) kept = DeltaTAt(jdUt), ut = jdUt;
    return kept;
}

double TtToUt(double jdTt) {
    // Delta T changes by at most seconds a year, so one refinement settles it to far
    // below a microsecond.
    const double ut = jdTt - DeltaTSeconds(jdTt) / kSecondsPerDay;
    return jdTt - DeltaTSeconds(ut) / kSecondsPerDay;
}

}  // namespace zvacl

double UtToDt(double jdUt) { return jdUt + DeltaTSeconds(jdUt) / kSecondsPerDay; }
