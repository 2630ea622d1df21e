#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Reference offsets of planetary moons from their planets, by PyEphem (Debian python3-ephem).

Writes tests/data/moons/offsets.csv: UT Julian Day, moon, and the moon's offset from the
planet's centre, east, north and towards the Earth, in PyEphem's units (its x, -y and z):
the planet radii it divides its tabulated offsets by (Jupiter 0.0004769108 au, Saturn
0.0004014253 au, Mars 0.00002269 au; Uranus 0.0001597 au, 23891 km, less than its radius).
PyEphem reads precise tables from 1999 Jan 1 to 2041 Jan 1 (its positions jump at both
ends; Uranus' moons are zero outside); before and after it falls back on coarser theories,
several arc seconds off, so the span is 2000-2040. It reads the tables at the UT instant
as if it were TT. Rows it cannot compute are left out.
"""
import math
import os
import sys

import ephem

MOONS = {
    'Jupiter': ['Io', 'Europa', 'Ganymede', 'Callisto'],
    'Saturn': ['Mimas', 'Enceladus', 'Tethys', 'Dione', 'Rhea', 'Titan', 'Hyperion', 'Iapetus'],
    'Mars': ['Phobos', 'Deimos'],
    'Uranus': ['Miranda', 'Ariel', 'Umbriel', 'Titania', 'Oberon'],
}
DJD = 2415020.0


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), '..', '..', 'tests', 'data', 'moons', 'offsets.csv')
    start, end, step = ephem.Date('2000/1/1 03:00'), ephem.Date('2040/1/1'), 97.13
    rows = []
    d = start
    while d < end:
        for planet, moons in MOONS.items():
            p = getattr(ephem, planet)(d)
            for name in moons:
                m = getattr(ephem, name)(d)
                if not m.earth_visible and m.x == 0 and m.y == 0:
                    continue
                # PyEphem's x (east) and y (south) in planet radii, as it gives them: its right
                # ascension of a moon adds x to the planet's without dividing by cos(dec).
                # z: towards the Earth. The offsets are lengths, not angles: a moon nearer than
                # its planet is seen farther out.
                east, north, near = m.x, -m.y, m.z
                rows.append('%.5f,%s,%.6f,%.6f,%.6f' % (float(d) + DJD, name, east, north, near))
        d = ephem.Date(d + step)
    with open(out, 'w') as f:
        f.write('# PyEphem %s: UT Julian Day, moon, offset from the planet east, north and towards the Earth (PyEphem units)\n'
                % ephem.__version__)
        f.write('\n'.join(rows) + '\n')


if __name__ == '__main__':
    main()
