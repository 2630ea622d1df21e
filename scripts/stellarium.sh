#!/usr/bin/env bash
# SPDX-License-Identifier: LGPL-3.0-or-later
# Starts and stops a headless Stellarium whose remote control the adapter talks to.
#
#   scripts/stellarium.sh start [PORT]   starts one (PORT 0 or none: a free port), waits until
#                                        its remote control answers and prints
#                                        STELLARIUM_URL=http://127.0.0.1:PORT
#   scripts/stellarium.sh stop           stops the one started with the same state folder
#   scripts/stellarium.sh url            prints the URL of the running one
#
# $STELLARIUM_STATE names the state folder (default /tmp/zcmcom-stellarium-$UID); it keeps the
# process ids, the URL and the temporary user folder, so several can run side by side.
# The user folder is made from scripts/stellarium/config.ini: remote control on, no online
# updates, no IP location, a site (Paris) and zone (UTC+01:00) of its own and a fixed start
# instant with the clock running, satellite data pinned.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
state=${STELLARIUM_STATE:-/tmp/zcmcom-stellarium-$(id -u)}
timeout_s=${STELLARIUM_START_TIMEOUT:-60}

free_port() {
  /usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'
}

alive() { [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null; }

stop() {
  [ -d "$state" ] || return 0
  for f in stellarium.pid xvfb.pid; do
    pid=$(cat "$state/$f" 2>/dev/null || true)
    if alive "$pid"; then
      kill "$pid" 2>/dev/null || true
      for _ in $(seq 50); do alive "$pid" || break; sleep 0.1; done
      alive "$pid" && kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$state/$f"
  done
  rm -rf "$state/user" "$state/url"
}

start() {
  local port=${1:-0}
  [ "$port" = 0 ] && port=$(free_port)
  stop
  mkdir -p "$state/user"
  sed "s/@PORT@/$port/" "$here/stellarium/config.ini" > "$state/user/config.ini"
  # Xvfb picks a free display itself and writes its number to the pipe.
  Xvfb -displayfd 5 -screen 0 640x480x24 -nolisten tcp 5>"$state/display" >"$state/xvfb.log" 2>&1 &
  echo $! > "$state/xvfb.pid"
  for _ in $(seq 100); do [ -s "$state/display" ] && break; sleep 0.1; done
  [ -s "$state/display" ] || { echo "stellarium.sh: Xvfb did not start" >&2; stop; exit 1; }
  DISPLAY=:$(cat "$state/display") LIBGL_ALWAYS_SOFTWARE=1 QT_QPA_PLATFORM=xcb \
    setsid stellarium --user-dir "$state/user" --config-file "$state/user/config.ini" \
      --screenshot-dir "$state/user" </dev/null >"$state/stellarium.log" 2>&1 &
  echo $! > "$state/stellarium.pid"
  local url=http://127.0.0.1:$port
  local deadline=$((SECONDS + timeout_s))
  until curl -sf -m 1 "$url/api/main/status" >/dev/null 2>&1; do
    if ! alive "$(cat "$state/stellarium.pid")" || [ $SECONDS -ge $deadline ]; then
      echo "stellarium.sh: Stellarium did not answer on $url (log: $state/stellarium.log)" >&2
      tail -n 20 "$state/stellarium.log" >&2 || true
      stop
      exit 1
    fi
    sleep 0.2
  done
  echo "$url" > "$state/url"
  echo "STELLARIUM_URL=$url"
}

case "${1:-}" in
  start) start "${2:-0}" ;;
  stop) stop ;;
  url) cat "$state/url" ;;
  *) echo "usage: $0 start [PORT] | stop | url" >&2; exit 2 ;;
esac
