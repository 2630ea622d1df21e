#!/bin/sh
# SPDX-License-Identifier: LGPL-3.0-or-later
# The built-in sky beside PyEphem on one machine in one run: builds the benchmarks, runs the
# sky cases, times PyEphem on the same cases and prints the ratios; the places at random
# instants (no two within a month) and the fresh-instant texts against their goals.
#   scripts/bench-sky.sh [BUILD_DIR]     (default build/, configured with -DZCMCOM_BUILD_BENCH=ON)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target zcmcom-bench zcmcom-cli >/dev/null
json=$(mktemp)
trap 'rm -f "$json"' EXIT
"$build/bin/zcmcom-bench" --benchmark_filter='BM_SkyHost_' --benchmark_min_time=0.5 \
    --benchmark_out="$json" --benchmark_out_format=json
echo
/usr/bin/python3 tools/bench/sky_peer.py --bench-json "$json" --zcmcom "$build/bin/zcmcom"
