// SPDX-License-Identifier: LGPL-3.0-or-later
// Requests to zcmcom serve, and the page's busy count (tests and scripts wait for "0").

export const $ = (id) => document.getElementById(id);

let busyCount = 0;

export function showError(message) {
  const box = $('error');
  box.textContent = message;
  box.hidden = !message;
}

export async function busy(work) {
  busyCount += 1;
  document.body.dataset.busy = busyCount;
  try {
    const result = await work();
    showError('');
    return result;
  } catch (err) {
    showError(err.message);
    return undefined;
  } finally {
    busyCount -= 1;
    document.body.dataset.busy = busyCount;
  }
}

export class HttpError extends Error {
  constructor(status, message) {
    super(message);
    this.status = status;
  }
}

export async function api(method, url, body) {
  const init = { method, cache: 'no-store', headers: {} };
  if (body !== undefined) {
    init.headers['Content-Type'] = 'application/json';
    init.body = JSON.stringify(body);
  }
  const response = await fetch(url, init);
  const type = response.headers.get('Content-Type') || '';
  const data = type.includes('json') ? await response.json() : null;
  if (!response.ok) {
    throw new HttpError(response.status, (data && data.error) || `${response.status} ${response.statusText}`);
  }
  return data;
}

export function query(params) {
  return new URLSearchParams(params).toString();
}
