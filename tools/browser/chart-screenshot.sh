#!/bin/sh
# SPDX-License-Identifier: LGPL-3.0-or-later
# Writes the chart's pictures in docs/ (night, twilight, day, the Pleiades, the equatorial
# whole sky) as headless Chromium draws them at 1400 x 900; the names need Debian's
# fonts-ipaexfont-gothic.
#   tools/browser/chart-screenshot.sh [BUILD_DIR]      (default: build)
set -eu
cd "$(dirname "$0")/../.."
build=${1:-build}
/usr/bin/python3 tools/browser/chart_views.py --zcmcom "$build/bin/zcmcom" --screenshots docs
