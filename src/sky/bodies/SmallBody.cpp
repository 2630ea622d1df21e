// SPDX-License-Identifier: LGPL-3.0-or-later
// Two-body motion of comets and minor planets by the universal variable, which serves
// ellipses, parabolas and hyperbolas with one equation and no special case near e = 1,
// and the magnitude laws of both kinds.
#include "sky/bodies/SmallBody.h"

#include <cmath>

#include "sky/bodies/SkyMath.h"

namespace sky {
namespace {

constexpr double kGauss = 0.01720209895;  // sqrt(GM of the Sun), au^1.5 per day
constexpr double kTwoPi = 2.0 * M_PI;

// Stumpff's functions c2(z) and c3(z); the series near 0, where the closed forms cancel.
void Stumpff(double z, double* c2, double* c3) {
    if (std::fabs(z) < 0.1) {
        double t2 = 0.5, t3 = 1.0 / 6.0, s2 = 0.0, s3 = 0.0;
        for (int k = 0; k < 9; ++k) {
            s2 += t2;
            s3 += t3;
            t2 *= -z / ((2 * k + 3) * (2 * k + 4));
            t3 *= -z / ((2 * k + 4) * (2 * k + 5));
        }
        *c2 = s2;
        *c3 = s3;
    } else if (z > 0.0) {
        const double s = std::sqrt(z);
        *c2 = (1.0 - std::cos(s)) / z;
        *c3 = (s - std::sin(s)) / (s * z);
    } else {
        const double s = std::sqrt(-z);
        *c2 = (std::cosh(s) - 1.0) / -z;
        *c3 = (std::sinh(s) - s) / (s * -z);
    }
}

bool Usable(const SmallBody& b) {
    return std::isfinite(b.q) && b.q > 0.0 && b.q < 1e5 && std::isfinite(b.e) && b.e >= 0.0 &&
           b.e < 1e3 && std::isfinite(b.i) && std::isfinite(b.w) && std::isfinite(b.node) &&
           std::isfinite(b.perihelion);
}

}  // namespace

double SemiMajorAxis(const SmallBody& b) {
    return Usable(b) && b.e < 1.0 ? b.q / (1.0 - b.e) : NAN;
}

double PeriodYears(const SmallBody& b) {
    const double a = SemiMajorAxis(b);
    return std::isfinite(a) ? kTwoPi / (kGauss / (a * std::sqrt(a))) / 365.25 : NAN;
}

bool SmallBodyAt(const SmallBody& b, double jdTt, Vec* out) {
    if (!Usable(b) || !std::isfinite(jdTt)) return false;
    double dt = jdTt - b.perihelion;
    if (std::fabs(dt) > 1e8) return false;
    const double alpha = (1.0 - b.e) / b.q;  // 1/a: positive for an ellipse
    if (alpha > 0.0) dt = std::remainder(dt, kTwoPi / (kGauss * alpha * std::sqrt(alpha)));
    // From perihelion (radial velocity 0) Kepler's equation in the universal anomaly x is
    //     F(x) = e x^3 c3(alpha x^2) + q x - k dt = 0,
    // and F'(x) = r > 0: F rises everywhere, so a bracket and Newton steps kept inside it
    // (halving when a step leaves it) always converge.
    const double target = kGauss * dt;
    const auto F = [&](double x, double* r) {
        double c2 = 0.0, c3 = 0.0;
        Stumpff(alpha * x * x, &c2, &c3);
        *r = b.q + b.e * x * x * c2;
        return b.e * x * x * x * c3 + b.q * x - target;
    };
    double r = 0.0;
    double lo = 0.0, hi = 0.0;
    double x = target / b.q;  // the answer near perihelion
    if (target != 0.0) {
        // Widen until the root is bracketed (x grows at most like target / q).
        double edge = std::fabs(x) > 0.0 ? x : (target > 0 ? 1e-12 : -1e-12);
        if (std::fabs(edge) > 1e6) edge = edge > 0 ? 1e6 : -1e6;
        int n = 0;
        while (n < 80 && (target > 0 ? F(edge, &r) < 0.0 : F(edge, &r) > 0.0)) {
            edge *= 2.0;
            ++n;
        }
        if (n == 80) return false;
        lo = target > 0 ? 0.0 : edge;
        hi = target > 0 ? edge : 0.0;
        // Newton's step where it gains more than halving would, else halving, so a far
        // start on a hyperbola (where F is exponential) costs a few dozen steps at most.
        x = 0.5 * (lo + hi);
        double step = hi - lo, lastStep = step;
        for (int it = 0; it < 300; ++it) {
            const double f = F(x, &r);
            if (!std::isfinite(f)) {
                (x > 0.0 ? hi : lo) = x;  // only the hyperbola's far ends overflow
                x = 0.5 * (lo + hi);
                continue;
            }
            if (f < 0.0)
                lo = x;
            else
                hi = x;
            const double newton = x - f / r;
            lastStep = step;
            if (!(newton > lo && newton < hi) || std::fabs(2.0 * f) > std::fabs(lastStep * r)) {
                step = 0.5 * (hi - lo);
                x = lo + step;
            } else {
                step = f / r;
                x = newton;
            }
            if (std::fabs(step) <= 1e-15 * std::fabs(x) || hi - lo <= 1e-15 * std::fabs(x)) break;
        }
    }
    double c2 = 0.0, c3 = 0.0;
    Stumpff(alpha * x * x, &c2, &c3);
    // f and g series from perihelion: position in the orbit's plane, perihelion along +x.
    const double px = b.q - x * x * c2;
    const double v0 = std::sqrt((1.0 + b.e) / b.q) * kGauss;  // speed at perihelion, au a day
    const double py = (dt - x * x * x * c3 / kGauss) * v0;
    const Vec orbital{px, py, 0.0};
    const Vec ecl = R3(-b.node * kRad) * (R1(-b.i * kRad) * (R3(-b.w * kRad) * orbital));
    const Vec equ = EclipticToEquatorial(ecl, MeanObliquity(2451545.0));
    if (!std::isfinite(equ.x) || !std::isfinite(equ.y) || !std::isfinite(equ.z)) return false;
    *out = equ;
    return true;
}

double SmallBodyMagnitude(const SmallBody& b, double r, double delta, double phaseDeg) {
    if (!std::isfinite(b.H) || !(r > 0.0) || !(delta > 0.0)) return NAN;
    if (b.comet)
        return b.H + 5.0 * std::log10(delta) +
               2.5 * (std::isfinite(b.G) ? b.G : 4.0) * std::log10(r);
    const double G = std::isfinite(b.G) ? b.G : 0.15;
    const double t = std::tan(std::fabs(phaseDeg) * kRad / 2.0);
    const double phi1 = std::exp(-3.33 * std::pow(t, 0.63));
    const double phi2 = std::exp(-1.87 * std::pow(t, 1.22));
    return b.H + 5.0 * std::log10(r * delta) - 2.5 * std::log10((1.0 - G) * phi1 + G * phi2);
}

}  // namespace sky
