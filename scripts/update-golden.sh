#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Rewrites the golden files under tests/golden/ from what the code makes now: builds the
# plain tree, runs the golden tests once in update mode (a test whose file changed fails with
# "updated: rerun"), then once more as usual, which must pass. Review the change with git diff.
#   scripts/update-golden.sh [BUILD_DIR] [extra ctest arguments, e.g. -LE stellarium]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-test}
shift || true
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZCMCOM_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
# The test programs (ctest labels) that hold golden tests.
labels=$(grep -lE 'ExpectGolden|UpdateGolden' tests/*/*.cpp | cut -d/ -f2 | sort -u | paste -sd'|')
echo "== update mode: $labels =="
ZCMCOM_UPDATE_GOLDEN=rewrite-tests-golden \
  ctest --test-dir "$build" -j "$(nproc)" -L "^($labels)\$" --output-on-failure --timeout 300 "$@" \
  | grep -E "updated: rerun|Failure|tests passed" || true
echo "== again, as usual =="
ctest --test-dir "$build" -j "$(nproc)" -L "^($labels)\$" --output-on-failure --timeout 300 "$@"
git status --short tests/golden
