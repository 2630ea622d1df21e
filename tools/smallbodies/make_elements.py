#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Writes the sky's bundled comet and minor-planet elements in the Minor Planet Center's
formats from Debian's kstars-data:

    asteroids.dat     (JSON from JPL's small-body database, epoch MJD 59800) -> data/mpcorb.txt
    cometels.json.gz  (MPC comet elements)                                 -> data/cometels.txt

    /usr/bin/python3 tools/smallbodies/make_elements.py [kstars data folder]
"""
import gzip
import json
import math
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
DATA = os.path.join(HERE, "..", "..", "data")
GAUSS_DEG = 0.9856076686  # mean motion at 1 au, degrees a day

B62 = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"


def pack_number(n):
    if n < 100000:
        return "%05d" % n
    if n < 620000:
        return B62[n // 10000] + "%04d" % (n % 10000)
    n -= 620000
    digits = ""
    for _ in range(4):
        digits = B62[n % 62] + digits
        n //= 62
    return "~" + digits


def pack_provisional(text):
    """'2022 OU15' -> 'K22O15U'."""
    m = re.fullmatch(r"(\d{4}) ([A-Z])([A-Z])(\d*)", text)
    if not m:
        return None
    year, half, second, cycle = int(m.group(1)), m.group(2), m.group(3), int(m.group(4) or 0)
    return "IJK"[year // 100 - 18] + "%02d" % (year % 100) + half + B62[cycle // 10] + str(cycle % 10) + second


def mjd_to_calendar(mjd):
    jd = mjd + 2400000.5
    z = int(jd + 0.5)
    a = z
    if z >= 2299161:
        alpha = int((z - 1867216.25) / 36524.25)
        a = z + 1 + alpha - alpha // 4
    b = a + 1524
    c = int((b - 122.1) / 365.25)
    d = int(365.25 * c)
    e = int((b - d) / 30.6001)
    day = b - d - int(30.6001 * e)
    month = e - 1 if e < 14 else e - 13
    year = c - 4716 if month > 2 else c - 4715
    return year, month, day


def pack_epoch(mjd):
    y, m, d = mjd_to_calendar(mjd)
    return "IJK"[y // 100 - 18] + "%02d" % (y % 100) + B62[m] + B62[d]


def mpcorb_line(row, fields):
    r = dict(zip(fields, row))
    full = r["full_name"].strip()
    m = re.fullmatch(r"(\d+)?\s*([^(]*?)\s*(?:\((.*)\))?", full)
    number = int(m.group(1)) if m.group(1) else 0
    name = m.group(2)
    provisional = m.group(3) or ""
    if number:
        packed = pack_number(number)
        readable = "(%d) %s" % (number, name or provisional)
    else:
        packed = pack_provisional(provisional)
        readable = provisional
    if not packed or any(r[k] is None for k in ("ma", "a", "e", "i", "om", "w", "epoch_mjd")):
        return None  # one TNO comes without its mean anomaly
    a = float(r["a"])
    H = "%5.2f" % float(r["H"]) if r["H"] is not None else " " * 5
    G = "%5.2f" % float(r["G"]) if r["G"] is not None else " " * 5
    line = "%-7s %s %s %s %9.5f  %9.5f  %9.5f  %9.5f  %9.7f %11.8f %11.7f" % (
        packed, H, G, pack_epoch(float(r["epoch_mjd"])), float(r["ma"]) % 360.0, float(r["w"]),
        float(r["om"]), float(r["i"]), float(r["e"]), GAUSS_DEG / a ** 1.5, a)
    line += "    %-9s" % ("JPL " + str(r["orbit_id"]).replace("JPL ", ""))[:9]
    line = line.ljust(166) + "%-28s" % readable[:28]
    return line.rstrip()


def comet_line(c):
    number = "%04d" % c["Comet_num"] if "Comet_num" in c else "    "
    provisional = c.get("Provisional_packed_desig", "")
    epoch = ("%04d%02d%02d" % (c["Epoch_year"], c["Epoch_month"], c["Epoch_day"])) if "Epoch_year" in c else " " * 8
    return ("%s%s%-7s  %04d %02d %07.4f %9.6f  %8.6f  %8.4f  %8.4f  %8.4f  %s  %4.1f %4.1f  %-56s %-9s" % (
        number, c["Orbit_type"], provisional, c["Year_of_perihelion"], c["Month_of_perihelion"],
        c["Day_of_perihelion"], c["Perihelion_dist"], c["e"], c["Peri"], c["Node"], c["i"], epoch,
        c["H"], c["G"], c["Designation_and_name"][:56], c["Ref"][:9])).rstrip()


def main():
    src = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/kstars"
    with open(os.path.join(src, "asteroids.dat"), encoding="utf-8") as f:
        asteroids = json.load(f)
    lines = [l for l in (mpcorb_line(row, asteroids["fields"]) for row in asteroids["data"]) if l]
    with open(os.path.join(DATA, "mpcorb.txt"), "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    with gzip.open(os.path.join(src, "cometels.json.gz"), "rt", encoding="utf-8") as f:
        comets = json.load(f)
    with open(os.path.join(DATA, "cometels.txt"), "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(comet_line(c) for c in comets) + "\n")
    print("%d minor planets of %d, %d comets" % (len(lines), len(asteroids["data"]), len(comets)))


if __name__ == "__main__":
    main()
