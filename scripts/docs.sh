#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Builds the API reference (HTML) into build-docs/html from the public headers, with the
# README as the main page, the pages of docs/ as related pages and examples/ linked. Any
# Doxygen warning fails the script. Every installed header is covered but the few
# implementation helpers docs/Doxyfile's EXCLUDE lists.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v doxygen >/dev/null || { echo "doxygen is missing (bash scripts/deps.sh)" >&2; exit 1; }
rm -rf build-docs
mkdir -p build-docs
# One page that shows every example host table; the list follows examples/hosts/.
{
  echo "# Example host tables {#examples}"
  echo
  echo "Planetarium answers for \`zcmcom click --host FILE PATH\`, one \"query<TAB>answer\" per"
  echo "line; each file's first lines give its command."
  for f in examples/hosts/*.txt; do
    echo
    echo "@section ex_$(basename "$f" .txt | tr -c 'A-Za-z0-9\n' _) $(basename "$f")"
    echo "@verbinclude hosts/$(basename "$f")"
  done
} > build-docs/examples.md
doxygen docs/Doxyfile
if [ -s build-docs/warnings.log ]; then
  cat build-docs/warnings.log >&2
  echo "docs: $(wc -l < build-docs/warnings.log) warning line(s)" >&2
  exit 1
fi
echo "docs: build-docs/html/index.html"
