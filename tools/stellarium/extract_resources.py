#!/usr/bin/env python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Extracts the plugin tables that Debian's `stellarium` package carries inside its program
as compressed resources (the exoplanet, meteor-shower and satellite tables), so the data
generators can convert them once.

    /usr/bin/python3 tools/stellarium/extract_resources.py /usr/bin/stellarium OUTDIR

A compressed resource is a zlib stream behind its lengths; each stream that inflates to a
JSON document is written to OUTDIR under a name taken from its "shortName" or first key
(exoplanets.json, showers.json, satellites.json, ...).
"""
import json
import re
import sys
import zlib

NAMES = [  # a phrase of the table's own header -> the file name it gets
    ("stars with exoplanets", "exoplanets.json"),
    ("meteor showers", "showers.json"),
    ("supernovae", "supernovae.json"),
    ("novae", "novae.json"),
    ("pulsars", "pulsars.json"),
    ("quasars", "quasars.json"),
    ("Satellites plugin", "satellites.json"),
]


def name_for(doc, index):
    head = json.dumps(doc)[:400]
    for phrase, name in NAMES:
        if phrase in head:
            return name
    return "resource_%d.json" % index


def main(binary, outdir):
    data = open(binary, "rb").read()
    written = []
    for m in re.finditer(rb"\x78[\x01\x5e\x9c\xda]", data):
        try:
            out = zlib.decompressobj().decompress(data[m.start():m.start() + 32_000_000])
        except zlib.error:
            continue
        if len(out) < 1000 or out.lstrip()[:1] not in (b"{", b"["):
            continue
        try:
            doc = json.loads(out)
        except ValueError:
            continue
        name = name_for(doc, m.start())
        with open("%s/%s" % (outdir, name), "wb") as f:
            f.write(out)
        written.append((name, len(out)))
    for name, size in written:
        print("%-28s %9d bytes" % (name, size))
    return 0 if written else 1


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
