#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Tables of the sky's reductions made with ERFA (Debian's python3-erfa) and the observed
Delta T:

  deltat   src/zvacl/DeltaTObserved.cpp: Delta T (TT - UT1) on the 1st of each month at 0h
           UT1 from 1973 to the end of the IERS series that Debian's python3-skyfield ships
           (skyfield/data/iers.npz, daily values from IERS finals2000A).
  observed tests/data/zvacl/delta_t_observed.txt: the same series on the 15th of every third
           month (between the table's nodes), for the test.
  refraction tests/data/zvacl/refraction.txt: ERFA's refraction (eraRefco constants through
           the model of eraAtioq) at three temperatures and pressures.
  places   tests/data/sky/erfa_places.txt: apparent places and horizons of directions at
           random instants 1960-2060 (and a few outside) from Tokyo and Santiago: deflection
           by the Sun, aberration (Earth by eraEpv00), IAU 2006/2000A precession-nutation,
           the horizon by eraApco/eraAtioq (diurnal aberration; no polar motion, no
           refraction). UT is UT1; TT is given in the table.

    /usr/bin/python3 tools/erfa/make_tables.py deltat > src/zvacl/DeltaTObserved.cpp
    /usr/bin/python3 tools/erfa/make_tables.py observed > tests/data/zvacl/delta_t_observed.txt
    /usr/bin/python3 tools/erfa/make_tables.py refraction > tests/data/zvacl/refraction.txt
    /usr/bin/python3 tools/erfa/make_tables.py places > tests/data/sky/erfa_places.txt
"""
import math
import sys

import erfa
import numpy as np

IERS = "/usr/lib/python3/dist-packages/skyfield/data/iers.npz"
SITES = {"tokyo": (139.7414, 35.6581, 40.0), "santiago": (-70.6693, -33.4489, 570.0)}
# The model's wavelength (micrometres) and relative humidity: visual light, a moderately
# humid air; zvacl uses the same.
WAVELENGTH, HUMIDITY = 0.55, 0.5


def daily_delta_t():
    """UT1 Julian Days at 0h of each day and Delta T in seconds."""
    d = np.load(IERS)
    n = len(d["tt_jd_minus_arange"])
    tt = d["tt_jd_minus_arange"] + np.arange(n)
    dt = d["delta_t_1e7"] / 1e7
    return np.round(tt - dt / 86400.0 - 0.5) + 0.5, dt


def deltat():
    ut, dt = daily_delta_t()
    rows = []
    for jd, s in zip(ut, dt):
        y, m, day, _ = erfa.jd2cal(jd, 0.0)
        if day == 1:
            rows.append("    {%.1f, %.4f},  // %d-%02d" % (jd - 2400000.5, s, y, m))
    last = erfa.jd2cal(ut[-1], 0.0)
    print("""// SPDX-License-Identifier: LGPL-3.0-or-later
// Delta T (TT - UT1) observed: seconds at 0h UT1 on the 1st of each month, %d-%02d to
// %d-%02d (the last year of the series is the IERS's own prediction).
//
// Derived from the IERS Earth orientation series finals2000A (IERS Rapid Service /
// Prediction Centre, U.S. Naval Observatory; a work of the U.S. Government, public domain)
// as packaged in iers.npz by Skyfield 1.45 (Brandon Rhodes, MIT licence), Debian's
// python3-skyfield. Made by tools/erfa/make_tables.py deltat.
#include "zvacl/ZvaclMath.h"

namespace zvacl {

extern const double kObservedDeltaT[][2];
extern const int kObservedDeltaTCount;

// Modified Julian Day (UT1), seconds.
const double kObservedDeltaT[][2] = {
%s
};
const int kObservedDeltaTCount = sizeof(kObservedDeltaT) / sizeof(kObservedDeltaT[0]);

}  // namespace zvacl""" % (*erfa.jd2cal(ut[0] + 31, 0.0)[:2], last[0], last[1], "\n".join(rows)))


def observed():
    ut, dt = daily_delta_t()
    print("# Delta T observed (IERS finals2000A via Skyfield's iers.npz) on the 15th of every third")
    print("# month at 0h UT1: Julian Day (UT1), seconds. tools/erfa/make_tables.py observed")
    for jd, s in zip(ut, dt):
        y, m, day, _ = erfa.jd2cal(jd, 0.0)
        if day == 15 and m % 3 == 1:
            print("%.1f %.4f" % (jd, s))


def refraction():
    """Refraction in arc seconds for true altitudes, by the A tan z + B tan^3 z model of
    eraAtioq with eraRefco's constants: the observed minus the airless altitude of the same
    direction at a site on the equator, the instant and place otherwise arbitrary."""
    print("# ERFA refraction (eraRefco, model of eraAtioq), wavelength %.2f um, humidity %.1f:"
          % (WAVELENGTH, HUMIDITY))
    print("# temperature C, pressure hPa, true altitude deg, refraction arcsec")
    print("# tools/erfa/make_tables.py refraction")
    for tc, phpa in ((10.0, 1010.0), (-20.0, 1040.0), (30.0, 850.0)):
        refa, refb = erfa.refco(phpa, tc, HUMIDITY, WAVELENGTH)
        for alt in list(range(15, 90, 5)) + [16.5, 33.3, 71.7, 89.0]:
            astrom = erfa.apio(0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, refa, refb)
            astrom["diurab"] = 0.0
            # A direction at that altitude due south... by its hour angle and declination.
            h = math.radians(alt)
            ri, di = 0.0, -(math.pi / 2 - h)  # on the meridian, south of the zenith
            _, zob, _, _, _ = erfa.atioq(ri, di, astrom)
            print("%.1f %.1f %.1f %.4f" % (tc, phpa, alt, (math.pi / 2 - zob - h) * 206264.806247))


def unit(v):
    return v / np.linalg.norm(v)


def places():
    rng = np.random.default_rng(2006)
    jds = list(rng.uniform(2436934.5, 2473459.5, 240)) + [2415020.3, 2488070.7, 2433282.9]
    print("# Apparent places by ERFA of geocentric astrometric vectors (GCRS, au): the Sun's")
    print("# deflection, aberration with the Earth's barycentric velocity (eraEpv00), IAU")
    print("# 2006/2000A precession-nutation to the true equator and equinox of date; the")
    print("# horizon from the site by eraApco and eraAtioq (its parallax and light time, diurnal")
    print("# aberration;")
    print("# no polar motion or refraction). tools/erfa/make_tables.py places")
    print("# jd_ut1 jd_tt site x y z ra_app_deg dec_app_deg alt_deg az_deg_from_north")
    for i, jd in enumerate(jds):
        site = "tokyo" if i % 2 == 0 else "santiago"
        lon, lat, hm = SITES[site]
        # Instants as the table prints them (0.9 ms of rotation is 13 mas).
        jd = float("%.8f" % jd)
        tt = float("%.8f" % (jd + (69.0 + 40.0 * (jd - 2451545.0) / 36525.0) / 86400.0))
        pvh, pvb = erfa.epv00(tt, 0.0)
        earth = np.array(pvh[0] if pvh.dtype.names is None else pvh["p"])
        ebpv = pvb
        # A direction: at star distance, at a planet's, at the Moon's; some near the Sun.
        kind = i % 4
        d = unit(rng.normal(size=3))
        if kind == 3:
            d = unit(-earth + rng.normal(size=3) * 0.05)
        r = (1e8, rng.uniform(0.5, 30.0), rng.uniform(0.0024, 0.0027), rng.uniform(0.5, 5.0))[kind]
        g = d * r
        rbpn = erfa.pnm06a(tt, 0.0)
        em = np.linalg.norm(earth)
        v = np.array(pvb["v"] if pvb.dtype.names else pvb[1]) * erfa.DAU / erfa.CMPS / 86400.0
        bm1 = math.sqrt(1.0 - v @ v)
        q = unit(g + earth)
        p = erfa.ld(1.0, unit(g), q, earth / em, em, 1e-6 / max(em * em, 1.0))
        p = erfa.ab(p, v, em, bm1)
        ra, dec = erfa.c2s(rbpn @ p)
        # The horizon: ERFA's observer chain with the site's own position and velocity.
        x, y = erfa.bpn2xy(rbpn)
        s = erfa.s06(tt, 0.0, x, y)
        theta = erfa.era00(jd, 0.0)
        astrom = erfa.apco(tt, 0.0, ebpv, earth, x, y, s, theta, math.radians(lon),
                           math.radians(lat), hm, 0.0, 0.0, 0.0, 0.0, 0.0)
        obs = np.array(astrom["eb"]) - np.array(ebpv["p"] if ebpv.dtype.names else ebpv[0])
        # The light the site sees left the body earlier or later than the light the centre
        # sees; the body is taken to move with the Earth meanwhile (as the sky does).
        c = erfa.CMPS * 86400.0 / erfa.DAU
        vb = np.array(ebpv["v"] if ebpv.dtype.names else ebpv[1])
        pt = unit(g - obs + vb * (np.linalg.norm(g) - np.linalg.norm(g - obs)) / c)
        pt = erfa.ld(1.0, pt, q, np.array(astrom["eh"]), float(astrom["em"]),
                     1e-6 / max(em * em, 1.0))
        pt = erfa.ab(pt, np.array(astrom["v"]), float(astrom["em"]), float(astrom["bm1"]))
        ri, di = erfa.c2s(np.array(astrom["bpn"]) @ pt)
        aob, zob, _, _, _ = erfa.atioq(ri, di, astrom)
        print("%.8f %.8f %s %.12e %.12e %.12e %.10f %.10f %.10f %.10f" % (
            jd, tt, site, g[0], g[1], g[2], math.degrees(erfa.anp(ra)), math.degrees(dec),
            90.0 - math.degrees(zob), math.degrees(aob)))


{"deltat": deltat, "observed": observed, "refraction": refraction,
 "places": places}[sys.argv[1]]()
