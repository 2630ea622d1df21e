#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Writes docs/chart.png: the chart of the browser test, Mars selected, as its driver sees it.
#   tools/browser/chart-screenshot.sh [BUILD_DIR]      (default: build)
# A machine without a Japanese font draws boxes for the names, so the font comes from npm
# (@fontsource/noto-sans-jp, SIL Open Font License) into a scratch folder, unpacked for
# fontconfig and seen by this run only; nothing is installed for the system.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
npm install --prefix "$tmp/npm" --no-audit --no-fund --silent @fontsource/noto-sans-jp
/usr/bin/python3 tools/browser/woff2otf.py "$tmp/fonts" \
  "$tmp"/npm/node_modules/@fontsource/noto-sans-jp/files/noto-sans-jp-*-400-normal.woff
cat >"$tmp/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <dir>$tmp/fonts</dir>
  <cachedir>$tmp/cache</cachedir>
</fontconfig>
CONF
FONTCONFIG_FILE="$tmp/fonts.conf" /usr/bin/python3 tests/browser/chart_test.py \
  --zcmcom "$build/bin/zcmcom" --screenshot docs/chart.png
