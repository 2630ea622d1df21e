#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Writes data/tztowns.txt: towns with their IANA time zone, from which the built-in sky
takes the zone of a site (the nearest town whose standard offset agrees with the
time-zone map) and a site by a town's name (--site CITY). Inputs are Debian packages,
nothing is downloaded: GeoNames cities15000.txt (libtimezonemap-data, CC BY 4.0) and the tz
database's zone.tab (tzdata). Towns whose zone the system's tz database lacks are left out;
of the towns of one zone, one per 0.2-degree cell is kept for finding zones, and the
other named towns follow, marked "+", found by name only.

    /usr/bin/python3 tools/tzmap/make_tztowns.py > data/tztowns.txt

Format: "Z<TAB>zone" lines number the zones from 0; "lat<TAB>lon<TAB>zone number" lines
are the towns (degrees north and east), followed by "<TAB>country<TAB>names" for a named
town: its ISO 3166 country code and its names, "|" between them (GeoNames' name, its ASCII
form when it differs, its Japanese names: those in kana, and for a town of Japan those in
kanji alone; a Japanese town's names also without "-shi", "市" and the like). A zone.tab place is named after its zone ("Tokyo") unless a town of that zone
has the name. Lines whose number is preceded by "+" serve names only.
"""
import re
import zoneinfo

CITIES = "/usr/share/libtimezonemap/ui/cities15000.txt"
ZONE_TAB = "/usr/share/zoneinfo/zone.tab"


def dms(text):
    """zone.tab's +DDMM[SS] or +DDDMM[SS] as degrees."""
    sign = -1 if text[0] == "-" else 1
    digits = text[1:]
    deg_len = 2 if len(digits) in (4, 6) else 3
    d, m = int(digits[:deg_len]), int(digits[deg_len:deg_len + 2])
    s = int(digits[deg_len + 2:]) if len(digits) > deg_len + 2 else 0
    return sign * (d + m / 60 + s / 3600)


def japanese(names, country):
    """The Japanese names among GeoNames' alternate names."""
    kana = re.compile("[\u3040-\u30ff]")
    kanji = re.compile("^[\u4e00-\u9fff\u3005\u30f6]+$")
    return [n for n in names
            if kana.search(n) or (country == "JP" and kanji.match(n))][:4]


def main():
    available = zoneinfo.available_timezones()
    towns = []  # lat, lon, zone, country, names, population
    for line in open(ZONE_TAB, encoding="utf-8"):
        if line.startswith("#"):
            continue
        f = line.rstrip("\n").split("\t")
        coords, zone = f[1], f[2]
        split = max(coords.rfind("+"), coords.rfind("-"))
        place = zone.rsplit("/", 1)[-1].replace("_", " ")
        towns.append((dms(coords[:split]), dms(coords[split:]), zone, f[0], [place], -1))
    for line in open(CITIES, encoding="utf-8"):
        f = line.rstrip("\n").split("\t")
        names = [f[1]] + ([f[2]] if f[2] != f[1] else [])
        names += [n for n in japanese(f[3].split(","), f[8]) if n not in names]
        if f[8] == "JP":  # "Ōsaka-shi", "大阪市" are Ōsaka and 大阪 as well
            for n in list(names):
                short = re.sub("(-shi|-ku|市|区|都)$", "", n)
                if short != n and short not in names:
                    names.append(short)
        towns.append((float(f[4]), float(f[5]), f[17], f[8], names, int(f[14] or 0)))
    named = {(t[2], t[4][0].lower()) for t in towns if t[5] >= 0}
    zones, kept, extra, seen = [], [], [], set()
    for lat, lon, zone, country, names, population in towns:
        if zone not in available:
            continue
        if population < 0 and (zone, names[0].lower()) in named:
            names = []
        names = [n for n in names if "|" not in n and "\t" not in n]
        cell = (zone, round(lat * 5), round(lon * 5))
        if cell in seen:
            if names:
                extra.append((lat, lon, zones.index(zone), country, names))
            continue
        seen.add(cell)
        if zone not in zones:
            zones.append(zone)
        kept.append((lat, lon, zones.index(zone), country, names))
    print("# Towns and their time zones: GeoNames cities15000 (CC BY 4.0) and the tz database's zone.tab;")
    print("# made by tools/tzmap/make_tztowns.py, tzdata %s"
          % open("/usr/share/zoneinfo/tzdata.zi").readline().split()[-1])
    for z in zones:
        print("Z\t" + z)
    for mark, rows in (("", kept), ("+", extra)):
        for lat, lon, z, country, names in rows:
            print("%.2f\t%.2f\t%s%d" % (lat, lon, mark, z)
                  + ("\t%s\t%s" % (country, "|".join(names)) if names else ""))


main()
