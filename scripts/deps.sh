#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail
packages=(
  build-essential
  cmake
  ninja-build
  pkg-config
  clang
  libgtest-dev
  libgmock-dev
  libbenchmark-dev
  libsqlite3-dev
  libnova-dev
  python3-pil
  iproute2
  python3
  libcli11-dev
  tzdata
  dpkg-dev
  file
  lintian
  man-db
  doxygen
  xvfb
  stellarium
  libcpp-httplib-dev
  nlohmann-json3-dev
  curl
)
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
