#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Times "zcmcom serve" as a user meets it: from the start of the program to the first
page, to the first chart (the sky computed), and the latency of clicks over a kept-alive
connection (by path, each a different object so nothing is answered from a cache, and by
position on the chart), reported as median, 95th percentile and worst.

    /usr/bin/python3 tools/bench/serve_timing.py ZCMCOM [CLICKS]
"""
import http.client
import json
import os
import subprocess
import sys
import tempfile
import time


def percentile(values, p):
    values = sorted(values)
    return values[min(len(values) - 1, int(round(p / 100.0 * (len(values) - 1))))]


def report(name, seconds):
    ms = [s * 1000 for s in seconds]
    print("%-28s n=%4d  median %6.2f ms  p95 %6.2f ms  max %6.2f ms"
          % (name, len(ms), percentile(ms, 50), percentile(ms, 95), max(ms)))
    return percentile(ms, 95)


def get(conn, target):
    start = time.perf_counter()
    conn.request("GET", target)
    res = conn.getresponse()
    body = res.read()
    if res.status != 200:
        raise SystemExit("%s answered %d: %s" % (target, res.status, body[:200]))
    return time.perf_counter() - start, body


def main(program, clicks):
    env = dict(os.environ)
    registry = tempfile.mkdtemp(prefix="zcmcom-bench-")
    env["ZCMCOM_REGISTRY_USER"] = registry + "/user.sqlite"
    env["ZCMCOM_REGISTRY_MACHINE"] = registry + "/machine.sqlite"
    start = time.perf_counter()
    proc = subprocess.Popen([program, "serve", "--port", "0", "--at", "2026-12-07T21:00",
                             "--site", "139.745,35.654,40"], stdout=subprocess.PIPE, env=env, text=True)
    try:
        line = proc.stdout.readline()
        port = int(line.strip().rstrip("/").rsplit(":", 1)[1])
        conn = http.client.HTTPConnection("127.0.0.1", port)
        get(conn, "/")
        first_page = time.perf_counter() - start
        get(conn, "/api/sky?view=horizon&w=800&h=800")
        first_chart = time.perf_counter() - start
        print("start to first page          %6.1f ms" % (first_page * 1000))
        print("start to first chart (sky)   %6.1f ms" % (first_chart * 1000))

        sky = json.loads(get(conn, "/api/sky?view=horizon&w=800&h=800")[1])
        objects = sky["objects"]
        paths = [o["path"] for o in objects]
        by_path = [get(conn, "/api/click?path=" + paths[i % len(paths)])[0] for i in range(clicks)]
        by_point = []
        for i in range(clicks):
            o = objects[(i * 37) % len(objects)]
            by_point.append(get(conn, "/api/click?view=horizon&w=800&h=800&x=%.1f&y=%.1f"
                                % (o["x"] + 3, o["y"]))[0])
        charts = [get(conn, "/api/sky?view=%s&w=800&h=800" % ("horizon", "equatorial")[i % 2])[0]
                  for i in range(50)]
        p95 = max(report("click by path", by_path), report("click by position", by_point))
        report("sky (cached instant)", charts)
        steps = []
        for i in range(30):
            conn.request("POST", "/api/time", body='{"step":"+1m"}', headers={"Content-Type": "application/json"})
            conn.getresponse().read()
            steps.append(get(conn, "/api/sky?view=horizon&w=800&h=800")[0])
        report("sky (new instant)", steps)
        print("goals: first page < 1000 ms: %s; click p95 < 20 ms: %s"
              % ("met" if first_page < 1.0 else "MISSED", "met" if p95 < 20 else "MISSED"))
    finally:
        proc.terminate()
        proc.wait()


if __name__ == "__main__":
    main(sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 300)
