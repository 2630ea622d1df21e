#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Installs what is missing, then builds and runs every test three times: a plain build, one
# under AddressSanitizer + UndefinedBehaviorSanitizer and one with clang (warnings as
# errors); then the networking tests once more under ThreadSanitizer; last, the Debian
# packages are built, installed into a scratch root and checked, and the API reference is
# built (any Doxygen warning fails).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs=$(nproc)
echo "== every source file names its licence =="
bash scripts/spdx.sh

run_suite() {  # build-dir, extra cmake arguments...
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZCMCOM_BUILD_BENCH=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure --timeout 300 ${CTEST_EXCLUDE:+-LE "$CTEST_EXCLUDE"}
}

echo "== plain build =="
run_suite build-test
echo "== AddressSanitizer + UndefinedBehaviorSanitizer =="
# The tests against a real Stellarium (label stellarium) run in the plain suite only.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 CTEST_EXCLUDE=stellarium \
  run_suite build-asan -DZCMCOM_SANITIZE=address,undefined -DZCMCOM_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== clang, warnings as errors =="
CC=clang CXX=clang++ CTEST_EXCLUDE=stellarium run_suite build-clang -DZCMCOM_BUILD_BENCH=OFF -DCMAKE_CXX_FLAGS=-Werror
echo "== ThreadSanitizer (networking tests) =="
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Release -DZCMCOM_SANITIZE=thread -DZCMCOM_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target test_net
TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan -j "$jobs" -L net --output-on-failure --timeout 300
echo "== Debian packages: build, install into a scratch root, consumer, lintian =="
bash scripts/package.sh --check
echo "== API reference =="
bash scripts/docs.sh
