#!/usr/bin/env bash
# Installs what is missing, builds the library and the zcmcom program, and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZCMCOM_BUILD_TESTS=OFF -DZCMCOM_BUILD_BENCH=OFF >/dev/null
cmake --build build
./build/bin/zcmcom click --settings init --host examples/hosts/constellation.txt Constellation.Ori
