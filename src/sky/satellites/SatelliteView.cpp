// SPDX-License-Identifier: LGPL-3.0-or-later
// A satellite seen from the ground.
#include "sky/satellites/SatelliteView.h"

#include <algorithm>

#include "sky/bodies/SkyMath.h"

namespace sky {
namespace {

constexpr double kWgs84A = kEarthRadiusKm;
constexpr double kWgs84F = kEarthFlattening;
constexpr double kWgs84E2 = kWgs84F * (2.0 - kWgs84F);
constexpr double kSunRadiusKm = 696000.0;
constexpr double kEarthShadowRadiusKm = kEarthRadiusKm;

// Earth-fixed from TEME: one turn about the pole by the mean sidereal angle.
void TemeToEcef(const double teme[3], double gmst, double ecef[3]) {
    const double c = std::cos(gmst), s = std::sin(gmst);
    ecef[0] = c * teme[0] + s * teme[1];
    ecef[1] = -s * teme[0] + c * teme[1];
    ecef[2] = teme[2];
}

// In the Earth's umbra: behind the Earth and within the cone the Sun's disc and the
// Earth's limb make.
bool InUmbra(const double r[3], const double sun[3], double sunKm) {
    const double along = r[0] * sun[0] + r[1] * sun[1] + r[2] * sun[2];
    if (along >= 0.0) return false;
    const double px = r[0] - along * sun[0], py = r[1] - along * sun[1], pz = r[2] - along * sun[2];
    const double off = std::sqrt(px * px + py * py + pz * pz);
    const double halfAngle = (kSunRadiusKm - kEarthShadowRadiusKm) / sunKm;
    return off < kEarthShadowRadiusKm + along * halfAngle;
}

}  // namespace

Observer::Observer(const Site& s) : site(s) {
    const double lat = s.latitude * kRad, lon = s.longitude * kRad;
    sinLat = std::sin(lat);
    cosLat = std::cos(lat);
    sinLon = std::sin(lon);
    cosLon = std::cos(lon);
    const double n = kWgs84A / std::sqrt(1.0 - kWgs84E2 * sinLat * sinLat);
    const double h = s.height / 1000.0;
    ecef[0] = (n + h) * cosLat * cosLon;
    ecef[1] = (n + h) * cosLat * sinLon;
    ecef[2] = (n * (1.0 - kWgs84E2) + h) * sinLat;
}

void Geodetic(const double ecef[3], double* lon, double* lat, double* heightKm) {
    const double p = std::hypot(ecef[0], ecef[1]);
    *lon = std::atan2(ecef[1], ecef[0]) / kRad;
    double phi = std::atan2(ecef[2], p * (1.0 - kWgs84E2));
    double n = kWgs84A, h = 0.0;
    for (int i = 0; i < 8; ++i) {
        const double s = std::sin(phi);
        n = kWgs84A / std::sqrt(1.0 - kWgs84E2 * s * s);
        h = p / std::cos(phi) - n;
        phi = std::atan2(ecef[2], p * (1.0 - kWgs84E2 * n / (n + h)));
    }
    const double s = std::sin(phi);
    n = kWgs84A / std::sqrt(1.0 - kWgs84E2 * s * s);
    // Near the poles the height follows from z, where cos(phi) vanishes.
    *heightKm = std::fabs(phi) < 1.0 ? p / std::cos(phi) - n : ecef[2] / s - n * (1.0 - kWgs84E2);
    *lat = phi / kRad;
}

void SunOfDate(double jdUt, double dir[3], double* distanceKm) {
    const double n = jdUt - 2451545.0;
    const double L = (280.460 + 0.9856474 * n) * kRad;
    const double g = (357.528 + 0.9856003 * n) * kRad;
    const double lambda = L + (1.915 * std::sin(g) + 0.020 * std::sin(2.0 * g)) * kRad;
    const double eps = (23.439 - 0.0000004 * n) * kRad;
    dir[0] = std::cos(lambda);
    dir[1] = std::cos(eps) * std::sin(lambda);
    dir[2] = std::sin(eps) * std::sin(lambda);
    *distanceKm = (1.00014 - 0.01671 * std::cos(g) - 0.00014 * std::cos(2.0 * g)) * kKmPerAu;
}

Vec TemeToJ2000(const double teme[3], double jdUtc) {
    const double jdTt = TtOf(jdUtc);
    double dpsi = 0.0, deps = 0.0;
    NutationAngles(jdTt, &dpsi, &deps);
    const double eps0 = MeanObliquity(jdTt);
    // TEME's x axis is the mean equinox on the true equator: the equation of the
    // equinoxes away from the true equinox.
    const Vec trueOfDate = R3(-dpsi * std::cos(eps0 + deps)) * Vec{teme[0], teme[1], teme[2]};
    return Transpose(Precession(jdTt)) * (Transpose(Nutation(eps0, dpsi, deps)) * trueOfDate);
}

SatelliteLook Look(const Sgp4& model, double jdUtc, const Observer& at, double stdMagnitude,
                   bool withSun) {
    SatelliteLook s;
    double v[3];
    s.error = model.PropagateJd(jdUtc, s.teme, v);
    if (s.error != 0) return s;
    const double gmst = Gmst1982(jdUtc);
    TemeToEcef(s.teme, gmst, s.ecef);
    Geodetic(s.ecef, &s.longitude, &s.latitude, &s.height);
    s.geocentricKm =
        std::sqrt(s.teme[0] * s.teme[0] + s.teme[1] * s.teme[1] + s.teme[2] * s.teme[2]);
    const double dx = s.ecef[0] - at.ecef[0], dy = s.ecef[1] - at.ecef[1],
                 dz = s.ecef[2] - at.ecef[2];
    s.topocentricKm = std::sqrt(dx * dx + dy * dy + dz * dz);
    // East, north and up at the site.
    const double e = -at.sinLon * dx + at.cosLon * dy;
    const double t = at.cosLon * dx + at.sinLon * dy;
    const double n = -at.sinLat * t + at.cosLat * dz;
    const double u = at.cosLat * t + at.sinLat * dz;
    s.altitude = std::asin(u / s.topocentricKm) / kRad;
    s.azimuth = Norm360(std::atan2(e, n) / kRad);
    if (!withSun) return s;

    double sun[3], sunKm = 0.0;
    SunOfDate(jdUtc, sun, &sunKm);
    s.sunlit = !InUmbra(s.teme, sun, sunKm);
    // The site in the same frame as the Sun (TEME differs from it by arc seconds only).
    const double c = std::cos(gmst), sn = std::sin(gmst);
    const double site[3] = {c * at.ecef[0] - sn * at.ecef[1], sn * at.ecef[0] + c * at.ecef[1],
                            at.ecef[2]};
    const double up[3] = {c * (at.cosLat * at.cosLon) - sn * (at.cosLat * at.sinLon),
                          sn * (at.cosLat * at.cosLon) + c * (at.cosLat * at.sinLon), at.sinLat};
    const double sunSite[3] = {sun[0] * sunKm - site[0], sun[1] * sunKm - site[1],
                               sun[2] * sunKm - site[2]};
    const double sunSiteKm =
        std::sqrt(sunSite[0] * sunSite[0] + sunSite[1] * sunSite[1] + sunSite[2] * sunSite[2]);
    s.sunAltitude =
        std::asin((sunSite[0] * up[0] + sunSite[1] * up[1] + sunSite[2] * up[2]) / sunSiteKm) /
        kRad;
    if (s.sunlit && std::isfinite(stdMagnitude)) {
        // Phase angle at the satellite between the Sun and the observer; a diffusely
        // reflecting sphere, whose brightness at 90 degrees the standard magnitude gives.
        const double toObs[3] = {site[0] - s.teme[0], site[1] - s.teme[1], site[2] - s.teme[2]};
        const double toSun[3] = {sun[0] * sunKm - s.teme[0], sun[1] * sunKm - s.teme[1],
                                 sun[2] * sunKm - s.teme[2]};
        const double cosb = (toObs[0] * toSun[0] + toObs[1] * toSun[1] + toObs[2] * toSun[2]) /
                            (s.topocentricKm * std::sqrt(toSun[0] * toSun[0] + toSun[1] * toSun[1] +
                                                         toSun[2] * toSun[2]));
        const double beta = std::acos(std::max(-1.0, std::min(1.0, cosb)));
        const double phase = std::sin(beta) + (M_PI - beta) * std::cos(beta);
        s.magnitude = phase > 1e-9 ? stdMagnitude + 5.0 * std::log10(s.topocentricKm / 1000.0) -
                                         2.5 * std::log10(phase)
                                   : NAN;
    }
    return s;
}

}  // namespace sky
