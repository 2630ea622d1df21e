#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Times a whole click text through a headless Stellarium (cold, from the adapter's cache,
# from the library's cache). Usage: scripts/stellarium-bench.sh [BUILD-DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cmake --build "$build" --target zcmcom-stellarium-bench >/dev/null
export STELLARIUM_STATE=$(mktemp -d)
trap 'bash scripts/stellarium.sh stop; rm -rf "$STELLARIUM_STATE"' EXIT
url=$(bash scripts/stellarium.sh start | sed -n 's/^STELLARIUM_URL=//p')
STELLARIUM_URL=$url "$build/bin/zcmcom-stellarium-bench"
