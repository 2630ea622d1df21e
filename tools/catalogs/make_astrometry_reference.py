#!/usr/bin/env python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Apparent places of catalogue stars from ERFA (Debian's python3-erfa) for the sky's star
places: 200 stars of data/stars.zct (every 207th row, and some fast or near stars) at 20
instants from 1900 to 2100, through erfa.atci13 (ICRS to CIRS: proper motion, parallax,
light deflection, aberration, IAU 2006/2000A precession-nutation) and back to the equinox
with the equation of the origins. Radial velocity 0.

    /usr/bin/python3 tools/catalogs/make_astrometry_reference.py data/stars.zct tests/data/catalogs/apparent.txt
"""
import math
import struct
import sys

import erfa


def table(path):
    d = open(path, "rb").read()
    rows, cols = struct.unpack_from("<II", d, 8)
    out = {}
    for c in range(cols):
        name, t, w, at = struct.unpack_from("<16sIIQ", d, 64 + 32 * c)
        fmt = {1: "d", 2: "f", 3: "i", 4: "I"}[t]
        out[name.rstrip(b"\0").decode()] = struct.unpack_from("<%d%s" % (rows, fmt), d, at)
    return out, rows


def main(stars_path, target):
    s, rows = table(stars_path)
    chosen = [s["hip"].index(h) for h in (71683, 104214, 32349, 11767, 10826, 113357, 95947, 57939, 24186)
              if h in s["hip"]]
    chosen += [r for r in range(0, rows, 199) if r not in chosen]
    chosen = [r for r in chosen if not math.isnan(s["pmra"][r])][:200]
    instants = [2415020.5 + i * (2488070.5 - 2415020.5) / 19 for i in range(20)]  # 1900-2100, TT
    with open(target, "w") as f:
        f.write("# hip ra dec pmra_cosdec_mas pmdec_mas parallax_mas jd_tt app_ra_deg app_dec_deg (ERFA atci13 - eo)\n")
        for r in chosen:
            ra, dec, pmra, pmdec = s["ra"][r], s["dec"][r], s["pmra"][r], s["pmdec"][r]
            plx = s["plx"][r]
            plx = 0.0 if math.isnan(plx) else plx
            rc, dc = math.radians(ra), math.radians(dec)
            pr = math.radians(pmra / 3.6e6) / math.cos(dc)
            pd = math.radians(pmdec / 3.6e6)
            for jd in instants:
                ri, di, eo = erfa.atci13(rc, dc, pr, pd, plx / 1000.0, 0.0, jd, 0.0)
                app = math.degrees(erfa.anp(ri - eo))
                f.write("%d %.9f %.9f %.3f %.3f %.3f %.5f %.10f %.10f\n" % (
                    s["hip"][r], ra, dec, pmra, pmdec, plx, jd, app, math.degrees(di)))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
