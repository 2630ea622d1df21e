#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Reference answers from PyEphem for the objects and instants on which the built-in sky
and a running Stellarium are held against each other (tests/stellarium/TwoSkiesTest.cpp):
where the two disagree, the reference tells which one is right.

The stars are PyEphem's own (its catalogue's places, proper motions and magnitudes), so
they judge the built-in catalogue too; deep-sky objects are taken at the places of
data/deepsky.zct (PyEphem has none), so they judge the reduction to the instant only, and
have no magnitude here (nan). Planet magnitudes follow Mallama and Hilton (2018), the
Moon's Allen's phase law, as in tools/skyref; the rest is PyEphem's.

    /usr/bin/python3 tools/twoskies/make_reference.py tests/data/twoskies/reference.txt
"""
import math
import os
import sys

import ephem

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "skyref"))
sys.path.insert(0, os.path.join(HERE, "..", "catalogs"))
from make_reference import DUBLIN_JD, deg, mallama_magnitude, moon_magnitude, nearest_transit, observer  # noqa: E402
from zct import read_table  # noqa: E402

SITE = ("tokyo", 139.745, 35.654, 40.0)
INSTANTS = [2460755.0, 2460940.25, 2461120.6, 2461381.0, 2461560.4]  # UT, 2025-2027
BODIES = ["Sun", "Moon", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune"]
STARS = [(32349, "Sirius"), (30438, "Canopus"), (69673, "Arcturus"), (91262, "Vega"), (24608, "Capella"),
         (24436, "Rigel"), (37279, "Procyon"), (7588, "Achernar"), (97649, "Altair"), (21421, "Aldebaran"),
         (65474, "Spica"), (80763, "Antares"), (37826, "Pollux"), (113368, "Fomalhaut"), (102098, "Deneb"),
         (49669, "Regulus"), (36850, "Castor"), (11767, "Polaris"), (54061, "Dubhe"), (46390, "Alphard")]
DEEP_SKY = [("NGC", 224), ("NGC", 1976), ("NGC", 6205), ("NGC", 6720), ("NGC", 1952),
            ("NGC", 5194), ("NGC", 3031), ("NGC", 4594), ("NGC", 7000), ("NGC", 869)]


def fixed(ra, dec):
    b = ephem.FixedBody()
    b._ra, b._dec, b._epoch = math.radians(ra), math.radians(dec), ephem.J2000
    return b


def objects(data):
    for name in BODIES:
        path = "Solar.Sun" if name == "Sun" else (
            "Solar.Planet.Earth.Satellite.Moon" if name == "Moon" else "Solar.Planet." + name)
        yield path, name, getattr(ephem, name)()
    for hip, name in STARS:
        star = ephem.star(name)
        star.compute()
        yield "Star.HIP.%d" % hip, None, (star, star.mag)
    dsos = {r["id"]: r for r in read_table(os.path.join(data, "deepsky.zct"))}
    for cat, number in DEEP_SKY:
        d = dsos["%s %d" % (cat, number)]
        yield "DeepSkyObject.%s.%d" % (cat, number), None, (fixed(d["ra"], d["dec"]), float("nan"))


def events(jd, body):
    """Rise, transit and set of the pass whose transit is nearest, the upper limb 34' below
    the true horizon (nan: none)."""
    o = observer(SITE, jd)
    o.horizon = "-0:34"
    transit = nearest_transit(o, body)
    o.date = transit
    out = []
    for fn in (o.previous_rising, o.next_setting):
        try:
            out.append(float(fn(body, start=transit)) + DUBLIN_JD)
        except (ephem.AlwaysUpError, ephem.NeverUpError):
            out.append(float("nan"))
    return out[0], float(transit) + DUBLIN_JD, out[1]


def main():
    target = sys.argv[1] if len(sys.argv) > 1 else "tests/data/twoskies/reference.txt"
    data = os.path.join(HERE, "..", "..", "data")
    os.makedirs(os.path.dirname(target), exist_ok=True)
    rows = []
    for jd in INSTANTS:
        for path, planet, body in objects(data):
            mag = None
            if planet is None:
                body, mag = body
            o = observer(SITE, jd)
            body.compute(o)
            if planet == "Sun":
                mag = body.mag
            elif planet == "Moon":
                mag = moon_magnitude(body, ephem.Sun(o))
            elif planet:
                mag = mallama_magnitude(planet, body, ephem.Sun(o), jd, ephem.delta_t(o.date))
            place = (deg(body.a_ra) / 15.0, deg(body.a_dec), deg(body.g_ra) / 15.0, deg(body.g_dec),
                     deg(body.alt), (deg(body.az) + 180.0) % 360.0)
            rows.append("%.5f %-33s %.9f %.8f %.9f %.8f %.6f %.6f %.6f %.6f %.6f %.3f" % (
                (jd, path) + place + events(jd, body) + (mag,)))
    with open(target, "w") as f:
        f.write("# PyEphem %s at %s (%.3f E, %.3f N, %.0f m); tools/twoskies/make_reference.py\n"
                % ((ephem.__version__,) + SITE))
        f.write("# jd_ut path ra_j2000_h dec_j2000 ra_app_h dec_app alt az_south "
                "rise transit set (UT JD) mag\n")
        f.write("\n".join(rows) + "\n")


if __name__ == "__main__":
    main()
