#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Installs the Debian packages that are missing: "main" what building the library and the
# zcmcom program needs (scripts/main.sh); "test" (the default) that and what the tests,
# the sanitizer builds, the packages and the API reference need (scripts/test.sh).
set -euo pipefail
what=${1:-test}
packages=(
  build-essential
  cmake
  ninja-build
  pkg-config
  libsqlite3-dev
  libnova-dev
  liberfa-dev
  libcli11-dev
  libcpp-httplib-dev
  libcurl4-openssl-dev
  zlib1g-dev
  nlohmann-json3-dev
  tzdata
  casacore-data-jpl-de405
  libjs-d3
)
# npm for the chart's Milky Way (below); a machine's own Node.js may bring it already.
command -v npm >/dev/null || packages+=(npm)
case $what in
  main) ;;
  test)
    packages+=(
      clang
      clang-format
      libgtest-dev
      libgmock-dev
      libbenchmark-dev
      python3
      python3-pil
      python3-ephem
      iproute2
      dpkg-dev
      file
      lintian
      man-db
      doxygen
      chromium
      chromium-driver
      python3-selenium
      xvfb
      fonts-ipaexfont-gothic
      stellarium
      curl
    )
    ;;
  *)
    echo "usage: deps.sh [main|test]" >&2
    exit 2
    ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The chart page's Milky Way: d3-celestial's outline data from npm, at a fixed prefix
# that the build looks in (ZCMCOM_NPM_PREFIX).
npm_prefix=/usr/local/share/zcmcom-npm
if [ ! -f "$npm_prefix/node_modules/d3-celestial/data/mw.json" ]; then
  echo "installing: d3-celestial@0.7.35 (npm) under $npm_prefix"
  npm install --silent --no-audit --no-fund --prefix "$npm_prefix" d3-celestial@0.7.35
fi
