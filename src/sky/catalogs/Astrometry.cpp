// SPDX-License-Identifier: LGPL-3.0-or-later
// Apparent places of stars by ERFA, as its ICRS-to-CIRS chain does them: space motion with
// parallax and radial velocity from the Earth's barycentric position, the Sun's light
// deflection, aberration to all orders in v/c; then bias, precession (IAU 2006) and
// nutation (IAU 2000A) to the true equator and equinox of date.
#include "sky/catalogs/Astrometry.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

#include "sky/bodies/SkyMath.h"
#include "zvacl/Reductions.h"

namespace sky {

void ApparentPlace(const CatalogueStar& star, double jdTt, double* ra, double* dec,
                   double* trueObliquity) {
    // The Earth, heliocentric and barycentric (TDB taken as TT: 2 ms apart at most).
    Vec baryVelocity{};
    const Vec helio = EarthAt(jdTt);
    const Vec bary = EarthBarycentric(jdTt, &baryVelocity);
    double pvh[3] = {helio.x, helio.y, helio.z};
    double pvb[2][3] = {{bary.x, bary.y, bary.z}, {baryVelocity.x, baryVelocity.y, baryVelocity.z}};
    const double em = eraPm(pvh);
    double eh[3], v[3];
    eraSxp(1.0 / em, pvh, eh);
    eraSxp(kLightDaysPerAu, pvb[1], v);
    const double bm1 = std::sqrt(1.0 - eraPdp(v, v));

    const double kMasToRad = ERFA_DMAS2R;
    const double a = star.ra * kRad, d = star.dec * kRad;
    const double pmRa = std::isfinite(star.pmRa) ? star.pmRa * kMasToRad / std::cos(d) : 0.0;
    const double pmDec = std::isfinite(star.pmDec) ? star.pmDec * kMasToRad : 0.0;
    const double plx =
        std::isfinite(star.parallax) && star.parallax > 0.0 ? star.parallax * 1e-3 : 0.0;
    const double rv = std::isfinite(star.radialVelocity) ? star.radialVelocity : 0.0;
    double p[3], deflected[3], aberrated[3];
    eraPmpx(a, d, pmRa, pmDec, plx, rv, (jdTt - ERFA_DJ00) / ERFA_DJY, pvb[0], p);
    eraLdsun(p, eh, em, deflected);
    eraAb(deflected, v, em, bm1, aberrated);

    double dpsi = 0, deps = 0, epsa = 0, rb[3][3], rp[3][3], rbp[3][3], rn[3][3], rbpn[3][3];
    NutationAngles(jdTt, &dpsi, &deps);
    eraPn06(jdTt, 0.0, dpsi, deps, &epsa, rb, rp, rbp, rn, rbpn);
    double out[3];
    eraRxp(rbpn, aberrated, out);
    double lon = 0, lat = 0;
    eraC2s(out, &lon, &lat);
    *ra = eraAnp(lon) / kRad;
    *dec = lat / kRad;
    if (trueObliquity) *trueObliquity = (epsa + deps) / kRad;
}

}  // namespace sky
