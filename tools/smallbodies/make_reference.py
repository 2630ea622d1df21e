#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Reference places of comets and minor planets by PyEphem (Debian python3-ephem) from the
same elements the sky ships (data/mpcorb.txt, data/cometels.txt), read here from their
fixed columns and handed to PyEphem in its own element form:
J2000 astrometric geocentric RA and Dec and the magnitude at 10 instants within two years
of each body's epoch.

PyEphem keeps elements in single precision and loses 10-20" on two of these orbits (Hale-Bopp
25 years after perihelion, e = 0.995; the parabola of C/2018 F3). For those two the orbit is
propagated by Skyfield's two-body code instead (python3-skyfield), seen from PyEphem's
Earth with the same light time; the last column names the source of each row.

    /usr/bin/python3 tools/smallbodies/make_reference.py > tests/data/smallbodies/reference.txt
"""
import math
import os

import ephem
import numpy as np
from skyfield.api import load
from skyfield.constants import GM_SUN_Pitjeva_2005_km3_s2 as GM_SUN
from skyfield.keplerlib import _KeplerOrbit

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "..", "data")
DUBLIN = 2415020.0  # PyEphem's day 0 as a Julian Day
GAUSS_DEG = 0.9856076686

SKYFIELD = {"C/1995 O1", "C/2018 F3"}
TS = load.timescale(builtin=True)
EPS = math.radians(23.4392911)
TO_EQUATOR = np.array([[1, 0, 0], [0, math.cos(EPS), -math.sin(EPS)], [0, math.sin(EPS), math.cos(EPS)]])

ORBITS = {}  # path: Skyfield's orbit, for the bodies of SKYFIELD

MINOR = ["1", "2", "4", "433", "588", "2060", "136199", "2022 OU15"]
COMETS = ["1P", "2P", "7P", "12P", "2I", "C/1995 O1", "C/2019 V1", "C/2020 Q1",
          "C/2017 S3", "C/2017 U4", "C/2018 F3", "C/2021 L3"]


def col(line, a, b):
    return line[a - 1:b].strip()


def jd(y, m, d):
    if m <= 2:
        y, m = y - 1, m + 12
    a = y // 100
    return math.floor(365.25 * (y + 4716)) + math.floor(30.6001 * (m + 1)) + d + 2 - a + a // 4 - 1524.5


def unpack_epoch(p):
    b62 = "0123456789ABCDEFGHIJKLMNOPQRSTUV"
    return jd({"I": 1800, "J": 1900, "K": 2000}[p[0]] + int(p[1:3]), b62.index(p[3]), b62.index(p[4]))


def minor_planets():
    found = {}
    for line in open(os.path.join(DATA, "mpcorb.txt")):
        readable = col(line, 167, 194)
        key = readable[1:readable.index(")")] if readable.startswith("(") else readable
        if key not in MINOR:
            continue
        b = ephem.EllipticalBody()
        b._inc, b._Om, b._om = float(col(line, 60, 68)), float(col(line, 49, 57)), float(col(line, 38, 46))
        b._a, b._e, b._M = float(col(line, 93, 103)), float(col(line, 71, 79)), float(col(line, 27, 35))
        epoch = unpack_epoch(col(line, 21, 25))
        b._epoch_M = ephem.Date(epoch - DUBLIN)
        b._epoch = ephem.Date("2000/1/1.5")
        b._H = float(col(line, 9, 13))
        b._G = float(col(line, 15, 19)) if col(line, 15, 19) else 0.15
        path = "Solar.MinorPlanet." + key.replace(" ", "")
        found[key] = (path, b, epoch)
    return [found[k] for k in MINOR]


def comets():
    found = {}
    for line in open(os.path.join(DATA, "cometels.txt")):
        name = col(line, 103, 158)
        design = name.split("/")[0] if name[0].isdigit() else name.split(" (")[0]
        if design not in COMETS:
            continue
        tp = jd(int(col(line, 15, 18)), int(col(line, 20, 21)), float(col(line, 23, 29)))
        q, e = float(col(line, 31, 39)), float(col(line, 42, 49))
        w, node, inc = float(col(line, 52, 59)), float(col(line, 62, 69)), float(col(line, 72, 79))
        ep = col(line, 82, 89)
        epoch = jd(int(ep[:4]), int(ep[4:6]), int(ep[6:8])) if ep else tp
        if e < 1.0:
            b = ephem.EllipticalBody()
            b._a, b._e, b._M = q / (1.0 - e), e, 0.0
            b._epoch_M = ephem.Date(tp - DUBLIN)
        elif e == 1.0:
            b = ephem.ParabolicBody()
            b._epoch_p = ephem.Date(tp - DUBLIN)
        else:
            b = ephem.HyperbolicBody()
            b._e = e
            b._epoch_p = ephem.Date(tp - DUBLIN)
        if e >= 1.0:
            b._q = q
        b._inc, b._Om, b._om = inc, node, w
        b._epoch = ephem.Date("2000/1/1.5")
        b._g, b._k = float(col(line, 92, 95)), float(col(line, 97, 100))
        path = "Solar.Comet." + design.replace("/", "").replace(" ", "")
        if design in SKYFIELD:
            ORBITS[path] = _KeplerOrbit._from_periapsis(q * (1 + e), e, inc, node, w, TS.tt_jd(tp), GM_SUN, 10, 0)
        found[design] = (path, b, epoch)
    return [found[k] for k in COMETS]


def skyfield_place(orbit, t):
    """Astrometric J2000 RA and Dec (radians) of a Skyfield orbit from PyEphem's Earth."""
    sun = ephem.Sun()
    sun.compute(ephem.Date(t - DUBLIN), epoch=ephem.J2000)
    ra, dec, r = sun.a_ra, sun.a_dec, sun.earth_distance
    earth = -r * np.array([math.cos(dec) * math.cos(ra), math.cos(dec) * math.sin(ra), math.sin(dec)])
    tt = TS.ut1_jd(t).tt
    tau = 0.0
    for _ in range(3):
        geo = TO_EQUATOR @ orbit.at(TS.tt_jd(tt - tau)).position.au - earth
        tau = np.linalg.norm(geo) * 0.0057755183
    return math.atan2(geo[1], geo[0]) % (2 * math.pi), math.asin(geo[2] / np.linalg.norm(geo))


def main():
    print("# path, UT Julian Day, J2000 astrometric RA (hours), Dec (degrees), magnitude (PyEphem %s)"
          % ephem.__version__)
    for path, body, epoch in minor_planets() + comets():
        for k in range(10):
            t = epoch - 730.0 + 146.0 * k + 37.3
            body.compute(ephem.Date(t - DUBLIN), epoch=ephem.J2000)
            ra, dec, source = body.a_ra, body.a_dec, "pyephem"
            if path in ORBITS:
                ra, dec = skyfield_place(ORBITS[path], t)
                source = "skyfield"
            print("%-22s %.5f %.9f %.8f %6.2f %s" % (path, t, ra / math.pi * 12.0, dec / math.pi * 180.0,
                                                    body.mag, source))


if __name__ == "__main__":
    main()
