#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Formats every C++ file of the tree with clang-format (.clang-format); with --check,
# changes nothing and fails, naming the files, when any is not formatted.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files -co --exclude-standard '*.cpp' '*.h' '*.hpp' '*.cc')
if [ "${1:-}" = "--check" ]; then
  if ! out=$(printf '%s\0' "${files[@]}" | xargs -0 clang-format --dry-run --Werror 2>&1); then
    echo "not formatted (bash scripts/format.sh):" >&2
    grep -o '^[^:]*:[0-9]*:[0-9]*: error' <<<"$out" | cut -d: -f1 | sort -u >&2
    exit 1
  fi
  echo "${#files[@]} files formatted"
else
  printf '%s\0' "${files[@]}" | xargs -0 clang-format -i
fi
