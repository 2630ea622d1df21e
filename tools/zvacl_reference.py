#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Writes the reference tables that the zvacl tests compare against.

The values come from independent ephemeris software packaged by Debian:
PyEphem (python3-ephem), astropy with ERFA (python3-astropy, python3-erfa), and JPL's
DE405 read through casacore (python3-casacore, casacore-data-jpl-de405).
Run it with Debian's own interpreter:

    /usr/bin/python3 tools/zvacl_reference.py [output-folder]

The default output folder is tests/data/zvacl beside this script. The tests read the
tables only; they never need Python. Every table starts with '#' comment lines that
say what its columns hold.
"""
import math
import os
import sys
import warnings

import numpy as np

warnings.filterwarnings("ignore")

import ephem  # noqa: E402
import erfa  # noqa: E402

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "ephemeris"))
import de405reader  # noqa: E402
from astropy import units as u  # noqa: E402
from astropy.coordinates import (  # noqa: E402
    GeocentricTrueEcliptic, HeliocentricMeanEcliptic, ICRS, SkyCoord, get_body_barycentric,
    get_sun)
from astropy.time import Time  # noqa: E402

DUBLIN = 2415020.0  # PyEphem dates count days from this JD
JD1900 = 2415020.5  # 1900 January 1, 0h
JD2101 = 2488434.5  # 2101 January 1, 0h


def write(folder, name, header, rows):
    path = os.path.join(folder, name)
    with open(path, "w") as f:
        for line in header:
            f.write("# " + line + "\n")
        for row in rows:
            f.write(row + "\n")
    print("wrote", path, len(rows), "rows")


def moon_phases_pyephem():
    """Every principal phase 1900-2100 as a JD in TT (PyEphem's instant in UT plus the
    Delta T PyEphem itself used, which gives back its dynamical time)."""
    finders = [ephem.next_new_moon, ephem.next_first_quarter_moon,
               ephem.next_full_moon, ephem.next_last_quarter_moon]
    d = ephem.next_new_moon(ephem.Date(JD1900 - DUBLIN))
    rows = []
    kind = 0
    while float(d) + DUBLIN < JD2101:
        tt = float(d) + DUBLIN + ephem.delta_t(d) / 86400.0
        rows.append("%.6f" % (tt - 2400000.0))
        kind = (kind + 1) % 4
        d = finders[kind](ephem.Date(float(d) + 1.0))
    return rows


class De405(de405reader.De405):
    """DE405 with the elongation the phase tables need."""

    def elongation(self, mjd):
        """Apparent geocentric ecliptic longitude of the Moon minus that of the Sun. Each
        body is taken at the time its light left it, relative to the Earth at that time
        (which accounts for aberration to first order); nutation moves both longitudes
        alike and drops out."""
        moon = self.body(mjd, self.MOON)
        moon = self.body(mjd - np.linalg.norm(moon) / self.c, self.MOON)
        sun = self.body(mjd, self.SUN) - self.earth(mjd)
        back = mjd - np.linalg.norm(sun) / self.c
        sun = self.body(back, self.SUN) - self.earth(back)
        rot = erfa.ecm06(2400000.5, mjd)  # ICRS to the mean ecliptic and equinox of date
        m, s = rot @ moon, rot @ sun
        return math.degrees(math.atan2(m[1], m[0]) - math.atan2(s[1], s[0]))


def moon_phases_de405(pyephem_rows):
    """Every principal phase inside DE405's span, found from the PyEphem instants."""
    de = De405()
    rows = []
    for i, r in enumerate(pyephem_rows):
        mjd = float(r) + 2400000.0 - 2400000.5
        if not de.first + 1.0 < mjd < de.last - 1.0:
            continue
        for _ in range(6):
            err = (de.elongation(mjd) - (i % 4) * 90.0 + 180.0) % 360.0 - 180.0
            mjd -= err / 12.190749
        rows.append("%d %.6f" % (i % 4, mjd + 0.5))
    return rows


def sun_longitudes():
    """The Earth's heliocentric longitude and radius on the mean ecliptic and equinox of
    date (IAU 2006), from ERFA's Earth ephemeris."""
    jd = np.arange(JD1900 + 0.25, JD2101, 40.37)
    t = Time(jd, format="jd", scale="tt")
    earth = get_body_barycentric("earth", t)
    c = SkyCoord(ICRS(earth), obstime=t)
    h = c.transform_to(HeliocentricMeanEcliptic(obstime=t, equinox=t))
    return ["%.4f %.7f %.9f" % (j - 2400000.0, l, r)
            for j, l, r in zip(jd, h.lon.deg, h.distance.to(u.au).value)]


def equinoxes_solstices():
    """Instants (JD TT) at which the Sun's apparent geocentric longitude is 0, 90, 180 and
    270 degrees, 1900-2100."""
    jd, target = [], []
    for year in range(1900, 2101):
        for k, month in enumerate((3, 6, 9, 12)):
            jd.append(Time("%d-%02d-21" % (year, month), scale="tt").jd)
            target.append(k * 90.0)
    jd = np.array(jd)
    target = np.array(target)
    for _ in range(5):
        t = Time(jd, format="jd", scale="tt")
        lon = get_sun(t).transform_to(GeocentricTrueEcliptic(equinox=t)).lon.deg
        err = (lon - target + 180.0) % 360.0 - 180.0
        jd = jd - err / 0.9856473
    return ["%d %.6f" % (int(k) // 90, j - 2400000.0) for k, j in zip(target, jd)]


def sidereal_times():
    """Greenwich apparent sidereal time (degrees) at UT1 instants 1900-2100, by the 1982
    mean sidereal time and 1994 equation of the equinoxes (ERFA gst94), and by the IAU
    2006/2000A expressions (ERFA gst06a, which also wants TT: taken as UT1 + Delta T of
    PyEphem; sidereal time hardly depends on it)."""
    rng = np.random.default_rng(1982)
    jd = np.sort(rng.uniform(JD1900, JD2101, 1200))
    rows = []
    for j in jd:
        ut_a, ut_b = 2400000.5, j - 2400000.5
        dt = ephem.delta_t(ephem.Date(j - DUBLIN)) / 86400.0
        g94 = math.degrees(erfa.gst94(ut_a, ut_b))
        g06 = math.degrees(erfa.gst06a(ut_a, ut_b, ut_a, ut_b + dt))
        rows.append("%.8f %.9f %.9f" % (j - 2400000.0, g94, g06))
    return rows


def delta_t_table():
    """Delta T in seconds on January 1 of each year 1800-2020 from PyEphem's table of
    observed values (extrapolated by PyEphem after its last entry)."""
    return ["%d %.3f" % (y, ephem.delta_t("%d/1/1" % y)) for y in range(1800, 2021)]


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "tests", "data", "zvacl")
    os.makedirs(folder, exist_ok=True)
    versions = "PyEphem %s, astropy %s, pyerfa %s" % (
        ephem.__version__, __import__("astropy").__version__, erfa.__version__)

    phases = moon_phases_pyephem()
    write(folder, "moon_phases.txt",
          ["Every principal phase of the Moon from 1900 to 2100, from " + versions + ".",
           "One JD (TT) - 2400000 a line; the first is a new moon and the phases follow",
           "in order: new, first quarter, full, last quarter."], phases)
    write(folder, "moon_phases_de405.txt",
          ["Every principal phase of the Moon inside JPL's DE405 as packaged by Debian",
           "(casacore-data-jpl-de405; 1960 to 2060), with " + versions + ".",
           "phase code (0 new, 1 first quarter, 2 full, 3 last quarter), JD (TT) - 2400000."],
          moon_phases_de405(phases))
    write(folder, "sun_longitude.txt",
          ["The Earth's heliocentric position, mean ecliptic and equinox of date (IAU 2006),",
           "from " + versions + ".",
           "JD (TT) - 2400000, longitude in degrees, radius in au."], sun_longitudes())
    write(folder, "equinoxes.txt",
          ["Equinoxes and solstices 1900-2100: the Sun's apparent longitude reaches",
           "code x 90 degrees; from " + versions + ".",
           "code (0 March, 1 June, 2 September, 3 December), JD (TT) - 2400000."],
          equinoxes_solstices())
    write(folder, "sidereal.txt",
          ["Greenwich apparent sidereal time at random UT1 instants 1900-2100, " + versions + ".",
           "JD (UT1) - 2400000, degrees by gst94, degrees by gst06a."], sidereal_times())
    write(folder, "delta_t.txt",
          ["Delta T (TT - UT) on January 1, observed values as tabulated in " + versions + ".",
           "year, seconds."], delta_t_table())


if __name__ == "__main__":
    main()
