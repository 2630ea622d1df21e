// SPDX-License-Identifier: LGPL-3.0-or-later
#include "sky/events/Windows.h"

namespace sky {

namespace {

// Half an hour: the window is shown to the minute, and a stretch shorter than this is no
// window worth the name; the crossings themselves are found to about two seconds.
constexpr double kStep = 30.0 / 1440.0;
constexpr double kDark = -18.0;

// The instant in [a, b] where above(t) turns, found by halving to about a second; above(a)
// and above(b) differ.
double Crossing(const std::function<bool(double)>& above, double a, double b) {
    const bool atA = above(a);
    while (b - a > 2.0 / 86400.0) {
        const double m = (a + b) / 2.0;
        (above(m) == atA ? a : b) = m;
    }
    return (a + b) / 2.0;
}

// The first instant after `from`, within `span` days, where above(t) differs from
// above(from); NaN when it stays.
double NextChange(const std::function<bool(double)>& above, double from, double span) {
    const bool start = above(from);
    for (double t = from; t < from + span; t += kStep) {
        const double next = t + kStep;
        if (above(next) != start) return Crossing(above, t, next);
    }
    return NAN;
}

}  // namespace

double NextEvent(const std::function<double(double)>& eventOfPass, double jdUt) {
    // Passes come in order, so the first event at or after jdUt is the next one.
    for (int k = 0; k < 3; ++k) {
        const double t = eventOfPass(jdUt + k);
        if (t >= jdUt) return t;
    }
    return NAN;
}

ObservingWindow WindowTonight(const std::function<double(double)>& sunAltitude,
                              const std::function<double(double)>& altitude, double jdUt,
                              double minAltitude) {
    ObservingWindow w;
    const auto dark = [&](double t) { return sunAltitude(t) < kDark; };
    double dusk = jdUt, dawn = NAN;
    if (dark(jdUt)) {
        // Back to this night's dusk; a night longer than a day is cut there.
        const auto notDark = [&](double t) { return !dark(t); };
        const double back =
            NextChange([&](double t) { return notDark(2.0 * jdUt - t); }, jdUt, 1.0);
        dusk = std::isfinite(back) ? 2.0 * jdUt - back : jdUt - 1.0;
    } else {
        dusk = NextChange(dark, jdUt, 1.0);
        if (!std::isfinite(dusk)) return w;
    }
    dawn = NextChange(dark, std::fmax(dusk, jdUt) + 1.0 / 86400.0, 1.0);
    if (!std::isfinite(dawn)) dawn = std::fmax(dusk, jdUt) + 1.0;
    w.night = true;
    const auto high = [&](double t) { return altitude(t) > minAltitude; };
    double start = dusk;
    if (!high(dusk)) {
        start = NextChange(high, dusk, dawn - dusk);
        if (!std::isfinite(start)) return w;
    }
    const double end = NextChange(high, start + 1.0 / 86400.0, dawn - start);
    w.start = start;
    w.end = std::isfinite(end) ? std::fmin(end, dawn) : dawn;
    return w;
}

}  // namespace sky
