#!/bin/sh
# SPDX-License-Identifier: LGPL-3.0-or-later
# The browser chart's server as a user meets it: start to first page, and click latency
# (median, 95th percentile, worst) over a kept-alive connection.
#   scripts/bench-serve.sh [BUILD_DIR] [CLICKS]     (default build/, 300 clicks)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target zcmcom-cli >/dev/null
/usr/bin/python3 tools/bench/serve_timing.py "$build/bin/zcmcom" "${2:-300}"
