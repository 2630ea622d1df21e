// SPDX-License-Identifier: LGPL-3.0-or-later
// GDI drawing: filled polygons with the alternate and winding rules, and one-pixel lines.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/GdiObjects.h"

using namespace gdi;

namespace {

struct Edge {
    double x0, y0, slope;  // x = x0 + (y - y0) * slope
    int top, bottom;       // scanlines [top, bottom) whose centres the edge crosses
    int dir;               // +1 downwards, -1 upwards
};

// Fills the rings (device points) with the DC's brush. A pixel is inside when its centre
// is; crossings exactly at a centre count on the left side of a span, not the right.
void Fill(Dc* d, const std::vector<POINT>& pts, const std::vector<int>& counts) {
    const Brush* brush = d->state.brush;
    DWORD value;
    if (!brush || brush->style == BS_NULL || !d->Resolve(brush->colour, value)) return;
    Bitmap* b = d->state.bitmap;
    std::vector<Edge> edges;
    size_t start = 0;
    for (int n : counts) {
        for (int i = 0; i < n; ++i) {
            const POINT& p = pts[start + i];
            const POINT& q = pts[start + (i + 1) % n];
            if (p.y == q.y) continue;
            const POINT& a = p.y < q.y ? p : q;
            const POINT& c = p.y < q.y ? q : p;
            // centres y + 0.5 with a.y <= y + 0.5 < c.y
            const int top = std::max(a.y, 0), bottom = std::min(c.y, b->height);
            if (top >= bottom) continue;
            edges.push_back(Edge{double(a.x), double(a.y), double(c.x - a.x) / (c.y - a.y), top,
                                 bottom, p.y < q.y ? 1 : -1});
        }
        start += n;
    }
    if (edges.empty()) return;
    std::sort(edges.begin(), edges.end(),
              [](const Edge& l, const Edge& r) { return l.top < r.top; });
    const bool winding = d->state.polyFillMode == WINDING;
    std::vector<const Edge*> active;
    std::vector<std::pair<double, int>> xs;
    size_t next = 0;
    for (int y = edges.front().top; y < b->height; ++y) {
        while (next < edges.size() && edges[next].top <= y) active.push_back(&edges[next++]);
        active.erase(std::remove_if(active.begin(), active.end(),
                                    [y](const Edge* e) { return e->bottom <= y; }),
                     active.end());
        if (active.empty()) {
            if (next == edges.size()) break;
            continue;
        }
        xs.clear();
        const double yc = y + 0.5;
        for (const Edge* e : active) xs.emplace_back(e->x0 + (yc - e->y0) * e->slope, e->dir);
        std::sort(xs.begin(), xs.end());
        int wind = 0;
        for (size_t i = 0; i + 1 < xs.size(); ++i) {
            wind += winding ? xs[i].second : 1;
            const bool inside = winding ? wind != 0 : (wind & 1) != 0;
            if (!inside) continue;
            const double l = std::ceil(xs[i].first - 0.5), r = std::ceil(xs[i + 1].first - 0.5);
            const int x0 = static_cast<int>(std::max(l, 0.0));
            const int x1 = static_cast<int>(std::min(r, double(b->width)));
            if (x0 < x1) b->FillSpan(y, x0, x1, value);
        }
    }
}

// One-pixel line from p to q in device coordinates, without q itself, as GDI draws it.
void Line(Bitmap* b, DWORD value, POINT p, POINT q) {
    const long long dx = (long long)q.x - p.x, dy = (long long)q.y - p.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const long long steps = xMajor ? std::llabs(dx) : std::llabs(dy);
    if (steps == 0) return;
    // Only the steps whose major coordinate lies on the bitmap are walked.
    const long long major0 = xMajor ? p.x : p.y, limit = xMajor ? b->width : b->height;
    const int sign = (xMajor ? dx : dy) > 0 ? 1 : -1;
    long long first = sign > 0 ? -major0 : major0 - (limit - 1);
    long long last = sign > 0 ? limit - 1 - major0 : major0;
    first = std::max(first, 0LL);
    last = std::min(last, steps - 1);
    const long long minorDelta = xMajor ? dy : dx, minor0 = xMajor ? p.y : p.x;
    for (long long i = first; i <= last; ++i) {
        const long long major = major0 + sign * i;
        // nearest minor coordinate, halves rounded up
        const long long num = 2 * i * minorDelta + steps;
        const long long minor =
            minor0 + (num >= 0 ? num / (2 * steps) : -((-num + 2 * steps - 1) / (2 * steps)));
        const long long x = xMajor ? major : minor, y = xMajor ? minor : major;
        if (x >= 0 && y >= 0 && x < b->width && y < b->height)
            b->Put(static_cast<int>(x), static_cast<int>(y), value);
    }
}

// Draws the segments of the device points with the DC's pen; closed joins the last to the first.
void Outline(Dc* d, const POINT* pts, int n, bool closed) {
    const Pen* pen = d->state.pen;
    DWORD value;
    if (!pen || pen->style == PS_NULL || !d->Resolve(pen->colour, value)) return;
    for (int i = 0; i + 1 < n; ++i) Line(d->state.bitmap, value, pts[i], pts[i + 1]);
    if (closed && n > 1) Line(d->state.bitmap, value, pts[n - 1], pts[0]);
}

std::vector<POINT> ToDevice(const Dc* d, const POINT* points, size_t n) {
    std::vector<POINT> out(n);
    for (size_t i = 0; i < n; ++i) out[i] = d->ToDevice(points[i].x, points[i].y);
    return out;
}

}  // namespace

BOOL Polygon(HDC dc, const POINT* points, int count) { return PolyPolygon(dc, points, &count, 1); }

BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons) {
    Dc* d = ToDc(dc);
    if (!d || !points || !counts || polygons <= 0) return FALSE;
    size_t total = 0;
    for (int i = 0; i < polygons; ++i) {
        if (counts[i] < 2) return FALSE;
        total += static_cast<size_t>(counts[i]);
    }
    if (!d->state.bitmap) return TRUE;
    const std::vector<POINT> dev = ToDevice(d, points, total);
    Fill(d, dev, std::vector<int>(counts, counts + polygons));
    size_t start = 0;
    for (int i = 0; i < polygons; ++i) {
        Outline(d, dev.data() + start, counts[i], true);
        start += static_cast<size_t>(counts[i]);
    }
    return TRUE;
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
    Dc* d = ToDc(dc);
    if (!d || !points || count < 2) return FALSE;
    if (!d->state.bitmap) return TRUE;
    const std::vector<POINT> dev = ToDevice(d, points, static_cast<size_t>(count));
    Outline(d, dev.data(), count, false);
    return TRUE;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* old) {
    Dc* d = ToDc(dc);
    if (!d) return FALSE;
    if (old) *old = d->state.position;
    d->state.position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y) {
    Dc* d = ToDc(dc);
    if (!d) return FALSE;
    const POINT pts[2] = {d->state.position, POINT{x, y}};
    d->state.position = pts[1];
    return Polyline(dc, pts, 2);
}
