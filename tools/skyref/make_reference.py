#!/usr/bin/python3
"""Reference places of the Sun, the Moon, the planets and Pluto from PyEphem, an
ephemeris independent of the library's, for the built-in sky's accuracy tests.

Run with Debian's interpreter (python3-ephem is a Debian package):
    /usr/bin/python3 tools/skyref/make_reference.py tests/data/sky

Writes sites.txt, positions.txt, events.txt and clicks.txt; both are plain whitespace-separated tables with a
'#' header naming the columns. Instants are fixed (a seeded generator), so the tables
only change when this script does.
"""
import math
import os
import random
import sys

import ephem

DUBLIN_JD = 2415020.0  # ephem's day 0

SITES = [  # name, east longitude, latitude, height (m)
    ("tokyo", 139.745, 35.654, 40.0),
    ("greenwich", -0.0015, 51.4769, 46.0),
    ("santiago", -70.6483, -33.4489, 570.0),
    ("tromso", 18.9553, 69.6492, 10.0),
    ("mauna_kea", -155.4681, 19.8207, 4205.0),
]

BODIES = [
    ("Sun", ephem.Sun), ("Moon", ephem.Moon), ("Mercury", ephem.Mercury),
    ("Venus", ephem.Venus), ("Mars", ephem.Mars), ("Jupiter", ephem.Jupiter),
    ("Saturn", ephem.Saturn), ("Uranus", ephem.Uranus), ("Neptune", ephem.Neptune),
    ("Pluto", ephem.Pluto),
]


def observer(site, jd):
    o = ephem.Observer()
    o.lon = math.radians(site[1])
    o.lat = math.radians(site[2])
    o.elevation = site[3]
    o.pressure = 0.0  # no refraction: the host answers the true altitude
    o.date = ephem.Date(jd - DUBLIN_JD)
    o.epoch = ephem.J2000
    return o


def deg(a):
    return math.degrees(float(a))


def instants(count, seed, first, last):
    rng = random.Random(seed)
    jd0 = 2433282.5 + (first - 1950) * 365.25
    span = (last - first) * 365.25
    return [round(jd0 + rng.random() * span, 5) for _ in range(count)]


def positions(out):
    out.write("# jd_ut site body ra_j2000_h dec_j2000 ra_app_h dec_app alt az_south "
              "mag dist_au helio_au size_arcsec phase_pct delta_t_s\n")
    for n, jd in enumerate(instants(50, 12, 1950, 2050)):
        site = SITES[n % len(SITES)]
        for name, cls in BODIES:
            o = observer(site, jd)
            b = cls(o)
            az_south = (deg(b.az) + 180.0) % 360.0
            helio = b.sun_distance if name != "Sun" else 0.0
            out.write("%.5f %s %s %.9f %.8f %.9f %.8f %.6f %.6f %.3f %.9f %.9f %.4f %.4f %.3f\n" % (
                jd, site[0], name, deg(b.a_ra) / 15.0, deg(b.a_dec), deg(b.g_ra) / 15.0,
                deg(b.g_dec), deg(b.alt), az_south, b.mag, b.earth_distance, helio,
                b.size, b.phase, ephem.delta_t(o.date)))


def nearest_transit(o, b):
    nxt = o.next_transit(b)
    prv = o.previous_transit(b)
    return nxt if abs(nxt - o.date) < abs(o.date - prv) else prv


def events(out):
    out.write("# jd_ut site body rise transit set (UT JD; nan: none in the pass)\n")
    for n, jd in enumerate(instants(20, 34, 1990, 2040)):
        site = SITES[n % len(SITES)]
        for name, cls in BODIES[:2] + [BODIES[4], BODIES[5]]:
            o = observer(site, jd)
            o.horizon = "-0:34"
            b = cls()
            transit = nearest_transit(o, b)
            o.date = transit
            values = []
            for fn in (o.previous_rising, o.next_setting):
                try:
                    values.append(float(fn(b, start=transit)) + DUBLIN_JD)
                except (ephem.AlwaysUpError, ephem.NeverUpError):
                    values.append(float("nan"))
            out.write("%.5f %s %s %.6f %.6f %.6f\n" % (
                jd, site[0], name, values[0], float(transit) + DUBLIN_JD, values[1]))


def clicks(out):
    """Apparent places and horizon positions at one instant and site, for the click texts."""
    out.write("# jd_ut lon lat height object ra_app_h dec_app alt az_south\n")
    jd, site = 2461381.0, ("tokyo", 139.69, 35.69, 40.0)  # 2026-12-06 21:00 JST
    fixed = [("Star.HIP.32349", 101.28720, -16.71610), ("DeepSkyObject.M.42", 83.85, -5.45),
             ("Constellation.Ori", 84.0, 13.0)]
    bodies = [("Solar.Planet.Mars", ephem.Mars()), ("Solar.Planet.Earth.Satellite.Moon", ephem.Moon())]
    for name, ra, dec in fixed:
        b = ephem.FixedBody()
        b._ra, b._dec, b._epoch = math.radians(ra), math.radians(dec), ephem.J2000
        bodies.append((name, b))
    for name, b in bodies:
        o = observer(site, jd)
        b.compute(o)
        out.write("%.5f %.4f %.4f %.1f %s %.9f %.8f %.6f %.6f\n" % (
            jd, site[1], site[2], site[3], name, deg(b.g_ra) / 15.0, deg(b.g_dec), deg(b.alt),
            (deg(b.az) + 180.0) % 360.0))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "tests/data/sky"
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "sites.txt"), "w") as f:
        f.write("# site east_longitude latitude height_m\n")
        for s in SITES:
            f.write("%s %.4f %.4f %.1f\n" % s)
    with open(os.path.join(folder, "positions.txt"), "w") as f:
        positions(f)
    with open(os.path.join(folder, "events.txt"), "w") as f:
        events(f)
    with open(os.path.join(folder, "clicks.txt"), "w") as f:
        clicks(f)


if __name__ == "__main__":
    main()
