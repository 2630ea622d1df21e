// SPDX-License-Identifier: LGPL-3.0-or-later
// The sky chart page: draws what /api/sky gives at the screen positions the server
// computed, and shows the library's click texts. Every change of time, site or switch
// goes to the server, which keeps the host, the date state and the texts in step; the
// page only redraws from the answers.
'use strict';

const SVG_NS = 'http://www.w3.org/2000/svg';
const state = {
  view: 'horizon',
  w: 0,
  h: 0,
  selection: null,  // {path} or {x, y}: what the info panel shows, asked again after a change
  busy: 0,
};

const $ = (id) => document.getElementById(id);

function svgElement(name, attrs, parent) {
  const node = document.createElementNS(SVG_NS, name);
  for (const [key, value] of Object.entries(attrs)) node.setAttribute(key, value);
  if (parent) parent.appendChild(node);
  return node;
}

// Marks the page busy while requests run, so a tester (or a script) can wait for quiet.
async function busy(work) {
  state.busy += 1;
  document.body.dataset.busy = state.busy;
  try {
    await work();
    showError('');
  } catch (err) {
    showError(err.message);
  } finally {
    state.busy -= 1;
    document.body.dataset.busy = state.busy;
  }
}

function showError(message) {
  const box = $('error');
  box.textContent = message;
  box.hidden = !message;
}

async function api(method, url, body) {
  const init = { method, cache: 'no-store', headers: {} };
  if (body !== undefined) {
    init.headers['Content-Type'] = 'application/json';
    init.body = JSON.stringify(body);
  }
  const response = await fetch(url, init);
  const type = response.headers.get('Content-Type') || '';
  const data = type.includes('json') ? await response.json() : null;
  if (!response.ok) {
    throw new Error((data && data.error) || `${response.status} ${response.statusText}`);
  }
  return data;
}

function query(params) {
  return new URLSearchParams(params).toString();
}

// The chart's size in whole pixels: the server places objects for exactly this size.
function chartSize() {
  const box = $('chart');
  const width = Math.max(320, Math.min(1000, Math.floor(box.clientWidth)));
  if (state.view === 'equatorial') return [width, Math.round(width / 2)];
  // The chart fits the window below the controls, wherever the page is scrolled to.
  const top = box.getBoundingClientRect().top + window.scrollY;
  const height = Math.max(320, Math.floor(window.innerHeight - top - 16));
  const side = Math.min(width, height);
  return [side, side];
}

// ---- drawing ----

const KIND_ORDER = { dso: 0, star: 1, dwarf: 3, planet: 3, sun: 4, moon: 5 };
const LABELLED = new Set(['sun', 'moon', 'planet', 'dwarf']);

function drawOrder(a, b) {
  const ka = KIND_ORDER[a.kind] ?? 2;
  const kb = KIND_ORDER[b.kind] ?? 2;
  if (ka !== kb) return ka - kb;
  return (b.mag ?? 0) - (a.mag ?? 0);  // fainter first, so bright ones lie on top
}

// Radius of a point source when the server gives none: magnitude 6 is the faintest drawn.
function radiusOf(object) {
  if (Number.isFinite(object.r) && object.r > 0) return object.r;
  const mag = Number.isFinite(object.mag) ? object.mag : 6;
  return Math.max(0.8, Math.min(6, 0.6 * (6.5 - mag)));
}

// The lit part of a disc of radius r whose bright limb points along +x; k is the
// illuminated fraction. The terminator is a half ellipse of semi-axis r|1-2k|.
function litPath(r, k) {
  const rx = Math.abs(1 - 2 * k) * r;
  const sweep = k > 0.5 ? 1 : 0;
  return `M 0 ${-r} A ${r} ${r} 0 0 1 0 ${r} A ${rx} ${r} 0 0 ${sweep} 0 ${-r} Z`;
}

function drawMoon(object, r, layer) {
  const group = svgElement('g', {
    class: 'object moon', 'data-path': object.path,
    transform: `translate(${object.x} ${object.y})`,
  }, layer);
  svgElement('circle', { class: 'dark', cx: 0, cy: 0, r }, group);
  const k = Number.isFinite(object.phase) ? Math.max(0, Math.min(1, object.phase)) : 1;
  // limb: the bright limb's direction on the chart, degrees counter-clockwise from +x;
  // SVG turns clockwise on screen, hence the sign.
  const limb = Number.isFinite(object.limb) ? object.limb : 0;
  svgElement('path', { class: 'lit', d: litPath(r, k), transform: `rotate(${-limb})` }, group);
  return group;
}

function drawObject(object, layer) {
  const r = radiusOf(object);
  const kind = object.kind || 'other';
  let node;
  if (kind === 'moon') {
    node = drawMoon(object, Math.max(r, 5), layer);
  } else {
    node = svgElement('circle', {
      class: `object ${kind}`, 'data-path': object.path, cx: object.x, cy: object.y,
      r: kind === 'dso' ? Math.max(r, 3) : r,
    }, layer);
  }
  if (object.name) {
    const title = svgElement('title', {}, node);
    title.textContent = object.name;
  }
  if (LABELLED.has(kind)) {
    // Planets are named to their right, the Sun and the Moon under their discs, so a
    // planet beside the Moon keeps a readable name.
    const under = kind === 'sun' || kind === 'moon';
    const label = svgElement('text', {
      class: `label ${kind}`, x: under ? object.x : object.x + Math.max(r, 5) + 3,
      y: under ? object.y + Math.max(r, 5) + 12 : object.y - 3, 'text-anchor': under ? 'middle' : 'start',
    }, layer);
    label.textContent = object.name || object.path;
  }
}

// The horizon's points as SVG point lists, one per piece: an empty pair breaks the line
// where it crosses the edge of a map.
function horizonPieces(points) {
  const pieces = [[]];
  for (const p of points || []) {
    if (p.length === 2) pieces[pieces.length - 1].push(p.join(','));
    else if (pieces[pieces.length - 1].length) pieces.push([]);
  }
  return pieces.filter((piece) => piece.length > 1).map((piece) => piece.join(' '));
}

function drawSky(sky) {
  const svg = $('sky');
  svg.replaceChildren();
  svg.setAttribute('width', sky.w);
  svg.setAttribute('height', sky.h);
  svg.setAttribute('viewBox', `0 0 ${sky.w} ${sky.h}`);
  svg.dataset.view = sky.view;
  svgElement('rect', { class: 'space', x: 0, y: 0, width: sky.w, height: sky.h }, svg);
  const horizon = horizonPieces(sky.horizon);
  if (sky.view === 'horizon' && horizon.length) {
    svgElement('polygon', { class: 'sky-disc', points: horizon[0] }, svg);
  }

  const lines = svgElement('g', { class: 'constellation-lines' }, svg);
  for (const [x1, y1, x2, y2] of sky.lines || []) {
    // A segment across the chart is one that wraps around the edge of a map: not drawn.
    if (Math.abs(x2 - x1) > sky.w / 2 || Math.abs(y2 - y1) > sky.h / 2) continue;
    svgElement('line', { x1, y1, x2, y2 }, lines);
  }
  const names = svgElement('g', { class: 'constellation-names' }, svg);
  for (const label of sky.labels || []) {
    svgElement('text', { x: label.x, y: label.y }, names).textContent = label.name;
  }
  const shape = sky.view === 'horizon' ? 'polygon' : 'polyline';
  for (const points of horizon) svgElement(shape, { class: 'horizon', points }, svg);

  const objects = svgElement('g', { class: 'objects' }, svg);
  for (const object of [...(sky.objects || [])].sort(drawOrder)) drawObject(object, objects);

  const cardinals = svgElement('g', { class: 'cardinals' }, svg);
  for (const c of sky.cardinals || []) {
    // The points lie on the horizon, at the chart's edge: the letters stand just inside.
    const dx = c.x - sky.w / 2;
    const dy = c.y - sky.h / 2;
    const inward = sky.view === 'horizon' ? 10 / (Math.hypot(dx, dy) || 1) : 0;
    svgElement('text', { x: c.x - dx * inward, y: c.y - dy * inward, 'data-cardinal': c.label },
      cardinals).textContent = c.label;
  }
  markSelection(sky);
}

// A ring round the object the panel describes, when it is in view.
function markSelection(sky) {
  const path = state.selection && state.selection.path;
  const object = path && (sky.objects || []).find((o) => o.path === path);
  if (!object) return;
  svgElement('circle', {
    class: 'selection', cx: object.x, cy: object.y, r: Math.max(radiusOf(object), 5) + 5,
  }, $('sky'));
}

function showHeader(sky) {
  const zone = sky.zoneName || (Number.isFinite(sky.zone) ? `UTC${sky.zone < 0 ? '' : '+'}${sky.zone}` : '');
  $('time').textContent = [sky.time, zone].filter(Boolean).join(' ');
  const typed = $('date-text');
  if (document.activeElement !== typed && sky.time) typed.value = sky.time.replace(/\//g, '-');
  const site = sky.site || sky;
  $('site').textContent = site.city || '';
  for (const key of ['lon', 'lat', 'height']) {
    const input = $(key);
    if (document.activeElement !== input && Number.isFinite(site[key])) input.value = site[key];
  }
}

let lastSky = null;

async function loadSky() {
  if (state.view === 'tzmap') return loadTzMap();
  [state.w, state.h] = chartSize();
  const sky = await api('GET', `/api/sky?${query({ view: state.view, w: state.w, h: state.h })}`);
  lastSky = sky;
  showHeader(sky);
  drawSky(sky);
  document.body.dataset.jd = sky.jd;
}

async function loadTzMap() {
  const response = await fetch('/api/tzmap', { cache: 'no-store' });
  if (!response.ok) throw new Error(`time-zone map: ${response.status} ${response.statusText}`);
  const image = $('tzmap');
  if (image.src.startsWith('blob:')) URL.revokeObjectURL(image.src);
  image.src = URL.createObjectURL(await response.blob());
  const [time, site] = await Promise.all([api('GET', '/api/time'), api('GET', '/api/site')]);
  showHeader({ ...time, site });
  // The map spans 360 degrees of longitude from 22.5 W, and latitude 90 N to 90 S.
  const lon = ((((site.lon + 22.5) % 360) + 360) % 360);
  const marker = $('tzmap-site');
  marker.style.left = `${(lon / 360) * 100}%`;
  marker.style.top = `${((90 - site.lat) / 180) * 100}%`;
}

// ---- the click text ----

function showClick(answer) {
  const lines = (t) => (t || '').replace(/\r\n/g, '\n');
  const drawn = lastSky && (lastSky.objects || []).find((o) => o.path === answer.path);
  const name = answer.name || (drawn && drawn.name);
  $('info-title').textContent = name ? `${name} \u2014 ${answer.path}` : answer.path || '';
  $('text').textContent = lines(answer.text);
  $('compact').textContent = lines(answer.compact);
  $('cdf').textContent = lines(answer.cdf);
  $('info').dataset.path = answer.path || '';
}

async function refreshSelection() {
  const s = state.selection;
  if (!s) return;
  let answer;
  if (s.path) {
    answer = await api('GET', `/api/click?${query({ path: s.path })}`);
  } else {
    answer = await api('GET', `/api/click?${query({ view: s.view, w: s.w, h: s.h, x: s.x, y: s.y })}`);
  }
  showClick(answer);
}

function onChartClick(event) {
  if (state.view === 'tzmap') return;
  const target = event.target.closest('[data-path]');
  if (target) {
    state.selection = { path: target.dataset.path };
  } else {
    const box = $('sky').getBoundingClientRect();
    const x = Math.round(event.clientX - box.left);
    const y = Math.round(event.clientY - box.top);
    // Beyond the horizon circle there is no sky to name.
    const radius = Math.min(state.w, state.h) / 2;
    if (state.view === 'horizon' && Math.hypot(x - state.w / 2, y - state.h / 2) > radius) return;
    state.selection = { view: state.view, w: state.w, h: state.h, x, y };
  }
  busy(async () => {
    await refreshSelection();
    // A click near an object names it: keep asking by its path from now on.
    const path = $('info').dataset.path;
    if (!state.selection.path && path && path !== 'Equatorial' && lastSky &&
        (lastSky.objects || []).some((o) => o.path === path)) {
      state.selection = { path };
    }
    if (lastSky) drawSky(lastSky);
  });
}

// ---- controls ----

// After a change of time, site or switches: the chart and the selected text anew.
function changed(work) {
  return busy(async () => {
    await work();
    await loadSky();
    await refreshSelection();
  });
}

async function loadSwitches() {
  showSwitches(await api('GET', '/api/switches'));
}

function showSwitches(answer) {
  const list = Array.isArray(answer) ? answer
    : Array.isArray(answer.switches) ? answer.switches
      : Object.entries(answer).map(([name, on]) => ({ name, on }));
  const box = $('switches');
  box.querySelectorAll('label').forEach((l) => l.remove());
  for (const s of list) {
    const label = document.createElement('label');
    const input = document.createElement('input');
    input.type = 'checkbox';
    input.id = `switch-${s.name}`;
    input.dataset.name = s.name;
    input.checked = Boolean(s.on);
    label.append(input, ` ${s.label || s.name}`);
    box.append(label);
  }
}

async function loadCities() {
  const answer = await api('GET', '/api/cities');
  const list = Array.isArray(answer) ? answer : answer.cities || [];
  const select = $('city');
  for (const city of list) {
    // The server knows a city by its time zone's name (Asia/Tokyo).
    const name = typeof city === 'string' ? city : `${city.name} (${city.zone})`;
    select.append(new Option(name, typeof city === 'string' ? city : city.zone));
  }
}

function setView(view) {
  state.view = view;
  const map = view === 'tzmap';
  // An SVG element has no hidden property: the attribute, styled, does it.
  $('sky').toggleAttribute('hidden', map);
  $('tzmap-box').hidden = !map;
  busy(loadSky);
}

function wire() {
  $('sky').addEventListener('click', onChartClick);
  document.querySelectorAll('input[name="view"]').forEach((radio) => {
    radio.addEventListener('change', () => radio.checked && setView(radio.value));
  });
  $('now').addEventListener('click', () => changed(() => api('POST', '/api/time', { now: true })));
  document.querySelectorAll('[data-step]').forEach((button) => {
    button.addEventListener('click', () => changed(() => api('POST', '/api/time', { step: button.dataset.step })));
  });
  $('time-form').addEventListener('submit', (event) => {
    event.preventDefault();
    const text = $('date-text').value.trim().replace('T', ' ');
    changed(() => api('POST', '/api/time', { text }));
  });
  $('site-form').addEventListener('submit', (event) => {
    event.preventDefault();
    // An empty box is left out (the server keeps the height), never sent as 0.
    const site = {};
    for (const key of ['lon', 'lat', 'height']) {
      const text = $(key).value.trim();
      if (text !== '') site[key] = Number(text);
    }
    if (!('lon' in site && 'lat' in site)) {
      showError('site: longitude and latitude are needed');
      return;
    }
    changed(() => api('POST', '/api/site', site));
  });
  $('city').addEventListener('change', () => {
    const city = $('city').value;
    if (city) changed(() => api('POST', '/api/site', { city }));
  });
  $('switches').addEventListener('change', (event) => {
    const input = event.target;
    if (!input.dataset.name) return;
    const body = { name: input.dataset.name, on: input.checked };
    // A refused change puts the boxes back as the server has them.
    changed(() => api('POST', '/api/switches', body).then(showSwitches, (err) => loadSwitches().then(() => {
      throw err;
    })));
  });
  let resizeTimer = 0;
  window.addEventListener('resize', () => {
    clearTimeout(resizeTimer);
    resizeTimer = setTimeout(() => {
      const [w, h] = chartSize();
      if (state.view !== 'tzmap' && (w !== state.w || h !== state.h)) busy(loadSky);
    }, 200);
  });
}

wire();
busy(async () => {
  await Promise.all([loadSky(), loadSwitches(), loadCities()]);
});
