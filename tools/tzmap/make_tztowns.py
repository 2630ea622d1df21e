#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Writes data/tztowns.txt: towns with their IANA time zone, from which the built-in sky
takes the zone of a site (the nearest town whose standard offset agrees with the
time-zone map). Inputs are Debian packages, nothing is downloaded:
GeoNames cities15000.txt (libtimezonemap-data, CC BY 4.0) and the tz database's zone.tab
(tzdata). Towns whose zone the system's tz database lacks are left out; of the towns of
one zone, one per 0.2-degree cell is kept.

    /usr/bin/python3 tools/tzmap/make_tztowns.py > data/tztowns.txt

Format: "Z<TAB>zone" lines number the zones from 0; "lat<TAB>lon<TAB>zone number" lines
are the towns (degrees north and east).
"""
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


def main():
    available = zoneinfo.available_timezones()
    towns = []
    for line in open(ZONE_TAB, encoding="utf-8"):
        if line.startswith("#"):
            continue
        f = line.rstrip("\n").split("\t")
        coords, zone = f[1], f[2]
        split = max(coords.rfind("+"), coords.rfind("-"))
        towns.append((dms(coords[:split]), dms(coords[split:]), zone))
    for line in open(CITIES, encoding="utf-8"):
        f = line.rstrip("\n").split("\t")
        towns.append((float(f[4]), float(f[5]), f[17]))
    zones, kept, seen = [], [], set()
    for lat, lon, zone in towns:
        if zone not in available:
            continue
        cell = (zone, round(lat * 5), round(lon * 5))
        if cell in seen:
            continue
        seen.add(cell)
        if zone not in zones:
            zones.append(zone)
        kept.append((lat, lon, zones.index(zone)))
    print("# Towns and their time zones: GeoNames cities15000 (CC BY 4.0) and the tz database's zone.tab;")
    print("# made by tools/tzmap/make_tztowns.py, tzdata %s"
          % open("/usr/share/zoneinfo/tzdata.zi").readline().split()[-1])
    for z in zones:
        print("Z\t" + z)
    for lat, lon, z in kept:
        print("%.2f\t%.2f\t%d" % (lat, lon, z))


main()
