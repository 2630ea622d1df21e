// SPDX-License-Identifier: LGPL-3.0-or-later
// The chart: the sky projected with d3 (stereographic, or equal-area for the whole
// sphere) about a centre that drag moves and a scale that zoom changes, drawn on a canvas.
// Grids, lines and the Milky Way are unit vectors made once per time step and projected
// by the rotation and projection written out here, as are the tens of thousands of stars
// (a call into d3 per point per frame is too slow); d3's path cuts what needs cutting.
/* global d3 */
import { RAD, altAzOf, eclipticPoints, raDecOf, skyColour, vectorOf } from './astro.js';

const MAX_MAG = 8;

// The grid of either sphere, [longitude, latitude] in degrees: meridians every 15 degrees
// to 80 degrees from the poles, parallels every 15 degrees, points every 4 degrees.
const GRATICULE = (() => {
  const lines = [];
  for (let lon = 0; lon < 360; lon += 15) {
    const line = [];
    for (let lat = -80; lat <= 80; lat += 4) line.push([lon, lat]);
    lines.push(line);
  }
  for (let lat = -75; lat <= 75; lat += 15) {
    const line = [];
    for (let lon = 0; lon <= 360; lon += 4) line.push([lon, lat]);
    lines.push(line);
  }
  return lines;
})();
// The Japanese labels need a Japanese font: Debian's fonts-ipaexfont-gothic first.
const FONT = '"IPAexGothic", "Noto Sans CJK JP", "DejaVu Sans", sans-serif';
export const BASE_MAG = 5.5;  // the faintest stars of the whole horizon

function bodyRadius(body, s) {
  if ((body.kind === 'sun' || body.kind === 'moon') && Number.isFinite(body.diam)) {
    return Math.max(5, (body.diam / 3600) * RAD * s);  // the true disc once it is larger
  }
  if (body.kind === 'sun' || body.kind === 'moon') return 6;
  return Math.max(2.5, Math.min(5, 3.5 - 0.4 * (body.mag ?? 3)));
}

// The lines of a GeoJSON LineString or MultiLineString ([lon, lat] degrees) as unit
// vectors, NaN between lines, with points put in along the great circle between any two
// more than a degree apart.
function polylineVectors(geometry) {
  const lines = geometry.type === 'LineString' ? [geometry.coordinates] : geometry.coordinates;
  const out = [];
  for (const line of lines) {
    let last = null;
    for (const [lon, lat] of line) {
      const v = [Math.cos(lat * RAD) * Math.cos(lon * RAD), Math.cos(lat * RAD) * Math.sin(lon * RAD), Math.sin(lat * RAD)];
      if (last) {
        const angle = Math.acos(Math.max(-1, Math.min(1, last[0] * v[0] + last[1] * v[1] + last[2] * v[2])));
        const steps = Math.ceil(angle / RAD);
        for (let j = 1; j < steps; j++) {
          // slerp from the last point toward this one
          const f = j / steps;
          const a = Math.sin((1 - f) * angle) / Math.sin(angle);
          const b = Math.sin(f * angle) / Math.sin(angle);
          out.push(a * last[0] + b * v[0], a * last[1] + b * v[1], a * last[2] + b * v[2]);
        }
      }
      out.push(...v);
      last = v;
    }
    out.push(NaN, NaN, NaN);
  }
  return Float64Array.from(out);
}

// The sign of the area (on the chart, y down) of a small circle's ring about the centre
// of the stereographic projection as d3 winds it: a ring holding its side inside turns so.
let SMALL_SIDE_TURN = 0;
function smallSideTurn() {
  if (!SMALL_SIDE_TURN) {
    const ring = d3.geo.circle().origin([0, 0]).angle(10)().coordinates[0];
    let area = 0;
    const xy = ring.map(([lon, lat]) => {
      const x = Math.cos(lat * RAD) * Math.cos(lon * RAD);
      return [Math.cos(lat * RAD) * Math.sin(lon * RAD) / (1 + x), -Math.sin(lat * RAD) / (1 + x)];
    });
    for (let i = 0; i < xy.length; i++) {
      const [a, b] = xy[i];
      const [c, d] = xy[(i + 1) % xy.length];
      area += a * d - c * b;
    }
    SMALL_SIDE_TURN = Math.sign(area);
  }
  return SMALL_SIDE_TURN;
}

// Anti-aliased discs by their radius in device pixels (to a tenth), as tables of opacity
// about a pixel's centre, each made the first time it is needed.
const STAMPS = new Map();
function stampOf(radius) {
  const key = Math.round(radius * 10);
  let stamp = STAMPS.get(key);
  if (stamp) return stamp;
  const r = key / 10;
  const half = Math.ceil(r + 0.5);
  const size = 2 * half + 1;
  const alpha = new Uint8Array(size * size);
  for (let v = 0; v < size; v++) {
    for (let u = 0; u < size; u++) {
      let inside = 0;  // of 4 x 4 samples in the pixel
      for (let j = 0; j < 4; j++) {
        for (let i = 0; i < 4; i++) {
          const x = u - half - 0.375 + 0.25 * i;
          const y = v - half - 0.375 + 0.25 * j;
          if (x * x + y * y <= r * r) inside++;
        }
      }
      alpha[v * size + u] = Math.round((255 * inside) / 16);
    }
  }
  stamp = { half, size, alpha };
  STAMPS.set(key, stamp);
  return stamp;
}

export class Chart {
  constructor(canvas) {
    this.canvas = canvas;
    this.ctx = canvas.getContext('2d');
    this.view = 'horizon';
    this.projectionName = 'stereographic';
    this.centres = { horizon: [180, 90], equatorial: [0, 0] };
    this.zoom = 1;
    this.magOverride = null;
    this.w = 0;
    this.h = 0;
    this.stars = null;      // {vec, mag, path, label, n, hz, views}
    this.dsos = [];
    this.camera = [];       // the camera's frames: [{name, outline: [[ra, dec], ...]}]
    this.bodies = [];
    this.sky = null;        // the last /api/sky answer
    this.frame = null;
    this.geometry = null;   // J2000 geometry: {lines, constellations, milkyway}
    this.show = { grid: true, eqgrid: true, ecliptic: true, lines: true, names: true, milkyway: true, labels: true };
    this.selected = null;
    this.frameTimes = [];
    this.drawnCount = 0;
    this.pending = false;
  }

  // ---- data ----

  setCatalog(catalog) {
    const stars = catalog.stars || [];
    const n = stars.length;
    const vec = new Float64Array(3 * n);
    const mag = new Float32Array(n);
    // places at J2000 and proper motions (mas a year, in RA times cos dec), for the years
    // of each instant
    const place = new Float64Array(4 * n);
    stars.forEach(([ra, dec, m, , , pmRa, pmDec], i) => {
      place[4 * i] = ra;
      place[4 * i + 1] = dec;
      place[4 * i + 2] = (pmRa || 0) / 3.6e6 / Math.max(1e-6, Math.cos(dec * RAD));
      place[4 * i + 3] = (pmDec || 0) / 3.6e6;
      mag[i] = m;
    });
    this.stars = {
      n, vec, mag, place, years: null, path: stars.map((s) => s[3]), label: stars.map((s) => s[4] || ''),
      radec: stars.map((s) => [s[0], s[1]]), hz: new Float64Array(2 * n), view: new Float64Array(3 * n),
    };
    this.camera = catalog.camera || [];
    this.dsos = (catalog.dsos || []).map(([ra, dec, m, path, label, size]) => ({ ra, dec, mag: m, path, label, size }));
    this.geometry = {
      lines: (catalog.lines || []).map(([r1, d1, r2, d2]) => [[r1, d1], [r2, d2]]),
      constellations: (catalog.constellations || []).map(([abbr, name, ra, dec]) => ({ abbr, name, ra, dec })),
      ecliptic: eclipticPoints(),
      milkyway: null,
    };
    this.update();
  }

  // The Milky Way's outline: polygons of [ra, dec], rings wound for d3 (inside on the left).
  setMilkyWay(features) {
    this.geometry.milkyway = features;
    this.update();
  }

  setSky(sky) {
    this.sky = sky;
    this.frame = sky.frame;
    this.bodies = sky.bodies;
    if (sky.camera) this.camera = sky.camera;
    this.update();
  }

  // The view coordinates ([lon, lat] for d3) of a J2000 place, for the instant.
  viewOfRaDec(ra, dec) {
    if (this.view === 'equatorial') return [-ra, dec];
    const out = [0, 0];
    altAzOf(Float64Array.of(...vectorOf(ra, dec)), this.frame, out);
    return out;
  }

  viewOfAltAz(az, alt) {
    if (this.view === 'horizon') return [az, alt];
    const [ra, dec] = raDecOf(az, alt, this.frame);
    return [-ra, dec];
  }

  // Everything that depends on the instant or the view, made once per time step.
  update() {
    if (!this.stars || !this.frame) return this.requestDraw();
    const { n, vec, hz, view, place } = this.stars;
    const years = this.frame.years || 0;
    if (this.stars.years !== years) {
      this.stars.years = years;
      for (let i = 0; i < n; i++) {
        const a = (place[4 * i] + place[4 * i + 2] * years) * RAD;
        const d = (place[4 * i + 1] + place[4 * i + 3] * years) * RAD;
        vec[3 * i] = Math.cos(d) * Math.cos(a);
        vec[3 * i + 1] = Math.cos(d) * Math.sin(a);
        vec[3 * i + 2] = Math.sin(d);
      }
    }
    altAzOf(vec, this.frame, hz);
    for (let i = 0; i < n; i++) {
      let lon;
      let lat;
      if (this.view === 'horizon') {
        lon = hz[2 * i] * RAD;
        lat = hz[2 * i + 1] * RAD;
        view[3 * i] = Math.cos(lat) * Math.cos(lon);
        view[3 * i + 1] = Math.cos(lat) * Math.sin(lon);
        view[3 * i + 2] = Math.sin(lat);
      } else {
        view[3 * i] = vec[3 * i];
        view[3 * i + 1] = -vec[3 * i + 1];
        view[3 * i + 2] = vec[3 * i + 2];
      }
    }
    const toView = ([ra, dec]) => this.viewOfRaDec(ra, dec);
    const g = this.geometry;
    const fromHz = this.view === 'horizon' ? ((p) => p) : (([az, alt]) => this.viewOfAltAz(az, alt));
    this.layers = {
      lines: { type: 'MultiLineString', coordinates: g.lines.map((seg) => seg.map(toView)) },
      ecliptic: { type: 'LineString', coordinates: g.ecliptic.map(toView) },
      eqgrid: { type: 'MultiLineString', coordinates: GRATICULE.map((l) => l.map(toView)) },
      hzgrid: { type: 'MultiLineString', coordinates: GRATICULE.map((l) => l.map(fromHz)) },
      horizon: { type: 'LineString', coordinates: Array.from({ length: 73 }, (_, i) => fromHz([i * 5, 0])) },
      ground: d3.geo.circle().origin(fromHz([0, -90])).angle(90)(),
      // Every ring on its own, wound round its smaller side (the case d3 cuts at the
      // projection's edge reliably), filled even-odd: holes leave their gaps. The band's
      // two edges have the two caps beside it as smaller sides, which add up to more than
      // a hemisphere: that layer is filled with the sphere's outline added, so it is the
      // band between them that is filled.
      milkyway: g.milkyway && g.milkyway.map((rings) => {
        let small = 0;
        const coordinates = rings.map((ring) => {
          const r = ring.map(toView);
          let area = d3.geo.area({ type: 'Polygon', coordinates: [r] });
          if (area > 2 * Math.PI) {
            r.reverse();
            area = 4 * Math.PI - area;
          }
          small += area;
          return [r];
        });
        const vectors = coordinates.map(([r]) => polylineVectors({ type: 'LineString', coordinates: r }));
        return { shape: { type: 'MultiPolygon', coordinates }, invert: small > 2 * Math.PI, vectors };
      }),
      names: g.constellations.map((c) => ({ ...c, at: toView([c.ra, c.dec]) })),
      dsos: this.dsos.map((d) => ({ ...d, at: toView([d.ra, d.dec]) })),
      cardinals: [['N', 0], ['E', 90], ['S', 180], ['W', 270]].map(([l, az]) => ({ label: l, at: fromHz([az, 0]) })),
      // the camera's frames (closed outlines of J2000 places) and their names
      camera: this.camera.length ? {
        type: 'MultiLineString',
        coordinates: this.camera.map((f) => [...f.outline, f.outline[0]].map(toView)),
      } : null,
      cameraNames: this.camera.map((f) => ({ name: f.name, at: toView(f.outline.reduce(
        (best, q) => (q[1] > best[1] ? q : best), f.outline[0])) })),
    };
    // The same lines as unit vectors of the view, a point at least every degree, for the
    // projection written out while the field is wide (d3 resamples them when zoomed in).
    this.vectors = {};
    for (const name of ['lines', 'ecliptic', 'eqgrid', 'hzgrid', 'horizon', 'camera']) {
      if (this.layers[name]) this.vectors[name] = polylineVectors(this.layers[name]);
    }
    this.requestDraw();
  }

  bodyView(body) {
    if (this.view === 'horizon') return [body.az, body.alt];
    const ra = body.ra2000 ?? body.ra;
    const dec = body.dec2000 ?? body.dec;
    return [-ra, dec];
  }

  // ---- projection ----

  magLimit() {
    if (this.magOverride !== null) return this.magOverride;
    return Math.min(MAX_MAG, BASE_MAG + 1.1 * Math.log2(Math.max(1, this.zoom)));
  }

  // The scale of the projection: the horizon circle fills the chart at zoom 1.
  scale() {
    const r = Math.min(this.w, this.h) / 2;
    return (this.projectionName === 'stereographic' ? r : r / 2) * this.zoom;
  }

  maxZoom() {
    return 1 / Math.tan(0.25 * RAD);  // a field of one degree across the shorter side
  }

  // The field across the chart's shorter side, degrees.
  field() {
    const half = this.projectionName === 'stereographic' ? 2 * Math.atan(1 / this.zoom)
      : 2 * Math.asin(Math.min(1, 1 / this.zoom));
    return (2 * half) / RAD;
  }

  minZoom() {
    return this.projectionName === 'stereographic' ? 0.6 : 0.9;
  }

  projection() {
    const [lon, lat] = this.centres[this.view];
    const p = this.projectionName === 'stereographic' ? d3.geo.stereographic().clipAngle(150)
      : d3.geo.azimuthalEqualArea().clipAngle(179.9);
    return p.scale(this.scale()).translate([this.w / 2, this.h / 2]).rotate([-lon, -lat, 0]).precision(0.7);
  }

  // The rotation d3 applies for rotate([-lon, -lat, 0]), as a matrix on unit vectors.
  rotationMatrix() {
    const [lon, lat] = this.centres[this.view];
    const cl = Math.cos(-lon * RAD);
    const sl = Math.sin(-lon * RAD);
    const cp = Math.cos(-lat * RAD);
    const sp = Math.sin(-lat * RAD);
    // first about z by -lon, then about y by -lat
    return [cp * cl, -cp * sl, -sp, sl, cl, 0, sp * cl, -sp * sl, cp];
  }

  // Screen position of view coordinates (degrees), or null beyond the edge.
  project(lonlat) {
    const p = this.projection();
    const [lon, lat] = this.centres[this.view];
    if (d3.geo.distance(lonlat, [lon, lat]) > (this.projectionName === 'stereographic' ? 150 : 179.9) * RAD) return null;
    return p(lonlat);
  }

  centreOn(lonlat) {
    this.centres[this.view] = [lonlat[0], Math.max(-90, Math.min(90, lonlat[1]))];
    this.requestDraw();
  }

  panBy(dx, dy) {
    const k = (this.projectionName === 'stereographic' ? 2 : 1) / this.scale() / RAD;
    const [lon, lat] = this.centres[this.view];
    const c = Math.max(0.5, Math.cos(lat * RAD));  // near the pole a drag turns it, gently
    this.centres[this.view] = [lon - (dx * k) / c, Math.max(-90, Math.min(90, lat + dy * k))];
    this.requestDraw();
  }

  setZoom(z) {
    this.zoom = Math.max(this.minZoom(), Math.min(this.maxZoom(), z));
    this.requestDraw();
    return this.zoom;
  }

  resize(w, h) {
    const dpr = window.devicePixelRatio || 1;
    this.w = w;
    this.h = h;
    this.canvas.width = Math.round(w * dpr);
    this.canvas.height = Math.round(h * dpr);
    this.canvas.style.width = `${w}px`;
    this.canvas.style.height = `${h}px`;
    this.ctx.setTransform(dpr, 0, 0, dpr, 0, 0);
    this.requestDraw();
  }

  requestDraw() {
    if (this.pending) return;
    this.pending = true;
    requestAnimationFrame(() => {
      this.pending = false;
      this.draw();
    });
  }

  // ---- drawing ----

  draw() {
    if (!this.w || !this.layers) return;
    const t0 = performance.now();
    const ctx = this.ctx;
    const p = this.projection();
    const path = d3.geo.path().projection(p).context(ctx);
    const L = this.layers;
    const sunAlt = this.sky ? this.sky.sun.alt : -90;
    const day = sunAlt > -6;
    ctx.fillStyle = '#000';
    ctx.fillRect(0, 0, this.w, this.h);
    ctx.beginPath();
    path({ type: 'Sphere' });
    ctx.fillStyle = skyColour(sunAlt);
    ctx.fill();

    if (this.show.milkyway && L.milkyway && !day) {
      // its points lie close enough for straight lines between them: no resampling
      const outline = d3.geo.path().projection(p.precision(0)).context(ctx);
      ctx.fillStyle = 'rgba(160,180,230,0.10)';
      for (const layer of L.milkyway) {
        ctx.beginPath();
        const around = this.projectionName === 'stereographic' ? this.traceRings(ctx, layer.vectors) : null;
        if (around === null) {
          ctx.beginPath();
          if (layer.invert) path({ type: 'Sphere' });
          outline(layer.shape);
        } else if (layer.invert !== around) {
          path({ type: 'Sphere' });
        }
        ctx.fill('evenodd');
      }
      p.precision(0.7);
    }
    const inline = this.zoom <= 8;
    const stroke = (geometry, colour, width, dash, name) => {
      ctx.beginPath();
      if (inline && name && this.vectors[name]) this.tracePolylines(ctx, this.vectors[name]);
      else path(geometry);
      ctx.strokeStyle = colour;
      ctx.lineWidth = width;
      ctx.setLineDash(dash || []);
      ctx.stroke();
      ctx.setLineDash([]);
    };
    if (this.show.grid) stroke(L.hzgrid, 'rgba(120,200,140,0.28)', 0.7, null, 'hzgrid');
    if (this.show.eqgrid) stroke(L.eqgrid, 'rgba(110,150,255,0.30)', 0.7, null, 'eqgrid');
    if (this.show.ecliptic) stroke(L.ecliptic, 'rgba(230,190,90,0.6)', 1, [6, 4], 'ecliptic');
    if (this.show.lines) stroke(L.lines, 'rgba(110,150,220,0.55)', 0.8, null, 'lines');

    const limit = this.magLimit();
    const labels = [];
    const t1 = performance.now();
    this.drawStars(ctx, limit, day, labels);
    this.drawDsos(ctx, p, limit, labels);
    this.drawBodies(ctx, p, labels);
    const t2 = performance.now();

    // What is below the horizon stays visible, darkened, so the view is a whole sphere.
    ctx.beginPath();
    path(L.ground);
    ctx.fillStyle = 'rgba(18,26,14,0.62)';
    ctx.fill();
    stroke(L.horizon, '#5fbf6a', 1.6, null, 'horizon');
    if (L.camera) stroke(L.camera, '#ff6f6f', 1.2, null, 'camera');

    const placed = new LabelSpace(this.w, this.h);
    if (this.view === 'horizon' || this.show.grid) {
      ctx.font = `bold 14px ${FONT}`;
      for (const c of L.cardinals) {
        const at = this.projectVisible(p, c.at);
        if (!at) continue;
        // just inside the horizon, toward the chart's middle
        const dx = this.w / 2 - at[0];
        const dy = this.h / 2 - at[1];
        const k = 12 / (Math.hypot(dx, dy) || 1);
        placed.put(ctx, c.label, at[0] + dx * k, at[1] + dy * k, 0, '#7fd08a', true);
      }
    }
    this.drawSelection(ctx, p);
    ctx.font = `12px ${FONT}`;
    for (const c of L.cameraNames) {
      const at = this.projectVisible(p, c.at);
      if (at) placed.put(ctx, c.name, at[0], at[1] - 9, 0, '#ff8f8f', true);
    }
    if (this.show.labels) {
      // the brightest first, and no more than a chart can show legibly
      labels.sort((a, b) => a.rank - b.rank);
      for (const l of labels.slice(0, 120)) {
        ctx.font = l.font;
        placed.put(ctx, l.text, l.x, l.y, l.r, l.colour, false);
      }
    }
    if (this.show.names) {
      ctx.font = `12px ${FONT}`;
      for (const c of L.names) {
        const at = this.projectVisible(p, c.at);
        if (at) placed.put(ctx, c.name, at[0], at[1], 0, 'rgba(150,175,235,0.85)', true);
      }
    }
    const t3 = performance.now();
    const dt = t3 - t0;
    // where the time goes: the layers under the stars, the stars and bodies, the rest
    this.lastSplit = [t1 - t0, t2 - t1, t3 - t2];
    this.frameTimes.push(dt);
    if (this.frameTimes.length > 2000) this.frameTimes.shift();
    this.canvas.dataset.drawn = this.drawnCount;
    this.canvas.dataset.frames = Number(this.canvas.dataset.frames || 0) + 1;
  }

  // Polylines of unit vectors (NaN between lines) by the projection written out: a line
  // breaks where it passes beyond the projection's edge (far off the chart) or, on the
  // equal-area whole sphere, where it jumps across it.
  tracePolylines(ctx, vectors) {
    const m = this.rotationMatrix();
    const s = this.scale();
    const tx = this.w / 2;
    const ty = this.h / 2;
    const stereo = this.projectionName === 'stereographic';
    const minX = stereo ? Math.cos(150 * RAD) : Math.cos(175 * RAD);
    const jump = s * s;
    let pen = false;
    let lx = 0;
    let ly = 0;
    for (let i = 0, n = vectors.length / 3; i < n; i++) {
      const x0 = vectors[3 * i];
      const y0 = vectors[3 * i + 1];
      const z0 = vectors[3 * i + 2];
      const x = m[0] * x0 + m[1] * y0 + m[2] * z0;
      if (!(x >= minX)) {  // NaN too: the end of a line
        pen = false;
        continue;
      }
      const y = m[3] * x0 + m[4] * y0 + m[5] * z0;
      const z = m[6] * x0 + m[7] * y0 + m[8] * z0;
      const k = stereo ? 1 / (1 + x) : Math.sqrt(2 / (1 + x));
      const sx = tx + s * k * y;
      const sy = ty - s * k * z;
      if (pen && (stereo || (sx - lx) ** 2 + (sy - ly) ** 2 < jump)) ctx.lineTo(sx, sy);
      else ctx.moveTo(sx, sy);
      pen = true;
      lx = sx;
      ly = sy;
    }
  }

  // Rings (unit vectors, each closed, wound round its smaller side) by the stereographic
  // projection written out, uncut: it maps the sphere but for the point opposite the
  // centre onto the plane, so a ring is its side's outline unless that side holds that
  // point (then it is the outline of all the rest). Gives whether an odd number of rings
  // do so (the fill is then the complement: the sphere's outline is added), or null where
  // a ring comes within 2 degrees of that point (d3 cuts those).
  traceRings(ctx, rings) {
    const m = this.rotationMatrix();
    const s = this.scale();
    const tx = this.w / 2;
    const ty = this.h / 2;
    const minX = Math.cos(178 * RAD);
    let around = false;
    for (const ring of rings) {
      let area = 0;
      let fx = 0;
      let fy = 0;
      let lx = 0;
      let ly = 0;
      for (let i = 0, n = ring.length / 3 - 1; i < n; i++) {  // the closing NaN left out
        const x0 = ring[3 * i];
        const y0 = ring[3 * i + 1];
        const z0 = ring[3 * i + 2];
        const x = m[0] * x0 + m[1] * y0 + m[2] * z0;
        if (x < minX) return null;
        const k = s / (1 + x);
        const sx = k * (m[3] * x0 + m[4] * y0 + m[5] * z0);
        const sy = -k * (m[6] * x0 + m[7] * y0 + m[8] * z0);
        if (i === 0) {
          ctx.moveTo(tx + sx, ty + sy);
          fx = sx;
          fy = sy;
        } else {
          ctx.lineTo(tx + sx, ty + sy);
          area += lx * sy - sx * ly;
        }
        lx = sx;
        ly = sy;
      }
      area += lx * fy - fx * ly;
      ctx.closePath();
      // A ring's side held inside its outline turns one way on the chart (that of a small
      // circle about the centre); the other way, it holds the opposite point. The rest of
      // the sphere then inside is at least a hemisphere, a quarter of it as large on the
      // chart as at the centre: at least pi s^2 / 2 (rings of a few points, all but
      // without area, can turn either way).
      if ((area > 0) !== (smallSideTurn() > 0) && Math.abs(area) > 0.9 * Math.PI * s * s) around = !around;
    }
    return around;
  }

  projectVisible(p, lonlat) {
    const [lon, lat] = this.centres[this.view];
    if (d3.geo.distance(lonlat, [lon, lat]) > 0.5 * Math.PI + (this.projectionName === 'stereographic' ? 0.9 : 1.5)) return null;
    const xy = p(lonlat);
    if (!xy || xy[0] < -20 || xy[1] < -20 || xy[0] > this.w + 20 || xy[1] > this.h + 20) return null;
    return xy;
  }

  // The stars by the rotation and projection of d3 written out (see rotationMatrix).
  forEachStar(limit, visit) {
    const { n, view, mag } = this.stars;
    const m = this.rotationMatrix();
    const s = this.scale();
    const tx = this.w / 2;
    const ty = this.h / 2;
    const stereo = this.projectionName === 'stereographic';
    const minX = stereo ? Math.cos(150 * RAD) : -0.9999;
    for (let i = 0; i < n; i++) {
      if (mag[i] > limit) continue;
      const x0 = view[3 * i];
      const y0 = view[3 * i + 1];
      const z0 = view[3 * i + 2];
      const x = m[0] * x0 + m[1] * y0 + m[2] * z0;
      if (x < minX) continue;
      const y = m[3] * x0 + m[4] * y0 + m[5] * z0;
      const z = m[6] * x0 + m[7] * y0 + m[8] * z0;
      const k = stereo ? 1 / (1 + x) : Math.sqrt(2 / (1 + x));
      const sx = tx + s * k * y;
      const sy = ty - s * k * z;
      if (sx < -4 || sy < -4 || sx > this.w + 4 || sy > this.h + 4) continue;
      visit(i, sx, sy);
    }
  }

  // The stars as pixels of a layer of their own, drawn onto the chart in one go: the
  // faint ones a single pixel, the middling ones anti-aliased discs stamped from a table
  // (thousands of small arcs are slow to fill in software); the few bright ones as arcs.
  drawStars(ctx, limit, day, labels) {
    if (!this.stars) return;
    const dpr = window.devicePixelRatio || 1;
    const W = this.canvas.width;
    const H = this.canvas.height;
    if (!this.dots || this.dots.canvas.width !== W || this.dots.canvas.height !== H) {
      const canvas = document.createElement('canvas');
      canvas.width = W;
      canvas.height = H;
      const image = canvas.getContext('2d').createImageData(W, H);
      this.dots = { canvas, image, px: new Uint32Array(image.data.buffer), discs: new Float64Array(3 * 1024) };
    }
    const { px } = this.dots;
    px.fill(0);
    let discs = this.dots.discs;
    let nd = 0;
    let count = 0;
    const mag = this.stars.mag;
    const label = this.stars.label;
    this.forEachStar(limit, (i, sx, sy) => {
      const r = Math.max(0.55, Math.min(4.5, 0.5 + 0.55 * (limit - mag[i])));
      count++;
      if (label[i] && mag[i] < limit - 2.5) {
        labels.push({ text: label[i], x: sx, y: sy, r, rank: 10 + mag[i], font: `12px ${FONT}`, colour: '#dde6ff' });
      }
      if (r >= 2.5) {
        if (nd + 3 > discs.length) {
          const more = new Float64Array(2 * discs.length);
          more.set(discs);
          discs = this.dots.discs = more;
        }
        discs[nd++] = sx;
        discs[nd++] = sy;
        discs[nd++] = r;
        return;
      }
      const x = Math.floor(sx * dpr);
      const y = Math.floor(sy * dpr);
      if (r < 1.2) {
        if (x < 0 || y < 0 || x >= W || y >= H) return;
        // white, its opacity the dot's share of a disc of radius r (RGBA, little-endian)
        const a = Math.round(255 * Math.min(1, 0.35 + r * 0.55));
        const k = y * W + x;
        px[k] = Math.max(px[k] >>> 24, a) * 0x1000000 + 0xf4fdff;
        return;
      }
      const { half, size, alpha } = stampOf(r * dpr);
      for (let v = 0; v < size; v++) {
        const yy = y - half + v;
        if (yy < 0 || yy >= H) continue;
        for (let u = 0; u < size; u++) {
          const xx = x - half + u;
          const a = alpha[v * size + u];
          if (!a || xx < 0 || xx >= W) continue;
          const k = yy * W + xx;
          px[k] = Math.max(px[k] >>> 24, a) * 0x1000000 + 0xf4fdff;
        }
      }
    });
    const dots = this.dots.canvas.getContext('2d');
    dots.putImageData(this.dots.image, 0, 0);
    ctx.save();
    ctx.setTransform(1, 0, 0, 1, 0, 0);
    ctx.globalAlpha = day ? 0.45 : 1;
    ctx.drawImage(this.dots.canvas, 0, 0);
    ctx.restore();
    ctx.globalAlpha = day ? 0.45 : 1;
    ctx.fillStyle = '#fffdf4';
    ctx.beginPath();
    for (let j = 0; j < nd; j += 3) {
      ctx.moveTo(discs[j] + discs[j + 2], discs[j + 1]);
      ctx.arc(discs[j], discs[j + 1], discs[j + 2], 0, 2 * Math.PI);
    }
    ctx.fill();
    ctx.globalAlpha = 1;
    this.drawnCount = count;
  }

  drawDsos(ctx, p, limit, labels) {
    if (limit < 6.5) return;
    ctx.strokeStyle = '#9fd3ff';
    ctx.lineWidth = 1;
    for (const d of this.layers.dsos) {
      const at = this.projectVisible(p, d.at);
      if (!at) continue;
      const r = Math.max(4, ((d.size || 0) / 120) * RAD * this.scale());
      ctx.beginPath();
      ctx.ellipse(at[0], at[1], r, r * 0.7, 0, 0, 2 * Math.PI);
      ctx.stroke();
      this.drawnCount++;
      if (d.label) labels.push({ text: d.label, x: at[0], y: at[1], r, rank: 30 + (d.mag ?? 9), font: `11px ${FONT}`, colour: '#9fd3ff' });
    }
  }

  drawBodies(ctx, p, labels) {
    this.bodyPlaces = {};
    const order = { sun: 0, planet: 1, dwarf: 1, moon: 2 };
    const bodies = [...this.bodies].sort((a, b) => (order[a.kind] ?? 1) - (order[b.kind] ?? 1));
    for (const body of bodies) {
      const at = this.projectVisible(p, this.bodyView(body));
      if (!at) continue;
      this.bodyPlaces[body.path] = at;
      const r = bodyRadius(body, this.scale() * (this.projectionName === 'stereographic' ? 2 : 1));
      this.drawnCount++;
      if (body.kind === 'moon') {
        this.drawMoon(ctx, body, at, r, p);
      } else {
        ctx.beginPath();
        ctx.arc(at[0], at[1], r, 0, 2 * Math.PI);
        ctx.fillStyle = body.kind === 'sun' ? '#ffe14d' : body.kind === 'star' ? '#fff' : '#ffb07a';
        ctx.fill();
      }
      labels.push({ text: body.name || body.path, x: at[0], y: at[1], r, rank: body.kind === 'sun' || body.kind === 'moon' ? 0 : 1, font: `13px ${FONT}`, colour: '#ffd9b0' });
    }
  }

  // The Moon: a dark disc and its lit part, the bright limb turned toward the Sun.
  drawMoon(ctx, body, at, r, p) {
    const k = Number.isFinite(body.phase) ? Math.max(0, Math.min(1, body.phase)) : 1;
    // The limb's direction on screen: from the Moon toward the Sun when the server gives
    // the Sun, else the position angle it gives, measured from the pole's direction.
    let angle = 0;
    const sun = this.bodies.find((b) => b.kind === 'sun');
    if (sun) {
      const s = p(this.bodyView(sun));
      // along the great circle: a point a little toward the Sun
      const toward = d3.geo.interpolate(this.bodyView(body), this.bodyView(sun))(0.01);
      const q = p(toward) || s;
      angle = Math.atan2(q[1] - at[1], q[0] - at[0]);
    } else if (Number.isFinite(body.limb)) {
      angle = -body.limb * RAD;
    }
    ctx.save();
    ctx.translate(at[0], at[1]);
    ctx.rotate(angle);
    ctx.beginPath();
    ctx.arc(0, 0, r, 0, 2 * Math.PI);
    ctx.fillStyle = '#2b2f3c';
    ctx.fill();
    ctx.beginPath();
    // lit half on +x, the terminator an ellipse of semi-axis r|1-2k|
    ctx.arc(0, 0, r, -Math.PI / 2, Math.PI / 2, false);
    // back up the terminator: through the dark side (gibbous) or the lit one (crescent)
    ctx.ellipse(0, 0, Math.abs(1 - 2 * k) * r, r, 0, Math.PI / 2, -Math.PI / 2, k < 0.5);
    ctx.fillStyle = '#f2efe2';
    ctx.fill();
    ctx.restore();
    this.moonLimb = { angle, r, at };
  }

  drawSelection(ctx, p) {
    const at = this.selected && this.screenOf(this.selected);
    if (!at) return;
    ctx.beginPath();
    ctx.arc(at[0], at[1], 10, 0, 2 * Math.PI);
    ctx.strokeStyle = '#ffcf5a';
    ctx.lineWidth = 1.5;
    ctx.stroke();
  }

  // ---- finding what is drawn ----

  // Screen position of an object path as last drawn (bodies) or as drawn now (stars).
  screenOf(path) {
    if (this.bodyPlaces && this.bodyPlaces[path]) return this.bodyPlaces[path];
    if (!this.stars) return null;
    const i = this.stars.path.indexOf(path);
    if (i < 0) {
      const d = this.layers && this.layers.dsos.find((o) => o.path === path);
      return d ? this.projectVisible(this.projection(), d.at) : null;
    }
    let found = null;
    this.forEachStar(99, (j, sx, sy) => {
      if (j === i) found = [sx, sy];
    });
    return found;
  }

  // View coordinates of an object path (a body, a catalogue star or deep-sky object).
  viewOfPath(path) {
    const body = this.bodies.find((b) => b.path === path);
    if (body) return this.bodyView(body);
    const i = this.stars ? this.stars.path.indexOf(path) : -1;
    if (i >= 0) {
      const v = this.stars.view;
      return [Math.atan2(v[3 * i + 1], v[3 * i]) / RAD, Math.asin(v[3 * i + 2]) / RAD];
    }
    const d = this.layers && this.layers.dsos.find((o) => o.path === path);
    return d ? d.at : null;
  }

  // The object drawn nearest a screen point within 8 pixels, else null.
  pick(x, y) {
    let best = null;
    let bestD = 8;
    for (const [path, at] of Object.entries(this.bodyPlaces || {})) {
      const d = Math.hypot(at[0] - x, at[1] - y);
      if (d < bestD + 4) {
        best = path;
        bestD = d - 4;
      }
    }
    if (this.stars) {
      this.forEachStar(this.magLimit(), (i, sx, sy) => {
        const d = Math.hypot(sx - x, sy - y);
        if (d < bestD) {
          best = this.stars.path[i];
          bestD = d;
        }
      });
    }
    return best;
  }

  // The view coordinates under a screen point.
  invert(x, y) {
    return this.projection().invert([x, y]);
  }

  // J2000 right ascension and declination under a screen point.
  raDecAt(x, y) {
    const v = this.invert(x, y);
    if (!v) return null;
    if (this.view === 'equatorial') return [((-v[0] % 360) + 360) % 360, v[1]];
    return raDecOf(v[0], v[1], this.frame);
  }

  stats() {
    const t = [...this.frameTimes].sort((a, b) => a - b);
    const q = (f) => t[Math.min(t.length - 1, Math.floor(f * t.length))];
    return { frames: t.length, median: q(0.5), p95: q(0.95), drawn: this.drawnCount };
  }
}

const WIDTHS = new Map();  // text widths by font and text: measuring each frame is slow

// Labels placed without overlaps: each tries the right, left, top and bottom of its point
// and is left out where all four are taken.
class LabelSpace {
  constructor(w, h) {
    this.w = w;
    this.h = h;
    this.cells = new Map();  // boxes by the 64-pixel cells they touch
  }

  *cellsOf(b) {
    for (let cx = Math.floor(b[0] / 64); cx <= Math.floor(b[2] / 64); cx++) {
      for (let cy = Math.floor(b[1] / 64); cy <= Math.floor(b[3] / 64); cy++) yield cx * 4096 + cy;
    }
  }

  free(b) {
    if (b[0] < 0 || b[1] < 0 || b[2] > this.w || b[3] > this.h) return false;
    for (const cell of this.cellsOf(b)) {
      for (const o of this.cells.get(cell) || []) {
        if (b[0] < o[2] && o[0] < b[2] && b[1] < o[3] && o[1] < b[3]) return false;
      }
    }
    return true;
  }

  put(ctx, text, x, y, r, colour, centred) {
    const key = ctx.font + text;
    let w = WIDTHS.get(key);
    if (w === undefined) WIDTHS.set(key, (w = ctx.measureText(text).width));
    const h = 13;
    const gap = r + 3;
    const spots = centred ? [[x - w / 2, y - h / 2]]
      : [[x + gap, y - h / 2], [x - gap - w, y - h / 2], [x - w / 2, y - gap - h], [x - w / 2, y + gap]];
    for (const [bx, by] of spots) {
      const box = [bx, by, bx + w, by + h];
      if (!this.free(box)) continue;
      for (const cell of this.cellsOf(box)) {
        if (!this.cells.has(cell)) this.cells.set(cell, []);
        this.cells.get(cell).push(box);
      }
      ctx.fillStyle = colour;
      ctx.textBaseline = 'top';
      ctx.fillText(text, bx, by);
      return true;
    }
    return false;
  }
}
