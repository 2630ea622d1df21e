#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Reference values for the later click-text lines, from ephemerides independent of the
library's: local apparent sidereal time from Skyfield (its built-in time scale, UT taken as
UT1); the light time and the phase angle from JPL's DE405 (Debian's
casacore-data-jpl-de405, read as tools/zvacl_reference.py does), each body taken where it
was when the light left it; and from PyEphem the true altitude (turned into airmass by
Kasten and Young 1989, the same definition the sky answers) and the next rise, transit and
set (refraction of 34' at the horizon, upper limb of the Sun and the Moon, as the sky's
rise and set tables are made).

Run with Debian's interpreter (python3-ephem, python3-skyfield, python3-casacore and
casacore-data-jpl-de405 are Debian packages):
    /usr/bin/python3 tools/skylines/make_reference.py tests/data/skylines/reference.txt
The instants come from a seeded generator, so the table only changes with this script.
"""
import math
import random
import sys

import os

import ephem
import numpy as np
from skyfield.api import load

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from zvacl_reference import De405  # noqa: E402

DUBLIN_JD = 2415020.0  # ephem's day 0

SITES = [  # name, east longitude, latitude, height (m)
    ("tokyo", 139.745, 35.654, 40.0),
    ("greenwich", -0.0015, 51.4769, 46.0),
    ("santiago", -70.6483, -33.4489, 570.0),
]

# DE405's records of the planets: first coefficient, per component, sub-intervals.
DE405_PLANETS = {ephem.Mercury: (3, 14, 4), ephem.Venus: (171, 10, 2), ephem.Mars: (309, 11, 1),
                 ephem.Jupiter: (342, 8, 1), ephem.Saturn: (366, 7, 1), ephem.Uranus: (387, 6, 1),
                 ephem.Neptune: (405, 6, 1)}

# The sky's path of each object, and how PyEphem makes it. Sirius at its J2000 place in the
# bundled catalogue (HIP 32349).
OBJECTS = [
    ("Solar.Sun", ephem.Sun), ("Solar.Planet.Earth.Satellite.Moon", ephem.Moon),
    ("Solar.Planet.Mercury", ephem.Mercury), ("Solar.Planet.Venus", ephem.Venus),
    ("Solar.Planet.Mars", ephem.Mars), ("Solar.Planet.Jupiter", ephem.Jupiter),
    ("Solar.Planet.Saturn", ephem.Saturn), ("Solar.Planet.Uranus", ephem.Uranus),
    ("Solar.Planet.Neptune", ephem.Neptune), ("Star.HIP.32349", None),
]


def sirius():
    s = ephem.FixedBody()
    s._ra = math.radians(101.28720)
    s._dec = math.radians(-16.71610)
    s._epoch = ephem.J2000
    return s


def observer(site, jd):
    o = ephem.Observer()
    o.lon = math.radians(site[1])
    o.lat = math.radians(site[2])
    o.elevation = site[3]
    o.pressure = 0.0  # true altitudes; the horizon below carries the refraction
    o.date = ephem.Date(jd - DUBLIN_JD)
    o.epoch = ephem.J2000
    return o


def kasten_young(alt):
    return 1.0 / (math.sin(math.radians(alt)) + 0.50572 * (alt + 6.07995) ** -1.6364)


def next_event(fn, body):
    try:
        return float(fn(body)) + DUBLIN_JD
    except (ephem.AlwaysUpError, ephem.NeverUpError):
        return float("nan")


def light_time_and_phase(de, make, mjd):
    """Seconds light takes from the body, where it was when the light left it, to the
    Earth's centre, and the Sun-body-Earth angle there (NaN for the Sun); mjd in TDB."""
    def body(t):
        if make is ephem.Sun:
            return de.body(t, de.SUN)
        if make is ephem.Moon:
            return de.earth(t) + de.body(t, de.MOON)
        return de.body(t, DE405_PLANETS[make])
    earth = de.earth(mjd)
    tau = 0.0
    for _ in range(5):
        b = body(mjd - tau)
        tau = np.linalg.norm(b - earth) / de.c
    if make is ephem.Sun:
        return tau * 86400.0, float("nan")
    to_sun, to_earth = de.body(mjd - tau, de.SUN) - b, earth - b
    cos_i = np.dot(to_sun, to_earth) / (np.linalg.norm(to_sun) * np.linalg.norm(to_earth))
    return tau * 86400.0, math.degrees(math.acos(max(-1.0, min(1.0, cos_i))))


def main(path):
    ts = load.timescale(builtin=True)
    de = De405()
    rng = random.Random(17)
    with open(path, "w") as out:
        out.write("# jd_ut site path lst_h airmass light_s phase_deg next_rise next_transit next_set\n")
        out.write("# airmass nan below 10 degrees; light time and phase angle nan for a star\n")
        for n in range(12):
            jd = round(2447892.5 + rng.random() * 50 * 365.25, 5)  # 1990 to 2040, inside DE405
            site = SITES[n % len(SITES)]
            lst = (ts.ut1_jd(jd).gast + site[1] / 15.0) % 24.0
            for path, make in OBJECTS:
                o = observer(site, jd)
                b = make() if make else sirius()
                b.compute(o)
                alt = math.degrees(float(b.alt))
                airmass = kasten_young(alt) if alt > 10.0 else float("nan")
                light = phase = float("nan")
                if make:
                    light, phase = light_time_and_phase(de, make, ts.ut1_jd(jd).tdb - 2400000.5)
                o.horizon = "-0:34"
                events = [next_event(o.next_rising, b), next_event(o.next_transit, b), next_event(o.next_setting, b)]
                out.write("%.5f %s %s %.9f %.6f %.5f %.5f %.6f %.6f %.6f\n" % (
                    (jd, site[0], path, lst, airmass, light, phase) + tuple(events)))


if __name__ == "__main__":
    main(sys.argv[1])
