// SPDX-License-Identifier: LGPL-3.0-or-later
// The pass search: the altitude sampled in steps short against the orbit, each crossing
// of the horizon and each top refined.
#include "sky/satellites/Passes.h"

#include <algorithm>

namespace sky {
namespace {

constexpr double kMinute = 1.0 / 1440.0;
constexpr double kTolerance = 0.005 / 86400.0;  // 5 ms, in days
constexpr double kTwilight = -6.0;

double Altitude(const Sgp4& model, const Observer& at, double jd) {
    const SatelliteLook s = Look(model, jd, at, NAN, false);
    return s.error == 0 ? s.altitude : NAN;
}

// The horizon crossing between a (below or above) and b (the other side).
double Crossing(const Sgp4& model, const Observer& at, double a, double b, bool rising) {
    while (b - a > kTolerance) {
        const double m = 0.5 * (a + b);
        const bool above = Altitude(model, at, m) >= 0.0;
        if (above == rising)
            b = m;
        else
            a = m;
    }
    return 0.5 * (a + b);
}

// The highest point within [a, b] (golden-section search).
double Top(const Sgp4& model, const Observer& at, double a, double b) {
    const double g = 0.5 * (std::sqrt(5.0) - 1.0);
    double c = b - g * (b - a), d = a + g * (b - a);
    double fc = Altitude(model, at, c), fd = Altitude(model, at, d);
    while (b - a > kTolerance) {
        if (fc > fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - g * (b - a);
            fc = Altitude(model, at, c);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + g * (b - a);
            fd = Altitude(model, at, d);
        }
    }
    return 0.5 * (a + b);
}

PassPoint Point(const Sgp4& model, const Observer& at, double jd, double stdMagnitude) {
    const SatelliteLook s = Look(model, jd, at, stdMagnitude);
    PassPoint p;
    p.jd = jd;
    p.altitude = s.altitude;
    p.azimuth = s.azimuth;
    p.magnitude = s.magnitude;
    p.sunlit = s.sunlit;
    return p;
}

}  // namespace

std::vector<Pass> FindPasses(const Sgp4& model, const Observer& at, double jdStart, double jdEnd,
                             double stdMagnitude) {
    std::vector<Pass> passes;
    if (model.InitError() == kSgp4BadElements || !(jdEnd > jdStart) || jdEnd - jdStart > 3660.0)
        return passes;
    const double periodMin = 1440.0 / model.GetElements().meanMotion;
    const double step = std::min(10.0, std::max(0.5, periodMin / 100.0)) * kMinute;
    double prevJd = jdStart, prevAlt = Altitude(model, at, jdStart);
    bool skipping = prevAlt >= 0.0;  // a pass in progress at the start is not one of ours
    double riseJd = NAN, topJd = NAN, topAlt = -1e9;
    for (double jd = jdStart + step; prevJd < jdEnd && std::isfinite(prevAlt); jd += step) {
        const double alt = Altitude(model, at, jd);
        if (!std::isfinite(alt)) break;
        if (prevAlt < 0.0 && alt >= 0.0) {
            skipping = false;
            riseJd = Crossing(model, at, prevJd, jd, true);
            topAlt = -1e9;
            if (riseJd >= jdEnd) break;
        }
        if (!skipping && std::isfinite(riseJd) && alt > topAlt) {
            topAlt = alt;
            topJd = jd;
        }
        if (prevAlt >= 0.0 && alt < 0.0) {
            if (!skipping && std::isfinite(riseJd)) {
                const double setJd = Crossing(model, at, prevJd, jd, false);
                const double top =
                    Top(model, at, std::max(riseJd, topJd - step), std::min(setJd, topJd + step));
                Pass p;
                p.rise = Point(model, at, riseJd, stdMagnitude);
                p.culmination = Point(model, at, top, stdMagnitude);
                p.set = Point(model, at, setJd, stdMagnitude);
                const double look = std::max((setJd - riseJd) / 60.0, 5.0 / 86400.0);
                for (double t = riseJd; t <= setJd && !p.visible; t += look) {
                    const SatelliteLook s = Look(model, t, at, NAN);
                    p.visible = s.sunlit && s.sunAltitude <= kTwilight;
                }
                passes.push_back(p);
            }
            skipping = false;
            riseJd = NAN;
        }
        prevJd = jd;
        prevAlt = alt;
    }
    return passes;
}

}  // namespace sky
