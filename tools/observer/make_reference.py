#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Reference places of the Earth and Jupiter seen from the Moon's centre and from a site on
Mars, and rise and set of the Earth at a site on the Moon, from JPL's DE405 (Debian's
casacore-data-jpl-de405 read as tools/zvacl_reference.py does): the target at the time its
light left minus the observer now (astrometric J2000), the Mars site placed by the IAU
(WGCCRE 2009) rotation model of Mars, the lunar site by that of the Moon. TT is UT plus
PyEphem's Delta T, as for the other sky tables (the Earth crosses the Moon's sky at 0.55"
a second of time).

    /usr/bin/python3 tools/observer/make_reference.py > tests/data/observer/reference.txt
"""
import math
import os
import sys

import ephem
import numpy as np

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from zvacl_reference import De405  # noqa: E402

MARS, JUPITER = (309, 11, 1), (342, 8, 1)
KM_PER_AU = 149597870.7
MARS_SITE = (137.4, -4.6, 0.0)
MOON_SITE = (88.0, 0.0, 0.0)  # near the limb: the Earth rises and sets with the libration


def rz(a):
    c, s = math.cos(a), math.sin(a)
    return np.array([[c, -s, 0], [s, c, 0], [0, 0, 1]])


def rx(a):
    c, s = math.cos(a), math.sin(a)
    return np.array([[1, 0, 0], [0, c, -s], [0, s, c]])


def frame(body, mjd_tt):
    """The matrix from the body-fixed frame to J2000 equatorial (IAU pole and meridian)."""
    d = mjd_tt + 2400000.5 - 2451545.0
    T = d / 36525.0
    if body == "mars":
        ra, dec, w = 317.68143 - 0.1061 * T, 52.88650 - 0.0609 * T, 176.630 + 350.89198226 * d
    else:
        E = [math.radians(a + b * d) for a, b in (
            (125.045, -0.0529921), (250.089, -0.1059842), (260.008, 13.0120009), (176.625, 13.3407154),
            (357.529, 0.9856003), (311.589, 26.4057084), (134.963, 13.0649930), (276.617, 0.3287146),
            (34.226, 1.7484877), (15.134, -0.1589763), (119.743, 0.0036096), (239.961, 0.1643573),
            (25.053, 12.9590088))]
        s, c = [math.sin(e) for e in E], [math.cos(e) for e in E]
        ra = (269.9949 + 0.0031 * T - 3.8787 * s[0] - 0.1204 * s[1] + 0.0700 * s[2] - 0.0172 * s[3]
              + 0.0072 * s[5] - 0.0052 * s[9] + 0.0043 * s[12])
        dec = (66.5392 + 0.0130 * T + 1.5419 * c[0] + 0.0239 * c[1] - 0.0278 * c[2] + 0.0068 * c[3]
               - 0.0029 * c[5] + 0.0009 * c[6] + 0.0008 * c[9] - 0.0009 * c[12])
        w = (38.3213 + 13.17635815 * d - 1.4e-12 * d * d + 3.5610 * s[0] + 0.1208 * s[1] - 0.0642 * s[2]
             + 0.0158 * s[3] + 0.0252 * s[4] - 0.0066 * s[5] - 0.0047 * s[6] - 0.0046 * s[7]
             + 0.0028 * s[8] + 0.0052 * s[9] + 0.0040 * s[10] + 0.0019 * s[11] - 0.0044 * s[12])
    return rz(math.radians(ra + 90.0)) @ rx(math.radians(90.0 - dec)) @ rz(math.radians(w % 360.0))


def tt_minus_ut(jd_ut):
    return ephem.delta_t(ephem.Date(jd_ut - 2415020.0)) / 86400.0


def site_vector(lon, lat, h, radius):
    r = radius + h / 1000.0
    lon, lat = math.radians(lon), math.radians(lat)
    return r * np.array([math.cos(lat) * math.cos(lon), math.cos(lat) * math.sin(lon), math.sin(lat)])


class Sky:
    def __init__(self):
        self.de = De405()

    def position(self, name, mjd):
        de = self.de
        if name == "Earth":
            return de.earth(mjd)
        if name == "Moon":
            return de.earth(mjd) + de.body(mjd, De405.MOON)
        return de.body(mjd, {"Mars": MARS, "Jupiter": JUPITER}[name])

    def observer(self, where, mjd):
        if where == "moon":
            return self.position("Moon", mjd)
        if where == "moonsite":
            return self.position("Moon", mjd) + frame("moon", mjd) @ site_vector(*MOON_SITE, 1737.4)
        return self.position("Mars", mjd) + frame("mars", mjd) @ site_vector(*MARS_SITE, 3389.5)

    def seen(self, where, target, jd_ut):
        mjd = jd_ut + tt_minus_ut(jd_ut) - 2400000.5
        o = self.observer(where, mjd)
        tau = 0.0
        for _ in range(3):
            v = self.position(target, mjd - tau) - o
            tau = np.linalg.norm(v) / self.de.c
        return v, mjd

    def altitude_moonsite(self, jd_ut):
        """The Earth's apparent altitude at the lunar site: the Earth travels with the Moon,
        so light time and aberration cancel to under a second of arc and the apparent
        direction is the instantaneous one."""
        mjd = jd_ut + tt_minus_ut(jd_ut) - 2400000.5
        v = self.position("Earth", mjd) - self.observer("moonsite", mjd)
        up = frame("moon", mjd) @ site_vector(*MOON_SITE, 1.0)
        return math.degrees(math.asin(up @ v / np.linalg.norm(v) / np.linalg.norm(up)))


def crossings(sky, jd0, span):
    out, step = [], 0.25
    t, h = jd0, sky.altitude_moonsite(jd0)
    while t < jd0 + span:
        t2, h2 = t + step, sky.altitude_moonsite(t + step)
        if (h < 0) != (h2 < 0):
            a, b = t, t2
            for _ in range(30):
                m = 0.5 * (a + b)
                if (sky.altitude_moonsite(m) < 0) == (h < 0):
                    a = m
                else:
                    b = m
            out.append(("rise" if h < 0 else "set", 0.5 * (a + b)))
        t, h = t2, h2
    return out


def main():
    sky = Sky()
    print("# observer (moon: centre; mars: site %s), target, UT Julian Day, astrometric J2000 RA (h), Dec (deg)"
          % (MARS_SITE,))
    print("# riseset: the Earth's rise and set at the lunar site %s after the instant (UT Julian Days)" % (MOON_SITE,))
    for k in range(6):
        jd = 2460400.5 + 371.3 * k + 0.37
        for where in ("moon", "mars"):
            for target in ("Earth", "Jupiter"):
                v, _ = sky.seen(where, target, jd)
                ra = math.degrees(math.atan2(v[1], v[0])) % 360.0 / 15.0
                dec = math.degrees(math.asin(v[2] / np.linalg.norm(v)))
                print("place %-5s %-8s %.5f %.9f %.8f" % (where, target, jd, ra, dec))
    for jd in (2460400.5, 2460700.5):
        events = crossings(sky, jd, 40.0)
        rise = next(t for kind, t in events if kind == "rise")
        set_ = next(t for kind, t in events if kind == "set" and t > rise)
        print("riseset %.5f %.6f %.6f" % (jd, rise, set_))


if __name__ == "__main__":
    main()
