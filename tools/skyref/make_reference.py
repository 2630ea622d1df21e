#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Reference places of the Sun, the Moon, the planets and Pluto from PyEphem, an
ephemeris independent of the library's, for the built-in sky's accuracy tests.

Two columns come from elsewhere, because PyEphem's own are not good enough to test
against:
- Pluto's J2000 and apparent places inside 1960-2060 come from JPL's DE405 (Debian's
  casacore-data-jpl-de405, read as tools/zvacl_reference.py does); PyEphem's Pluto drifts
  from DE405 by up to 14" over that span.
- The Moon's magnitude follows its phase law in Allen's Astrophysical Quantities;
  PyEphem's scales the full Moon by the lit area alone.
- The magnitudes of Mercury to Neptune follow Mallama and Hilton (2018), the model of the
  Astronomical Almanac, evaluated by python3-skyfield's magnitude routines on PyEphem's
  geometry. PyEphem's magnitudes of Mercury, Venus and Mars differ by up to 0.3 between
  instants of equal phase angle and distances, so no model can be tested against them.

Run with Debian's interpreter (python3-ephem is a Debian package):
    /usr/bin/python3 tools/skyref/make_reference.py tests/data/sky

Writes sites.txt, positions.txt, events.txt, clicks.txt and eclipses.txt; all are plain whitespace-separated tables with a
'#' header naming the columns. Instants are fixed (a seeded generator), so the tables
only change when this script does.
"""
import math
import os
import random
import sys

import ephem
import erfa
import numpy as np
from skyfield import magnitudelib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from zvacl_reference import De405  # noqa: E402

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


PLUTO = (423, 6, 1)  # DE405's Pluto record: first coefficient, per component, sub-intervals
KM_PER_AU = 149597870.7


def radec(v):
    """Right ascension (hours) and declination (degrees) of a vector."""
    ra = math.degrees(math.atan2(v[1], v[0])) % 360.0
    return ra / 15.0, math.degrees(math.asin(v[2] / np.linalg.norm(v)))


def pluto_de405(de, jd_ut, delta_t):
    """Pluto's astrometric J2000 and apparent (true equator and equinox of date) places
    from DE405, or None outside its span: light time, annual aberration, then IAU
    1976/1980 precession and nutation, as the PyEphem places are reduced."""
    mjd = jd_ut + delta_t / 86400.0 - 2400000.5
    if not de.first + 1.0 <= mjd <= de.last - 1.0:
        return None
    earth = de.earth(mjd)
    tau = 0.0
    for _ in range(3):
        p = de.body(mjd - tau, PLUTO) - earth
        tau = np.linalg.norm(p) / de.c
    v = (de.earth(mjd + 0.001) - de.earth(mjd - 0.001)) / 0.002 / de.c  # units of c
    sun = np.linalg.norm(de.body(mjd, De405.SUN) - earth) / KM_PER_AU
    u = erfa.ab(p / np.linalg.norm(p), v, sun, math.sqrt(1.0 - v @ v))
    app = erfa.pnm80(2400000.5, mjd) @ u
    return radec(p) + radec(app)


def unit(ra_h, dec_deg):
    a, d = math.radians(ra_h * 15.0), math.radians(dec_deg)
    return np.array([math.cos(d) * math.cos(a), math.cos(d) * math.sin(a), math.sin(d)])


def sub_latitude(pole, v):
    """Planetocentric latitude of the direction -v (from the planet towards v's origin)."""
    return 90.0 - math.degrees(math.acos(np.clip(pole @ (-v / np.linalg.norm(v)), -1.0, 1.0)))


# Poles (IAU, J2000 equatorial) for the ring tilt of Saturn and the sub-latitudes of Uranus.
SATURN_POLE = unit(40.589 / 15.0, 83.537)
URANUS_POLE = unit(257.311 / 15.0, -15.175)


def geometry(planet, sun):
    """The body's distances from the Sun and the Earth (au), its phase angle (degrees) and
    the two vectors (J2000 equatorial au). planet, sun: PyEphem bodies computed for the
    observer."""
    earth_to_planet = unit(deg(planet.a_ra) / 15.0, deg(planet.a_dec)) * planet.earth_distance
    sun_to_earth = -unit(deg(sun.a_ra) / 15.0, deg(sun.a_dec)) * sun.earth_distance
    sun_to_planet = sun_to_earth + earth_to_planet
    r, delta = np.linalg.norm(sun_to_planet), np.linalg.norm(earth_to_planet)
    i = math.degrees(math.acos(np.clip(sun_to_planet @ earth_to_planet / (r * delta), -1.0, 1.0)))
    return r, delta, i, sun_to_planet, earth_to_planet


def moon_magnitude(moon, sun):
    """The Moon's visual magnitude by its phase law in Allen's Astrophysical Quantities
    (the Explanatory Supplement to the Astronomical Almanac): V(1,0) = +0.21, phase
    coefficients 0.026 and 4e-9 a degree. PyEphem's own scales the full Moon by the lit
    area only, two magnitudes too bright at the quarters."""
    r, delta, i = geometry(moon, sun)[:3]
    return 0.21 + 5.0 * math.log10(r * delta) + 0.026 * i + 4.0e-9 * i ** 4


def mallama_magnitude(name, planet, sun, jd_ut, delta_t):
    """Mallama and Hilton (2018) for a planet seen from the Earth. planet, sun: PyEphem
    bodies computed for the observer; geometry in J2000 equatorial au."""
    r, delta, i, sun_to_planet, earth_to_planet = geometry(planet, sun)
    if name == "Saturn":
        return float(magnitudelib._saturn_magnitude(
            r, delta, i, sub_latitude(SATURN_POLE, sun_to_planet),
            sub_latitude(SATURN_POLE, earth_to_planet)))
    if name == "Uranus":
        return float(magnitudelib._uranus_magnitude(
            r, delta, i, sub_latitude(URANUS_POLE, sun_to_planet),
            sub_latitude(URANUS_POLE, earth_to_planet)))
    if name == "Neptune":
        year = 2000.0 + (jd_ut + delta_t / 86400.0 - 2451545.0) / 365.25
        return float(magnitudelib._neptune_magnitude(r, delta, i, year))
    return float(getattr(magnitudelib, "_%s_magnitude" % name.lower())(r, delta, i))


def positions(out):
    out.write("# Pluto's places inside 1960-2060 from DE405; magnitudes of Mercury to Neptune\n"
              "# by Mallama and Hilton (2018) (nan: outside the model's range), the Moon's by\n"
              "# Allen's phase law; all else PyEphem.\n")
    out.write("# jd_ut site body ra_j2000_h dec_j2000 ra_app_h dec_app alt az_south "
              "mag dist_au helio_au size_arcsec phase_pct delta_t_s\n")
    de = De405()
    for n, jd in enumerate(instants(50, 12, 1950, 2050)):
        site = SITES[n % len(SITES)]
        sun = ephem.Sun(observer(site, jd))
        for name, cls in BODIES:
            o = observer(site, jd)
            b = cls(o)
            dt = ephem.delta_t(o.date)
            places = (deg(b.a_ra) / 15.0, deg(b.a_dec), deg(b.g_ra) / 15.0, deg(b.g_dec))
            if name == "Pluto":
                places = pluto_de405(de, jd, dt) or places
            mag = moon_magnitude(b, sun) if name == "Moon" else b.mag
            if name not in ("Sun", "Moon", "Pluto"):
                mag = mallama_magnitude(name, b, sun, jd, dt)
            az_south = (deg(b.az) + 180.0) % 360.0
            helio = b.sun_distance if name != "Sun" else 0.0
            out.write("%.5f %s %s %.9f %.8f %.9f %.8f %.6f %.6f %.3f %.9f %.9f %.4f %.4f %.3f\n" % (
                (jd, site[0], name) + tuple(places) + (deg(b.alt), az_south, mag, b.earth_distance,
                                                       helio, b.size, b.phase, dt)))


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
    # Catalogue places as data/stars.zct and data/deepsky.zct hold them (Sirius with its
    # proper motion, mas a year, the one in RA times cos dec).
    fixed = [("Star.HIP.32349", 101.28720, -16.71610, -546.01, -1223.07),
             ("DeepSkyObject.M.42", 83.818667, -5.389667, 0.0, 0.0), ("Constellation.Ori", 84.0, 13.0, 0.0, 0.0)]
    bodies = [("Solar.Planet.Mars", ephem.Mars()), ("Solar.Planet.Earth.Satellite.Moon", ephem.Moon())]
    for name, ra, dec, pmra, pmdec in fixed:
        b = ephem.FixedBody()
        b._ra, b._dec, b._epoch = math.radians(ra), math.radians(dec), ephem.J2000
        b._pmra, b._pmdec = pmra, pmdec
        bodies.append((name, b))
    for name, b in bodies:
        o = observer(site, jd)
        b.compute(o)
        out.write("%.5f %.4f %.4f %.1f %s %.9f %.8f %.6f %.6f\n" % (
            jd, site[1], site[2], site[3], name, deg(b.g_ra) / 15.0, deg(b.g_dec), deg(b.alt),
            (deg(b.az) + 180.0) % 360.0))


ECLIPSES = [  # an instant during the eclipse (UT JD), east longitude, latitude, height (m)
    (2460409.2795, -96.797, 32.777, 140.0),   # 2024-04-08, total at Dallas
    (2460232.1903, -106.65, 35.08, 1500.0),   # 2023-10-14, annular at Albuquerque
    (2462653.8400, 139.745, 35.654, 40.0),    # 2030-06-01, partial at Tokyo
]


def eclipses(out):
    """Local circumstances of solar eclipses: the contacts where the topocentric separation
    of the centres equals the sum (1st, 4th) or the difference (2nd, 3rd) of the radii,
    and the least separation, found by bisection to 0.01 s; the horizon is ignored."""
    out.write("# jd_ut lon lat height c1 c2 max c3 c4 (UT JD; nan: no such contact)\n")
    for jd, lon, lat, h in ECLIPSES:
        site = ("", lon, lat, h)

        def gap(t, inner):
            o = observer(site, t)
            s, m = ephem.Sun(o), ephem.Moon(o)
            radii = abs(m.radius - s.radius) if inner else m.radius + s.radius
            return float(ephem.separation(s, m)) - radii

        def root(f, a, b):  # f(a) and f(b) of opposite signs
            fa = f(a)
            while b - a > 0.01 / 86400.0:
                c = 0.5 * (a + b)
                fc = f(c)
                if (fc < 0) == (fa < 0):
                    a, fa = c, fc
                else:
                    b = c
            return 0.5 * (a + b)

        assert gap(jd, False) < 0, "no eclipse at %.5f" % jd
        step = 10.0 / 1440.0
        t1 = jd
        while gap(t1, False) < 0:
            t1 -= step
        t4 = jd
        while gap(t4, False) < 0:
            t4 += step
        c1 = root(lambda t: gap(t, False), t1, t1 + step)
        c4 = root(lambda t: gap(t, False), t4 - step, t4)
        half = 0.5 / 86400.0
        mx = root(lambda t: gap(t + half, False) - gap(t - half, False), c1, c4)
        c2 = c3 = float("nan")
        if gap(mx, True) < 0:
            c2 = root(lambda t: gap(t, True), c1, mx)
            c3 = root(lambda t: gap(t, True), mx, c4)
        out.write("%.5f %.3f %.3f %.1f %.8f %.8f %.8f %.8f %.8f\n" % (jd, lon, lat, h, c1, c2, mx, c3, c4))


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
    with open(os.path.join(folder, "eclipses.txt"), "w") as f:
        eclipses(f)


if __name__ == "__main__":
    main()
