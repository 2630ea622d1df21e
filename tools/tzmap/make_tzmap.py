#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Makes the library's world time-zone map, a placeable Windows metafile.

The map is 720 x 360 half-degree cells from 22.5 degrees west eastward, each painted in
the colour of its standard UTC offset. Land takes the zone of the nearest populated place
of its own country (and, where the country data has them, its own state or province);
the sea takes the nautical zone round(longitude / 15). See README.md beside this file.

Run with Debian's python3; inputs come from Debian packages (gmt-dcw,
libtimezonemap-data, tzdata; python3-numpy, python3-netcdf4, python3-pil).
"""
import argparse
import collections
import datetime
import math
import struct
import sys
import zoneinfo

import netCDF4
import numpy as np
from PIL import Image, ImageDraw

DCW = "/usr/share/gmt-dcw/dcw-gmt.nc"
CITIES = "/usr/share/libtimezonemap/ui/cities15000.txt"
ZONE_TAB = "/usr/share/zoneinfo/zone.tab"

W, H = 720, 360          # map pixels, half a degree each
SUB = 4                  # samples per pixel side
FW, FH = W * SUB, H * SUB
PER_DEGREE = 2 * SUB
LON0 = -22.5             # longitude of the map's left edge
YEAR = 2025              # standard offsets as of this year
NEAR_KM = 30             # places this near a zone's own city with another offset are dropped
STATE_ZONED = ("RU",)    # countries whose zones follow the state outlines
WINDOW = (3865, 1941)    # logical size of the metafile's window
INCH = 576

# The library's zone colours (offset -> red, green, blue).
COLOURS = {
    -1: (0, 255, 255), 0: (0, 0, 255), 1: (255, 0, 255), 2: (255, 0, 0), 3: (255, 255, 0),
    3.5: (127, 191, 127), 4: (0, 255, 0), 4.5: (191, 191, 127), 5: (0, 127, 255),
    5.5: (191, 127, 127), 5.75: (127, 127, 191), 6: (127, 0, 255), 6.5: (127, 191, 191),
    7: (255, 0, 127), 8: (255, 127, 0), 9: (127, 255, 0), 9.5: (63, 63, 63),
    10: (0, 255, 127), 11: (0, 127, 127), 12: (0, 0, 127), 13: (127, 127, 127),
    -12: (127, 255, 255), -11: (127, 127, 255), -10: (255, 127, 255), -9: (255, 127, 127),
    -8: (255, 255, 127), -7: (127, 255, 127), -6: (127, 191, 255), -5: (191, 127, 255),
    -4: (255, 127, 191), -3.5: (191, 191, 191), -3: (191, 255, 127), -2: (127, 255, 191),
}
# Offsets without a colour take the nearest coloured one; the two ties go to the main
# zone of the same country (Lord Howe: Sydney's +10; the Marquesas: Tahiti's -10).
FALLBACK = {14: 13, 12.75: 13, 10.5: 10, 8.75: 9, -9.5: -10}


def colour_offset(offset):
    if offset in COLOURS:
        return offset
    if offset in FALLBACK:
        return FALLBACK[offset]
    return min(COLOURS, key=lambda c: (abs(c - offset), c))


_offsets = {}


def standard_offset(name):
    """The smaller of the UTC offsets on 1 January and 1 July, in hours; None if unknown."""
    if name not in _offsets:
        try:
            z = zoneinfo.ZoneInfo(name)
        except (zoneinfo.ZoneInfoNotFoundError, ValueError):
            _offsets[name] = None
            return None
        vals = []
        for month in (1, 7):
            t = datetime.datetime(YEAR, month, 1, 12, tzinfo=datetime.timezone.utc)
            vals.append(t.astimezone(z).utcoffset().total_seconds() / 3600)
        _offsets[name] = min(vals)
    return _offsets[name]


def nautical(lon):
    lon = (lon + 180) % 360 - 180
    return float(max(-12, min(12, round(lon / 15))))


def read_zone_tab(path=ZONE_TAB):
    """(country, lat, lon, zone) of each line of zone.tab."""
    def angle(text, degree_digits):
        sign = -1 if text[0] == "-" else 1
        d = text[1:]
        deg = int(d[:degree_digits])
        mins = int(d[degree_digits:degree_digits + 2])
        secs = int(d[degree_digits + 2:] or 0)
        return sign * (deg + mins / 60 + secs / 3600)

    rows = []
    for line in open(path, encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        cc, coords, zone = line.rstrip("\n").split("\t")[:3]
        i = max(coords.rfind("+"), coords.rfind("-"))
        lat = angle(coords[:i], 2)
        lon = angle(coords[i:], 3)
        rows.append((cc, lat, lon, zone))
    return rows


def read_cities(path=CITIES):
    """(country, lat, lon, zone) of each place in the place list."""
    rows = []
    for line in open(path, encoding="utf-8"):
        f = line.rstrip("\n").split("\t")
        if len(f) > 17 and f[17]:
            rows.append((f[8], float(f[4]), float(f[5]), f[17]))
    return rows


def dcw_rings(ds, code):
    """The rings of one DCW entry as arrays of (lon, lat)."""
    lon, lat = ds.variables[code + "_lon"], ds.variables[code + "_lat"]
    a, b = lon[:], lat[:]
    x = lon.getncattr("min") + a / lon.getncattr("scale")
    y = lat.getncattr("min") + b / lat.getncattr("scale")
    sep = (a == 65535) | (b == 65535)
    rings, start = [], 0
    for i in list(np.nonzero(sep)[0]) + [len(a)]:
        if i - start >= 3:
            rings.append(np.column_stack([x[start:i], y[start:i]]))
        start = i + 1
    return rings


def draw_rings(draw, rings, value):
    for ring in rings:
        lon = np.unwrap(ring[:, 0], period=360)
        lat = ring[:, 1]
        if lon.max() - lon.min() > 350:  # goes round a pole: close it over the pole
            pole = -90.0 if lat.mean() < 0 else 90.0
            lon = np.concatenate([lon, [lon[-1], lon[0]]])
            lat = np.concatenate([lat, [pole, pole]])
            copies = (-720, -360, 0, 360)
        else:
            copies = (-360, 0, 360)
        for k in copies:
            xs = (lon + k - LON0) * PER_DEGREE
            if xs.max() < 0 or xs.min() > FW:
                continue
            ys = (90 - lat) * PER_DEGREE
            draw.polygon(list(zip(xs.tolist(), ys.tolist())), fill=value)


def rasterise(ds, codes):
    """Fine grid of indices into codes (-1: none), drawn biggest first so enclaves stay."""
    img = Image.new("I", (FW, FH), -1)
    draw = ImageDraw.Draw(img)
    sized = []
    for i, code in enumerate(codes):
        rings = dcw_rings(ds, code)
        area = sum((r[:, 0].max() - r[:, 0].min()) * (r[:, 1].max() - r[:, 1].min()) for r in rings)
        sized.append((-area, i, rings))
    for _, i, rings in sorted(sized, key=lambda s: (s[0], s[1])):
        draw_rings(draw, rings, i)
    return np.array(img, dtype=np.int32)


def cell_of(lat, lon):
    x = int(((lon - LON0) % 360) * PER_DEGREE)
    y = int((90 - lat) * PER_DEGREE)
    return min(max(y, 0), FH - 1), min(max(x, 0), FW - 1)


def unit_vectors(lat, lon):
    la, lo = np.radians(lat), np.radians(lon)
    return np.column_stack([np.cos(la) * np.cos(lo), np.cos(la) * np.sin(lo), np.sin(la)])


def nearest(cells_v, seeds_v, chunk=4096):
    out = np.empty(len(cells_v), dtype=np.int64)
    for s in range(0, len(cells_v), chunk):
        out[s:s + chunk] = np.argmax(cells_v[s:s + chunk] @ seeds_v.T, axis=1)
    return out


def build_offsets(log):
    ds = netCDF4.Dataset(DCW)
    ds.set_auto_maskandscale(False)
    names = [v[:-4] for v in ds.variables if v.endswith("_lon")]
    countries = sorted(n for n in names if len(n) == 2)
    states = sorted(n for n in names if len(n) > 2)
    log(f"{len(countries)} countries, {len(states)} states or provinces")
    country = rasterise(ds, countries)
    state = rasterise(ds, states)

    # Seeds: every place with a zone, and every zone's own city. The place list is older
    # than tzdata: a place near a zone's own city with another offset lost its zone to a
    # later split and gives way to the city.
    zones = [z for z in read_zone_tab() if standard_offset(z[3]) is not None]
    zone_v = unit_vectors(np.array([z[1] for z in zones]), np.array([z[2] for z in zones]))
    places = []
    for p in read_cities():
        off = standard_offset(p[3])
        if off is None:
            continue
        near = (zone_v @ unit_vectors(np.array([p[1]]), np.array([p[2]]))[0]) > math.cos(
            NEAR_KM / 6371)
        if any(standard_offset(zones[i][3]) != off for i in np.nonzero(near)[0]):
            continue
        places.append(p)
    seeds = places + zones
    cindex = {c: i for i, c in enumerate(countries)}
    seed_cc = np.array([cindex.get(s[0], -1) for s in seeds])
    seed_lat = np.array([s[1] for s in seeds])
    seed_lon = np.array([s[2] for s in seeds])
    seed_off = np.array([standard_offset(s[3]) for s in seeds])
    seed_off_fix = seed_off
    seed_state = np.full(len(seeds), -1)
    for i in range(len(seeds)):
        y, x = cell_of(seed_lat[i], seed_lon[i])
        window = state[max(y - 2, 0):y + 3, max(x - 2, 0):x + 3]
        hit = window[window >= 0]
        if len(hit):
            seed_state[i] = collections.Counter(hit.tolist()).most_common(1)[0][0]
    # Russia's zones follow its federal subjects: a subject with zone cities of one offset
    # takes that offset for all its places.
    for si in np.unique(seed_state[seed_state >= 0]):
        if not states[si].startswith(STATE_ZONED):
            continue
        in_state = seed_state == si
        own = {standard_offset(z[3]) for z, st in zip(zones, seed_state[len(places):])
               if st == si}
        if len(own) == 1:
            seed_off_fix[in_state] = own.pop()
    # A zone's city is land of its country even where the coastline misses it.
    for cc, lat, lon, _ in read_zone_tab():
        if cc in cindex:
            y, x = cell_of(lat, lon)
            if country[y, x] < 0:
                country[y, x] = cindex[cc]
    log(f"{len(seeds)} places with a zone")

    ys, xs = np.mgrid[0:FH, 0:FW]
    lat = 90 - (ys + 0.5) / PER_DEGREE
    lon = LON0 + (xs + 0.5) / PER_DEGREE
    offsets = np.full((FH, FW), np.nan)
    land = country >= 0
    seed_v = unit_vectors(seed_lat, seed_lon)
    for c in np.unique(country[land]):
        in_country = country == c
        mine = seed_cc == c
        if not mine.any():
            land &= ~in_country  # no place, no zone: the sea's zone stands
            continue
        for s in np.unique(state[in_country]):
            cells = in_country & (state == s)
            pick = mine & (seed_state == s) if s >= 0 else mine
            if not pick.any():
                pick = mine
            idx = np.nonzero(pick)[0]
            cy, cx = np.nonzero(cells)
            best = nearest(unit_vectors(lat[cy, cx], lon[cy, cx]), seed_v[idx])
            offsets[cy, cx] = seed_off[idx[best]]
    return offsets, land, lon


def to_map(offsets, land, lon):
    """The 720 x 360 colour offsets: land wins over sea within a pixel, then the majority."""
    sea = np.vectorize(nautical)(lon[0])
    out = np.empty((H, W))
    for py in range(H):
        block_land = land[py * SUB:(py + 1) * SUB]
        block_off = offsets[py * SUB:(py + 1) * SUB]
        for px in range(W):
            sl = slice(px * SUB, (px + 1) * SUB)
            vals = block_off[:, sl][block_land[:, sl]]
            if len(vals):
                counts = collections.Counter(colour_offset(v) for v in vals.tolist())
                out[py, px] = max(counts.items(), key=lambda kv: (kv[1], -kv[0]))[0]
            else:
                out[py, px] = colour_offset(sea[px * SUB])
    return out


def stripes():
    """(x0, x1, offset) of the nautical stripes across the map."""
    out, x = [], 0
    while x < W:
        off = nautical(LON0 + (x + 0.5) / 2)
        end = x
        while end < W and nautical(LON0 + (end + 0.5) / 2) == off:
            end += 1
        out.append((x, end, off))
        x = end
    return out


def trace(mask):
    """Rings (lists of pixel-corner points) whose even-odd interior is exactly mask."""
    p = np.pad(mask, 1)
    inside = p[1:-1, 1:-1]
    nxt = collections.defaultdict(list)
    for (dy, dx), edge in (((-1, 0), lambda y, x: ((x, y), (x + 1, y))),
                           ((0, 1), lambda y, x: ((x + 1, y), (x + 1, y + 1))),
                           ((1, 0), lambda y, x: ((x + 1, y + 1), (x, y + 1))),
                           ((0, -1), lambda y, x: ((x, y + 1), (x, y)))):
        other = p[1 + dy:p.shape[0] - 1 + dy, 1 + dx:p.shape[1] - 1 + dx]
        for y, x in zip(*np.nonzero(inside & ~other)):
            a, b = edge(int(y), int(x))
            nxt[a].append(b)
    rings = []
    while nxt:
        start = next(iter(nxt))
        ring, v = [start], start
        while True:
            b = nxt[v].pop()
            if not nxt[v]:
                del nxt[v]
            if b == start:
                break
            ring.append(b)
            v = b
        # drop the corners where the outline goes straight on
        n = len(ring)
        ring = [ring[i] for i in range(n)
                if not ((ring[i - 1][0] == ring[i][0] == ring[(i + 1) % n][0]) or
                        (ring[i - 1][1] == ring[i][1] == ring[(i + 1) % n][1]))]
        rings.append(ring)
    return rings


def logical(x, y):
    """Logical units of a pixel corner under the map's viewport (-1, -1, 721 x 361)."""
    return round((x + 1) * WINDOW[0] / (W + 1)), round((y + 1) * WINDOW[1] / (H + 1))


def device(lx, ly):
    return round(lx * (W + 1) / WINDOW[0]) - 1, round(ly * (H + 1) / WINDOW[1]) - 1


class Metafile:
    def __init__(self):
        self.records = []
        self.objects = 0

    def add(self, function, words=b""):
        assert len(words) % 2 == 0
        self.records.append(struct.pack("<IH", 3 + len(words) // 2, function) + words)

    def words(self, *values):
        return struct.pack("<%dh" % len(values), *values)

    def bytes(self):
        body = b"".join(self.records) + struct.pack("<IH", 3, 0)
        size = (18 + len(body)) // 2
        biggest = max(len(r) // 2 for r in self.records)
        header = struct.pack("<HHHIHIH", 1, 9, 0x300, size, self.objects, biggest, 0)
        box = (0, 0, WINDOW[0], WINDOW[1] - 1)
        head = struct.pack("<IHhhhhHI", 0x9AC6CDD7, 0, *box, INCH, 0)
        checksum = 0
        for (w,) in struct.iter_unpack("<H", head):
            checksum ^= w
        return head + struct.pack("<H", checksum) + header + body


def make_metafile(pixels):
    assert all(device(*logical(x, y)) == (x, y) for x in range(W + 1) for y in range(H + 1))
    mf = Metafile()
    mf.objects = 3
    note = b"World time zones: land from DCW-GMT country and state outlines, zones of the " \
           b"nearest GeoNames place (CC-BY 4.0) with tzdata standard offsets; sea: nautical zones."
    note += b"\0" * (len(note) % 2)
    mf.add(0x0626, struct.pack("<HH", 15, len(note)) + note)  # comment escape
    mf.add(0x020B, mf.words(0, 0))                            # SetWindowOrg (y, x)
    mf.add(0x020C, mf.words(WINDOW[1], WINDOW[0]))            # SetWindowExt (y, x)
    mf.add(0x0103, mf.words(8))                               # SetMapMode anisotropic
    mf.add(0x0106, mf.words(1))                               # SetPolyFillMode alternate
    mf.add(0x02FA, struct.pack("<HhhI", 5, 0, 0, 0))          # null pen -> slot 0
    mf.add(0x012D, mf.words(0))
    slot, previous = 1, None

    def brush(offset):
        nonlocal slot, previous
        r, g, b = COLOURS[offset]
        mf.add(0x02FC, struct.pack("<HIH", 0, r | g << 8 | b << 16, 0))  # solid brush
        mf.add(0x012D, mf.words(slot))
        if previous is not None:
            mf.add(0x01F0, mf.words(previous))  # slots 1 and 2 take turns
        previous, slot = slot, 3 - slot

    base = np.empty((H, W))
    for x0, x1, off in stripes():
        base[:, x0:x1] = off
        brush(off)
        lx0, ly0 = logical(x0, 0)
        lx1, ly1 = logical(x1, H)
        mf.add(0x0324, mf.words(4, lx0, ly0, lx1, ly0, lx1, ly1, lx0, ly1))  # Polygon
    polygons = 0
    for off in sorted(set(np.unique(pixels).tolist())):
        mask = (pixels == off) & (base != off)
        if not mask.any():
            continue
        rings = trace(mask)
        brush(off)
        counts = [len(r) for r in rings]
        points = [v for r in rings for p in r for v in logical(*p)]
        assert len(rings) < 65536 and max(counts) < 65536
        mf.add(0x0538, struct.pack("<H%dH" % len(counts), len(counts), *counts) + mf.words(*points))
        polygons += len(rings)
    return mf.bytes(), polygons


def city_check(pixels, log):
    ok = total = 0
    missed = []
    for cc, lat, lon, zone in read_zone_tab():
        off = standard_offset(zone)
        if off not in COLOURS:
            continue
        total += 1
        l = lon + 360 if lon < -22.5 else lon
        l = l - 360 if l > 337.5 else l
        x, y = int(W * (l + 22.5) / 360), int(H * (90 - lat) / 180)
        if 0 <= x < W and 0 <= y < H and pixels[y, x] == off:
            ok += 1
        else:
            missed.append(f"{zone} {off:+g} got {pixels[y, x] if 0 <= y < H else None}")
    log(f"city check: {ok} of {total} zone.tab cities ({100.0 * ok / total:.2f}%)")
    for m in missed:
        log("  missed " + m)
    return ok, total


def write_city_table(path):
    with open(path, "w", encoding="utf-8") as f:
        f.write("# zone.tab of tzdata %s: zone, latitude, longitude, standard offset (hours,\n"
                "# smaller of 1 January and 1 July %d). Made by tools/tzmap/make_tzmap.py.\n"
                % (open("/usr/share/zoneinfo/tzdata.zi").readline().split()[-1], YEAR))
        for cc, lat, lon, zone in read_zone_tab():
            off = standard_offset(zone)
            f.write(f"{zone}\t{lat:.4f}\t{lon:.4f}\t{off:g}\n")


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", required=True, help="the .wmf file to write")
    ap.add_argument("--cities", help="also write the city table for the tests here")
    ap.add_argument("--preview", help="also write the map as a PNG here")
    args = ap.parse_args()
    log = lambda s: print(s, file=sys.stderr)
    offsets, land, lon = build_offsets(log)
    pixels = to_map(offsets, land, lon)
    data, polygons = make_metafile(pixels)
    with open(args.out, "wb") as f:
        f.write(data)
    log(f"{args.out}: {len(data)} bytes, {polygons} rings")
    city_check(pixels, log)
    if args.cities:
        write_city_table(args.cities)
    if args.preview:
        rgb = np.zeros((H, W, 3), dtype=np.uint8)
        for off, c in COLOURS.items():
            rgb[pixels == off] = c
        Image.fromarray(rgb).save(args.preview)


if __name__ == "__main__":
    main()
