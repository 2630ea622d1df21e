#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Reference tables for the satellite tests, from Skyfield (Debian's python3-skyfield,
offline with its built-in time scale): for 10 satellites of the bundled set (low orbits,
Molniya orbits, geostationary) the sub-satellite point and the topocentric altitude,
azimuth and distance at 20 instants, and the rise, culmination and set times of the low
ones over two days.

Writes tests/data/satellites/reference.tle (the element sets used),
look.txt and passes.txt.
Run: /usr/bin/python3 tools/sgp4/make_reference.py
"""
import os

from skyfield.api import EarthSatellite, load, wgs84

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, '..', '..')
OUT = os.path.join(ROOT, 'tests', 'data', 'satellites')
NUMBERS = [25544, 48274, 20580, 33591, 44713, 24876, 40296, 9880, 28884, 40732]
PASSING = [25544, 20580, 33591]
SITES = [('tokyo', 139.745, 35.654, 40.0), ('santiago', -70.65, -33.45, 520.0)]


JAN1 = 2459580.5  # 2022 January 1, 0h UTC


def utc_jd(t):
    # TAI - UTC is 37 s throughout 2022.
    return t.tai - 37.0 / 86400.0


def refine(ts, seen, jd, event):
    """find_events stops within a few seconds; the horizon crossing (bisection) or the
    top (golden section) is refined to a millisecond with Skyfield's own altitude."""
    def alt(x):
        return seen.at(ts.utc(2022, 1, 1, 0, 0, (x - JAN1) * 86400.0)).altaz()[0].degrees
    a, b = jd - 30.0 / 86400.0, jd + 30.0 / 86400.0
    eps = 0.001 / 86400.0
    if event == 1:
        g = (5 ** 0.5 - 1) / 2
        while b - a > eps:
            c, d = b - g * (b - a), a + g * (b - a)
            if alt(c) > alt(d):
                b = d
            else:
                a = c
        return (a + b) / 2
    rising = event == 0
    while b - a > eps:
        m = (a + b) / 2
        if (alt(m) >= 0) == rising:
            b = m
        else:
            a = m
    return (a + b) / 2


def read_sets():
    lines = open(os.path.join(ROOT, 'data', 'satellites.tle')).read().splitlines()
    sets = {}
    for i in range(0, len(lines) - 2, 3):
        sets[int(lines[i + 2][2:7])] = lines[i:i + 3]
    return sets


def main():
    ts = load.timescale(builtin=True)
    sets = read_sets()
    with open(os.path.join(OUT, 'reference.tle'), 'w') as out:
        for n in NUMBERS:
            out.write('\n'.join(sets[n]) + '\n')
    with open(os.path.join(OUT, 'look.txt'), 'w') as out:
        out.write('# number site jd_utc sub_lon sub_lat height_km altitude azimuth range_km\n')
        for n in NUMBERS:
            name, l1, l2 = sets[n]
            sat = EarthSatellite(l1, l2, name, ts)
            for k in range(20):
                site = SITES[k % 2]
                topos = wgs84.latlon(site[2], site[1], elevation_m=site[3])
                # Spread over two days after the epoch, at odd fractions of a day.
                jd = round(utc_jd(sat.epoch) + 0.1 + k * 0.0973, 6)
                t = ts.utc(2022, 1, 1, 0, 0, (jd - JAN1) * 86400.0)
                geo = sat.at(t)
                where = wgs84.geographic_position_of(geo)
                alt, az, dist = (sat - topos).at(t).altaz()
                out.write('%d %s %.9f %.7f %.7f %.4f %.6f %.6f %.4f\n' % (
                    n, site[0], jd, where.longitude.degrees, where.latitude.degrees,
                    where.elevation.km, alt.degrees, az.degrees, dist.km))
    with open(os.path.join(OUT, 'passes.txt'), 'w') as out:
        out.write('# number site event(0 rise, 1 culmination, 2 set) jd_utc\n')
        for n in PASSING:
            name, l1, l2 = sets[n]
            sat = EarthSatellite(l1, l2, name, ts)
            for site in SITES:
                topos = wgs84.latlon(site[2], site[1], elevation_m=site[3])
                t0 = ts.utc(2022, 6, 18)
                t1 = ts.utc(2022, 6, 20)
                times, events = sat.find_events(topos, t0, t1, altitude_degrees=0.0)
                for t, e in zip(times, events):
                    jd = refine(ts, sat - topos, utc_jd(t), e)
                    out.write('%d %s %d %.9f\n' % (n, site[0], e, jd))


main()
