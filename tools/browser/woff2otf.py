#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Unpacks WOFF 1.0 fonts into plain OpenType files that fontconfig and Chromium load.

usage: woff2otf.py OUT_DIR FONT.woff...
"""
import os
import struct
import sys
import zlib


def unpack(data):
    signature, flavor, _, count = struct.unpack(">4sIIH", data[:14])
    if signature != b"wOFF":
        raise ValueError("not a WOFF 1.0 font")
    entries = [struct.unpack(">4sIIII", data[44 + 20 * i:64 + 20 * i]) for i in range(count)]
    # The sfnt header: binary-search fields from the table count.
    power = 1 << (count.bit_length() - 1)
    header = struct.pack(">IHHHH", flavor, count, power * 16, power.bit_length() - 1, count * 16 - power * 16)
    offset = 12 + 16 * count
    directory, tables = [], []
    for tag, start, length, original, checksum in entries:
        table = data[start:start + length]
        if length < original:
            table = zlib.decompress(table)
        if len(table) != original:
            raise ValueError(f"table {tag!r} has the wrong length")
        directory.append(struct.pack(">4sIII", tag, checksum, offset, original))
        table += b"\0" * (-len(table) % 4)
        tables.append(table)
        offset += len(table)
    return header + b"".join(directory) + b"".join(tables)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for path in sys.argv[2:]:
        with open(path, "rb") as f:
            font = unpack(f.read())
        name = os.path.splitext(os.path.basename(path))[0] + ".otf"
        with open(os.path.join(out, name), "wb") as f:
            f.write(font)


if __name__ == "__main__":
    main()
