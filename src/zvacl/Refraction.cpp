// SPDX-License-Identifier: LGPL-3.0-or-later
// Atmospheric refraction for a standard atmosphere (10 degC, 1010 hPa).
#include <cmath>

#include "zvacl/ZvaclMath.h"
#include "zvacl/zvacl.h"

using namespace zvacl;

namespace {

// Saemundsson's formula: refraction in degrees for a true (airless) altitude.
double Saemundsson(double h) { return 1.02 / std::tan(Rad(h + 10.3 / (h + 5.11))) / 60.0; }

// Below this true altitude the formula is no longer followed (it has a pole at -5.11);
// the refraction then falls off linearly and is zero from kNoRefraction down.
constexpr double kTaperStart = -1.0;
constexpr double kNoRefraction = -6.0;

double Refraction(double h) {
    // The formula leaves -0.0019' at the zenith; that offset is removed so the zenith is
    // not displaced.
    static const double kZenithOffset = Saemundsson(90.0);
    if (std::isnan(h)) return kNaN;
    if (h >= 90.0 || h <= kNoRefraction) return 0.0;
    if (h >= kTaperStart) return Saemundsson(h) - kZenithOffset;
    const double edge = Saemundsson(kTaperStart) - kZenithOffset;
    return edge * (h - kNoRefraction) / (kTaperStart - kNoRefraction);
}

}  // namespace

void AtmosphericRefraction(const double* in, double* out) {
    if (!out) return;
    if (!in) {
        out[0] = out[1] = kNaN;
        return;
    }
    const double h = in[1];
    out[0] = in[0];
    out[1] = h + Refraction(h);
}

double GetAirmass(double altitudeDeg) {
    if (!(altitudeDeg > 0.0)) return kNaN;
    return 1.0 / (std::sin(Rad(altitudeDeg)) + 0.50572 * std::pow(altitudeDeg + 6.07995, -1.6364));
}
