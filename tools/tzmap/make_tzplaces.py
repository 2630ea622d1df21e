#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Writes tests/data/tzplaces.txt: places the time-zone map was not made from, with their
standard UTC offset, to measure the map where it had no seed.

The map's seeds are the zone cities of zone.tab and the GeoNames places of cities15000
(see make_tzmap.py). These places come from another list, the cities and weather stations
of GWeather's Locations.xml (Debian's libgweather-4-common), each with the zone that list
gives it: its own tz-hint, else that of its state or country. A place is kept only where
that zone is certain, by its own hint or in a country whose zones share one standard
offset: a state's hint is one zone even where the state spans two (Tennessee, Nunavut,
Labrador). Places within 10 km of a seed, and places off the map's rows (the poles) or
with a longitude beyond 180 degrees (a slip of the list), are left out.

    apt-get install libgweather-4-common libtimezonemap-data tzdata
    /usr/bin/python3 tools/tzmap/make_tzplaces.py > tests/data/tzplaces.txt

Standard offset: as for the map, the smaller of the offsets on 1 January and 1 July 2025.
"""
import datetime
import math
import sys
import xml.etree.ElementTree as ET
import zoneinfo

LOCATIONS = "/usr/share/libgweather-4/Locations.xml"
CITIES = "/usr/share/libtimezonemap/ui/cities15000.txt"
ZONE_TAB = "/usr/share/zoneinfo/zone.tab"
NEAR_KM = 10.0


def standard_offset(name):
    try:
        z = zoneinfo.ZoneInfo(name)
    except (zoneinfo.ZoneInfoNotFoundError, ValueError):
        return None
    return min(datetime.datetime(2025, m, 1, 12, tzinfo=datetime.timezone.utc).astimezone(z)
               .utcoffset().total_seconds() / 3600 for m in (1, 7))


def dms(text):
    """zone.tab's +DDMM[SS] or +DDDMM[SS] as degrees."""
    digits = text[1:]
    n = 2 if len(digits) in (4, 6) else 3
    value = int(digits[:n]) + int(digits[n:n + 2]) / 60 + int(digits[n + 2:] or 0) / 3600
    return -value if text[0] == "-" else value


def seeds():
    out = []
    for line in open(ZONE_TAB, encoding="utf-8"):
        if not line.startswith("#"):
            coords = line.split("\t")[1]
            i = max(coords.rfind("+"), coords.rfind("-"))
            out.append((dms(coords[:i]), dms(coords[i:])))
    for line in open(CITIES, encoding="utf-8"):
        f = line.split("\t")
        out.append((float(f[4]), float(f[5])))
    return out


def km(a, b):
    (lat1, lon1), (lat2, lon2) = [(math.radians(p[0]), math.radians(p[1])) for p in (a, b)]
    h = (math.sin((lat2 - lat1) / 2) ** 2
         + math.cos(lat1) * math.cos(lat2) * math.sin((lon2 - lon1) / 2) ** 2)
    return 2 * 6371.0 * math.asin(min(1.0, math.sqrt(h)))


def places():
    """(name, lat, lon, zone) of the cities and the stations whose zone is certain."""
    out = []

    def walk(node, hint, one_offset):
        hint = node.findtext("tz-hint") or hint
        zones = [z.get("id") for z in node.findall("timezones/timezone")]
        if zones:
            one_offset = len({standard_offset(z) for z in zones}) == 1
        for child in node:
            coords = child.findtext("coordinates")
            if child.tag in ("city", "location") and coords:
                own = child.findtext("tz-hint")
                if own or one_offset:
                    name = child.findtext("_name") or child.findtext("name")
                    lat, lon = map(float, coords.split())
                    out.append((name, lat, lon, own or hint))
            walk(child, hint, one_offset)

    walk(ET.parse(LOCATIONS).getroot(), None, False)
    return out


def main():
    cells = {}
    for s in seeds():
        cells.setdefault((round(s[0]), (round(s[1]) + 180) % 360 - 180), []).append(s)
    kept = []
    for name, lat, lon, zone in places():
        offset = standard_offset(zone) if zone else None
        near = [s for dlat in (-1, 0, 1) for dlon in (-1, 0, 1)
                for s in cells.get((round(lat) + dlat, (round(lon) + dlon + 180) % 360 - 180), [])]
        if (offset is None or abs(lat) >= 89.75 or abs(lon) > 180
                or any(km((lat, lon), s) < NEAR_KM for s in near)):
            continue
        kept.append((name, lat, lon, offset))
    version = open("/usr/share/zoneinfo/tzdata.zi").readline().split()[-1]
    print("# Places the time-zone map was not made from: name, latitude, longitude, standard offset.")
    print(f"# GWeather Locations.xml (libgweather-4-common), tzdata {version}; made by tools/tzmap/make_tzplaces.py")
    for name, lat, lon, offset in sorted(kept, key=lambda p: (p[1], p[2])):
        print(f"{'_'.join(name.split())}\t{lat:.4f}\t{lon:.4f}\t{offset:g}")
    print(f"{len(kept)} places", file=sys.stderr)


main()
