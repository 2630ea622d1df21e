#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""The planets' moons as Debian's Stellarium computes them: a second reference beside PyEphem.

Stellarium evaluates its own theories (TASS 1.7 for Saturn's moons, GUST86 for Uranus') over
any span, where PyEphem's precise tables cover 1999-2041 only, and its Hyperion is TASS 1.7,
which PyEphem's differs from by up to 4.5". Starts a headless Stellarium by
scripts/stellarium.sh and writes tests/data/moons/stellarium.csv: UT Julian Day, moon, offset
east and north of its planet in arc seconds (J2000 right ascension and declination, light
time included), every 194.26 days from 1990 to 2040.
"""
import json
import math
import os
import subprocess
import sys
import tempfile
import time
import urllib.parse
import urllib.request

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, '..', '..')
SCRIPT = os.path.join(ROOT, 'scripts', 'stellarium.sh')
MOONS = {
    'Mars': ['Phobos', 'Deimos'],
    'Jupiter': ['Io', 'Europa', 'Ganymede', 'Callisto'],
    'Saturn': ['Mimas', 'Enceladus', 'Tethys', 'Dione', 'Rhea', 'Titan', 'Hyperion', 'Iapetus'],
    'Uranus': ['Miranda', 'Ariel', 'Umbriel', 'Titania', 'Oberon'],
}
START, END, STEP = 2447892.625, 2466154.5, 194.26  # 1990 Jan 1 03:00 UT to 2040


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, 'tests', 'data', 'moons', 'stellarium.csv')
    env = dict(os.environ, STELLARIUM_STATE=tempfile.mkdtemp(prefix='zcmcom-moons-'))
    started = subprocess.run([SCRIPT, 'start'], env=env, check=True, capture_output=True, text=True).stdout
    url = started.strip().split('=', 1)[1]
    try:
        rows = offsets(url)
    finally:
        subprocess.run([SCRIPT, 'stop'], env=env, check=False)
    with open(out, 'w') as f:
        f.write('# Stellarium (Debian stellarium): UT Julian Day, moon, offset from its planet east and north, arcsec\n')
        f.write('\n'.join(rows) + '\n')


def offsets(url):
    def post(path, **fields):
        urllib.request.urlopen(urllib.request.Request(url + path, data=urllib.parse.urlencode(fields).encode())).read()

    def selected(name):
        # Moons are found by the scripting engine, not by /api/objects/info?name=.
        post('/api/scripts/direct', code='core.selectObjectByName("%s", true);' % name)
        time.sleep(0.03)
        info = json.loads(urllib.request.urlopen(url + '/api/objects/info?format=json').read())
        if info.get('name', '').split(' (')[0] != name:
            raise SystemExit('Stellarium did not select %s' % name)
        return info

    # The site of the committed table (Tokyo), whatever the Stellarium's own settings.
    post('/api/location/setlocationfields', latitude='35.69', longitude='139.69', altitude='40')
    post('/api/main/time', timerate='0')
    rows = []
    jd = START
    while jd < END:
        post('/api/main/time', time='%.6f' % jd)
        time.sleep(0.1)
        for planet, moons in MOONS.items():
            p = selected(planet)
            for name in moons:
                m = selected(name)
                east = (m['raJ2000'] - p['raJ2000']) * math.cos(math.radians(p['decJ2000'])) * 3600
                north = (m['decJ2000'] - p['decJ2000']) * 3600
                rows.append('%.5f,%s,%.4f,%.4f' % (jd, name, east, north))
        jd += STEP
    return rows


if __name__ == '__main__':
    main()
