# SPDX-License-Identifier: LGPL-3.0-or-later
"""Writes the sky's catalogue tables: one binary file a table, little-endian, every section
on an 8-byte boundary, read in place (memory-mapped) by src/sky/catalogs/CatalogFile.

    header   magic "ZCMCAT01", u32 rows, u32 columns, u32 zones, u32 keys,
             u64 zones_at, u64 keys_at, u64 strings_at, u64 strings_size, u64 file_size
    columns  per column: name (16 bytes, NUL padded), u32 type, u32 width, u64 data_at
             type 1 f64, 2 f32, 3 i32, 4 string (u32 offset into the strings)
    zones    u32[zones + 1]: first row of each declination band of 180/zones degrees;
             rows are sorted by band, then by right ascension
    keys     (u32 string offset, u32 row) sorted by the key's bytes: designations and names
             in lower case without blanks
    strings  NUL-terminated UTF-8, the first one empty
Missing numbers are NaN (f64, f32) or 0 (i32); a missing text is the empty string.
"""
import math
import struct

TYPES = {"f64": (1, 8, "d"), "f32": (2, 4, "f"), "i32": (3, 4, "i"), "str": (4, 4, "I")}


def key_of(text):
    return "".join(str(text).lower().split())


def _pad(buf):
    buf.extend(b"\0" * (-len(buf) % 8))


def write_table(path, columns, rows, keys_of, zones=180, order_by=None):
    """columns: [(name, type)], the first two ra and dec (degrees); rows: dicts;
    keys_of(row) -> iterable of names the row is found by. order_by names an i32 column
    whose rows are also listed in its order, as the i32 column "by" + its name, so a
    number (a Hipparcos number) is found by bisection without a key of its own."""
    band = lambda dec: min(zones - 1, max(0, int((dec + 90.0) * zones / 180.0)))
    rows = sorted(rows, key=lambda r: (band(r["dec"]), r["ra"]))
    if order_by:
        order = sorted(range(len(rows)), key=lambda i: rows[i][order_by])
        for position, i in enumerate(order):
            rows[position]["by" + order_by] = i
        columns = list(columns) + [("by" + order_by, "i32")]
    strings = bytearray(b"\0")
    seen = {"": 0}

    def intern(text):
        text = "" if text is None else str(text)
        if text not in seen:
            seen[text] = len(strings)
            strings.extend(text.encode("utf-8") + b"\0")
        return seen[text]

    blobs = []
    for name, kind in columns:
        code, width, fmt = TYPES[kind]
        out = bytearray()
        for r in rows:
            v = r.get(name)
            if kind == "str":
                out += struct.pack("<I", intern(v))
            elif kind == "i32":
                out += struct.pack("<i", int(v or 0))
            else:
                out += struct.pack("<" + fmt, float("nan") if v is None or v == "" else float(v))
        blobs.append((name, code, width, out))
    starts = [0] * (zones + 1)
    for r in rows:
        starts[band(r["dec"]) + 1] += 1
    for i in range(zones):
        starts[i + 1] += starts[i]
    keys = sorted({(key_of(k).encode("utf-8"), i) for i, r in enumerate(rows) for k in keys_of(r) if key_of(k)})
    key_pairs = [(intern(k.decode("utf-8")), i) for k, i in keys]

    header_size = 64 + 32 * len(columns)
    body = bytearray()
    at = header_size
    descriptors = bytearray()
    for name, code, width, data in blobs:
        descriptors += struct.pack("<16sIIQ", name.encode(), code, width, at + len(body))
        body += data
        _pad(body)
    zones_at = at + len(body)
    body += struct.pack("<%dI" % (zones + 1), *starts)
    _pad(body)
    keys_at = at + len(body)
    for k in key_pairs:
        body += struct.pack("<II", *k)
    _pad(body)
    strings_at = at + len(body)
    body += strings
    size = strings_at + len(strings)
    header = struct.pack("<8sIIIIQQQQQ", b"ZCMCAT01", len(rows), len(columns), zones, len(key_pairs),
                         zones_at, keys_at, strings_at, len(strings), size)
    with open(path, "wb") as f:
        f.write(header + descriptors + body)
    return len(rows), size


def read_table(path):
    """The rows of a table write_table wrote, as dicts by column name."""
    with open(path, "rb") as f:
        data = f.read()
    magic, count, ncols = struct.unpack_from("<8sII", data)
    assert magic == b"ZCMCAT01", path
    strings_at = struct.unpack_from("<Q", data, 40)[0]
    columns = []
    for c in range(ncols):
        name, code, width, at = struct.unpack_from("<16sIIQ", data, 64 + 32 * c)
        fmt = {1: "d", 2: "f", 3: "i", 4: "I"}[code]
        values = struct.unpack_from("<%d%s" % (count, fmt), data, at)
        if code == 4:
            values = [data[strings_at + v:data.index(b"\0", strings_at + v)].decode("utf-8") for v in values]
        columns.append((name.rstrip(b"\0").decode(), values))
    return [{name: values[i] for name, values in columns} for i in range(count)]


def ra_dec_of_sexagesimal(ra, de):
    """'22h57m26.9s', '20d46m6.9s' -> degrees."""
    def parts(text, marks):
        out = []
        for m in marks:
            head, _, text = text.partition(m)
            out.append(float(head))
        return out
    h, m, s = parts(ra.strip(), "hms")
    sign = -1.0 if de.strip().startswith("-") else 1.0
    d, dm, ds = parts(de.strip().lstrip("+-"), "dms")
    return (h + m / 60 + s / 3600) * 15.0, sign * (d + dm / 60 + ds / 3600)


def separation(ra1, de1, ra2, de2):
    r = math.radians
    c = math.sin(r(de1)) * math.sin(r(de2)) + math.cos(r(de1)) * math.cos(r(de2)) * math.cos(r(ra1 - ra2))
    return math.degrees(math.acos(max(-1.0, min(1.0, c))))
