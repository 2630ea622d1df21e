#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""Times PyEphem on the cases of the built-in sky's benchmarks (bench/SkyHostBench.cpp)
and, given those benchmarks' JSON output, prints both side by side with their ratios.

    sky_peer.py [--bench-json FILE] [--zcmcom BIN] [--seconds S]

Times are CPU time per call. With --zcmcom, the wall time of a fresh process printing one
full click text (catalogue load included) is measured as well. Run by scripts/bench-sky.sh.
"""
import argparse
import json
import math
import os
import statistics
import subprocess
import time

import ephem

START_JD = 2461381.0  # 2026-12-06 12:00 UT, as the C++ benchmarks
SITE = ("139.745", "35.654", 40.0)  # Tokyo
DJD = ephem.Date("1899/12/31 12:00:00")  # PyEphem's day 0 as a Julian Day offset
TEXT_GOAL_MS = 2.0
RANDOM_TEXT_GOAL_MS = 0.3  # a full text at an instant far from earlier ones
RANDOM_GOAL_US = 2.0  # a place at such an instant, CPU
RANDOM_GOAL_RATIO = 0.1  # and against PyEphem
FIRST_TEXT_GOAL_MS = 50.0


def observer():
    o = ephem.Observer()
    o.lon, o.lat, o.elevation = SITE
    return o


def cpu_per_call(step, seconds):
    """Calls step(i) with a fresh i until `seconds` of CPU time have passed; seconds per call."""
    n, start = 0, time.process_time()
    while True:
        for _ in range(20):
            step(n)
            n += 1
        spent = time.process_time() - start
        if spent >= seconds:
            return spent / n


def random_instant(i):
    """Instants over 1960-2060 in a scrambled order, no two within a month (as the C++ one)."""
    return 2436934.5 + 31.0 * ((i * 769) % 1178) + math.fmod(i * 0.6180339887, 1.0)


def peer_cases(seconds):
    o = observer()
    epoch = START_JD - 2415020.0  # PyEphem counts days from 1899-12-31 12:00

    def random_place(body):
        def step(i):
            o.date = random_instant(i) - 2415020.0
            body.compute(o)
            return body.alt
        return step

    def place(body, days=0.01):
        def step(i):
            o.date = epoch + days * (i + 1)
            body.compute(o)
            return body.alt
        return step

    def events(body):
        def step(i):
            o.date = epoch + 0.37 * (i + 1)
            for f in (o.next_rising, o.next_transit, o.next_setting):
                try:
                    f(body)
                except (ephem.AlwaysUpError, ephem.NeverUpError):
                    pass
        return step

    return {
        "Place/Moon": cpu_per_call(place(ephem.Moon()), seconds),
        "Place/Mars": cpu_per_call(place(ephem.Mars()), seconds),
        "Place/MoonCold": cpu_per_call(place(ephem.Moon(), 37.3), seconds),
        "Place/MarsCold": cpu_per_call(place(ephem.Mars(), 37.3), seconds),
        "RiseTransitSet/Moon": cpu_per_call(events(ephem.Moon()), seconds),
        "RiseTransitSet/Mars": cpu_per_call(events(ephem.Mars()), seconds),
        "Random/Sun": cpu_per_call(random_place(ephem.Sun()), seconds),
        "Random/Moon": cpu_per_call(random_place(ephem.Moon()), seconds),
        "Random/Mars": cpu_per_call(random_place(ephem.Mars()), seconds),
        "Random/Neptune": cpu_per_call(random_place(ephem.Neptune()), seconds),
        "Random/Sirius": cpu_per_call(random_place(ephem.star("Sirius")), seconds),
    }


def ours(bench_json):
    """CPU seconds per iteration of each BM_SkyHost_* case, keyed without the prefix."""
    if not bench_json:
        return {}
    with open(bench_json) as f:
        data = json.load(f)
    scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
    out = {}
    for b in data.get("benchmarks", []):
        name = b["name"]
        if name.startswith("BM_SkyHost_") and b.get("run_type", "iteration") == "iteration":
            out[name[len("BM_SkyHost_"):]] = b["cpu_time"] * scale[b.get("time_unit", "ns")]
    return out


def first_text_ms(zcmcom, runs=7):
    cmd = [zcmcom, "click", "--settings", "init", "--at", "2026-12-06T12:00:00Z",
           "--site", "139.745,35.654,40", "Solar.Planet.Earth.Satellite.Moon"]
    times = []
    for _ in range(runs):
        t = time.perf_counter()
        subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL)
        times.append((time.perf_counter() - t) * 1e3)
    return statistics.median(times), min(times)


def fmt(seconds):
    if seconds is None:
        return "-"
    if seconds < 1e-3:
        return "%.1f us" % (seconds * 1e6)
    return "%.3f ms" % (seconds * 1e3)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--bench-json")
    ap.add_argument("--zcmcom")
    ap.add_argument("--seconds", type=float, default=1.0)
    args = ap.parse_args()
    peer = peer_cases(args.seconds)
    mine = ours(args.bench_json)
    print("PyEphem %s, CPU time per call; ratio = built-in sky / PyEphem (goal <= 1)" % ephem.__version__)
    print("%-24s %12s %12s %8s" % ("case", "built-in", "PyEphem", "ratio"))
    for case, t in peer.items():
        if case.startswith("Random/"):
            continue
        m = mine.get(case)
        ratio = "%.2f" % (m / t) if m else "-"
        print("%-24s %12s %12s %8s" % (case, fmt(m), fmt(t), ratio))
    print("\na place at random instants, no two within a month (goal <= %.0f us CPU and <= %.1fx "
          "PyEphem)" % (RANDOM_GOAL_US, RANDOM_GOAL_RATIO))
    for case, t in peer.items():
        if not case.startswith("Random/"):
            continue
        m = mine.get(case)
        verdict = "-"
        if m:
            verdict = "ok" if m * 1e6 <= RANDOM_GOAL_US and m / t <= RANDOM_GOAL_RATIO else "OVER"
        print("%-24s %12s %12s %8s %s" % (case, fmt(m), fmt(t), "%.3f" % (m / t) if m else "-",
                                          verdict))
    texts = {k: v for k, v in mine.items() if k.startswith(("Text/", "RandomText/"))}
    if texts:
        print("\nfull click texts, every switch on (goal <= %.0f ms CPU; at random instants <= %.1f ms)"
              % (TEXT_GOAL_MS, RANDOM_TEXT_GOAL_MS))
        for case, t in texts.items():
            goal = RANDOM_TEXT_GOAL_MS if case.startswith("RandomText/") else TEXT_GOAL_MS
            print("%-24s %12s %s" % (case, fmt(t), "ok" if t * 1e3 <= goal else "OVER"))
    if args.zcmcom and os.access(args.zcmcom, os.X_OK):
        median, best = first_text_ms(args.zcmcom)
        print("\nfirst text of a fresh process (zcmcom click, Moon): median %.1f ms, best %.1f ms wall "
              "(goal <= %.0f ms) %s" % (median, best, FIRST_TEXT_GOAL_MS,
                                         "ok" if median <= FIRST_TEXT_GOAL_MS else "OVER"))


if __name__ == "__main__":
    main()
