#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Reference peak instants of meteor showers: when PyEphem's Sun (Debian python3-ephem)
reaches the solar longitude (J2000) of each peak in data/showers.txt, first after 2026 Jan 1.

Writes tests/data/meteors/peaks.csv: code, UT Julian Day of the peak.
"""
import math
import os

import ephem

ROOT = os.path.join(os.path.dirname(__file__), '..', '..')
DJD = 2415020.0


def longitude(d):
    s = ephem.Sun(d)
    return math.degrees(ephem.Ecliptic(ephem.Equatorial(s.a_ra, s.a_dec, epoch='2000'), epoch='2000').lon)


def main():
    peaks = {}
    for line in open(os.path.join(ROOT, 'data', 'showers.txt'), encoding='utf-8'):
        f = line.rstrip('\n').split('\t')
        if line.startswith('#') or f[0] not in ('PER', 'GEM', 'QUA'):
            continue
        lam, d = float(f[5]), ephem.Date('2026/1/1')
        d = ephem.Date(d + ((lam - longitude(d)) % 360) / 0.9856)
        for _ in range(10):
            d = ephem.Date(d + ((lam - longitude(d) + 180) % 360 - 180) / 0.9856)
        peaks[f[0]] = float(d) + DJD
    with open(os.path.join(ROOT, 'tests', 'data', 'meteors', 'peaks.csv'), 'w') as out:
        out.write('# PyEphem %s: shower, UT Julian Day of the first peak after 2026 Jan 1\n' % ephem.__version__)
        for code in sorted(peaks):
            out.write('%s,%.5f\n' % (code, peaks[code]))


if __name__ == '__main__':
    main()
