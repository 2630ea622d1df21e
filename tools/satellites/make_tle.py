#!/usr/bin/python3
"""Converts the satellite table of Debian's `stellarium` package (0.22.2, the Satellites
plug-in's default satellites.json, built into /usr/bin/stellarium as a compressed Qt
resource) into data/satellites.tle (three-line element sets) and data/satellites-mag.txt
(catalogue number and standard magnitude, where the table gives one).

Run once: /usr/bin/python3 tools/satellites/make_tle.py [path/to/stellarium]
"""
import json
import os
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, '..', '..', 'data')
MARK = b'"creator": "Satellites plugin'


def find_table(blob):
    """Qt resources keep compressed files as a 4-byte size and a zlib stream."""
    for head in (b'\x78\x9c', b'\x78\xda', b'\x78\x01'):
        pos = blob.find(head)
        while pos >= 0:
            try:
                d = zlib.decompressobj()
                text = d.decompress(blob[pos:pos + 4 << 20], 1 << 16)
                if MARK in text[:200]:
                    d = zlib.decompressobj()
                    return d.decompress(blob[pos:])
            except zlib.error:
                pass
            pos = blob.find(head, pos + 1)
    sys.exit('no satellite table found')


def main():
    binary = sys.argv[1] if len(sys.argv) > 1 else '/usr/bin/stellarium'
    table = json.loads(find_table(open(binary, 'rb').read()))['satellites']
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
