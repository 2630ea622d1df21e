#!/usr/bin/env python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Small catalogue tables for the table reader's fuzz corpus (fuzz/corpus/fuzz_catalogtable):
a star-like and a deep-sky-like table, and damaged copies of them.

    /usr/bin/python3 tools/catalogs/make_fuzz_corpus.py fuzz/corpus/fuzz_catalogtable
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from zct import write_table  # noqa: E402


def main(folder):
    os.makedirs(folder, exist_ok=True)
    stars = [{"ra": 34.8 + i, "dec": -3.0 + 7 * i, "mag": 2.0 + i, "hip": 10826 + i, "name": "omi Cet" if i == 0 else "S%d" % i}
             for i in range(6)]
    cols = [("ra", "f64"), ("dec", "f64"), ("mag", "f32"), ("hip", "i32"), ("name", "str")]
    write_table(os.path.join(folder, "stars"), cols, stars, lambda r: [r["name"]], zones=4, order_by="hip")
    dso = [{"ra": 359.9, "dec": 89.0, "mag": None, "name": "NGC 1"}, {"ra": 0.0, "dec": -90.0, "mag": 4.4, "name": "M 31"}]
    write_table(os.path.join(folder, "deepsky"), [("ra", "f64"), ("dec", "f64"), ("mag", "f32"), ("name", "str")],
                dso, lambda r: [r["name"], "pgc2557"], zones=180)
    data = open(os.path.join(folder, "stars"), "rb").read()
    open(os.path.join(folder, "stars_truncated"), "wb").write(data[: len(data) - 9])
    flipped = bytearray(data)
    flipped[64 + 24] ^= 0xFF  # the first column's offset
    open(os.path.join(folder, "stars_bad_column"), "wb").write(bytes(flipped))


if __name__ == "__main__":
    main(sys.argv[1])
