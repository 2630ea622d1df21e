#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Builds the Debian packages (libzcmcom0, libzcmcom-dev, zcmcom-tools, zcmcom-data) into
# build-pkg/. With --check, unpacks them into a throw-away root and uses them there as a
# user would, with every search hint gone: no ZCMCOM_* variable, the source and build
# trees hidden behind an empty folder (a private mount namespace; needs root), nothing
# installed under /usr/share/zcmcom. The installed program must find its data and the
# chart's page on its own; consumers build with pkg-config and with find_package; every
# installed header compiles alone; no path of the build machine is in a binary; lintian
# judges the packages.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=build-pkg
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DZCMCOM_PACKAGING=ON -DZCMCOM_BUILD_TESTS=OFF -DZCMCOM_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" -j "$(nproc)"
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/*.deb
[ "${1:-}" = "--check" ] || exit 0

tree=$(pwd -P)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
for deb in "$dir"/*.deb; do dpkg -x "$deb" "$root"; done
# What the check needs from the tree, copied out before the tree is hidden.
cp -r tests/consumer "$root/consumer-src"
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH 2>/dev/null || gcc -print-multiarch)

echo "== no path of the build machine in the installed files =="
if grep -rlF "$tree" "$root/usr"; then
  echo "the files above name the source tree $tree" >&2
  exit 1
fi
echo "none"

echo "== the manual page lists every command =="
page=$(LD_LIBRARY_PATH="$root/usr/lib/$multiarch" MANWIDTH=200 man -l "$root/usr/share/man/man1/zcmcom.1.gz" 2>/dev/null)
for c in $(LD_LIBRARY_PATH="$root/usr/lib/$multiarch" "$root/usr/bin/zcmcom" --help |
  awk '/^Options:$/ {on = 1} on && /^  [a-z]/ && $1 != "help" {print $1}'); do
  grep -q "^   $c\$" <<<"$page" || {
    echo "zcmcom(1) lacks the command $c"
    exit 1
  }
done
echo "zcmcom(1): every command present"

echo "== lintian =="
lintian --fail-on error --suppress-tags-from-file debian/lintian-overrides "$dir"/*.deb

# The rest runs where the tree and any installed copy cannot be seen.
cat >"$root/check.sh" <<'EOF'
set -euo pipefail
root=$1 multiarch=$2
shift 2
for hidden in "$@"; do
  [ -e "$hidden" ] && mount -t tmpfs -o ro none "$hidden"
done
cd "$root"
unset ZCMCOM_DATA_DIR ZCMCOM_WEB_DIR
export LD_LIBRARY_PATH="$root/usr/lib/$multiarch"
export XDG_CONFIG_HOME="$root/config" HOME="$root/home"
mkdir -p "$HOME"
zcm="$root/usr/bin/zcmcom"
fail() { echo "$*" >&2; exit 1; }

echo "== the installed program finds its data =="
for name in Mars Sirius; do
  out=$("$zcm" click --settings init --at 2026-12-06T12:00:00Z --site 139.69,35.69,40 "$name" 2>&1)
  echo "$out" | head -2
  grep -qi "not found\|none of the data folders" <<<"$out" && fail "click $name: $out"
done
"$zcm" click --settings init --at 2026-12-06T12:00:00Z Mars | grep -q "火星" || fail "click Mars: no Mars"
"$zcm" click --settings init --at 2026-12-06T12:00:00Z Sirius | grep -q "シリウス" || fail "click Sirius: no Sirius"
cameras=$("$zcm" cameras) || fail "cameras: $cameras"
echo "cameras: $(wc -l <<<"$cameras") lines"

echo "== the installed server serves the page =="
"$zcm" serve --port 0 >"$root/serve.out" 2>&1 &
pid=$!
for _ in $(seq 100); do
  grep -q "^serving " "$root/serve.out" && break
  sleep 0.1
done
url=$(sed -n 's/^serving \(http[^ ]*\).*/\1/p' "$root/serve.out")
[ -n "$url" ] || fail "serve printed no address: $(cat "$root/serve.out")"
page=$(curl -sf "$url") || fail "no answer from $url"
kill "$pid"
wait "$pid" || true
grep -q "not installed" <<<"$page" && fail "serve: the page is not installed"
grep -q "<script" <<<"$page" || fail "serve: not the chart's page"
echo "the page is served"

echo "== every installed header compiles alone =="
flags="-std=c++17 -fsyntax-only -I$root/usr/include/zcmcom"
find "$root/usr/include/zcmcom" -name '*.h' | while read -r h; do
  echo "#include \"$h\"" | g++ $flags -x c++ - || fail "$h does not compile alone"
done
echo "$(find "$root/usr/include/zcmcom" -name '*.h' | wc -l) headers"

echo "== consumers against the installed development package =="
PKG_CONFIG_SYSROOT_DIR="$root" PKG_CONFIG_LIBDIR="$root/usr/lib/$multiarch/pkgconfig" \
  pkg-config --cflags --libs zcmcom zcmsky >"$root/pc.flags"
g++ -o "$root/consumer-pc" "$root/consumer-src/main.cpp" $(cat "$root/pc.flags")
"$root/consumer-pc" | head -2
cmake -S "$root/consumer-src" -B "$root/consumer" -G Ninja -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
cmake --build "$root/consumer" >/dev/null
"$root/consumer/consumer" | head -2
EOF
hide=("$tree" /usr/share/zcmcom)
(cd / && unshare --mount --propagation private bash "$root/check.sh" "$root" "$multiarch" "${hide[@]}")
echo "packages: OK"
