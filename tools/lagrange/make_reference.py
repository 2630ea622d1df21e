#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Reference places of the Lagrangian points and of the Earth's shadow, from PyEphem's Sun
and Moon (Debian python3-ephem) by plain geometry.

Writes tests/data/lagrange/points.csv: UT Julian Day, object (SE1..SE5 for the Sun-Earth
points, EM1..EM5 for the Earth-Moon ones, UMBRA), J2000 right ascension and declination in
degrees as seen from the Earth's centre, and for UMBRA the umbra's and penumbra's angular
radii in degrees (without the atmosphere's enlargement).
"""
import math
import os
import sys

import ephem

DJD = 2415020.0
GM_SUN, GM_EARTH, GM_MOON = 1.32712440041e20, 3.986004418e14, 4.9028e12
AU_KM, EARTH_KM, SUN_KM = 149597870.7, 6378.14, 696000.0


def vec(body, d):
    body.compute(d)
    r, ra, dec = body.earth_distance, body.a_ra, body.a_dec
    return [r * math.cos(dec) * math.cos(ra), r * math.cos(dec) * math.sin(ra), r * math.sin(dec)]


def add(a, b, k=1.0):
    return [x + k * y for x, y in zip(a, b)]


def scale(a, k):
    return [k * x for x in a]


def cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


def norm(a):
    return math.sqrt(sum(x * x for x in a))


def collinear(point, mu):
    """Root of the balance of the two pulls and the rotation on the line of the bodies,
    in units of their distance from the barycentre (Newton's method from Hill's estimate)."""
    h = (mu / 3) ** (1 / 3)
    r = {1: 1 - mu - h, 2: 1 - mu + h, 3: -1 - 5 * mu / 12}[point]

    def f(r):
        a, b = r + mu, r - 1 + mu
        return r - (1 - mu) * a / abs(a) ** 3 - mu * b / abs(b) ** 3
    for _ in range(60):
        d = (f(r + 1e-9) - f(r - 1e-9)) / 2e-9
        r -= f(r) / d
    return r


def point_of(point, mu, s, v):
    if point <= 3:
        return scale(s, collinear(point, mu) + mu)
    n = cross(s, v)
    n = scale(n, 1 / norm(n))
    a = math.radians(60 if point == 4 else -60)
    return add(scale(s, math.cos(a)), cross(n, s), math.sin(a))  # n is normal to s


def radec(v):
    return math.degrees(math.atan2(v[1], v[0])) % 360, math.degrees(math.asin(v[2] / norm(v)))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), '..', '..', 'tests', 'data', 'lagrange', 'points.csv')
    sun, moon = ephem.Sun(), ephem.Moon()
    rows = []
    d = ephem.Date('1995/1/1 05:00')
    while d < ephem.Date('2040/1/1'):
        earth = scale(vec(sun, d), -1)  # heliocentric
        ev = scale(add(scale(vec(sun, d + 0.5), -1), vec(sun, d - 0.5)), 1.0)
        m = vec(moon, d)
        mv = add(vec(moon, d + 0.01), vec(moon, d - 0.01), -1)
        mu_se = (GM_EARTH + GM_MOON) / (GM_SUN + GM_EARTH + GM_MOON)
        mu_em = GM_MOON / (GM_EARTH + GM_MOON)
        jd = float(d) + DJD
        for k in range(1, 6):
            p = add(point_of(k, mu_se, earth, ev), earth, -1)
            rows.append('%.5f,SE%d,%.7f,%.7f' % ((jd, k) + radec(p)))
        for k in range(1, 6):
            rows.append('%.5f,EM%d,%.7f,%.7f' % ((jd, k) + radec(point_of(k, mu_em, m, mv))))
        d_sun, d_moon = norm(earth) * AU_KM, norm(m) * AU_KM
        pm, ps, ss = math.asin(EARTH_KM / d_moon), math.asin(EARTH_KM / d_sun), math.asin(SUN_KM / d_sun)
        rows.append('%.5f,UMBRA,%.7f,%.7f,%.7f,%.7f' % ((jd,) + radec(earth) + (
            math.degrees(pm + ps - ss), math.degrees(pm + ps + ss))))
        d = ephem.Date(d + 173.37)
    with open(out, 'w') as f:
        f.write('# PyEphem %s: UT Julian Day, object, J2000 RA and Dec (deg)[, umbra and penumbra radii (deg)]\n'
                % ephem.__version__)
        f.write('\n'.join(rows) + '\n')


if __name__ == '__main__':
    main()
