#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Writes data/constellines.txt, the constellation figures the browser chart draws, from
npm d3-celestial's data/constellations.lines.json.

    /usr/bin/python3 tools/skychart/make_lines.py \
        /work/npm/node_modules/d3-celestial/data/constellations.lines.json data/constellines.txt

One segment a line: constellation abbreviation, then RA and Dec (J2000, degrees) of both
ends. d3-celestial gives RA from -180 to 180 degrees; it is written from 0 to 360.
"""
import json
import sys


def main(source, target):
    with open(source, encoding="utf-8") as f:
        features = json.load(f)["features"]
    version = json.load(open(source.rsplit("/data/", 1)[0] + "/package.json"))["version"]
    seen = set()
    rows = []
    for feature in sorted(features, key=lambda x: x["id"]):
        for line in feature["geometry"]["coordinates"]:
            for a, b in zip(line, line[1:]):
                ends = [(round(p[0] % 360.0, 4), round(p[1], 4)) for p in (a, b)]
                key = (feature["id"], tuple(sorted(ends)))
                if ends[0] == ends[1] or key in seen:
                    continue
                seen.add(key)
                rows.append("%s\t%.4f\t%.4f\t%.4f\t%.4f" % (feature["id"], *ends[0], *ends[1]))
    with open(target, "w", encoding="utf-8", newline="\n") as out:
        out.write("# Constellation figures, from d3-celestial %s (BSD-3-Clause, (c) 2015 Olaf Frohn);\n" % version)
        out.write("# made by tools/skychart/make_lines.py. abbr, RA1, Dec1, RA2, Dec2 (J2000 degrees)\n")
        out.write("\n".join(rows) + "\n")
    print("%d segments" % len(rows))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
