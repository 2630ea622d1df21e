#!/usr/bin/env python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Converts the star, star-name, constellation, Messier and planet tables of the npm
package d3-celestial (BSD-3-Clause, (c) Olaf Frohn) into the compact catalogue that the
built-in sky (CSkyHost) reads: data/skycat.txt.

    mkdir /tmp/d3 && cd /tmp/d3 && npm pack d3-celestial && tar xzf d3-celestial-*.tgz
    python3 tools/skydata/make_skydata.py /tmp/d3/package/data data/skycat.txt

One record a line, fields separated by tabs, UTF-8; the first field names the kind:
  S hip ra dec mag bv constellation bayer flamsteed english japanese   (stars, J2000 deg)
  C abbreviation latin english japanese ra dec                          (constellations)
  M number ngc type english ra dec mag size                             (Messier objects)
  K id english japanese a e i M w N n epoch_jd H                        (Keplerian orbits)
Stars: the package's table of stars to magnitude 6 (Hipparcos numbers).
"""
import json
import sys

TYPES = {  # the package's deep-sky type codes, in Japanese
    "gc": "球状星団", "oc": "散開星団", "pn": "惑星状星雲", "en": "散光星雲",
    "rn": "反射星雲", "sfr": "散光星雲", "snr": "超新星残骸", "bn": "散光星雲",
    "dn": "暗黒星雲", "sg": "渦巻銀河", "s0": "レンズ状銀河", "e": "楕円銀河",
    "i": "不規則銀河", "g": "銀河", "ds": "二重星", "as": "星群", "pos": "星群",
}


def clean(text):
    return str(text or "").replace("\u200e", "").replace("\u2009", " ").replace("\t", " ").strip()


def ra_of(lon):
    return lon + 360.0 if lon < 0 else lon


def julian_day(iso):
    y, m, d = (int(x) for x in iso.split("-"))
    if m <= 2:
        y, m = y - 1, m + 12
    a = y // 100
    return int(365.25 * (y + 4716)) + int(30.6001 * (m + 1)) + d + 2 - a + a // 4 - 1524.5


def main(folder, target):
    load = lambda name: json.load(open("%s/%s" % (folder, name), encoding="utf-8"))
    names = load("starnames.json")
    out = []
    constellations = load("constellations.json")["features"]
    ids = [f["id"] for f in constellations]
    for f in constellations:
        p = f["properties"]
        lon, lat = f["geometry"]["coordinates"]
        latin = clean(p["name"])
        if ids.count(f["id"]) > 1:
            # A constellation in two parts (Serpens Caput and Cauda): one record, under the
            # common name, labelled at its first part.
            if any(line.startswith("C\t%s\t" % f["id"]) for line in out):
                continue
            latin = latin.split()[0]
        out.append("C\t%s\t%s\t%s\t%s\t%.4f\t%.4f" % (
            f["id"], latin, clean(p["en"]), clean(p.get("ja")), ra_of(lon), lat))
    for f in load("stars.6.json")["features"]:
        hip = int(f["id"])
        if hip <= 0:
            continue
        p = f["properties"]
        lon, lat = f["geometry"]["coordinates"]
        n = names.get(str(hip), {})
        bv = p.get("bv", "")
        out.append("S\t%d\t%.5f\t%.5f\t%.2f\t%s\t%s\t%s\t%s\t%s\t%s" % (
            hip, ra_of(lon), lat, p["mag"], clean(bv), clean(n.get("c")), clean(n.get("bayer")),
            clean(n.get("flam")), clean(n.get("name")), clean(n.get("ja"))))
    for f in load("messier.json")["features"]:
        p = f["properties"]
        lon, lat = f["geometry"]["coordinates"]
        number = int(f["id"][1:])
        mag = p.get("mag")
        out.append("M\t%d\t%s\t%s\t%s\t%.4f\t%.4f\t%s\t%s" % (
            number, clean(p.get("desig")), TYPES.get(p.get("type"), clean(p.get("type"))),
            clean(p.get("alt")), ra_of(lon), lat, "" if mag in (None, "") else mag, clean(p.get("dim"))))
    planets = load("planets.json")
    for key in ("cer",):
        p = planets[key]
        e = p["elements"][0]
        out.append("K\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%.1f\t%s" % (
            key, clean(p["en"]), clean(p.get("ja")), e["a"], e["e"], e["i"], e["M"], e["w"],
            e["N"], e["n"], julian_day(e["ep"]), p["H"]))
    with open(target, "w", encoding="utf-8", newline="\n") as f:
        f.write("# Built-in sky catalogue, from d3-celestial (BSD-3-Clause, (c) 2015 Olaf Frohn);\n")
        f.write("# made by tools/skydata/make_skydata.py. Fields: see that script.\n")
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
