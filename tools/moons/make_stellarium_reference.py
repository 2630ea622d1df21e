#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Hyperion's offset from Saturn as Debian's Stellarium computes it (its own evaluation of TASS 1.7).

PyEphem's Hyperion and TASS 1.7 differ by up to 4.5" over 2000-2040, so Hyperion is held
against this second reference too. Starts a headless Stellarium by scripts/stellarium.sh,
steps it through the dates of tests/data/moons/offsets.csv and writes
tests/data/moons/hyperion-stellarium.csv: UT Julian Day, moon, offset east and north of
Saturn in arc seconds (J2000 right ascension and declination, light time included).
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


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, 'tests', 'data', 'moons', 'hyperion-stellarium.csv')
    env = dict(os.environ, STELLARIUM_STATE=tempfile.mkdtemp(prefix='zcmcom-tass-'))
    started = subprocess.run([SCRIPT, 'start'], env=env, check=True, capture_output=True, text=True).stdout
    url = started.strip().split('=', 1)[1]
    try:
        rows = offsets(url)
    finally:
        subprocess.run([SCRIPT, 'stop'], env=env, check=False)
    with open(out, 'w') as f:
        f.write('# Stellarium (Debian stellarium, TASS 1.7): UT Julian Day, moon, offset from Saturn east and north, arcsec\n')
        f.write('\n'.join(rows) + '\n')


def offsets(url):
    def post(path, **fields):
        urllib.request.urlopen(urllib.request.Request(url + path, data=urllib.parse.urlencode(fields).encode())).read()

    def selected(name):
        # Moons are found by the scripting engine, not by /api/objects/info?name=.
        post('/api/scripts/direct', code='core.selectObjectByName("%s", true);' % name)
        time.sleep(0.05)
        return json.loads(urllib.request.urlopen(url + '/api/objects/info?format=json').read())

    post('/api/main/time', timerate='0')
    rows = []
    jd = 2451544.625  # 2000 Jan 1 03:00 UT, the dates of offsets.csv
    while jd < 2466154.5:
        post('/api/main/time', time='%.6f' % jd)
        time.sleep(0.1)
        saturn, moon = selected('Saturn'), selected('Hyperion')
        east = (moon['raJ2000'] - saturn['raJ2000']) * math.cos(math.radians(saturn['decJ2000'])) * 3600
        north = (moon['decJ2000'] - saturn['decJ2000']) * 3600
        rows.append('%.5f,Hyperion,%.4f,%.4f' % (jd, east, north))
        jd += 97.13
    return rows


if __name__ == '__main__':
    main()
