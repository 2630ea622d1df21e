#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""The chart page in headless Chromium (software rendering), for pictures and timing.

  chart_views.py --zcmcom BIN --screenshots DIR   night, twilight, day, the Pleiades, the
                                                  equatorial whole sky as PNGs in DIR
  chart_views.py --zcmcom BIN --bench [FRAMES]    frame time while panning with every star
                                                  to 8 mag: median, 95th percentile, objects
"""
import argparse
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "browser"))
import chart_test  # noqa: E402  (the test's server and browser set-up)
from PIL import Image  # noqa: E402

TOKYO = "139.69,35.69,40"
SHOTS = [  # file, instant, view set-up (JavaScript on window.zcmChart as z)
    ("chart-night.png", "2026-12-28T01:00:00+09:00", ""),
    ("chart-twilight.png", "2026-12-28T17:05:00+09:00", ""),
    ("chart-day.png", "2026-12-28T11:00:00+09:00", ""),
    ("chart-pleiades.png", "2026-12-28T21:00:00+09:00",
     "z.chart.centreOn(z.chart.viewOfRaDec(56.75, 24.12)); z.zoomBy(24);"),
    ("chart-equatorial.png", "2026-12-28T21:00:00+09:00",
     "document.getElementById('projection').value = 'equalarea';"
     "document.getElementById('projection').dispatchEvent(new Event('change'));"
     "z.setView('equatorial'); document.querySelector('input[value=equatorial]').checked = true;"
     "z.chart.centreOn([-90, 0]); z.zoomBy(1 / z.chart.zoom);"),
]

PAN = """
const z = window.zcmChart, c = z.chart, frames = arguments[0], done = arguments[arguments.length - 1];
c.magOverride = 8;
c.frameTimes.length = 0;
let n = 0, last = performance.now();
const gaps = [], splits = [];
function step() {
  const now = performance.now();
  gaps.push(now - last);
  last = now;
  if (c.lastSplit) splits.push(c.lastSplit);
  c.panBy(4, 1.5);
  if (++n < frames) requestAnimationFrame(step);
  else setTimeout(() => done({ stats: c.stats(), gaps, splits }), 50);
}
requestAnimationFrame(step);
"""


def open_page(zcmcom, env, tmp, at):
    server, url = chart_test.start_server(zcmcom, env, at=at, site=TOKYO)
    driver = chart_test.start_browser(os.path.join(tmp, "chromium"))
    driver.set_window_size(1400, 900)
    page = chart_test.Page(driver, url)
    driver.get(url)
    page.settle("document.body.dataset.ready === '1'")
    return server, driver, page


def quantile(values, f):
    values = sorted(values)
    return values[min(len(values) - 1, int(f * len(values)))]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--zcmcom", required=True)
    parser.add_argument("--screenshots", metavar="DIR")
    parser.add_argument("--bench", nargs="?", const=400, type=int, metavar="FRAMES")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="zcmcom-views-") as tmp:
        env = dict(os.environ, HOME=tmp, ZCMCOM_REGISTRY_USER=os.path.join(tmp, "user.sqlite"),
                   ZCMCOM_REGISTRY_MACHINE=os.path.join(tmp, "machine.sqlite"))
        jobs = [(name, at, js) for name, at, js in SHOTS] if args.screenshots else []
        if args.bench:
            jobs.append((None, chart_test.AT, ""))
        for name, at, js in jobs:
            server, driver, page = open_page(args.zcmcom, env, tmp, at)
            try:
                if name:
                    page.js("const z = window.zcmChart;" + js)
                    page.settle()
                    page.redrawn()
                    target = os.path.join(args.screenshots, name)
                    driver.save_screenshot(target)
                    # 256 colours keep the picture sharp at a third of the size
                    Image.open(target).convert("RGB").quantize(256, dither=Image.Dither.NONE).save(target, optimize=True)
                    print("wrote", os.path.join(args.screenshots, name))
                else:
                    driver.set_script_timeout(300)
                    result = driver.execute_async_script(PAN, args.bench)
                    draws, gaps = result["stats"], result["gaps"][1:]
                    times = driver.execute_script("return window.zcmChart.chart.frameTimes;")
                    load = os.getloadavg()
                    print(f"panning, every star to 8 mag: {len(times)} frames, {draws['drawn']} objects drawn "
                          f"(last frame)")
                    print(f"  draw time  median {quantile(times, 0.5):.1f} ms  p95 {quantile(times, 0.95):.1f} ms"
                          f"  worst {max(times):.1f} ms")
                    print(f"  frame gap  median {quantile(gaps, 0.5):.1f} ms  p95 {quantile(gaps, 0.95):.1f} ms"
                          " (from one animation frame to the next, the display's rate included)")
                    parts = [quantile([sp[k] for sp in result["splits"]], 0.5) for k in range(3)]
                    print("  draw time by part (medians): under the stars %.1f ms, stars and bodies %.1f ms,"
                          " the rest %.1f ms" % tuple(parts))
                    print("  load average %.2f %.2f %.2f" % load)
            finally:
                driver.quit()
                server.terminate()
                server.wait()
    return 0


if __name__ == "__main__":
    sys.exit(main())
