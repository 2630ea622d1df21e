#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Reference places of the Sun, the Moon, the planets and Pluto straight from JPL's DE405
(Debian's casacore-data-jpl-de405, read with python3-casacore) reduced with ERFA
(python3-erfa), for the sky's test against DE405 (tests/data/sky/de405.txt).

For each instant (TT) and body:
- the astrometric geocentric place (ICRS): the body where the light left it, the Earth's
  centre where it arrives, about the solar-system barycentre;
- the geometric geocentric distance at the instant;
- the apparent place of date: deflection by the Sun (eraLd), annual aberration (eraAb),
  IAU 2006/2000A bias-precession-nutation (eraPnm06a);
- the topocentric altitude and azimuth without refraction: the same from the site (eraPvtob,
  eraC2i06a; diurnal aberration included), the hour angle from the Earth rotation angle.

UT1 is the library's UT of that TT (its Delta T, read from the built libzvacl.so), so the
sky answers at the same TT; UT1-UTC and polar motion are taken as zero.

    /usr/bin/python3 tools/ephemeris/make_de405_reference.py BUILD-DIR tests/data/sky
"""
import ctypes
import math
import os
import random
import sys

import erfa
import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from de405reader import De405  # noqa: E402

SITES = [("tokyo", 139.745, 35.654, 40.0), ("santiago", -70.6483, -33.4489, 570.0)]
# Body: DE405's first coefficient (1-based, the two dates counted), coefficients per
# component, sub-intervals.
LAYOUT = {"Mercury": (3, 14, 4), "Venus": (171, 10, 2), "Mars": (309, 11, 1),
          "Jupiter": (342, 8, 1), "Saturn": (366, 7, 1), "Uranus": (387, 6, 1),
          "Neptune": (405, 6, 1), "Pluto": (423, 6, 1)}
BODIES = ["Sun", "Moon"] + list(LAYOUT)
INSTANTS = 520


class Reference:
    def __init__(self, build):
        self.de = De405()
        self.au = 149597870.691
        lib = ctypes.CDLL(os.path.join(build, "lib", "libzvacl.so"))
        self.ut_to_tt = lib._Z6UtToDtd
        self.ut_to_tt.restype = ctypes.c_double
        self.ut_to_tt.argtypes = [ctypes.c_double]

    def bary(self, body, mjd):
        """Barycentric position, km, at a TDB MJD."""
        de = self.de
        if body == "Sun":
            return de.body(mjd, de.SUN)
        if body == "Earth":
            return de.earth(mjd)
        if body == "Moon":
            return de.earth(mjd) + de.body(mjd, de.MOON)
        return de.body(mjd, LAYOUT[body])

    def velocity(self, body, mjd, h=0.01):
        return (self.bary(body, mjd + h) - self.bary(body, mjd - h)) / (2 * h)

    def place(self, body, mjd, obs, obs_vel):
        """Astrometric vector (km) from an observer (barycentric km, km/day) and the
        natural direction after deflection and aberration, ICRS."""
        t = 0.0
        for _ in range(6):
            p = self.bary(body, mjd - t) - obs
            t = np.linalg.norm(p) / self.de.c
        u = p / np.linalg.norm(p)
        sun = self.bary("Sun", mjd)
        e = (obs - sun) / self.au
        em = np.linalg.norm(e)
        if body != "Sun":
            q = (self.bary(body, mjd - t) - self.bary("Sun", mjd - t)) / self.au
            u = erfa.ld(1.0, u, q / np.linalg.norm(q), e / em, em, 1e-9)
        v = obs_vel / self.de.c
        return p, erfa.ab(u, v, em, math.sqrt(1.0 - v @ v))

    def ut_of(self, tt):
        ut = tt
        for _ in range(4):
            ut = tt - (self.ut_to_tt(ut) - ut)
        return ut

    def rows(self, tt, site):
        name, lon, lat, height = site
        mjd_tt = tt - 2400000.5
        ut = self.ut_of(tt)
        mjd = mjd_tt + erfa.dtdb(2400000.5, mjd_tt, 0.0, 0.0, 0.0, 0.0) / 86400.0
        earth, earth_vel = self.bary("Earth", mjd), self.velocity("Earth", mjd)
        bpn = erfa.pnm06a(2400000.5, mjd_tt)
        c2i = erfa.c2i06a(2400000.5, mjd_tt)
        era = erfa.era00(2400000.5, ut - 2400000.5)
        pv = erfa.pvtob(math.radians(lon), math.radians(lat), height, 0.0, 0.0, 0.0, era)
        obs = earth + c2i.T @ pv["p"] / 1000.0
        obs_vel = earth_vel + c2i.T @ pv["v"] * 86.4
        out = []
        for body in BODIES:
            p, app = self.place(body, mjd, earth, earth_vel)
            ra, dec = erfa.c2s(p)
            dist = np.linalg.norm(self.bary(body, mjd) - earth) / self.au
            ra_app, dec_app = erfa.c2s(bpn @ app)
            _, topo = self.place(body, mjd, obs, obs_vel)
            ri, di = erfa.c2s(c2i @ topo)
            az, el = erfa.hd2ae(era + math.radians(lon) - ri, di, math.radians(lat))
            out.append("%.6f %.9f %s %s %.8f %.8f %.11e %.8f %.8f %.7f %.7f" % (
                tt, ut, name, body, math.degrees(erfa.anp(ra)), math.degrees(dec), dist,
                math.degrees(erfa.anp(ra_app)), math.degrees(dec_app), math.degrees(el),
                (math.degrees(az) + 180.0) % 360.0))
        return out


def main():
    build, folder = sys.argv[1], sys.argv[2]
    ref = Reference(build)
    rng = random.Random(405)
    first, last = ref.de.first + 2400000.5 + 2.0, ref.de.last + 2400000.5 - 2.0
    rows = []
    for i in range(INSTANTS):
        tt = round(rng.uniform(first, last), 6)
        rows += ref.rows(tt, SITES[i % 2])
    with open(os.path.join(folder, "de405.txt"), "w") as f:
        f.write("# Made by tools/ephemeris/make_de405_reference.py: DE405 reduced with ERFA.\n"
                "# jd_tt jd_ut site body ra_j2000 dec_j2000 (astrometric, ICRS, deg) "
                "distance_au (geometric)\n# ra_app dec_app (IAU 2006/2000A, deg) alt az_south "
                "(topocentric, no refraction, deg)\n")
        f.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
