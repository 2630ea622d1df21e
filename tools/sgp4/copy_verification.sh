#!/bin/sh
# SPDX-License-Identifier: LGPL-3.0-or-later
# Copies the SGP4 verification set (Vallado et al., "Revisiting Spacetrack Report #3",
# AIAA 2006-6753: the test element sets SGP4-VER.TLE and the expected states tcppver.out
# of the authors' C++ code) from Debian's python3-sgp4 into tests/data/sgp4/.
set -eu
here=$(dirname "$0")
dest="$here/../../tests/data/sgp4"
for f in SGP4-VER.TLE tcppver.out; do
  src=$(dpkg -L python3-sgp4 | grep "/$f\$" | head -n 1)
  [ -n "$src" ] || { echo "python3-sgp4 does not ship $f" >&2; exit 1; }
  cp "$src" "$dest/$f"
done
version=$(dpkg-query -W -f '${Version}' python3-sgp4)
cat > "$dest/SOURCE.txt" <<END
SGP4-VER.TLE and tcppver.out: the verification set of Vallado, Crawford, Hujsak and Kelso,
"Revisiting Spacetrack Report #3" (AIAA 2006-6753), as shipped by Debian's python3-sgp4
$version (MIT licence). Copied by tools/sgp4/copy_verification.sh.
END
