#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Writes tests/data/skychart/places.txt: where the Sun, the Moon, the planets and bright
stars stand for a few sites and instants, by PyEphem (Debian's python3-ephem), an
ephemeris independent of the library's, to check where the chart draws them.

    /usr/bin/python3 tools/skychart/make_reference.py > tests/data/skychart/places.txt

Altitudes are geometric (no refraction, as the chart's), topocentric; azimuths count from
the north through the east; RA and Dec are astrometric J2000 (topocentric). Objects within
2 degrees of the horizon are left out: there the answers may fairly differ by refraction
and by which edge of the disc is meant.
"""
import math

import ephem

SITES = {  # east longitude, latitude, height (m), standard zone (hours)
    "tokyo": (139.745, 35.654, 40.0, 9),
    "santiago": (-70.6483, -33.4489, 570.0, -4),
    "london": (-0.1276, 51.5072, 20.0, 0),
}
# A day and a night at each site, local standard time.
CASES = [
    ("tokyo", "2026-12-28T01:00"),
    ("tokyo", "2026-12-08T10:00"),
    ("santiago", "2026-03-01T22:00"),
    ("santiago", "2026-06-21T13:30"),
    ("london", "2026-08-25T23:00"),
    ("london", "2027-01-10T12:00"),
]
BODIES = [("Solar.Sun", ephem.Sun), ("Solar.Planet.Earth.Satellite.Moon", ephem.Moon)] + [
    ("Solar.Planet." + n, getattr(ephem, n))
    for n in ("Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune")]
STARS = [("Sirius", 32349), ("Canopus", 30438), ("Arcturus", 69673), ("Vega", 91262),
         ("Capella", 24608), ("Rigel", 24436), ("Betelgeuse", 27989), ("Altair", 97649),
         ("Aldebaran", 21421), ("Antares", 80763), ("Acrux", 60718), ("Deneb", 102098),
         ("Fomalhaut", 113368), ("Achernar", 7588)]
DUBLIN_JD = 2415020.0  # PyEphem's day 0


def towards(lon1, lat1, lon2, lat2, step=0.5):
    """The point step degrees from (lon1, lat1) towards (lon2, lat2) on their great circle."""
    a = [math.cos(lat1) * math.cos(lon1), math.cos(lat1) * math.sin(lon1), math.sin(lat1)]
    b = [math.cos(lat2) * math.cos(lon2), math.cos(lat2) * math.sin(lon2), math.sin(lat2)]
    d = sum(x * y for x, y in zip(a, b))
    t = [y - d * x for x, y in zip(a, b)]
    n = math.sqrt(sum(x * x for x in t))
    p = [x * math.cos(math.radians(step)) + y / n * math.sin(math.radians(step)) for x, y in zip(a, t)]
    return math.degrees(math.atan2(p[1], p[0])) % 360, math.degrees(math.asin(p[2]))


def main():
    print("# Places by PyEphem %s: case, site (east longitude, latitude, height m), local standard"
          % ephem.__version__)
    print("# time, UT Julian Day, object path, altitude and azimuth (degrees, geometric,")
    print("# from the north through the east), J2000 RA and Dec (degrees); the Moon's rows add")
    print("# the altitude, azimuth, RA and Dec of the point half a degree from it towards the")
    print("# Sun, where its bright limb faces. Made by tools/skychart/make_reference.py.")
    for case, local in CASES:
        site, lon, lat, height, zone = case, *SITES[case]
        o = ephem.Observer()
        o.lon, o.lat, o.elevation = math.radians(lon), math.radians(lat), height
        o.pressure = 0  # no refraction
        o.epoch = ephem.J2000
        o.date = ephem.Date(local.replace("T", " ")) - zone * ephem.hour
        jd = o.date + DUBLIN_JD
        objects = [(path, make()) for path, make in BODIES]
        objects += [("Star.HIP.%d" % hip, ephem.star(name)) for name, hip in STARS]
        for path, body in objects:
            body.compute(o)
            alt, az = math.degrees(body.alt), math.degrees(body.az)
            if abs(alt) < 2:
                continue
            row = "%s-%s\t%.4f\t%.4f\t%.0f\t%s\t%.6f\t%s\t%.4f\t%.4f\t%.4f\t%.4f" % (
                site, "day" if objects[0][1].alt > 0 else "night", lon, lat, height, local, jd,
                path, alt, az, math.degrees(body.a_ra), math.degrees(body.a_dec))
            if path.endswith("Moon"):
                sun = objects[0][1]
                az2, alt2 = towards(body.az, body.alt, sun.az, sun.alt)
                ra2, dec2 = towards(body.a_ra, body.a_dec, sun.a_ra, sun.a_dec)
                row += "\t%.4f\t%.4f\t%.4f\t%.4f" % (alt2, az2, ra2, dec2)
            print(row)


main()
