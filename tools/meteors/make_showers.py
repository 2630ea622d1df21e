#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Converts the meteor-shower table of Debian's stellarium package (IMO-based) into
data/showers.txt for the built-in sky.

    /usr/bin/python3 tools/stellarium/extract_resources.py /usr/bin/stellarium OUT
    /usr/bin/python3 tools/meteors/make_showers.py OUT/showers.json [data/showers.txt]

One shower a line, tab-separated: code, English name, Japanese name (empty where none is
in common use), IAU number, solar longitudes (J2000, degrees) of the start, peak and end
of activity, ZHR (-1: variable), geocentric speed (km/s), radiant right ascension and
declination at the peak (J2000, degrees), their daily drifts (degrees per degree of solar
longitude), population index, parent body. A value the table lacks is left empty.
"""
import json
import os
import sys

JAPANESE = {
    'QUA': 'しぶんぎ座', 'LYR': '4月こと座', 'ETA': 'みずがめ座η', 'SDA': 'みずがめ座δ南',
    'CAP': 'やぎ座α', 'PER': 'ペルセウス座', 'DRA': '10月りゅう座', 'ORI': 'オリオン座',
    'STA': 'おうし座南', 'NTA': 'おうし座北', 'LEO': 'しし座', 'GEM': 'ふたご座',
    'URS': 'こぐま座', 'KCG': 'はくちょう座κ', 'AUR': 'ぎょしゃ座', 'JBO': '6月うしかい座',
    'AND': 'アンドロメダ座', 'MON': '12月いっかくじゅう座', 'HYD': 'うみへび座σ',
}


def clean(text):
    return ' '.join(str(text).split())


def main():
    src = sys.argv[1]
    out = sys.argv[2] if len(sys.argv) > 2 else os.path.join(os.path.dirname(__file__), '..', '..', 'data',
                                                             'showers.txt')
    with open(src, encoding='utf-8') as f:
        table = json.load(f)
    lines = ['# Meteor showers, from the IMO-based table of Debian stellarium (%s, version %s); GPL-2+.'
             % (table.get('shortName', ''), table.get('version', '')),
             '# code\tname\tjapanese\tIAU\tstart\tpeak\tend\tZHR\tspeed\tRA\tDec\tdRA\tdDec\tpopulation\tparent']
    for code, s in sorted(table['showers'].items()):
        generic = next(a for a in s['activity'] if a.get('year') == 'generic')
        row = [code, clean(s['designation']), JAPANESE.get(code, ''), clean(s.get('IAUNo', '')),
               generic['start'], generic['peak'], generic['finish'], generic.get('zhr', -1), s.get('speed', ''),
               s.get('radiantAlpha', ''), s.get('radiantDelta', ''), s.get('driftAlpha', ''),
               s.get('driftDelta', ''), s.get('pidx', ''),
               clean(s.get('parentObj', ''))]
        lines.append('\t'.join(str(v) for v in row))
    with open(out, 'w', encoding='utf-8') as f:
        f.write('\n'.join(lines) + '\n')


if __name__ == '__main__':
    main()
