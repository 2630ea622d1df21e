#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Reference offsets of planetary moons from their planets, by PyEphem (Debian python3-ephem).

Writes tests/data/moons/offsets.csv: UT Julian Day, moon, and the moon's offset from the
planet's centre as seen, east and north, in the planet's equatorial radii (PyEphem's x and
-y). The span starts in 2000: before it PyEphem falls back on a coarser theory, several
arc seconds off. Rows it cannot compute are left out.
"""
import math
import os
import sys

import ephem

MOONS = {
    'Jupiter': ['Io', 'Europa', 'Ganymede', 'Callisto'],
    'Saturn': ['Mimas', 'Enceladus', 'Tethys', 'Dione', 'Rhea', 'Titan', 'Hyperion', 'Iapetus'],
    'Mars': ['Phobos', 'Deimos'],
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
                east, north = m.x, -m.y
                rows.append('%.5f,%s,%.6f,%.6f' % (float(d) + DJD, name, east, north))
        d = ephem.Date(d + step)
    with open(out, 'w') as f:
        f.write('# PyEphem %s: UT Julian Day, moon, offset from the planet east and north (planet radii)\n'
                % ephem.__version__)
        f.write('\n'.join(rows) + '\n')


if __name__ == '__main__':
    main()
