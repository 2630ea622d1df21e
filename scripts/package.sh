#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Builds the Debian packages (libzcmcom0, libzcmcom-dev, zcmcom-tools, zcmcom-data) into
# build-pkg/, then, with --check, installs them into a throw-away root, builds the
# consumer project against the installed development package, runs the installed program
# and lets lintian judge the packages.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-pkg
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DZCMCOM_PACKAGING=ON -DZCMCOM_BUILD_TESTS=OFF -DZCMCOM_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/*.deb
[ "${1:-}" = "--check" ] || exit 0

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
for deb in "$dir"/*.deb; do dpkg -x "$deb" "$root"; done
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)
export LD_LIBRARY_PATH="$root/usr/lib/$multiarch"
export ZCMCOM_DATA_DIR="$root/usr/share/zcmcom"
echo "== the installed program =="
"$root/usr/bin/zcmcom" click --settings init --at 2026-12-06T12:00:00Z Solar.Planet.Mars | head -3
echo "== the manual page lists every command =="
page=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/zcmcom.1.gz" 2>/dev/null)
for c in $("$root/usr/bin/zcmcom" --help | sed -n '/^Subcommands:/,/^$/p' | awk 'NR > 1 && NF {print $1}'); do
  grep -q "^   $c\$" <<<"$page" || { echo "zcmcom(1) lacks the command $c"; exit 1; }
done
echo "zcmcom(1): every command present"
echo "== the consumer project against the installed development package =="
cmake -S tests/consumer -B "$root/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
cmake --build "$root/consumer" >/dev/null
"$root/consumer/consumer" | head -2
echo "== lintian =="
lintian --fail-on error --suppress-tags-from-file debian/lintian-overrides "$dir"/*.deb
echo "packages: OK"
