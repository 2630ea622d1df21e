#!/usr/bin/env python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Apparent places of catalogue stars from ERFA (Debian's python3-erfa) for the sky's star
places: 200 stars of data/stars.zct (the 24 brightest, alpha Centauri A and B, 61 Cygni A and
B, tau Ceti and every 199th row) at 20 instants from 1960 to 2060, through erfa.atci13 (ICRS
to CIRS: proper motion, parallax, light deflection, aberration, IAU 2006/2000A
precession-nutation) and back to the equinox with the equation of the origins, from the
catalogue's own values. The catalogue has no radial velocities (none of its sources gives
them): 0.

Each row also carries the star's J2000 place as its source gives it: stellarium-data's
Hipparcos files (decoded as tools/catalogs/make_catalogs.py does) where the catalogue took
that place, else d3-celestial's (the catalogue's to 1e-4 degrees).

    /usr/bin/python3 tools/catalogs/make_astrometry_reference.py data/stars.zct tests/data/catalogs/apparent.txt
"""
import math
import os
import sys

import erfa

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from make_catalogs import stellarium_hipparcos  # noqa: E402
from zct import read_table  # noqa: E402

SPECIAL = (71683, 71681, 104214, 104217, 8102, 32349, 11767, 10826, 113357, 95947, 57939, 24186)


def main(stars_path, target):
    rows = read_table(stars_path)
    fine = stellarium_hipparcos({r["hip"]: (r["ra"], r["dec"]) for r in rows})
    by_hip = {r["hip"]: i for i, r in enumerate(rows)}
    brightest = sorted(range(len(rows)), key=lambda i: rows[i]["mag"])[:24]
    chosen = brightest + [by_hip[h] for h in SPECIAL if h in by_hip and by_hip[h] not in brightest]
    chosen += [i for i in range(0, len(rows), 199) if i not in chosen]
    chosen = [i for i in chosen if not math.isnan(rows[i]["pmra"])][:200]
    instants = [2436934.5 + i * (2473459.5 - 2436934.5) / 19 for i in range(20)]  # 1960-2060, TT
    with open(target, "w") as f:
        f.write("# hip ra dec pmra_cosdec_mas pmdec_mas parallax_mas source_ra source_dec jd_tt"
                " app_ra_deg app_dec_deg (ERFA atci13 - eo)\n")
        for i in chosen:
            s = rows[i]
            ra, dec, pmra, pmdec, plx = s["ra"], s["dec"], s["pmra"], s["pmdec"], s["plx"]
            plx = 0.0 if math.isnan(plx) else plx
            src = fine.get(s["hip"])
            if not src or abs(src[0] - ra) * 3.6e6 > 180.0 or abs(src[1] - dec) * 3.6e6 > 180.0:
                src = (round(ra, 4), round(dec, 4))
            rc, dc = math.radians(ra), math.radians(dec)
            pr = math.radians(pmra / 3.6e6) / math.cos(dc)
            pd = math.radians(pmdec / 3.6e6)
            for jd in instants:
                ri, di, eo = erfa.atci13(rc, dc, pr, pd, plx / 1000.0, 0.0, jd, 0.0)
                app = math.degrees(erfa.anp(ri - eo))
                f.write("%d %.10f %.10f %.3f %.3f %.3f %.10f %.10f %.5f %.10f %.10f\n" % (
                    s["hip"], ra, dec, pmra, pmdec, plx, src[0], src[1], jd, app, math.degrees(di)))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
