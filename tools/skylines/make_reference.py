#!/usr/bin/python3
"""Reference values for the later click-text lines, from ephemerides independent of the
library's: local apparent sidereal time from Skyfield (its built-in time scale, UT taken as
UT1), and from PyEphem the true altitude (turned into airmass by Kasten and Young 1989,
the same definition the sky answers), the light time from the light-time corrected
geocentric distance, the phase angle from the three distances, and the next rise, transit
and set (refraction of 34' at the horizon, upper limb of the Sun and the Moon, as the
sky's rise and set tables are made).

Run with Debian's interpreter (python3-ephem and python3-skyfield are Debian packages):
    /usr/bin/python3 tools/skylines/make_reference.py tests/data/skylines/reference.txt
The instants come from a seeded generator, so the table only changes with this script.
"""
import math
import random
import sys

import ephem
from skyfield.api import load

DUBLIN_JD = 2415020.0  # ephem's day 0
SECONDS_PER_AU = 499.00478384  # light, IAU 2012 au and c

SITES = [  # name, east longitude, latitude, height (m)
    ("tokyo", 139.745, 35.654, 40.0),
    ("greenwich", -0.0015, 51.4769, 46.0),
    ("santiago", -70.6483, -33.4489, 570.0),
]

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


def heliocentric(body):
    lon, lat, r = float(body.hlon), float(body.hlat), body.sun_distance
    return (r * math.cos(lat) * math.cos(lon), r * math.cos(lat) * math.sin(lon), r * math.sin(lat))


def light_time(make, site, jd):
    """Seconds light takes from the body, where it was when the light left, to the
    Earth's centre now. PyEphem's earth_distance is the geometric one; the Sun's hlon,
    hlat and distance are the Earth's heliocentric place."""
    o = observer(site, jd)
    sun = ephem.Sun()
    sun.compute(o)
    if make is ephem.Sun:
        return sun.earth_distance * SECONDS_PER_AU
    if make is ephem.Moon:  # it moves with the Earth: the difference is far below a millisecond
        b = make()
        b.compute(o)
        return b.earth_distance * SECONDS_PER_AU
    lon, lat, big_r = float(sun.hlon), float(sun.hlat), sun.earth_distance
    earth = (big_r * math.cos(lat) * math.cos(lon), big_r * math.cos(lat) * math.sin(lon), big_r * math.sin(lat))
    tau = 0.0
    for _ in range(4):
        b = make()
        b.compute(ephem.Date(jd - tau / 86400.0 - DUBLIN_JD), epoch=ephem.J2000)
        tau = math.dist(heliocentric(b), earth) * SECONDS_PER_AU
    return tau


def main(path):
    ts = load.timescale(builtin=True)
    rng = random.Random(17)
    with open(path, "w") as out:
        out.write("# jd_ut site path lst_h airmass light_s phase_deg next_rise next_transit next_set\n")
        out.write("# airmass nan below 10 degrees; light time and phase angle nan for a star\n")
        for n in range(12):
            jd = round(2447892.5 + rng.random() * 50 * 365.25, 5)  # 1990 to 2040
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
                    light = light_time(make, site, jd)
                    sun = ephem.Sun()
                    sun.compute(o)
                    delta, big_r = b.earth_distance, sun.earth_distance
                    if make is ephem.Moon:
                        # Three distances would leave the Moon's angle ill-conditioned: from
                        # the elongation instead.
                        psi = abs(float(b.elong))
                        phase = math.degrees(math.atan2(big_r * math.sin(psi), delta - big_r * math.cos(psi)))
                    elif make is not ephem.Sun:
                        r = b.sun_distance
                        phase = math.degrees(math.acos((r * r + delta * delta - big_r * big_r) / (2 * r * delta)))
                o.horizon = "-0:34"
                events = [next_event(o.next_rising, b), next_event(o.next_transit, b), next_event(o.next_setting, b)]
                out.write("%.5f %s %s %.9f %.6f %.5f %.5f %.6f %.6f %.6f\n" % (
                    (jd, site[0], path, lst, airmass, light, phase) + tuple(events)))


if __name__ == "__main__":
    main(sys.argv[1])
