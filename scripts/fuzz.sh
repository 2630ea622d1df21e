#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Builds every fuzz target with clang (libFuzzer + AddressSanitizer + UndefinedBehaviorSanitizer),
# runs each for SECONDS, and merges the inputs that reach new code into fuzz/corpus/<target>.
# An input that crashes is kept as fuzz/corpus/<target>/crash-* so the corpus replay tests
# keep failing until it is mended. Prints the executions per target.
# Usage: scripts/fuzz.sh SECONDS [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DZCMCOM_FUZZ=ON -DZCMCOM_BUILD_BENCH=OFF >/dev/null
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for src in fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
failed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for t in "${targets[@]}"; do
  corpus=fuzz/corpus/$t
  mkdir -p "$corpus" "$work/$t"
  log=$work/$t.log
  status=ok
  # New inputs go to a scratch folder; the committed corpus is only read.
  if ! "$build/bin/$t" -max_total_time="$seconds" -max_len=4096 -timeout=60 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$work/$t-" "$work/$t" "$corpus" >"$log" 2>&1; then
    status=FINDING
    failed=1
    for a in "$work/$t"-*; do
      [ -f "$a" ] && cp "$a" "$corpus/crash-$(sha1sum "$a" | cut -c1-12)"
    done
  fi
  before=$(ls "$corpus" | wc -l)
  # Keep only the scratch inputs that add coverage to the committed corpus.
  "$build/bin/$t" -merge=1 -max_len=4096 "$corpus" "$work/$t" >>"$log" 2>&1 || true
  after=$(ls "$corpus" | wc -l)
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | head -1)
  printf '%-20s %-8s executions %-10s corpus %d -> %d\n' "$t" "$status" "${runs:-?}" "$before" "$after"
  [ "$status" = ok ] || tail -40 "$log"
done
exit $failed
