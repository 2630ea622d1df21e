#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Converts the satellite table of Debian's `stellarium` package (0.22.2: the Satellites
plug-in's default satellites.json, about 5,000 element sets of June 2022 with standard
magnitudes) into data/satellites.tle (three-line element sets) and data/satellites-mag.txt
(catalogue number and standard magnitude, where the table gives one).

Run once, on the table tools/stellarium/extract_resources.py takes out of the program:
    /usr/bin/python3 tools/stellarium/extract_resources.py /usr/bin/stellarium /tmp/stel
    /usr/bin/python3 tools/satellites/make_tle.py /tmp/stel/satellites.json
"""
import json
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, '..', '..', 'data')


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    table = json.load(open(sys.argv[1]))['satellites']
    rows = sorted(table.items(), key=lambda kv: int(kv[1]['tle2'][2:7]))
    with open(os.path.join(DATA, 'satellites.tle'), 'w', newline='\n') as out:
        for _, s in rows:
            out.write('%s\n%s\n%s\n' % (s['name'].strip(), s['tle1'].rstrip(), s['tle2'].rstrip()))
    with open(os.path.join(DATA, 'satellites-mag.txt'), 'w', newline='\n') as out:
        out.write('# catalogue number, standard magnitude (1000 km, half lit)\n')
        for _, s in rows:
            if 'stdMag' in s:
                out.write('%d %.1f\n' % (int(s['tle2'][2:7]), s['stdMag']))
    print(len(rows), 'sets')


main()
