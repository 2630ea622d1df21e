#!/bin/bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# "zcmcom click NAME" beside the same text by path and beside PyEphem's nearest answer, on
# one machine in one run: a cold run (the program's files and data dropped from the page
# cache with posix_fadvise, which needs no privilege) and the median of five warm runs,
# wall time and maximum resident size; then "find orion".
#   scripts/bench-cli.sh [BUILD_DIR]     (default build/)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target zcmcom-cli >/dev/null
zcmcom="$build/bin/zcmcom"
at=(--at 2026-12-06T21:00:00+09:00 --site 139.69,35.69,40)
tmp=$(mktemp)
trap 'rm -f "$tmp"' EXIT

# Drops the program, its libraries and its data from the page cache (pages still mapped by
# a running process stay; nothing else runs them here).
evict() {
    /usr/bin/python3 - "$build" <<'PY'
import os, sys
roots = [sys.argv[1] + "/bin", sys.argv[1] + "/lib", sys.argv[1] + "/share", "data"]
for root in roots:
    for folder, _, files in os.walk(root):
        for name in files:
            try:
                fd = os.open(os.path.join(folder, name), os.O_RDONLY)
            except OSError:
                continue
            os.posix_fadvise(fd, 0, 0, os.POSIX_FADV_DONTNEED)
            os.close(fd)
PY
}

# One command: "wall_s rss_kB" of a cold run, then the median wall and largest RSS of five.
measure() {
    local first runs=()
    evict
    /usr/bin/time -f "%e %M" -o "$tmp" "$@" >/dev/null 2>&1 || true
    first=$(tail -1 "$tmp" | cut -d' ' -f1)
    for _ in 1 2 3 4 5; do
        /usr/bin/time -f "%e %M" -o "$tmp" "$@" >/dev/null 2>&1 || true
        runs+=("$(tail -1 "$tmp")")
    done
    printf '%s\n' "${runs[@]}" | sort -n | awk -v first="$first" \
        'NR == 3 { wall = $1 } $2 > rss { rss = $2 } END { print first, wall, rss }'
}

ephem() { echo "import ephem
o = ephem.Observer(); o.lon, o.lat, o.elevation = '139.69', '35.69', 40
o.date = '2026/12/06 12:00:00'
$1
b.compute(o); print(b.ra, b.dec, b.alt, b.az, b.mag)"; }
# The same question to PyEphem: the body made from the line's code, placed at the same site.

printf '%-10s %-28s %24s %24s %24s  %s\n' name path "by name cold/warm s, MB" \
    "by path cold/warm s, MB" "PyEphem cold/warm s, MB" "name/path"
while IFS='|' read -r name path py; do
    read -r nc nw nr <<<"$(measure "$zcmcom" click "${at[@]}" "$name")"
    read -r pc pw pr <<<"$(measure "$zcmcom" click "${at[@]}" "$path")"
    read -r ec ew er <<<"$(measure /usr/bin/python3 -c "$(ephem "$py")")"
    printf '%-10s %-28s %8s %8s %6.1f %8s %8s %6.1f %8s %8s %6.1f  %.2f\n' "$name" "$path" \
        "$nc" "$nw" "$(echo "$nr / 1024" | bc -l)" "$pc" "$pw" "$(echo "$pr / 1024" | bc -l)" \
        "$ec" "$ew" "$(echo "$er / 1024" | bc -l)" "$(echo "$nw / ($pw + 0.005)" | bc -l)"
done <<'CASES'
Mars|Solar.Planet.Mars|b = ephem.Mars()
Sirius|Star.HIP.32349|b = ephem.star('Sirius')
シリウス|Star.HIP.32349|b = ephem.star('Sirius')
M42|DeepSkyObject.M.42|b = ephem.readdb('M42,f|N,5:35:17.3,-5:23:28,4.0,2000')
Mira|Star.GCVS.ο Cet|b = ephem.readdb('Mira,f|V|M7,2:19:20.8,-2:58:39,6.5,2000')
ISS|ArtificialSatellite.25544|t = [l.strip() for l in open('data/satellites.tle')]; i = t.index('ISS (ZARYA)'); b = ephem.readtle(*t[i:i + 3])
1P|Solar.Comet.1P|b = ephem.readdb('1P/Halley,e,162.19,59.40,112.23,17.93,0,0.967,0,1986/2/9.46,2000,g 4.0,6.0')
Ceres|Solar.DwarfPlanet.Ceres|b = ephem.readdb('Ceres,e,10.59,80.31,73.12,2.7675,0.2141,0.0789,60.08,2022/8/9,2000,H3.34,0.12')
CASES
read -r first warm rss <<<"$(measure "$zcmcom" find orion)"
printf 'find orion: cold %s s, warm %s s, %.1f MB\n' "$first" "$warm" "$(echo "$rss / 1024" | bc -l)"
