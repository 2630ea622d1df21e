#!/usr/bin/python3
# SPDX-License-Identifier: LGPL-3.0-or-later
"""The sky chart page in headless Chromium against a real "zcmcom serve".

Checks that the bodies and stars are drawn where /api/sky places them (by the projection
worked out here, at two zoom levels), zoom and drag, that clicking Mars shows exactly the
text "zcmcom click" prints for the same instant and site, that a step of one day, played
time and a switch change it, search, the site's own clock against "zcmcom click" (London
in July, Sydney in December), a click on the time-zone map setting the site, and the
camera's frame of --frame drawn where the server's outline puts it.
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
import urllib.error
import urllib.parse
import urllib.request

AT = "2026-12-28T01:00:00+09:00"  # Mars and a gibbous Moon high over Tokyo
NEXT_DAY = "2026-12-29T01:00:00+09:00"
SITE = "139.69,35.69,40"
MARS = "Solar.Planet.Mars"
MOON = "Solar.Planet.Earth.Satellite.Moon"
CAMERA = ["--frame", "36x24,50", "--point", "5.58,-5.4", "--roll", "20"]  # 40 x 27 degrees
SWITCH, SWITCH_LINE = "DispConstellation", "星座 "
CHROMIUM, DRIVER = "/usr/bin/chromium", "/usr/bin/chromedriver"

try:
    from selenium import webdriver
    from selenium.common.exceptions import TimeoutException
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.actions.action_builder import ActionBuilder
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    webdriver = None


def start_server(zcmcom, env, at=AT, site=SITE):
    server = subprocess.Popen([zcmcom, "serve", "--port", "0", "--at", at, "--site", site, *CAMERA],
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

    def drawn(self, path):
        """Where the page draws an object, chart pixels (None: not on the chart)."""
        return self.js("return window.zcmChart.chart.screenOf(arguments[0]);", path)

    def view(self):
        """The chart's view: its name, projection, size, centre and scale."""
        return self.js("const c = window.zcmChart.chart; return {view: c.view, projection: c.projectionName,"
                       " w: c.w, h: c.h, centre: c.centres[c.view], scale: c.scale(), field: c.field()};")

    def frames(self):
        return self.js("return +document.getElementById('sky').dataset.frames || 0;")

    def redrawn(self):
        """Waits for a frame drawn after this call (what changed before it is on it)."""
        before = self.frames()
        self.js("window.zcmChart.chart.requestDraw();")
        self.settle(f"(+document.getElementById('sky').dataset.frames || 0) > {before}")

    def select(self, path):
        """Clicks the object where the page draws it, as a user would."""
        x, y = self.drawn(path)
        left, top = self.js("const b = document.getElementById('sky').getBoundingClientRect(); return [b.x, b.y];")
        self.js("document.getElementById('info').dataset.path = '';")
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(int(left + x + 0.5), int(top + y + 0.5)).click()
        actions.perform()
        self.settle(f"document.getElementById('info').dataset.path === '{path}'")

    def api(self, path):
        with urllib.request.urlopen(self.url.rstrip("/") + path, timeout=60) as answer:
            return json.load(answer)



def expect(condition, message):
    if not condition:
        raise AssertionError(message)
    print("ok:", message)


def projected(view, lon, lat):
    """Where a chart of this view draws a point of its coordinates (degrees): the oblique
    stereographic (or Lambert equal-area) projection about the view's centre, north up,
    in d3's units (the scale is the radius of the 90 degree circle of the stereographic)."""
    lon0, lat0 = (math.radians(a) for a in view["centre"])
    lam, phi = math.radians(lon) - lon0, math.radians(lat)
    cos_c = math.sin(lat0) * math.sin(phi) + math.cos(lat0) * math.cos(phi) * math.cos(lam)
    if cos_c < -0.5:
        return None
    k = 1 / (1 + cos_c) if view["projection"] == "stereographic" else math.sqrt(2 / (1 + cos_c))
    x = k * math.cos(phi) * math.sin(lam)
    y = k * (math.cos(lat0) * math.sin(phi) - math.sin(lat0) * math.cos(phi) * math.cos(lam))
    return view["w"] / 2 + view["scale"] * x, view["h"] / 2 - view["scale"] * y


def refracted(alt, refraction):
    """The apparent altitude of an airless one, by the library's refraction (docs/sky.md):
    the model A tan z + B tan^3 z from 15 degrees, Saemundsson's formula below 5, blended
    between, falling linearly to none from -1 to -6 degrees."""
    if not refraction or alt >= 90 or alt <= -6:
        return alt

    def model(h):
        tz = 1 / math.tan(math.radians(h))
        w = refraction["B"] * tz * tz
        return math.degrees((refraction["A"] + w) * tz / (1 + (refraction["A"] + 3 * w) / math.sin(math.radians(h)) ** 2))

    def saemundsson(h):
        f = lambda a: 1.02 / math.tan(math.radians(a + 10.3 / (a + 5.11))) / 60  # noqa: E731
        return f(h) - f(90)

    if alt >= 15:
        return alt + model(alt)
    k = refraction["hPa"] / 1010 * 283 / (273 + refraction["tempC"])
    low = saemundsson(alt) * k if alt >= -1 else saemundsson(-1) * k * (alt + 6) / 5
    if alt < 5:
        return alt + low
    q = model(15) / (saemundsson(15) * k)
    return alt + low * (q + (1 - q) * (15 - alt) / 10)


def check_places(page, what):
    """Every body and bright star on the chart is drawn where /api/sky places it."""
    view = page.view()
    sky = page.api("/api/sky?view=horizon&w=64&h=64")
    refraction = (sky.get("frame") or {}).get("refraction")
    bodies = sky.get("bodies") or [o for o in sky["objects"] if o["kind"] not in ("star", "dso")]
    stars = [o for o in sky["objects"] if o["kind"] == "star" and o["mag"] < 4]
    checked, worst = 0, (0.0, "")
    for o in bodies + stars:
        alt = o["alt"] if o in bodies else refracted(o["alt"], refraction)
        if view["view"] == "horizon":
            place = projected(view, o["az"], alt)
        else:
            place = projected(view, -o.get("ra2000", o["ra"]), o.get("dec2000", o["dec"]))
        if not place or not (0 <= place[0] < view["w"] and 0 <= place[1] < view["h"]):
            continue
        drawn = page.drawn(o["path"])
        if drawn is None:
            raise AssertionError(f"{what}: {o['path']} is not drawn")
        error = math.hypot(drawn[0] - place[0], drawn[1] - place[1])
        worst = max(worst, (error, o["path"]))
        checked += 1
        if error > 1:
            raise AssertionError(f"{what}: {o['path']} drawn {error:.2f} px from /api/sky's place")
    expect(checked >= 5, f"{what}: {checked} objects within 1 px of /api/sky's places "
                         f"(worst {worst[0]:.2f} px, {worst[1]})")


def check_camera(page):
    """The frame of --frame is drawn where the server's outline puts it (equatorial view)."""
    camera = page.api("/api/catalog")["camera"]
    expect(len(camera) == 1, f"one camera frame ({len(camera)})")
    page.js("const c = window.zcmChart.chart; c.centreOn(c.viewOfRaDec(83.7, -5.4));")
    page.redrawn()
    view = page.view()
    drawn = page.js("const c = window.zcmChart.chart; return c.layers.camera.coordinates[0].map((p) => c.project(p));")
    outline = camera[0]["outline"]
    worst = max(math.dist(d, projected(view, -ra, dec)) for d, (ra, dec) in zip(drawn, outline))
    expect(len(drawn) == len(outline) + 1 and worst <= 1,
           f"the camera's outline ({len(outline)} points) drawn within 1 px of its places ({worst:.2f} px)")


def check_moon(page):
    """The Moon's lit part: bright toward its bright limb, dark at the far edge (gibbous)."""
    phase = next(b["phase"] for b in page.api("/api/sky?fields=bodies")["bodies"] if b["path"] == MOON)
    page.js(f"const z = window.zcmChart; z.chart.centreOn(z.chart.bodyView(z.chart.bodies.find((b) => b.path === '{MOON}')));"
            "z.zoomBy(60);")
    page.redrawn()
    lit, dark = page.js("""const c = window.zcmChart.chart, m = c.moonLimb, d = window.devicePixelRatio || 1;
        const at = (f) => c.ctx.getImageData(Math.round((m.at[0] + f * m.r * Math.cos(m.angle)) * d),
                                             Math.round((m.at[1] + f * m.r * Math.sin(m.angle)) * d), 1, 1).data[0];
        return [at(0.5), at(-0.9)];""")
    expect(phase > 0.6 and lit > 200 and dark < 100, f"the gibbous Moon ({phase:.2f}) is lit on its bright limb's side ({lit}, {dark})")
    page.js("window.zcmChart.zoomBy(1 / window.zcmChart.chart.zoom); window.zcmChart.chart.centres.horizon = [180, 90];")


def chart_point(page, x, y):
    left, top = page.js("const s = document.getElementById('sky'); s.scrollIntoView({block: 'nearest'});"
                        "const b = s.getBoundingClientRect(); return [b.x, b.y];")
    return int(left + x), int(top + y)


def check_zoom_and_drag(page):
    field = page.view()["field"]
    page.driver.find_element(By.ID, "sky").send_keys("+")
    expect(page.view()["field"] < field, "the + key zooms in")
    page.js("const c = document.getElementById('sky').getBoundingClientRect();"
            "document.getElementById('sky').dispatchEvent(new WheelEvent('wheel', {deltaY: 600, bubbles: true,"
            " cancelable: true, clientX: c.x + c.width / 2, clientY: c.y + c.height / 2}));")
    zoomed_out = page.view()["field"]
    page.driver.find_element(By.ID, "zoom-in").click()
    page.driver.find_element(By.ID, "zoom-in").click()
    zoomed_in = page.view()["field"]
    expect(zoomed_in < zoomed_out, f"the wheel and the buttons zoom ({zoomed_out:.0f} to {zoomed_in:.0f} degrees)")
    for _ in range(12):
        page.driver.find_element(By.ID, "zoom-in").click()
    narrowest = page.view()["field"]
    expect(0.9 < narrowest <= 1.01, f"zoom reaches a field of one degree ({narrowest:.2f})")
    page.driver.find_element(By.ID, "zoom-reset").click()
    expect(abs(page.view()["field"] - field) < 1e-6, "the whole-sky button comes back")

    centre = page.view()["centre"]
    x, y = chart_point(page, page.view()["w"] / 2, page.view()["h"] / 2)
    actions = ActionChains(page.driver)
    actions.move_by_offset(x, y).click_and_hold().move_by_offset(30, 20).move_by_offset(30, 20).release().perform()
    actions.reset_actions()
    page.redrawn()
    moved = page.view()["centre"]
    expect(moved != centre, f"a drag turns the sky (centre {centre} to {[round(v, 1) for v in moved]})")
    page.driver.find_element(By.ID, "zoom-reset").click()
    page.redrawn()


def check_text(page, cli, at, what, path=MARS, site=SITE):
    expected = cli("click", "--at", at, "--site", site, path)  # the saved switches, else init
    answer = page.api(f"/api/click?path={path}")
    expect(answer["text"] == expected, f"{what}: /api/click's text is zcmcom click's, CR LF and all")
    shown = page.text("text")
    expect(shown == expected.replace("\r\n", "\n"), f"{what}: the page shows that text")
    expect(page.text("compact").rstrip("\n") == answer["compact"].replace("\r\n", "\n").rstrip("\n")
           and page.text("cdf") == answer["cdf"].replace("\r\n", "\n"), f"{what}: compact text and CDF shown")
    return shown


def check_empty_sky(page):
    view = page.view()
    spot = page.js("""const c = window.zcmChart.chart;
        for (let r = 40; r < 300; r += 7) for (let a = 0; a < 6.3; a += 0.3) {
          const x = c.w / 2 + r * Math.cos(a), y = c.h / 2 + r * Math.sin(a);
          if (!c.pick(x, y) && !c.pick(x + 6, y) && !c.pick(x - 6, y)) return [x, y];
        }
        return null;""")
    expect(spot is not None, f"an empty spot of sky in the {view['view']} view")
    actions = ActionBuilder(page.driver)
    actions.pointer_action.move_to_location(*chart_point(page, *spot)).click()
    actions.perform()
    page.settle("document.getElementById('info').dataset.path === 'Equatorial'")
    expect("赤経" in page.text("text"), "a click on empty sky shows the text of that point")


def check_play(page):
    page.select(MARS)
    page.settle()
    before, jd = page.text("text"), float(page.js("return document.body.dataset.jd;"))
    page.js("performance.clearResourceTimings(); window.framesBefore = +document.getElementById('sky').dataset.frames;")
    page.js("document.getElementById('speed').value = '3600';")
    page.driver.find_element(By.ID, "play").click()
    page.settle(f"+document.body.dataset.jd >= {jd + 1 / 24}")
    page.driver.find_element(By.ID, "play").click()
    page.settle()
    steps = page.js("return performance.getEntriesByType('resource').filter((e) => e.name.includes('/api/sky')).length;")
    frames = page.js("return +document.getElementById('sky').dataset.frames - window.framesBefore;")
    expect(page.text("text") != before, f"an hour played changes the text ({steps} time steps)")
    expect(steps <= frames, f"one /api/sky call per time step, none per frame ({steps} calls, {frames} frames)")


def check_search(page):
    for query in ("すばる", "Mira", "ISS"):
        page.js("document.getElementById('info').dataset.path = '';")
        box = page.driver.find_element(By.ID, "search")
        box.clear()
        box.send_keys(query, Keys.ENTER)
        page.settle("document.getElementById('info').dataset.path !== ''")
        path = page.js("return document.getElementById('info').dataset.path;")
        expect(page.text("text").strip() != "", f"search {query}: {path} chosen, its text shown")
        found = page.api("/api/search?q=" + urllib.parse.quote(query))["results"][0]
        if found["ra2000"] is None:
            print(f"search {query}: the sky has no place for it now")
            continue
        page.redrawn()
        at = page.drawn(path) or page.js("const c = window.zcmChart.chart;"
                                         "return c.project(c.viewOfRaDec(arguments[0], arguments[1]));",
                                         found["ra2000"], found["dec2000"])
        view = page.view()
        off = math.hypot(at[0] - view["w"] / 2, at[1] - view["h"] / 2)
        expect(off < 2, f"search {query}: centred ({off:.2f} px)")


def check_clock(page, cli):
    """The site's own clock: summer time in London, summer (December) in Sydney."""
    for town, local, abbr in (("London,GB", "2026-07-15 22:00:00", "BST"), ("Sydney,AU", "2026-12-15 21:00:00", "AEDT")):
        page.driver.find_element(By.ID, "town").send_keys(town, Keys.ENTER)
        page.settle("document.getElementById('site').textContent !== ''")
        submit(page, "time-form", **{"date-text": local})
        page.settle(f"document.getElementById('time').textContent.replace(/\\//g, '-').startsWith('{local}')")
        expect(abbr in page.text("zone"), f"{town}: the clock shows {page.text('zone')}")
        page.js("window.zcmChart.select({path: 'Solar.Sun'});")
        page.settle("document.getElementById('info').dataset.path === 'Solar.Sun'")
        shown = page.text("text")
        expected = cli("click", "--at", local.replace(" ", "T"), "--site", town, "Solar.Sun").replace("\r\n", "\n")
        expect(shown == expected, f"{town} at {local}: rise, transit and set as zcmcom click prints them")


def check_tzmap(page):
    page.driver.find_element(By.CSS_SELECTOR, 'input[name="view"][value="tzmap"]').click()
    page.settle("document.getElementById('tzmap').naturalWidth > 0")
    # Paris, by the map's own geometry
    x, y = page.js("""const b = document.getElementById('tzmap').getBoundingClientRect();
        const g = window.zcmChart.mapGeometry();
        let lon = 2.35 - g.west; if (lon < 0) lon += 360;
        return [b.x + b.width * lon / (g.east - g.west), b.y + b.height * (g.north - 48.85) / (g.north - g.south)];""")
    actions = ActionBuilder(page.driver)
    actions.pointer_action.move_to_location(int(x), int(y)).click()
    actions.perform()
    page.settle("Math.abs(document.getElementById('lat').value - 48.85) < 1.5")
    site = page.api("/api/site")
    expect(abs(site["lat"] - 48.85) < 1.5 and abs(site["lon"] - 2.35) < 1.5,
           f"a click on the time-zone map sets the site ({site['lon']:.2f}, {site['lat']:.2f} {site.get('town', '')})")
    page.driver.find_element(By.CSS_SELECTOR, 'input[name="view"][value="horizon"]').click()


def submit(page, form, **values):
    """Fills a form of the page and sends it, as a user would."""
    page.js("for (const [k, v] of Object.entries(arguments[1])) document.getElementById(k).value = v;"
            "document.getElementById(arguments[0]).requestSubmit();", form, values)


def run(page, cli, screenshot):
    page.driver.get(page.url)
    page.settle("document.body.dataset.ready === '1'")
    page.redrawn()
    check_places(page, "whole sky")
    page.js(f"const z = window.zcmChart; z.select({{path: '{MARS}'}});"
            f"z.chart.centreOn(z.chart.bodyView(z.chart.bodies.find((b) => b.path === '{MARS}'))); z.zoomBy(12);")
    page.redrawn()
    check_places(page, f"a field of {page.view()['field']:.0f} degrees")
    page.js("window.zcmChart.zoomBy(1 / window.zcmChart.chart.zoom); window.zcmChart.chart.centres.horizon = [180, 90];")
    check_moon(page)
    page.redrawn()
    check_zoom_and_drag(page)

    page.select(MARS)
    page.redrawn()
    at, view = page.drawn(MARS), page.view()
    expect(math.hypot(at[0] - view["w"] / 2, at[1] - view["h"] / 2) < 1, "a clicked object is centred")
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
    page.redrawn()
    check_places(page, "equatorial")
    check_camera(page)
    check_play(page)
    check_tzmap(page)
    check_search(page)
    check_clock(page, cli)


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
