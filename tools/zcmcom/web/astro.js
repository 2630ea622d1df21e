// SPDX-License-Identifier: LGPL-3.0-or-later
// The page's own positional astronomy: catalogue places (J2000) to the altitude and
// azimuth of the instant, with the frame the server gives for each time step (precession,
// nutation, aberration, sidereal time), so the stars move without a request per star.

export const RAD = Math.PI / 180;

// A unit vector of the J2000 frame from right ascension and declination (degrees).
export function vectorOf(ra, dec) {
  const a = ra * RAD;
  const d = dec * RAD;
  return [Math.cos(d) * Math.cos(a), Math.cos(d) * Math.sin(a), Math.sin(d)];
}

export function mul(m, v) {
  return [
    m[0] * v[0] + m[1] * v[1] + m[2] * v[2],
    m[3] * v[0] + m[4] * v[1] + m[5] * v[2],
    m[6] * v[0] + m[7] * v[1] + m[8] * v[2],
  ];
}

export function mulMat(a, b) {
  const r = new Array(9);
  for (let i = 0; i < 3; i++) {
    for (let j = 0; j < 3; j++) {
      r[3 * i + j] = a[3 * i] * b[j] + a[3 * i + 1] * b[3 + j] + a[3 * i + 2] * b[6 + j];
    }
  }
  return r;
}

export function transpose(m) {
  return [m[0], m[3], m[6], m[1], m[4], m[7], m[2], m[5], m[8]];
}

// Refraction of a true (airless) altitude to the apparent one, as the library's texts
// and the server's bodies have it: the model A tan z + B tan^3 z (A, B from the frame)
// from 15 degrees up, Saemundsson's formula for the temperature and pressure below 5, a
// blend of the two between, and a linear fall to none from -1 to -6 degrees.
function saemundsson(h) {
  const f = (a) => 1.02 / Math.tan((a + 10.3 / (a + 5.11)) * RAD) / 60;
  return f(h) - f(90);
}

function model(h, a, b) {
  const r = Math.cos(h * RAD);
  const z = Math.sin(h * RAD);
  const tz = r / z;
  const w = b * tz * tz;
  return ((a + w) * tz / (1 + (a + 3 * w) / (z * z))) / RAD;
}

export function refract(alt, refraction) {
  if (!refraction || !Number.isFinite(refraction.A) || alt >= 90 || alt <= -6) return alt;
  const { A, B } = refraction;
  if (alt >= 15) return alt + model(alt, A, B);
  const k = (refraction.hPa / 1010) * (283 / (273 + refraction.tempC));
  const low = alt >= -1 ? saemundsson(alt) * k : saemundsson(-1) * k * ((alt + 6) / 5);
  if (alt < 5) return alt + low;
  const q = model(15, A, B) / (saemundsson(15) * k);
  return alt + low * (q + ((1 - q) * (15 - alt)) / 10);
}

// The matrix from the J2000 frame to the horizon frame (north, east, up) of the instant.
export function horizonMatrix(frame) {
  const th = frame.lst * RAD;
  const ph = frame.lat * RAD;
  const [ct, st, cp, sp] = [Math.cos(th), Math.sin(th), Math.cos(ph), Math.sin(ph)];
  const local = [-sp * ct, -sp * st, cp, -st, ct, 0, cp * ct, cp * st, sp];
  return mulMat(local, frame.npb);
}

// Altitude and azimuth (degrees, azimuth from north through east, refracted) of J2000
// unit vectors packed in a Float64Array of 3n numbers, into out (2n numbers: az, alt).
export function altAzOf(vectors, frame, out) {
  const m = horizonMatrix(frame);
  const ab = frame.aberration || [0, 0, 0];
  for (let i = 0, n = vectors.length / 3; i < n; i++) {
    let x = vectors[3 * i] + ab[0];
    let y = vectors[3 * i + 1] + ab[1];
    let z = vectors[3 * i + 2] + ab[2];
    const len = Math.hypot(x, y, z);
    x /= len; y /= len; z /= len;
    const north = m[0] * x + m[1] * y + m[2] * z;
    const east = m[3] * x + m[4] * y + m[5] * z;
    const up = m[6] * x + m[7] * y + m[8] * z;
    out[2 * i] = Math.atan2(east, north) / RAD;
    out[2 * i + 1] = refract(Math.asin(Math.max(-1, Math.min(1, up))) / RAD, frame.refraction);
  }
  return out;
}

// The J2000 right ascension and declination of an altitude and azimuth (unrefracted).
export function raDecOf(az, alt, frame) {
  const h = [Math.cos(alt * RAD) * Math.cos(az * RAD), Math.cos(alt * RAD) * Math.sin(az * RAD), Math.sin(alt * RAD)];
  const v = mul(transpose(horizonMatrix(frame)), h);
  return [((Math.atan2(v[1], v[0]) / RAD) + 360) % 360, Math.asin(Math.max(-1, Math.min(1, v[2]))) / RAD];
}

// The sky's colour for the Sun's altitude: day, civil, nautical and astronomical
// twilight, night.
const SKY_STOPS = [
  [-90, [4, 6, 16]], [-18, [4, 6, 16]], [-12, [10, 18, 44]], [-6, [28, 48, 96]],
  [0, [70, 100, 160]], [6, [96, 150, 210]], [90, [110, 170, 230]],
];

export function skyColour(sunAlt) {
  const a = Number.isFinite(sunAlt) ? sunAlt : -90;
  for (let i = 1; i < SKY_STOPS.length; i++) {
    const [a1, c1] = SKY_STOPS[i];
    if (a <= a1) {
      const [a0, c0] = SKY_STOPS[i - 1];
      const f = (a - a0) / (a1 - a0);
      return `rgb(${c0.map((c, k) => Math.round(c + f * (c1[k] - c))).join(',')})`;
    }
  }
  return 'rgb(110,170,230)';
}

export function twilightName(sunAlt) {
  if (sunAlt >= 0) return 'day';
  if (sunAlt >= -6) return 'civil twilight';
  if (sunAlt >= -12) return 'nautical twilight';
  if (sunAlt >= -18) return 'astronomical twilight';
  return 'night';
}

// The ecliptic's points (J2000, obliquity of J2000) every 2 degrees, as [ra, dec].
export function eclipticPoints() {
  const eps = 23.4392911 * RAD;
  const points = [];
  for (let l = 0; l <= 360; l += 2) {
    const x = Math.cos(l * RAD);
    const y = Math.sin(l * RAD) * Math.cos(eps);
    const z = Math.sin(l * RAD) * Math.sin(eps);
    points.push([(Math.atan2(y, x) / RAD + 360) % 360, Math.asin(z) / RAD]);
  }
  return points;
}
