#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# A file that takes series, tables or code from another work says so in a "Derived from"
# header near its top, and its SPDX line names every licence it is under. This checks that
# debian/copyright agrees:
#   - each licence on such a file's SPDX line has a standalone "License:" paragraph, and the
#     last Files stanza whose pattern covers the file (the one that applies) names it;
#   - every licence a Files stanza names has its standalone paragraph;
#   - every data file is listed in data/README.md.
#   scripts/provenance.sh      lists the faults (exit 1 when there is any)
set -euo pipefail
cd "$(dirname "$0")/.."
copyright=debian/copyright
faults=0
fault() {
  echo "$1"
  faults=1
}

# The DEP-5 short name of an SPDX licence identifier.
dep5_name() {
  case "$1" in
    MIT) echo Expat ;;
    BSD-3-Clause) echo BSD-3-clause ;;
    BSD-2-Clause) echo BSD-2-clause ;;
    *-or-later) echo "${1%.0-or-later}+" ;;
    *-only) echo "${1%.0-only}" ;;
    *) echo "$1" ;;
  esac
}

# Files stanzas as "pattern<TAB>licence expression" lines, in order (a stanza with several
# patterns gives one line each), and the names of the standalone License paragraphs.
stanzas=$(awk '
  /^$/ { files = ""; next }
  /^Files:/ { sub(/^Files:[ \t]*/, ""); files = $0; infiles = 1; next }
  infiles && /^[ \t]/ { files = files " " $0; next }
  { infiles = 0 }
  /^License:/ && files != "" {
    lic = $0; sub(/^License:[ \t]*/, "", lic)
    n = split(files, p, /[ \t]+/)
    for (i = 1; i <= n; i++) if (p[i] != "") print p[i] "\t" lic
  }' "$copyright")
paragraphs=$(awk '
  /^$/ { start = 1; next }
  start && /^License:/ { sub(/^License:[ \t]*/, ""); print tolower($0) }
  { start = 0 }
  NR == 1 { start = 0 }' "$copyright")

has_paragraph() { grep -qx -- "$(echo "$1" | tr '[:upper:]' '[:lower:]')" <<<"$paragraphs"; }

# The licence names of a DEP-5 licence expression, one a line, lower case.
names_of() { echo "$1" | tr '[:upper:]' '[:lower:]' | sed -e 's/,/ /g' -e 's/ and / /g' -e 's/ or / /g' | tr -s ' ' '\n' | grep -v '^$'; }

# The licence expression of the stanza that applies to a path: the last one that matches.
licence_of() {
  local path=$1 pattern lic found=""
  while IFS=$'\t' read -r pattern lic; do
    local re
    re=$(printf '%s' "$pattern" | sed -e 's/[.[\^$+(){}|]/\\&/g' -e 's/\*/.*/g' -e 's/?/./g')
    [[ "$path" =~ ^${re}$ ]] && found=$lic
  done <<<"$stanzas"
  echo "$found"
}

while IFS=$'\t' read -r _ lic; do
  for name in $(names_of "$lic"); do
    has_paragraph "$name" || fault "$copyright: no standalone 'License: $name' paragraph"
  done
done <<<"$stanzas"

while IFS= read -r f; do
  head -n 30 "$f" | grep -qE '^[[:space:]]*(//|#|/?\*)[[:space:]]*Derived from ' || continue
  spdx=$(head -n 3 "$f" | sed -n 's/.*SPDX-License-Identifier:[[:space:]]*//p' | sed 's/[[:space:]]*\*\/.*$//')
  if [ -z "$spdx" ]; then
    fault "$f: a Derived from header but no SPDX line"
    continue
  fi
  applies=$(licence_of "$f")
  for id in $(echo "$spdx" | tr '()' '  ' | sed -e 's/ AND / /g' -e 's/ OR / /g' -e 's/ WITH [^ ]*//g'); do
    name=$(dep5_name "$id")
    has_paragraph "$name" || fault "$f: $id has no 'License: $name' paragraph in $copyright"
    names_of "$applies" | grep -qx -- "$(echo "$name" | tr '[:upper:]' '[:lower:]')" ||
      fault "$f: $id is not named by the Files stanza that covers it (License: ${applies:-none})"
  done
done < <(git ls-files -- src tools data | grep -E '\.(cpp|h|c|py|sh|cmake)$')

while IFS= read -r f; do
  name=${f#data/}
  grep -qF -- "\`$name\`" data/README.md || fault "$f: not listed in data/README.md"
done < <(git ls-files -- data | grep -v -E '^data/(README\.md|.*\.LICENSE)$')
exit $faults
