#!/usr/bin/env python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Converts the star, variable-star, double-star, exoplanet and deep-sky catalogues found in
Debian and npm packages into the sky's tables under data/ (format: tools/catalogs/zct.py).

    /usr/bin/python3 tools/stellarium/extract_resources.py /usr/bin/stellarium /tmp/stx
    /usr/bin/python3 tools/catalogs/make_catalogs.py /tmp/stx/exoplanets.json data

Sources (all read from the installed packages; D3_CELESTIAL_DATA and KSTARS_DATA name other
folders holding the npm and kstars-data files):
  d3-celestial (npm, BSD-3-Clause): data/stars.8.json, starnames.json, dsos.20.json
  stellarium-data (Debian, GPL-2+): stars/default/stars_[012]_0v0_8.cat (star places and
      parallaxes), hip_pm.dat, cross-id.dat, gcvs_hip_part.dat, wds_hip_part.dat
  kstars-data (Debian, GPL-2+): namedstars.dat, unnamedstars.dat (spectral type, and the
      parallax of stars the stellarium-data files lack, by HD number); OpenNGC.kscat
      (OpenNGC, CC-BY-SA-4.0)
  stellarium (Debian, GPL-2+): the exoplanet table of its program's resources
"""
import json
import math
import os
import re
import sqlite3
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from zct import write_table, ra_dec_of_sexagesimal, separation  # noqa: E402

D3 = os.environ.get("D3_CELESTIAL_DATA", "/work/npm/node_modules/d3-celestial/data")
STEL = "/usr/share/stellarium/stars/default"
KSTARS = os.environ.get("KSTARS_DATA", "/usr/share/kstars")

GREEK = {"alf": "α", "bet": "β", "gam": "γ", "del": "δ", "eps": "ε", "zet": "ζ", "eta": "η", "tet": "θ",
         "iot": "ι", "kap": "κ", "lam": "λ", "mu.": "μ", "nu.": "ν", "ksi": "ξ", "omi": "ο", "pi.": "π",
         "rho": "ρ", "sig": "σ", "tau": "τ", "ups": "υ", "phi": "φ", "khi": "χ", "psi": "ψ", "ome": "ω"}

DSO_TYPES = {0: "恒星", 3: "散開星団", 4: "球状星団", 5: "散光星雲", 6: "惑星状星雲", 7: "超新星残骸",
             8: "銀河", 13: "星群", 14: "銀河団", 15: "暗黒星雲", 17: "二重星"}


def clean(text):
    return str(text or "").replace("\u200e", "").replace("\u2009", " ").replace("\t", " ").strip()


def ra_of(lon):
    return lon + 360.0 if lon < 0 else lon


def number(text):
    try:
        return float(text)
    except (TypeError, ValueError):
        return None


def tab_rows(path):
    for line in open(path, encoding="utf-8"):
        if line.startswith("#") or not line.strip():
            continue
        yield line.rstrip("\n").split("\t")


def ascii_designation(name):
    """"ο Cet" -> "omi Cet": the form typed without Greek letters."""
    letters = {v: k.rstrip(".") for k, v in GREEK.items()}
    head, _, tail = name.partition(" ")
    return "%s %s" % (letters[head], tail) if head in letters else name


def kstars_stars():
    """HD number -> (parallax mas, spectral type) from the KStars Hipparcos star files."""
    out = {}
    for name in ("namedstars.dat", "unnamedstars.dat"):
        d = open("%s/%s" % (KSTARS, name), "rb").read()
        at = 124 + 3 + 2 + 11 * 16 + 4
        for i in range(512):
            _, start, count = struct.unpack_from("<III", d, at + 12 * i)
            for k in range(count):
                r = struct.unpack_from("<iiiiiihh2sBB", d, start + 32 * k)
                if r[5] > 0:
                    out[r[5]] = (r[4] / 10.0, r[8].decode("ascii", "replace").strip("\0 "))
    return out


def _unit(v):
    n = math.sqrt(sum(x * x for x in v))
    return [x / n for x in v]


def _cross(a, b):
    return [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]]


def _dot(a, b):
    return sum(x * y for x, y in zip(a, b))


def _triangles(level):
    """The 20 * 4**level triangles of an icosahedron (vertices (0, +-phi, +-1) and their
    cyclic permutations) split by the unit-sphere midpoints of their edges."""
    phi = (1 + 5 ** 0.5) / 2
    v = [_unit(p) for a in (1, -1) for b in (phi, -phi) for p in ((0, b, a), (b, a, 0), (a, 0, b))]
    tris = [[v[i], v[j], v[k]] for i in range(12) for j in range(i + 1, 12) for k in range(j + 1, 12)
            if all(abs(_dot(v[x], v[y]) - 1 / 5 ** 0.5) < 1e-9 for x, y in ((i, j), (j, k), (i, k)))]
    for _ in range(level):
        out = []
        for a, b, c in tris:
            ab, bc, ca = (_unit([x + y for x, y in zip(p, q)]) for p, q in ((a, b), (b, c), (c, a)))
            out += [[a, ab, ca], [ab, b, bc], [ca, bc, c], [ab, bc, ca]]
        tris = out
    return tris


def _inside(t, u):
    a, b, c = t
    s = _dot(_cross(a, b), c)
    return all(_dot(_cross(p, q), u) * s >= -1e-12 for p, q in ((a, b), (b, c), (c, a)))


def _unit_of(ra, dec):
    r, d = math.radians(ra), math.radians(dec)
    return [math.cos(d) * math.cos(r), math.cos(d) * math.sin(r), math.sin(d)]


def stellarium_hipparcos(rough):
    """HIP number -> (ra, dec, parallax mas) of the Hipparcos stars in stellarium-data's star
    files (magnitudes -2 to 9): a 32-byte header (i32 magic, type, major, minor, level, ...),
    u32 star counts of the 20 * 4**level zones (triangles of a split icosahedron), then 28-byte
    records: u32 HIP number (low 24 bits) and component, i32 x0, x1, u8 B-V, u8 magnitude,
    u16 spectral type, i32 proper motions, i32 parallax in 10 microarcseconds. A star is at
    centre + (x0 * e0 + x1 * e1) * (3 - sqrt 5) / 2**(level + 31) from its zone's centre
    (e0 east of it, e1 north), projected onto the sphere (a quantum of 0.07 mas): J2000 places
    at epoch J2000. The files do not number their zones: a zone is the triangle
    holding most of its stars at their rough places (hip -> (ra, dec))."""
    out = {}
    for name in ("stars_0_0v0_8.cat", "stars_1_0v0_8.cat", "stars_2_0v0_8.cat"):
        d = open("%s/%s" % (STEL, name), "rb").read()
        level = struct.unpack_from("<i", d, 16)[0]
        tris = _triangles(level)
        counts = struct.unpack_from("<%dI" % len(tris), d, 32)
        at = 32 + 4 * len(tris)
        scale = (3 - 5 ** 0.5) / 2.0 ** (level + 31)
        for zone, count in enumerate(counts):
            recs = [struct.unpack_from("<Iii12xi", d, at + 28 * k) for k in range(count)]
            at += 28 * count
            votes = {}
            for r in recs[:25]:
                if r[0] & 0xFFFFFF in rough:
                    u = _unit_of(*rough[r[0] & 0xFFFFFF])
                    for i, t in enumerate(tris):
                        if _inside(t, u):
                            votes[i] = votes.get(i, 0) + 1
            if not votes:
                continue
            t = tris[max(votes, key=votes.get)]
            c = _unit([x + y + z for x, y, z in zip(*t)])
            e0 = _unit(_cross([0, 0, 1], c))
            e1 = _cross(c, e0)
            for word, x0, x1, plx in recs:
                hip = word & 0xFFFFFF
                if hip and hip not in out:  # the first component of a multiple star
                    v = [cc + (x0 * p + x1 * q) * scale for cc, p, q in zip(c, e0, e1)]
                    ra = math.degrees(math.atan2(v[1], v[0])) % 360.0
                    dec = math.degrees(math.atan2(v[2], math.hypot(v[0], v[1])))
                    out[hip] = (ra, dec, plx / 100.0)
    return out


def constellation_names():
    out = {}
    for f in json.load(open(D3 + "/constellations.json", encoding="utf-8"))["features"]:
        out.setdefault(f["id"], clean(f["properties"].get("ja")))
    return out


def make_stars(planet_hosts):
    names = json.load(open(D3 + "/starnames.json", encoding="utf-8"))
    cons = constellation_names()
    pm = {int(r[0]): (number(r[1]), number(r[2])) for r in tab_rows(STEL + "/hip_pm.dat")}
    cross = {}
    for r in tab_rows(STEL + "/cross-id.dat"):
        r += [""] * 5
        cross[int(r[0])] = {"sao": r[2].strip(), "hd": r[3].strip(), "hr": r[4].strip()}
    ks = kstars_stars()
    features = [f for f in json.load(open(D3 + "/stars.8.json", encoding="utf-8"))["features"] if int(f["id"]) > 0]
    rough = {int(f["id"]): (ra_of(f["geometry"]["coordinates"][0]), f["geometry"]["coordinates"][1]) for f in features}
    fine = stellarium_hipparcos(rough)
    gcvs = {int(r[0]): r[1] for r in tab_rows(STEL + "/gcvs_hip_part.dat")}
    rows = []
    for f in features:
        hip = int(f["id"])
        p = f["properties"]
        ra, dec = rough[hip]
        n = names.get(str(hip), {})
        x = cross.get(hip, {})
        hd = int(x["hd"]) if x.get("hd", "").isdigit() else 0
        plx, sp = ks.get(hd, (None, ""))
        if hip in fine:  # by HIP number and to 0.01 mas (HD numbers miss some stars)
            fra, fdec, plx = fine[hip]
            # d3-celestial's places are these rounded to 1e-4 degrees; where the two disagree
            # beyond that (a place left at another epoch), d3-celestial's stands.
            if abs(fdec - dec) <= 0.5e-4 + 1e-9 and abs((fra - ra + 180.0) % 360.0 - 180.0) <= 0.5e-4 + 1e-9:
                ra, dec = fra, fdec
        pmra, pmde = pm.get(hip, (None, None))
        rows.append({
            "ra": ra, "dec": dec, "pmra": pmra, "pmdec": pmde, "plx": plx if plx and plx > 0 else None,
            "mag": p["mag"], "bv": number(p.get("bv")), "hip": hip, "hd": hd, "planets": planet_hosts.get(hip, 0),
            "con": clean(n.get("c")), "cname": cons.get(clean(n.get("c")), ""), "bayer": clean(n.get("bayer")),
            "flam": clean(n.get("flam")), "en": clean(n.get("name")), "ja": clean(n.get("ja")), "sp": sp,
            "var": gcvs.get(hip, ""),
            "sao": int(x["sao"]) if x.get("sao", "").isdigit() else 0,
            "hr": int(x["hr"]) if x.get("hr", "").isdigit() else 0})

    def keys(r):
        for k in ("en", "ja"):
            if r[k]:
                yield r[k]
    cols = [("ra", "f64"), ("dec", "f64"), ("pmra", "f32"), ("pmdec", "f32"), ("plx", "f32"), ("mag", "f32"),
            ("bv", "f32"), ("hip", "i32"), ("hd", "i32"), ("sao", "i32"), ("hr", "i32"), ("planets", "i32"), ("con", "str"), ("cname", "str"),
            ("bayer", "str"), ("flam", "str"), ("en", "str"), ("ja", "str"), ("sp", "str"), ("var", "str")]
    return rows, cols, keys


def make_variables(stars):
    rows = []
    for r in tab_rows(STEL + "/gcvs_hip_part.dat"):
        r += [""] * 13
        hip = int(r[0])
        s = stars.get(hip)
        if not s:
            continue
        epoch = number(r[8])
        rows.append({"ra": s["ra"], "dec": s["dec"], "hip": hip, "name": r[1].strip(), "type": r[2].strip(),
                     "max": number(r[3]), "min": number(r[5]), "min2": number(r[6]), "band": r[7].strip(),
                     "epoch": epoch + 2400000.0 if epoch is not None else None, "period": number(r[9]),
                     "mmd": number(r[10]), "sp": r[11].strip(), "other": s["en"]})
    cols = [("ra", "f64"), ("dec", "f64"), ("epoch", "f64"), ("period", "f64"), ("max", "f32"), ("min", "f32"),
            ("min2", "f32"), ("mmd", "f32"), ("hip", "i32"), ("name", "str"), ("type", "str"), ("band", "str"),
            ("sp", "str"), ("other", "str")]
    return rows, cols, lambda r: [r["name"], ascii_designation(r["name"])] + ([r["other"]] if r["other"] else [])


def make_doubles(stars):
    rows = []
    for r in tab_rows(STEL + "/wds_hip_part.dat"):
        hip = int(r[0])
        s = stars.get(hip)
        if not s or len(r) < 5:
            continue
        rows.append({"ra": s["ra"], "dec": s["dec"], "hip": hip, "wds": r[1].strip(), "year": number(r[2]),
                     "theta": number(r[3]), "rho": number(r[4])})
    cols = [("ra", "f64"), ("dec", "f64"), ("year", "f32"), ("theta", "f32"), ("rho", "f32"), ("hip", "i32"),
            ("wds", "str")]
    return rows, cols, lambda r: [r["wds"]]


def make_exoplanets(path, star_rows):
    table = json.load(open(path, encoding="utf-8"))["stars"]
    by_zone = {}
    for s in star_rows:
        by_zone.setdefault(int(s["dec"] + 90), []).append(s)
    rows, hosts = [], {}
    for host, d in sorted(table.items()):
        try:
            ra, dec = ra_dec_of_sexagesimal(d["RA"], d["DE"])
        except (KeyError, ValueError):
            continue
        hip = 0
        for z in (int(dec + 90) - 1, int(dec + 90), int(dec + 90) + 1):
            for s in by_zone.get(z, []):
                if separation(ra, dec, s["ra"], s["dec"]) < 20.0 / 3600 and abs(s["mag"] - (d.get("Vmag") or 99)) < 1.0:
                    hip = s["hip"]
        planets = d.get("exoplanets", [])
        if hip:
            hosts[hip] = len(planets)
        for p in planets:
            rows.append({"ra": ra, "dec": dec, "hip": hip, "host": host, "letter": clean(p.get("planetName")),
                         "count": len(planets), "vmag": d.get("Vmag"), "sp": clean(d.get("stype")),
                         "dist": d.get("distance"), "period": p.get("period"), "axis": p.get("semiAxis"),
                         "ecc": p.get("eccentricity"), "mass": p.get("mass"), "radius": p.get("radius"),
                         "year": p.get("discovered"), "method": clean(p.get("detectionMethod")),
                         "proper": clean(p.get("planetProperName")), "hostproper": clean(d.get("starProperName"))})
    cols = [("ra", "f64"), ("dec", "f64"), ("vmag", "f32"), ("dist", "f32"), ("period", "f64"), ("axis", "f32"),
            ("ecc", "f32"), ("mass", "f32"), ("radius", "f32"), ("hip", "i32"), ("count", "i32"), ("year", "i32"),
            ("host", "str"), ("letter", "str"), ("sp", "str"), ("method", "str"), ("proper", "str"),
            ("hostproper", "str")]
    return rows, cols, lambda r: [r["host"] + r["letter"], "host:" + r["host"]], hosts


def designation(text):
    m = re.match(r"^(NGC|IC|M|PGC|UGC|MCG|ESO|C)\s*0*(\S.*)$", text.strip())
    return "%s %s" % (m.group(1), m.group(2)) if m else text.strip()


def make_deepsky(pgc_limit):
    db = sqlite3.connect(KSTARS + "/OpenNGC.kscat")
    morph, visual = {}, {}
    pgc_rows = []
    for f in json.load(open(D3 + "/dsos.20.json", encoding="utf-8"))["features"]:
        p = f["properties"]
        morph[f["id"]] = clean(p.get("morph"))
        if (number(p.get("mag")) or 999.0) < 30.0:  # 999: unknown
            visual[f["id"]] = float(p["mag"])
        if f["id"].startswith("PGC ") and number(p.get("mag")) is not None and float(p["mag"]) <= pgc_limit:
            lon, lat = f["geometry"]["coordinates"]
            pgc_rows.append((f["id"], ra_of(lon), lat, float(p["mag"]), clean(p.get("dim")), morph[f["id"]]))
    japanese = {}
    for ident, names in json.load(open(D3 + "/dsonames.json", encoding="utf-8")).items():
        if names.get("ja") and not ident.isdigit():  # bare numbers are the package's own
            japanese[designation(ident)] = clean(names["ja"])
    rows, known = [], set()
    for t, ra, dec, mag, name, long_name, ident, major, minor, pa in db.execute(
            "select type, ra, dec, magnitude, name, long_name, catalog_identifier, major_axis, minor_axis,"
            " position_angle from cat where catalog = 1"):
        main = designation(ident)  # "NGC 224", "IC 434"
        others, common = [], []
        for piece in [name] + (long_name or "").split(","):
            piece = clean(piece)
            if not piece:
                continue
            if re.match(r"^(NGC|IC|M|PGC|UGC|MCG|ESO)\s*\d", piece):
                d = designation(piece)
                if d != main and d not in others:
                    others.append(d)
            elif piece not in common:
                common.append(piece)
        messier = [o for o in others if o.startswith("M ")]
        # The table's magnitude is often the blue one (M 31: 4.4 for a visual 3.4); the
        # click texts give the visual magnitude, which d3-celestial's list has for most. A
        # visual one fainter by more than a magnitude is a planetary nebula's central star.
        v = visual.get(main)
        if v is not None and (mag is None or v <= mag + 1.0):
            mag = v
        rows.append({"ra": ra, "dec": dec, "mag": mag, "major": major, "minor": minor, "pa": pa, "kind": t,
                     "id": main, "others": ", ".join(messier + [o for o in others if o not in messier]),
                     "name": ", ".join(common[:1]), "type": DSO_TYPES.get(t, "不明"),
                     "morph": morph.get(main, "") if t == 8 else "",
                     "ja": next((japanese[d] for d in [main] + others if d in japanese), "")})
        known.update([main] + others)
    # The Magellanic Clouds (J2000 centres, V magnitudes, extents in arc minutes).
    rows.append({"ra": 80.894, "dec": -69.756, "mag": 0.9, "major": 645.0, "minor": 550.0, "kind": 8,
                 "id": "LMC", "others": "PGC 17223", "name": "Large Magellanic Cloud", "type": "銀河",
                 "morph": "SB(s)m"})
    known.update(["LMC", "PGC 17223"])
    for ident, ra, dec, mag, dim, hubble in pgc_rows:
        if ident in known:
            continue
        axes = [number(x) for x in dim.split("x")] if dim else []
        rows.append({"ra": ra, "dec": dec, "mag": mag, "major": axes[0] if axes else None,
                     "minor": axes[1] if len(axes) > 1 else None, "kind": 8, "id": ident, "others": "",
                     "name": "", "type": DSO_TYPES[8], "morph": hubble})
    for r in rows:
        if r["id"] == "NGC 292":
            r["id2"] = "SMC"
    cols = [("ra", "f64"), ("dec", "f64"), ("mag", "f32"), ("major", "f32"), ("minor", "f32"), ("pa", "f32"),
            ("kind", "i32"), ("id", "str"), ("others", "str"), ("name", "str"), ("type", "str"), ("morph", "str"), ("ja", "str")]

    def keys(r):
        yield r["id"]
        if r.get("id2"):
            yield r["id2"]
        for o in r["others"].split(","):
            if o.strip():
                yield o
        for k in ("name", "ja"):
            if r.get(k):
                yield r[k]
    return rows, cols, keys


def main(exoplanets_json, target):
    star_rows, cols, keys = make_stars({})
    exo_rows, exo_cols, exo_keys, hosts = make_exoplanets(exoplanets_json, star_rows)
    for s in star_rows:
        s["planets"] = hosts.get(s["hip"], 0)
    by_hip = {s["hip"]: s for s in star_rows}
    out = {
        "stars.zct": (star_rows, cols, keys),
        "variables.zct": make_variables(by_hip),
        "doubles.zct": make_doubles(by_hip),
        "exoplanets.zct": (exo_rows, exo_cols, exo_keys),
        "deepsky.zct": make_deepsky(13.0),
    }
    for name, (rows, columns, key_fn) in out.items():
        count, size = write_table(os.path.join(target, name), columns, rows, key_fn,
                                  order_by="hip" if name == "stars.zct" else None)
        print("%-16s %7d rows %9d bytes" % (name, count, size))


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
