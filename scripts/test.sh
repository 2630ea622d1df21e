#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Installs what is missing, then builds and runs every test twice: a plain build with g++,
# and a clang build (warnings as errors) under AddressSanitizer + UndefinedBehaviorSanitizer;
# then the networking tests and the chart server once more under ThreadSanitizer; last, the Debian
# packages are built, installed into a scratch root and checked, and the API reference is
# built (any Doxygen warning fails).
set -euo pipefail
if [ -n "${ZCMCOM_UPDATE_GOLDEN+set}" ]; then
  echo "test.sh: ZCMCOM_UPDATE_GOLDEN is set; unset it (golden files are updated by scripts/update-golden.sh)" >&2
  exit 2
fi
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
jobs=$(nproc)
echo "== every source file names its licence =="
bash scripts/spdx.sh
echo "== every file derived from another work has its licence stanza =="
bash scripts/provenance.sh
echo "== every C++ file is formatted =="
bash scripts/format.sh --check

run_suite() {  # build-dir, extra cmake arguments...; $exclude: ctest labels left out
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZCMCOM_BUILD_BENCH=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure --timeout 300 ${exclude:+-LE "$exclude"}
}

echo "== plain build (g++) =="
run_suite build-test
echo "== clang, warnings as errors, AddressSanitizer + UndefinedBehaviorSanitizer =="
# The browser and the real Stellarium (labels browser, stellarium) drive the plain build only.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  CC=clang CXX=clang++ exclude='browser|stellarium' \
  run_suite build-asan -DZCMCOM_SANITIZE=address,undefined -DZCMCOM_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS=-Werror
echo "== ThreadSanitizer (networking tests, the chart server) =="
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Release -DZCMCOM_SANITIZE=thread -DZCMCOM_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target test_net test_serve
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan -j "$jobs" -L 'net|serve' --output-on-failure --timeout 300
echo "== Debian packages: build, install into a scratch root, consumer, lintian =="
bash scripts/package.sh --check
echo "== API reference =="
bash scripts/docs.sh
