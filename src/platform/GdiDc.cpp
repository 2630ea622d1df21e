// SPDX-License-Identifier: LGPL-3.0-or-later
// GDI device contexts: creation, saved states, mapping modes, pixels and block copies.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/GdiObjects.h"

namespace gdi {
namespace {

constexpr LONG kDeviceLimit = LONG(1) << 27;  // GDI's device coordinate space

LONG ClampDevice(double v) {
    if (!(v > -kDeviceLimit)) return -kDeviceLimit;
    if (!(v < kDeviceLimit)) return kDeviceLimit;
    return static_cast<LONG>(std::lround(v));
}

}  // namespace

POINT Dc::ToDevice(LONG x, LONG y) const {
    const State& s = state;
    if (s.mapMode == MM_TEXT) {
        return POINT{ClampDevice(double(x) - s.windowOrg.x + s.viewportOrg.x),
                     ClampDevice(double(y) - s.windowOrg.y + s.viewportOrg.y)};
    }
    const double dx = (double(x) - s.windowOrg.x) * s.viewportExt.cx / s.windowExt.cx;
    const double dy = (double(y) - s.windowOrg.y) * s.viewportExt.cy / s.windowExt.cy;
    return POINT{ClampDevice(dx + s.viewportOrg.x), ClampDevice(dy + s.viewportOrg.y)};
}

bool Dc::Resolve(COLORREF colour, DWORD& value) const {
    if (!state.bitmap) return false;
    COLORREF rgb = colour & 0x00FFFFFF;
    if ((colour >> 24) == 1) {
        const Palette* p = state.palette ? state.palette : DefaultPalette();
        const WORD i = LOWORD(colour);
        const PALETTEENTRY& e = i < p->entries.size() ? p->entries[i] : p->entries[0];
        rgb = RGB(e.peRed, e.peGreen, e.peBlue);
    }
    value = state.bitmap->Encode(rgb);
    return true;
}

Dc* ToDc(HDC dc) { return IsLive(dc, true) ? reinterpret_cast<Dc*>(dc) : nullptr; }

}  // namespace gdi

using namespace gdi;

namespace {

Dc* NewDc(bool memory, int bits) {
    auto* d = new Dc;
    d->memory = memory;
    d->bitsPerPixel = bits;
    SelectSlot(d->state.brush, StockBrush(WHITE_BRUSH));
    SelectSlot(d->state.pen, StockPen(BLACK_PEN));
    SelectSlot(d->state.palette, DefaultPalette());
    if (memory) SelectSlot(d->state.bitmap, StockBitmap());
    Register(d);
    return d;
}

void ReleaseState(State& s) {
    SelectSlot(s.brush, static_cast<Brush*>(nullptr));
    SelectSlot(s.pen, static_cast<Pen*>(nullptr));
    SelectSlot(s.palette, static_cast<Palette*>(nullptr));
    SelectSlot(s.bitmap, static_cast<Bitmap*>(nullptr));
}

}  // namespace

HDC GetDC(HWND) { return reinterpret_cast<HDC>(NewDc(false, g_displayBits)); }

int ReleaseDC(HWND, HDC dc) {
    Dc* d = ToDc(dc);
    if (!d || d->memory) return 0;
    ReleaseState(d->state);
    Unregister(d);
    delete d;
    return 1;
}

HDC CreateCompatibleDC(HDC dc) {
    int bits = g_displayBits;
    if (dc) {
        Dc* ref = ToDc(dc);
        if (!ref) return nullptr;
        bits = ref->bitsPerPixel;
    }
    return reinterpret_cast<HDC>(NewDc(true, bits));
}

BOOL DeleteDC(HDC dc) {
    Dc* d = ToDc(dc);
    if (!d) return FALSE;
    ReleaseState(d->state);
    Unregister(d);
    delete d;
    return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
    Dc* d = ToDc(dc);
    if (!d) return 0;
    switch (index) {
        case BITSPIXEL:
            return d->bitsPerPixel;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return d->bitsPerPixel <= 8 ? 1 << d->bitsPerPixel : -1;
        case SIZEPALETTE:
            return d->bitsPerPixel <= 8 ? 1 << d->bitsPerPixel : 0;
        case RASTERCAPS:
            return d->bitsPerPixel <= 8 ? RC_PALETTE : 0;
        default:
            return 0;
    }
}

int SaveDC(HDC dc) {
    Dc* d = ToDc(dc);
    if (!d) return 0;
    d->saved.push_back(d->state);
    return static_cast<int>(d->saved.size());
}

BOOL RestoreDC(HDC dc, int level) {
    Dc* d = ToDc(dc);
    if (!d || level == 0) return FALSE;
    const long count = static_cast<long>(d->saved.size());
    const long index = level > 0 ? level - 1L : count + level;
    if (index < 0 || index >= count) return FALSE;
    State next = d->saved[static_cast<size_t>(index)];
    d->saved.resize(static_cast<size_t>(index));
    // Objects deleted since the save are replaced by the defaults.
    State& s = d->state;
    SelectSlot(s.brush, IsLive(next.brush) ? next.brush : StockBrush(WHITE_BRUSH));
    SelectSlot(s.pen, IsLive(next.pen) ? next.pen : StockPen(BLACK_PEN));
    SelectSlot(s.palette, IsLive(next.palette) ? next.palette : DefaultPalette());
    if (d->memory && next.bitmap != s.bitmap && IsLive(next.bitmap) &&
        (next.bitmap->selections == 0 || next.bitmap->stock))
        SelectSlot(s.bitmap, next.bitmap);
    s.mapMode = next.mapMode;
    s.windowOrg = next.windowOrg;
    s.windowExt = next.windowExt;
    s.viewportOrg = next.viewportOrg;
    s.viewportExt = next.viewportExt;
    s.polyFillMode = next.polyFillMode;
    s.position = next.position;
    return TRUE;
}

int SetMapMode(HDC dc, int mode) {
    Dc* d = ToDc(dc);
    if (!d || (mode != MM_TEXT && mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC)) return 0;
    const int old = d->state.mapMode;
    d->state.mapMode = mode;
    if (mode == MM_TEXT) {
        d->state.windowExt = SIZE{1, 1};
        d->state.viewportExt = SIZE{1, 1};
    }
    return old;
}

int GetMapMode(HDC dc) {
    Dc* d = ToDc(dc);
    return d ? d->state.mapMode : 0;
}

namespace {

BOOL SetPoint(HDC dc, POINT State::*field, int x, int y, POINT* old) {
    Dc* d = ToDc(dc);
    if (!d) return FALSE;
    if (old) *old = d->state.*field;
    d->state.*field = POINT{x, y};
    return TRUE;
}

BOOL SetExtent(HDC dc, SIZE State::*field, int x, int y, SIZE* old) {
    Dc* d = ToDc(dc);
    if (!d) return FALSE;
    if (old) *old = d->state.*field;
    if (d->state.mapMode == MM_TEXT) return TRUE;  // fixed one to one
    if (x == 0 || y == 0) return FALSE;
    d->state.*field = SIZE{x, y};
    return TRUE;
}

}  // namespace

BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old) {
    return SetPoint(dc, &State::windowOrg, x, y, old);
}
BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old) {
    return SetPoint(dc, &State::viewportOrg, x, y, old);
}
BOOL SetWindowExtEx(HDC dc, int x, int y, SIZE* old) {
    return SetExtent(dc, &State::windowExt, x, y, old);
}
BOOL SetViewportExtEx(HDC dc, int x, int y, SIZE* old) {
    return SetExtent(dc, &State::viewportExt, x, y, old);
}

BOOL LPtoDP(HDC dc, POINT* points, int count) {
    Dc* d = ToDc(dc);
    if (!d || (count > 0 && !points)) return FALSE;
    for (int i = 0; i < count; ++i) points[i] = d->ToDevice(points[i].x, points[i].y);
    return TRUE;
}

int SetPolyFillMode(HDC dc, int mode) {
    Dc* d = ToDc(dc);
    if (!d || (mode != ALTERNATE && mode != WINDING)) return 0;
    const int old = d->state.polyFillMode;
    d->state.polyFillMode = mode;
    return old;
}

int GetPolyFillMode(HDC dc) {
    Dc* d = ToDc(dc);
    return d ? d->state.polyFillMode : 0;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    Dc* d = ToDc(dc);
    if (!d || !d->state.bitmap) return CLR_INVALID;
    const POINT p = d->ToDevice(x, y);
    const Bitmap* b = d->state.bitmap;
    if (p.x < 0 || p.y < 0 || p.x >= b->width || p.y >= b->height) return CLR_INVALID;
    return b->Decode(b->Raw(p.x, p.y));
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour) {
    Dc* d = ToDc(dc);
    DWORD v;
    if (!d || !d->Resolve(colour, v)) return CLR_INVALID;
    const POINT p = d->ToDevice(x, y);
    Bitmap* b = d->state.bitmap;
    if (p.x < 0 || p.y < 0 || p.x >= b->width || p.y >= b->height) return CLR_INVALID;
    b->Put(p.x, p.y, v);
    return b->Decode(v);
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy, DWORD rop) {
    Dc* d = ToDc(dest);
    Dc* s = ToDc(source);
    if (!d || !s || rop != SRCCOPY) return FALSE;
    if (!d->state.bitmap || !s->state.bitmap) return TRUE;  // a window DC shows nothing here
    const POINT d0 = d->ToDevice(x, y), d1 = d->ToDevice(x + width, y + height);
    const POINT s0 = s->ToDevice(sx, sy);
    Bitmap* db = d->state.bitmap;
    const Bitmap* sb = s->state.bitmap;
    long w = long(d1.x) - d0.x, h = long(d1.y) - d0.y;
    long dx = d0.x, dy = d0.y, srcX = s0.x, srcY = s0.y;
    // Clip to both surfaces.
    auto clip = [&](long& pos, long& other, long& len, long limitPos, long limitOther) {
        if (pos < 0) {
            other -= pos;
            len += pos;
            pos = 0;
        }
        if (other < 0) {
            pos -= other;
            len += other;
            other = 0;
        }
        len = std::min({len, limitPos - pos, limitOther - other});
    };
    clip(dx, srcX, w, db->width, sb->width);
    clip(dy, srcY, h, db->height, sb->height);
    if (w <= 0 || h <= 0) return TRUE;
    const bool sameFormat =
        db->bitCount == sb->bitCount && db->bitCount % 8 == 0 &&
        (db->bitCount >= 16 ||
         (db->table.size() == sb->table.size() &&
          memcmp(db->table.data(), sb->table.data(), db->table.size() * sizeof(RGBQUAD)) == 0));
    std::vector<DWORD> row(static_cast<size_t>(w));
    // Rows in an order that is safe when source and destination are one bitmap.
    const bool up = db == sb && dy > srcY;
    for (long i = 0; i < h; ++i) {
        const long r = up ? h - 1 - i : i;
        const int sr = static_cast<int>(srcY + r), dr = static_cast<int>(dy + r);
        if (sameFormat) {
            const int bpp = db->bitCount / 8;
            memmove(db->Row(dr) + dx * bpp, sb->Row(sr) + srcX * bpp, static_cast<size_t>(w) * bpp);
            continue;
        }
        for (long c = 0; c < w; ++c) row[c] = sb->Raw(static_cast<int>(srcX + c), sr);
        for (long c = 0; c < w; ++c)
            db->Put(static_cast<int>(dx + c), dr, db->Encode(sb->Decode(row[c])));
    }
    return TRUE;
}
