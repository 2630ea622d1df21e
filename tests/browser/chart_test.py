#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""The sky chart page in headless Chromium against a real "zcmcom serve".

Checks that Mars and the Moon are drawn where /api/sky places them, that clicking Mars
shows exactly the text "zcmcom click" prints for the same instant and site, that a step
of one day changes it, that a switch adds its line, and that empty sky names its point.
Then, for a day and a night in Tokyo, Santiago and London set through the page's forms,
that the Sun, the Moon, the planets and bright stars are drawn where PyEphem's altitude
and azimuth (tests/data/skychart/places.txt) project, and that a click there opens them.
Exit status 77 (skipped) when Chromium, its driver or Selenium is missing.
"""
import argparse
import json
import math
import os
import select
import signal
import subprocess
import sys
import tempfile
import time
import urllib.request

AT = "2026-12-28T01:00:00+09:00"  # Mars and a gibbous Moon high over Tokyo
NEXT_DAY = "2026-12-29T01:00:00+09:00"
SITE = "139.69,35.69,40"
MARS = "Solar.Planet.Mars"
MOON = "Solar.Planet.Earth.Satellite.Moon"
SWITCH, SWITCH_LINE = "DispConstellation", "星座 "
CHROMIUM, DRIVER = "/usr/bin/chromium", "/usr/bin/chromedriver"
PLACES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "skychart", "places.txt")

try:
    from selenium import webdriver
    from selenium.common.exceptions import TimeoutException
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.actions.action_builder import ActionBuilder
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    webdriver = None


def start_server(zcmcom, env):
    server = subprocess.Popen([zcmcom, "serve", "--port", "0", "--at", AT, "--site", SITE],
                              stdout=subprocess.PIPE, env=env)
    deadline = time.monotonic() + 60  # (serve loads the sky first: slow on a loaded machine)
    line = b""
    while time.monotonic() < deadline and b"\n" not in line:
        ready, _, _ = select.select([server.stdout], [], [], 0.2)
        if ready:
            chunk = os.read(server.stdout.fileno(), 4096)
            if not chunk:
                break
            line += chunk
    text = line.decode("utf-8", "replace")
    start = text.find("http://")
    if start < 0:
        server.kill()
        sys.exit(f"zcmcom serve printed no address: {text!r}")
    return server, text[start:].split()[0]


def start_browser(profile):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for arg in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                "--window-size=1400,1000", "--force-device-scale-factor=1", f"--user-data-dir={profile}"):
        options.add_argument(arg)
    return webdriver.Chrome(service=Service(DRIVER), options=options)


class Page:
    def __init__(self, driver, url):
        self.driver, self.url = driver, url
        self.wait = WebDriverWait(driver, 30)  # generous: CI runs other tests beside it

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def settle(self, condition="true"):
        """Waits until no request of the page runs and the condition holds."""
        try:
            self.wait.until(lambda d: d.execute_script(
                f"return document.body.dataset.busy === '0' && ({condition});"))
        except TimeoutException:
            raise AssertionError(f"page never came to: {condition} (its error line: {self.text('error')!r})")

    def text(self, node_id):
        return self.js("return document.getElementById(arguments[0]).textContent;", node_id)

    def centre(self, path):
        """Centre of an object's drawing in chart pixels, from the bounding box of its disc
        (the Moon's lit part, turned, may reach beyond the box of its disc)."""
        return self.js("""
            const svg = document.getElementById('sky').getBoundingClientRect();
            const node = document.querySelector(`#sky [data-path="${arguments[0]}"]`);
            if (!node) return null;
            const b = (node.querySelector('circle') || node).getBoundingClientRect();
            return [b.x + b.width / 2 - svg.x, b.y + b.height / 2 - svg.y];""", path)

    def chart(self):
        return self.js("const s = document.getElementById('sky');"
                       "return [s.dataset.view, +s.getAttribute('width'), +s.getAttribute('height')];")

    def api(self, path):
        with urllib.request.urlopen(self.url.rstrip("/") + path, timeout=60) as answer:
            return json.load(answer)

    def click_path(self, path):
        self.driver.find_element(By.CSS_SELECTOR, f'#sky [data-path="{path}"]').click()
        self.settle(f"document.getElementById('info').dataset.path === '{path}'")


def expect(condition, message):
    if not condition:
        raise AssertionError(message)
    print("ok:", message)


def check_positions(page):
    view, w, h = page.chart()
    sky = page.api(f"/api/sky?view={view}&w={w}&h={h}")
    placed = {o["path"]: o for o in sky["objects"]}
    for path in (MARS, MOON):
        expect(path in placed, f"{view}: {path} is in view")
        x, y = page.centre(path)
        dx, dy = x - placed[path]["x"], y - placed[path]["y"]
        expect(abs(dx) <= 2 and abs(dy) <= 2, f"{view}: {path} drawn at the server's place ({dx:+.2f}, {dy:+.2f} px)")


def check_text(page, cli, at, what):
    expected = cli("click", "--at", at, "--site", SITE, MARS)  # the saved switches, else init
    answer = page.api(f"/api/click?path={MARS}")
    expect(answer["text"] == expected, f"{what}: /api/click's text is zcmcom click's, CR LF and all")
    shown = page.text("text")
    expect(shown == expected.replace("\r\n", "\n"), f"{what}: the page shows that text")
    expect(page.text("compact").rstrip("\n") == answer["compact"].replace("\r\n", "\n").rstrip("\n")
           and page.text("cdf") == answer["cdf"].replace("\r\n", "\n"), f"{what}: compact text and CDF shown")
    return shown


def check_empty_sky(page):
    view, w, h = page.chart()
    sky = page.api(f"/api/sky?view={view}&w={w}&h={h}")
    # A point of the disc far from every object: the click names the sky itself.
    reach = int(min(w, h) * 0.35)
    spots = [(w / 2 + dx, h / 2 + dy) for dx in range(-reach, reach, 20) for dy in range(-reach, reach, 20)]

    def room(spot):
        return min((o["x"] - spot[0]) ** 2 + (o["y"] - spot[1]) ** 2 for o in sky["objects"]) ** 0.5

    x, y = max(spots, key=room)
    expect(room((x, y)) > 12, f"an empty spot of sky at ({x:.0f}, {y:.0f})")
    # The point in the window's coordinates, the chart scrolled into view first.
    left, top = page.js("const s = document.getElementById('sky'); s.scrollIntoView();"
                        "const b = s.getBoundingClientRect(); return [b.x, b.y];")
    actions = ActionBuilder(page.driver)
    actions.pointer_action.move_to_location(int(left + x), int(top + y)).click()
    actions.perform()
    page.settle("document.getElementById('info').dataset.path === 'Equatorial'")
    expect("赤経" in page.text("text"), "a click on empty sky shows the text of that point")


def drawn_at(w, h, alt, az):
    """Where the horizon view draws an altitude and azimuth (degrees), by the projection
    docs/browser.md gives, not the server's code: stereographic about the zenith, the
    horizon on the circle of radius min(w, h)/2, north up, east to the left."""
    r = min(w, h) / 2 * math.tan(math.radians(90 - alt) / 2)
    return w / 2 - r * math.sin(math.radians(az)), h / 2 - r * math.cos(math.radians(az))


def submit(page, form, **values):
    """Fills a form of the page and sends it, as a user would."""
    page.js("for (const [k, v] of Object.entries(arguments[1])) document.getElementById(k).value = v;"
            "document.getElementById(arguments[0]).requestSubmit();", form, values)


def check_reference(page):
    cases = {}
    for line in open(PLACES, encoding="utf-8"):
        if not line.startswith("#"):
            case, lon, lat, height, local, jd, path, alt, az = line.split()[:9]
            cases.setdefault(case, ((lon, lat, height, local, float(jd)), []))[1].append((path, float(alt), float(az)))
    worst = (0.0, "")
    for case, ((lon, lat, height, local, jd), rows) in cases.items():
        submit(page, "site-form", lon=lon, lat=lat, height=height)
        page.settle()
        submit(page, "time-form", **{"date-text": local.replace("T", " ")})
        page.settle(f"Math.abs(document.body.dataset.jd - {jd}) < 1e-5")
        _, w, h = page.chart()
        left, top = page.js("const s = document.getElementById('sky'); s.scrollIntoView();"
                            "const b = s.getBoundingClientRect(); return [b.x, b.y];")
        places = {path: drawn_at(w, h, alt, az) for path, alt, az in rows if alt > 0}
        for path, alt, az in rows:
            centre = page.centre(path)
            if alt < 0:
                expect(centre is None, f"{case}: {path} below the horizon is not drawn")
                continue
            x, y = places[path]
            error = math.hypot(centre[0] - x, centre[1] - y)
            worst = max(worst, (error, f"{case} {path}"))
            expect(error <= 1, f"{case}: {path} drawn {error:.2f} px from PyEphem's place")
            # A click on an object another covers (Jupiter beside the Moon) opens the one on top.
            if any(math.hypot(x - p[0], y - p[1]) < 12 for q, p in places.items() if q != path):
                continue
            page.js("document.getElementById('info').dataset.path = '';")
            actions = ActionBuilder(page.driver)
            actions.pointer_action.move_to_location(int(left + x + 0.5), int(top + y + 0.5)).click()
            actions.perform()
            page.settle(f"document.getElementById('info').dataset.path === '{path}'")
            name = page.js(f"return document.querySelector('#sky [data-path=\"{path}\"] title').textContent;")
            expect(name in page.text("text"), f"{case}: a click there opens {path}, its text names {name}")
    print(f"largest error {worst[0]:.2f} px: {worst[1]}")


def run(page, cli, screenshot):
    page.driver.get(page.url)
    page.settle("document.querySelector('#sky [data-path]') !== null")
    check_positions(page)

    page.click_path(MARS)
    if screenshot:
        page.driver.find_element(By.ID, "sky").screenshot(screenshot)
    before = check_text(page, cli, AT, "Mars")

    page.driver.find_element(By.CSS_SELECTOR, '[data-step="+1d"]').click()
    page.settle(f"document.getElementById('text').textContent !== {json.dumps(before)}")
    day_later = check_text(page, cli, NEXT_DAY, "a day later")
    expect(SWITCH_LINE not in day_later, f"{SWITCH} off: no line of it")

    page.driver.find_element(By.ID, f"switch-{SWITCH}").click()
    page.settle(f"document.getElementById('text').textContent !== {json.dumps(day_later)}")
    switched = check_text(page, cli, NEXT_DAY, f"{SWITCH} on")
    expect(any(line.startswith(SWITCH_LINE) for line in switched.split("\n")), f"{SWITCH} on: its line appears")

    check_empty_sky(page)
    page.driver.find_element(By.CSS_SELECTOR, 'input[name="view"][value="equatorial"]').click()
    page.settle("document.getElementById('sky').dataset.view === 'equatorial'")
    check_positions(page)

    page.driver.find_element(By.CSS_SELECTOR, 'input[name="view"][value="tzmap"]').click()
    page.settle("document.getElementById('tzmap').naturalWidth > 0")
    expect(page.js("return document.getElementById('tzmap').naturalWidth") == 720, "the time-zone map is shown")

    page.driver.find_element(By.CSS_SELECTOR, 'input[name="view"][value="horizon"]').click()
    page.settle("document.getElementById('sky').dataset.view === 'horizon'")
    check_reference(page)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--zcmcom", required=True, help="the built zcmcom program")
    parser.add_argument("--screenshot", help="also save the chart with Mars selected as this PNG")
    args = parser.parse_args()
    if webdriver is None or not (os.access(CHROMIUM, os.X_OK) and os.access(DRIVER, os.X_OK)):
        print("skipped: needs chromium, chromium-driver and python3-selenium (scripts/deps.sh)")
        return 77

    with tempfile.TemporaryDirectory(prefix="zcmcom-browser-") as tmp:
        # Nothing of the user's is read or written: home, settings and registry are ours.
        env = dict(os.environ, HOME=tmp, XDG_CONFIG_HOME=os.path.join(tmp, "config"),
                   ZCMCOM_REGISTRY_USER=os.path.join(tmp, "user.sqlite"),
                   ZCMCOM_REGISTRY_MACHINE=os.path.join(tmp, "machine.sqlite"))

        def cli(*argv):
            return subprocess.run([args.zcmcom, *argv], env=env, check=True,
                                  stdout=subprocess.PIPE).stdout.decode("utf-8")

        server, url = start_server(args.zcmcom, env)
        driver = None
        try:
            driver = start_browser(os.path.join(tmp, "chromium"))
            run(Page(driver, url), cli, args.screenshot)
        finally:
            if driver:
                driver.quit()
            server.send_signal(signal.SIGTERM)
            status = server.wait(timeout=30)
        expect(status == 0, "zcmcom serve stops cleanly on SIGTERM")
    return 0


if __name__ == "__main__":
    sys.exit(main())
