#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Installs what is missing, builds the library and the zcmcom program, and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh main
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZCMCOM_BUILD_TESTS=OFF -DZCMCOM_BUILD_BENCH=OFF >/dev/null
cmake --build build
./build/bin/zcmcom click --settings init --at 2026-12-06T21:00:00+09:00 --site 139.69,35.69,40 Solar.Planet.Mars
