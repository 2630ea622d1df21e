#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Every source file of the project names its licence in its first lines:
#   scripts/spdx.sh          lists the files that lack the SPDX line (exit 1 when any does)
#   scripts/spdx.sh --add    adds the line where it is missing
# Source files: C++, Python, shell and CMake under src, tools, tests, bench, fuzz, scripts,
# cmake, examples and the top folder; data, golden texts and corpora keep their own licences.
set -euo pipefail
cd "$(dirname "$0")/.."
id="SPDX-License-Identifier: LGPL-3.0-or-later"
add=${1:-}
missing=0
while IFS= read -r f; do
  head -n 3 "$f" | grep -q "SPDX-License-Identifier:" && continue
  if [ "$add" != "--add" ]; then
    echo "no SPDX line: $f"
    missing=1
    continue
  fi
  case "$f" in
    *.cpp|*.h|*.c) mark="//" ;;
    *) mark="#" ;;
  esac
  if head -n 1 "$f" | grep -q '^#!'; then
    sed -i "1a $mark $id" "$f"
  else
    sed -i "1i $mark $id" "$f"
  fi
done < <(git ls-files -- 'src' 'tools' 'tests' 'bench' 'fuzz' 'scripts' 'cmake' 'examples' 'CMakeLists.txt' '.ci' \
         | grep -E '(\.(cpp|h|c|py|sh|cmake|in)$|CMakeLists\.txt$|^\.ci/run$)' \
         | grep -v -E '^tests/(data|golden)/|^fuzz/corpus/|\.pc\.in$|^debian/')
exit $missing
