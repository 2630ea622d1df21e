#!/bin/sh
# SPDX-License-Identifier: LGPL-3.0-or-later
# The chart page's frame time in headless Chromium (software rendering) while panning with
# every star to 8 mag on the chart: median, 95th percentile and the objects drawn.
#   scripts/bench-chart.sh [BUILD_DIR] [FRAMES]     (default build/, 400 frames)
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" -j2 --target zcmcom-cli >/dev/null
/usr/bin/python3 tools/browser/chart_views.py --zcmcom "$build/bin/zcmcom" --bench "${2:-400}"
