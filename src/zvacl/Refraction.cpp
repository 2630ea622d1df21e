// SPDX-License-Identifier: LGPL-3.0-or-later
// Atmospheric refraction: ERFA's model above 15 degrees, Saemundsson's formula near the
// horizon; the standard atmosphere of AtmosphericRefraction is 10 degC and 1010 hPa.
#include <erfa.h>

#include <cmath>

#include "zvacl/Reductions.h"
#include "zvacl/ZvaclMath.h"
#include "zvacl/zvacl.h"

using namespace zvacl;

namespace {

constexpr double kHumidity = 0.5, kWavelengthUm = 0.55;
constexpr double kModelFrom = 15.0, kBlendFrom = 5.0;  // degrees
// Below this true altitude Saemundsson's formula is no longer followed (it has a pole at
// -5.11); the refraction then falls off linearly and is zero from kNoRefraction down.
constexpr double kTaperStart = -1.0;
constexpr double kNoRefraction = -6.0;

// Saemundsson's formula (10 degC, 1010 hPa): degrees for a true altitude, less its 0.0019'
// at the zenith.
double Saemundsson(double h) {
    const auto f = [](double a) { return 1.02 / std::tan(Rad(a + 10.3 / (a + 5.11))) / 60.0; };
    static const double kZenithOffset = f(90.0);
    return f(h) - kZenithOffset;
}

// ERFA's model at a true altitude: the Newton-Raphson step of eraAtioq on A tan z + B tan^3 z.
double ModelDeg(double h, double refa, double refb) {
    const double r = std::cos(Rad(h)), z = std::sin(Rad(h));
    const double tz = r / z, w = refb * tz * tz;
    return Deg((refa + w) * tz / (1.0 + (refa + 3.0 * w) / (z * z)));
}

}  // namespace

namespace zvacl {

double RefractionDeg(double h, double tempC, double pressureHpa) {
    if (std::isnan(h) || std::isnan(tempC) || std::isnan(pressureHpa)) return kNaN;
    if (h >= 90.0 || h <= kNoRefraction || !(pressureHpa > 0.0)) return 0.0;
    double refa = 0.0, refb = 0.0;
    eraRefco(pressureHpa, tempC, kHumidity, kWavelengthUm, &refa, &refb);
    if (h >= kModelFrom) return ModelDeg(h, refa, refb);
    const double k = pressureHpa / 1010.0 * 283.0 / (273.0 + tempC);
    double low = 0.0;
    if (h >= kTaperStart) {
        low = Saemundsson(h) * k;
    } else {
        low = Saemundsson(kTaperStart) * k * (h - kNoRefraction) / (kTaperStart - kNoRefraction);
    }
    if (h < kBlendFrom) return low;
    // The formula scaled to meet the model at kModelFrom, the scale easing to 1 at kBlendFrom.
    const double q = ModelDeg(kModelFrom, refa, refb) / (Saemundsson(kModelFrom) * k);
    return low * (q + (1.0 - q) * (kModelFrom - h) / (kModelFrom - kBlendFrom));
}

void RefractionConstants(double tempC, double pressureHpa, double* a, double* b) {
    eraRefco(pressureHpa, tempC, kHumidity, kWavelengthUm, a, b);
}

}  // namespace zvacl

void AtmosphericRefraction(const double* in, double* out) {
    if (!out) return;
    if (!in) {
        out[0] = out[1] = kNaN;
        return;
    }
    const double h = in[1];
    out[0] = in[0];
    out[1] = h + RefractionDeg(h, 10.0, 1010.0);
}

double GetAirmass(double altitudeDeg) {
    if (!(altitudeDeg > 0.0)) return kNaN;
    return 1.0 / (std::sin(Rad(altitudeDeg)) + 0.50572 * std::pow(altitudeDeg + 6.07995, -1.6364));
}
