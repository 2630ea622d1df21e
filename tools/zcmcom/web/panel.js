// SPDX-License-Identifier: LGPL-3.0-or-later
// The side panel: the click text, the switches by what they show (in the order the text
// shows them), and the time-zone map with its legend.
import { api, $ } from './api.js';

// The switches grouped as the text shows its lines; each with the words of its line.
const GROUPS = [
  ['名前と明るさ', [
    ['DispMag', '光度'], ['StarDetails', '恒星の詳細 (固有運動・視差・距離・色・スペクトル)'],
    ['PgcDetails', '銀河の詳細'], ['DispVariableForecast', '予報光度 (変光星)'], ['DispComment', '解説'],
    ['DispProvenance', '出典'],
  ]],
  ['位置', [
    ['DispEqt2000', '赤経・赤緯 (J2000)'], ['DispEqtDateApp', '赤経・赤緯 (視位置)'],
    ['DispEqt1950', '赤経・赤緯 (B1950)'], ['DispEclDateMean', '黄経・黄緯 (平均位置)'],
    ['DispEclDateApp', '黄経・黄緯 (視位置)'], ['DispEcl2000', '黄経・黄緯 (J2000)'],
    ['DispGal', '銀経・銀緯'], ['DispHrz', '方位・高度'], ['DispHrzOrgSouth', '方位を南から'],
    ['DispHourAngle', '時角'], ['DispSiderealTime', '恒星時'], ['DispParallacticAngle', '星位角'],
    ['DispConstellation', '星座'], ['DispDeltaEqt', '赤道座標の差'],
  ]],
  ['出没と観測', [
    ['DispRiseSet', '出・南中・没'], ['DispTimeToEvents', '出まで・南中まで・没まで'],
    ['DispObservingWindow', '観測好機'], ['DispSunMoonAltitude', '太陽高度・月高度'],
    ['DispAirmass', 'エアマス'],
  ]],
  ['太陽系', [
    ['DispDistR', '距離'], ['DispLightTime', '光行時間'], ['DispPhaseAngle', '位相角'],
    ['SolarOrbitDetails', '軌道要素'], ['PlanetPhysicalTable', '中央経度・緯度'],
  ]],
  ['測定と空', [['DispAzmth', '測線 (位置角・角距離)'], ['CnsInfo', '空の点の星座']]],
];

export function showSwitches(answer) {
  const list = Array.isArray(answer) ? answer : answer.switches || [];
  const on = new Map(list.map((s) => [s.name, Boolean(s.on)]));
  const box = $('switches');
  box.replaceChildren();
  const known = new Set();
  const group = (title, items) => {
    const set = document.createElement('fieldset');
    const legend = document.createElement('legend');
    legend.textContent = title;
    set.append(legend);
    for (const [name, words] of items) {
      if (!on.has(name)) continue;
      known.add(name);
      const label = document.createElement('label');
      const input = document.createElement('input');
      input.type = 'checkbox';
      input.id = `switch-${name}`;
      input.dataset.name = name;
      input.checked = on.get(name);
      label.title = name;
      label.append(input, ` ${words}`);
      set.append(label);
    }
    if (set.children.length > 1) box.append(set);
  };
  for (const [title, items] of GROUPS) group(title, items);
  group('その他', list.filter((s) => !known.has(s.name)).map((s) => [s.name, s.name]));
}

export async function loadSwitches() {
  showSwitches(await api('GET', '/api/switches'));
}

export function showClick(answer, name) {
  const lines = (t) => (t || '').replace(/\r\n/g, '\n');
  $('info-title').textContent = name ? `${name} — ${answer.path}` : answer.path || '';
  $('text').textContent = lines(answer.text);
  $('compact').textContent = lines(answer.compact);
  $('cdf').textContent = lines(answer.cdf);
  $('info').dataset.path = answer.path || '';
}

// ---- the time-zone map ----

let mapGeometry = { west: -22.5, east: 337.5, north: 90, south: -90 };

export async function loadTzMap(site) {
  const response = await fetch('/api/tzmap', { cache: 'no-store' });
  if (!response.ok) throw new Error(`time-zone map: ${response.status} ${response.statusText}`);
  const image = $('tzmap');
  if (image.src.startsWith('blob:')) URL.revokeObjectURL(image.src);
  image.src = URL.createObjectURL(await response.blob());
  try {
    const legend = await api('GET', '/api/tzmap/legend');
    const entries = legend.legend || [];
    if (legend.map) mapGeometry = { ...mapGeometry, ...legend.map };
    const list = $('tzmap-legend');
    list.replaceChildren(...entries.map((e) => {
      const item = document.createElement('li');
      const swatch = document.createElement('span');
      swatch.style.background = e.color;
      const h = e.offset;
      item.append(swatch, `UTC${h < 0 ? '−' : '+'}${Math.floor(Math.abs(h))}${Math.abs(h) % 1 ? `:${String(Math.round((Math.abs(h) % 1) * 60)).padStart(2, '0')}` : ''}`);
      return item;
    }));
  } catch (err) {
    $('tzmap-legend').replaceChildren();  // a server without the legend: the map alone
  }
  markSite(site);
}

export function currentMapGeometry() {
  return mapGeometry;
}

export function markSite(site) {
  const g = mapGeometry;
  const span = g.east - g.west;
  const lon = ((((site.lon - g.west) % 360) + 360) % 360);
  const marker = $('tzmap-site');
  marker.style.left = `${(lon / span) * 100}%`;
  marker.style.top = `${((g.north - site.lat) / (g.north - g.south)) * 100}%`;
}

// The longitude and latitude of a click on the map image.
export function mapPlace(event) {
  const box = $('tzmap').getBoundingClientRect();
  const g = mapGeometry;
  let lon = g.west + ((event.clientX - box.left) / box.width) * (g.east - g.west);
  if (lon > 180) lon -= 360;
  const lat = g.north - ((event.clientY - box.top) / box.height) * (g.north - g.south);
  return { lon: Math.round(lon * 100) / 100, lat: Math.round(lat * 100) / 100 };
}
