// SPDX-License-Identifier: LGPL-3.0-or-later
// The sky chart page: the catalogue once, then one light /api/sky call per time step (the
// frame of the instant, the bodies, the Sun, the site's clock); the page projects, zooms
// and pans by itself and asks the server only for the library's texts and edits.
/* global d3 */
import { $, api, busy, query, showError } from './api.js';
import { twilightName } from './astro.js';
import { Chart } from './render.js';
import { currentMapGeometry, loadSwitches, loadTzMap, mapPlace, markSite, showClick, showSwitches } from './panel.js';

const chart = new Chart($('sky'));
const state = {
  view: 'horizon',
  jd: null,
  zone: null,       // {name, offset, abbr}
  site: null,
  selection: null,  // {path} or {ra, dec}: what the panel shows, asked again after a change
  playing: false,
  names: new Map(), // path -> name, for the panel's title
};
const SIDEREAL_DAY = 0.99726956633;  // days

// ---- the sky of the instant ----

function zoneLabel(zone) {
  if (!zone) return '';
  const h = zone.offset;
  const offset = Number.isFinite(h)
    ? `UTC${h < 0 ? '−' : '+'}${Math.floor(Math.abs(h))}${Math.abs(h) % 1 ? `:${String(Math.round((Math.abs(h) % 1) * 60)).padStart(2, '0')}` : ''}` : '';
  return [zone.name, zone.abbr, offset && `(${offset})`].filter(Boolean).join(' ');
}

function showTime(sky) {
  if (sky.time) $('time').textContent = sky.time;
  $('zone').textContent = zoneLabel(state.zone);
  const typed = $('date-text');
  if (document.activeElement !== typed && sky.time) typed.value = sky.time.replace(/\//g, '-');
}

function showSite(site) {
  if (!site) return;
  state.site = site;
  $('site').textContent = site.town || site.city || '';
  for (const key of ['lon', 'lat', 'height']) {
    const input = $(key);
    if (document.activeElement !== input && Number.isFinite(site[key])) input.value = site[key];
  }
}

async function loadSky() {
  const sky = await api('GET', `/api/sky?${query({ fields: 'frame,bodies,sun,zone', view: 'horizon', w: 64, h: 64 })}`);
  state.zone = sky.clock;
  state.jd = sky.frame.jd;
  for (const b of sky.bodies) state.names.set(b.path, b.name);
  chart.setSky(sky);
  showTime(sky);
  document.body.dataset.jd = state.jd;
  $('twilight').textContent = twilightName(sky.sun.alt);
}

// The catalogue: every star to 8 mag, the deep-sky objects, the figures; fetched once.
async function loadCatalog() {
  const catalog = await api('GET', '/api/catalog');
  for (const s of catalog.stars) if (s[4]) state.names.set(s[3], s[4]);
  for (const d of catalog.dsos || []) if (d[4]) state.names.set(d[3], d[4]);
  chart.setCatalog(catalog);
  loadMilkyWay(catalog.milkyway);
}

// The Milky Way's outline (optional: without it the chart has none): polygons of
// [ra, dec] in layers of brightness, thinned to a point every 0.4 degree or so (a chart
// draws it blurred anyway, and every point costs time while panning).
function thin(ring) {
  const out = [];
  let last = null;
  for (const [ra, dec] of ring) {
    const p = [(ra + 360) % 360, dec];
    if (!last || Math.abs(p[1] - last[1]) + Math.abs(p[0] - last[0]) * Math.cos(p[1] * Math.PI / 180) > 0.4) {
      out.push(p);
      last = p;
    }
  }
  out.push(out[0]);
  return out;
}

async function loadMilkyWay(url) {
  if (!url) return;
  const response = await fetch(url);
  if (!response.ok) return;
  const data = await response.json();
  // one layer of brightness per feature, as its list of rings
  const layers = [];
  for (const feature of data.features || []) {
    const g = feature.geometry;
    const list = g.type === 'Polygon' ? [g.coordinates] : g.type === 'MultiPolygon' ? g.coordinates : [];
    layers.push(list.flat().map(thin));
  }
  chart.setMilkyWay(layers);
}

// ---- the text of the selection ----

async function refreshSelection() {
  const s = state.selection;
  if (!s) return;
  let answer;
  if (s.path) {
    answer = await api('GET', `/api/click?${query({ path: s.path })}`);
  } else {
    // A point of the bare sky, through the plain equatorial map's pixels (x from the RA,
    // y from the declination) of the largest map the server draws.
    const w = 8192;
    const h = 4096;
    answer = await api('GET', `/api/click?${query({ view: 'equatorial', w, h, x: (w * (1 - s.ra / 360)).toFixed(2), y: ((h * (90 - s.dec)) / 180).toFixed(2) })}`);
  }
  showClick(answer, state.names.get(answer.path));
}

function select(selection) {
  state.selection = selection;
  chart.selected = selection && selection.path;
  chart.requestDraw();
  return busy(refreshSelection);
}

// ---- time ----

// After a change of time, site or switches: the sky and the selected text anew.
function changed(work) {
  return busy(async () => {
    await work();
    await loadSky();
    await refreshSelection();
  });
}

function setJd(jd) {
  return api('POST', '/api/time', { jd });
}

function step(text) {
  return api('POST', '/api/time', { step: text });
}

// While playing, one time step at a time: the next starts when the last has its answer
// and at least a fifth of a second has passed, so the server sees a few calls a second.
async function play() {
  let last = performance.now();
  while (state.playing) {
    await new Promise((resolve) => setTimeout(resolve, 200));
    if (!state.playing) break;
    const now = performance.now();
    const speed = Number($('speed').value);
    const days = ((now - last) / 1000) * speed / 86400;
    last = now;
    await changed(() => setJd(state.jd + days));
  }
}

function setPlaying(on) {
  state.playing = on;
  $('play').textContent = on ? '⏸' : '▶';
  $('play').setAttribute('aria-pressed', String(on));
  if (on) play();
}

// ---- search ----

async function search(text) {
  const list = $('results');
  if (!text.trim()) {
    list.hidden = true;
    return;
  }
  let answer;
  try {
    answer = await api('GET', `/api/search?${query({ q: text.trim(), limit: 20 })}`);
  } catch (err) {
    showError(`search: ${err.message}`);
    return;
  }
  const items = answer.results.length ? answer.results : [];
  list.replaceChildren(...items.map((r) => {
    const item = document.createElement('li');
    item.tabIndex = 0;
    item.dataset.path = r.path;
    item.textContent = `${r.name}${Number.isFinite(r.mag) ? `  ${r.mag.toFixed(1)} mag` : ''}  ${r.kind || ''}${r.alt < 0 ? '  (地平線下)' : ''}`;
    item.addEventListener('click', () => choose(r));
    item.addEventListener('keydown', (e) => e.key === 'Enter' && choose(r));
    return item;
  }));
  if (!items.length && answer.closest && answer.closest.length) {
    const item = document.createElement('li');
    item.className = 'closest';
    item.textContent = `もしかして: ${answer.closest.map((c) => c.name || c).join(', ')}`;
    list.append(item);
  }
  list.hidden = list.children.length === 0;
}

function choose(result) {
  $('results').hidden = true;
  state.names.set(result.path, result.name);
  // An object the sky has no place for (an asterism, a satellite with old elements) has
  // its text only.
  const body = chart.bodies.find((b) => b.path === result.path);
  if (body) chart.centreOn(chart.bodyView(body));
  else if (Number.isFinite(result.ra2000)) chart.centreOn(chart.viewOfRaDec(result.ra2000, result.dec2000));
  select({ path: result.path });
}

// ---- views and size ----

function fit() {
  const box = $('chart');
  const width = Math.max(320, Math.floor(box.clientWidth));
  const top = box.getBoundingClientRect().top + window.scrollY;
  const height = Math.max(360, Math.floor(window.innerHeight - top - 12));
  chart.resize(width, height);
  showField();
}

function showField() {
  const f = chart.field();
  $('field').textContent = f >= 10 ? `${f.toFixed(0)}°` : `${f.toFixed(1)}°`;
  $('field').dataset.field = f;
}

function setView(view) {
  state.view = view;
  const map = view === 'tzmap';
  $('sky').hidden = map;
  $('zoom-buttons').hidden = map;
  $('tzmap-box').hidden = !map;
  if (map) return busy(async () => loadTzMap(state.site || await api('GET', '/api/site')));
  if (view !== chart.view) {
    if (view === 'equatorial' && chart.frame) {
      // The new view looks where the old one did.
      const [ra, dec] = chart.raDecAt(chart.w / 2, chart.h / 2) || [chart.frame.lst, chart.frame.lat];
      chart.centres.equatorial = [-ra, dec];
    }
    chart.view = view;
    chart.update();
  }
  return Promise.resolve();
}

// ---- wiring ----

function zoomBy(factor) {
  const z = chart.setZoom(chart.zoom * factor);
  zoom.scale(z);
  showField();
}

const zoom = d3.behavior.zoom().scaleExtent([chart.minZoom(), chart.maxZoom()]);
let lastTranslate = [0, 0];
let lastScale = 1;
zoom.on('zoomstart', () => {
  lastTranslate = zoom.translate();
  lastScale = zoom.scale();
});
zoom.on('zoom', () => {
  const { scale, translate } = d3.event;
  if (Math.abs(scale - lastScale) > 1e-9) {
    chart.setZoom(scale);
    showField();
  } else {
    chart.panBy(translate[0] - lastTranslate[0], translate[1] - lastTranslate[1]);
  }
  lastTranslate = translate;
  lastScale = scale;
});

function wire() {
  const canvas = $('sky');
  d3.select(canvas).call(zoom).on('dblclick.zoom', null);
  let down = null;
  canvas.addEventListener('mousedown', (e) => { down = [e.clientX, e.clientY]; });
  canvas.addEventListener('click', (e) => {
    // A drag is no click.
    if (down && Math.hypot(e.clientX - down[0], e.clientY - down[1]) > 4) return;
    const box = canvas.getBoundingClientRect();
    const x = e.clientX - box.left;
    const y = e.clientY - box.top;
    const path = chart.pick(x, y);
    if (path) {
      const at = chart.viewOfPath(path);
      if (at) chart.centreOn(at);
      return select({ path });
    }
    const radec = chart.raDecAt(x, y);
    if (radec) select({ ra: radec[0], dec: radec[1] });
    return undefined;
  });
  canvas.addEventListener('keydown', (e) => {
    const pan = 40;
    const keys = {
      '+': () => zoomBy(1.5), '=': () => zoomBy(1.5), '-': () => zoomBy(1 / 1.5), 0: () => zoomBy(1 / chart.zoom),
      ArrowLeft: () => chart.panBy(pan, 0), ArrowRight: () => chart.panBy(-pan, 0),
      ArrowUp: () => chart.panBy(0, pan), ArrowDown: () => chart.panBy(0, -pan),
    };
    if (keys[e.key]) {
      keys[e.key]();
      e.preventDefault();
    }
  });
  $('zoom-in').addEventListener('click', () => zoomBy(2));
  $('zoom-out').addEventListener('click', () => zoomBy(0.5));
  $('zoom-reset').addEventListener('click', () => {
    zoomBy(1 / chart.zoom);
    chart.centres.horizon = [180, 90];
    chart.requestDraw();
  });
  $('projection').addEventListener('change', () => {
    chart.projectionName = $('projection').value;
    zoom.scaleExtent([chart.minZoom(), chart.maxZoom()]);
    zoomBy(1);
  });
  document.querySelectorAll('input[name="view"]').forEach((radio) => {
    radio.addEventListener('change', () => radio.checked && setView(radio.value));
  });
  document.querySelectorAll('[data-layer]').forEach((box) => {
    box.addEventListener('change', () => {
      chart.show[box.dataset.layer] = box.checked;
      chart.requestDraw();
    });
  });

  $('now').addEventListener('click', () => changed(() => api('POST', '/api/time', { now: true })));
  $('play').addEventListener('click', () => setPlaying(!state.playing));
  document.querySelectorAll('[data-step]').forEach((button) => {
    button.addEventListener('click', () => changed(() => step(button.dataset.step)));
  });
  $('time-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const text = $('date-text').value.trim().replace('T', ' ');
    // the site's own clock reads it (the server's rule)
    changed(() => api('POST', '/api/time', { local: text }));
  });

  $('site-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const town = $('town').value.trim();
    if (town) {
      $('town').value = '';
      changed(async () => showSite(await api('POST', '/api/site', { town })));
      return;
    }
    const site = {};
    for (const key of ['lon', 'lat', 'height']) {
      const text = $(key).value.trim();
      if (text !== '') site[key] = Number(text);
    }
    if (!('lon' in site && 'lat' in site)) {
      showError('site: longitude and latitude are needed');
      return;
    }
    changed(async () => showSite(await api('POST', '/api/site', site)));
  });
  let townTimer = 0;
  $('town').addEventListener('input', () => {
    clearTimeout(townTimer);
    townTimer = setTimeout(async () => {
      const q = $('town').value.trim();
      if (!q) return;
      try {
        const towns = await api('GET', `/api/towns?${query({ q })}`);
        const list = Array.isArray(towns) ? towns : towns.towns || [];
        $('towns').replaceChildren(...list.map((t) => new Option(`${t.nameJa || ''} ${t.zone}`, `${t.name},${t.country}`)));
      } catch (err) { /* the town box then takes what is typed */ }
    }, 200);
  });
  $('city').addEventListener('change', () => {
    const city = $('city').value;
    if (city) changed(async () => showSite(await api('POST', '/api/site', { city })));
  });
  $('tzmap').addEventListener('click', (event) => {
    const place = mapPlace(event);
    changed(async () => {
      const site = await api('POST', '/api/site', { nearest: place });
      showSite(site);
      markSite(site);
    });
  });
  $('switches').addEventListener('change', (event) => {
    const input = event.target;
    if (!input.dataset.name) return;
    const body = { name: input.dataset.name, on: input.checked };
    changed(() => api('POST', '/api/switches', body).then(showSwitches, (err) => loadSwitches().then(() => {
      throw err;
    })));
  });

  let searchTimer = 0;
  $('search').addEventListener('input', () => {
    clearTimeout(searchTimer);
    searchTimer = setTimeout(() => search($('search').value), 150);
  });
  $('search-form').addEventListener('submit', (event) => {
    event.preventDefault();
    busy(async () => {
      await search($('search').value);
      const first = $('results').querySelector('li[data-path]');
      if (first) first.click();
    });
  });

  let resizeTimer = 0;
  window.addEventListener('resize', () => {
    clearTimeout(resizeTimer);
    resizeTimer = setTimeout(fit, 150);
  });
}

async function loadCities() {
  const answer = await api('GET', '/api/cities');
  const select = $('city');
  for (const city of answer.cities || []) select.append(new Option(`${city.name} (${city.zone})`, city.zone));
}

// For tests and the frame-time script.
window.zcmChart = { chart, state, zoomBy, select, setView, loadSky, mapGeometry: currentMapGeometry };

wire();
fit();
busy(async () => {
  await loadSky();
  const site = await api('GET', '/api/site');
  showSite(site);
  await Promise.all([loadCatalog(), loadSwitches(), loadCities()]);
  document.body.dataset.ready = '1';
});
