// SPDX-License-Identifier: LGPL-3.0-or-later
// GDI objects: the handle registry, bitmaps and their pixel formats, brushes, pens,
// palettes, stock objects and selection.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>

#include "platform/GdiObjects.h"

namespace gdi {

constexpr size_t kMaxBitmapBytes = size_t(256) << 20;
constexpr int kMaxSide = 65535;

std::mutex& LiveLock() {
    static std::mutex* m = new std::mutex;
    return *m;
}
// Live DCs and live objects, apart, so that a handle of one kind never passes as the other.
std::unordered_set<const void*>& Live(bool dc) {
    static auto* objects = new std::unordered_set<const void*>;
    static auto* dcs = new std::unordered_set<const void*>;
    return dc ? *dcs : *objects;
}
void Register(const Object* p) {
    std::lock_guard<std::mutex> lock(LiveLock());
    Live(false).insert(p);
}
void Register(const Dc* p) {
    std::lock_guard<std::mutex> lock(LiveLock());
    Live(true).insert(p);
}
void Unregister(const Object* p) {
    std::lock_guard<std::mutex> lock(LiveLock());
    Live(false).erase(p);
}
void Unregister(const Dc* p) {
    std::lock_guard<std::mutex> lock(LiveLock());
    Live(true).erase(p);
}
bool IsLive(const void* p, bool dc) {
    if (!p) return false;
    std::lock_guard<std::mutex> lock(LiveLock());
    return Live(dc).count(p) != 0;
}

std::atomic<int> g_displayBits{32};

namespace {

const RGBQUAD kVga[16] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},   {0, 128, 0, 0},   {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0}, {128, 128, 0, 0}, {128, 128, 128, 0},
    {192, 192, 192, 0}, {0, 0, 255, 0},   {0, 255, 0, 0},   {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0}, {255, 255, 0, 0}, {255, 255, 255, 0},
};

// Windows' 20 static colours, the default logical palette.
const PALETTEENTRY kDefaultPalette[20] = {
    {0, 0, 0, 0},       {128, 0, 0, 0},     {0, 128, 0, 0},     {128, 128, 0, 0},
    {0, 0, 128, 0},     {128, 0, 128, 0},   {0, 128, 128, 0},   {192, 192, 192, 0},
    {192, 220, 192, 0}, {166, 202, 240, 0}, {255, 251, 240, 0}, {160, 160, 164, 0},
    {128, 128, 128, 0}, {255, 0, 0, 0},     {0, 255, 0, 0},     {255, 255, 0, 0},
    {0, 0, 255, 0},     {255, 0, 255, 0},   {0, 255, 255, 0},   {255, 255, 255, 0},
};

}  // namespace

int TableSize(int bitCount) { return bitCount <= 8 ? 1 << bitCount : 0; }

bool ValidDepth(int bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
           bitCount == 32;
}

// A zeroed bitmap, or null when the size is refused or memory is short.
Bitmap* NewBitmap(int width, int height, int bitCount, bool bottomUp) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || !ValidDepth(bitCount))
        return nullptr;
    const size_t stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    if (stride * static_cast<size_t>(height) > kMaxBitmapBytes) return nullptr;
    auto* b = new (std::nothrow) Bitmap;
    if (!b) return nullptr;
    b->store.reset(new (std::nothrow) BYTE[stride * height]());
    if (!b->store) {
        delete b;
        return nullptr;
    }
    b->width = width;
    b->height = height;
    b->bitCount = bitCount;
    b->stride = static_cast<int>(stride);
    b->bottomUp = bottomUp;
    b->bits = b->store.get();
    b->table.resize(TableSize(bitCount));
    ZcmDefaultColorTable(bitCount, b->table.data(), static_cast<int>(b->table.size()));
    Register(b);
    return b;
}

Bitmap* StockBitmap() {
    static Bitmap* b = [] {
        Bitmap* s = NewBitmap(1, 1, 1, false);
        s->stock = true;
        return s;
    }();
    return b;
}

DWORD Bitmap::Encode(COLORREF rgb) const {
    const BYTE r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
    switch (bitCount) {
        case 16:
            return (DWORD(r >> 3) << 10) | (DWORD(g >> 3) << 5) | (b >> 3);
        case 24:
        case 32:
            return b | (DWORD(g) << 8) | (DWORD(r) << 16);
        default: {
            DWORD best = 0;
            long bestDist = -1;
            for (size_t i = 0; i < table.size(); ++i) {
                const long dr = long(table[i].rgbRed) - r, dg = long(table[i].rgbGreen) - g,
                           db = long(table[i].rgbBlue) - b;
                const long d = dr * dr + dg * dg + db * db;
                if (bestDist < 0 || d < bestDist) {
                    bestDist = d;
                    best = static_cast<DWORD>(i);
                    if (d == 0) break;
                }
            }
            return best;
        }
    }
}

COLORREF Bitmap::Decode(DWORD v) const {
    switch (bitCount) {
        case 16:
            return RGB(((v >> 10) & 31) << 3, ((v >> 5) & 31) << 3, (v & 31) << 3);
        case 24:
        case 32:
            return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
        default:
            if (v >= table.size()) return 0;
            return RGB(table[v].rgbRed, table[v].rgbGreen, table[v].rgbBlue);
    }
}

void Bitmap::Put(int x, int y, DWORD v) {
    BYTE* row = Row(y);
    switch (bitCount) {
        case 1: {
            const BYTE mask = BYTE(0x80 >> (x & 7));
            row[x >> 3] = BYTE((row[x >> 3] & ~mask) | (v & 1 ? mask : 0));
            break;
        }
        case 4: {
            BYTE& p = row[x >> 1];
            p = (x & 1) ? BYTE((p & 0xF0) | (v & 0x0F)) : BYTE((p & 0x0F) | ((v & 0x0F) << 4));
            break;
        }
        case 8:
            row[x] = BYTE(v);
            break;
        case 16:
            row[2 * x] = BYTE(v);
            row[2 * x + 1] = BYTE(v >> 8);
            break;
        case 24:
            row[3 * x] = BYTE(v);
            row[3 * x + 1] = BYTE(v >> 8);
            row[3 * x + 2] = BYTE(v >> 16);
            break;
        case 32:
            row[4 * x] = BYTE(v);
            row[4 * x + 1] = BYTE(v >> 8);
            row[4 * x + 2] = BYTE(v >> 16);
            row[4 * x + 3] = 0;
            break;
    }
}

DWORD Bitmap::Raw(int x, int y) const {
    const BYTE* row = Row(y);
    switch (bitCount) {
        case 1:
            return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case 4:
            return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
        case 8:
            return row[x];
        case 16:
            return row[2 * x] | (DWORD(row[2 * x + 1]) << 8);
        case 24:
            return row[3 * x] | (DWORD(row[3 * x + 1]) << 8) | (DWORD(row[3 * x + 2]) << 16);
        default:
            return row[4 * x] | (DWORD(row[4 * x + 1]) << 8) | (DWORD(row[4 * x + 2]) << 16);
    }
}

void Bitmap::FillSpan(int y, int x0, int x1, DWORD v) {
    if (bitCount == 8) {
        memset(Row(y) + x0, int(v & 0xFF), static_cast<size_t>(x1 - x0));
        return;
    }
    for (int x = x0; x < x1; ++x) Put(x, y, v);
}

Object* ToObject(HGDIOBJ object) {
    return IsLive(object) ? reinterpret_cast<Object*>(object) : nullptr;
}

Brush* StockBrush(int index) {
    static Brush* brushes[3] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        const COLORREF colours[2] = {RGB(255, 255, 255), RGB(0, 0, 0)};
        for (int i = 0; i < 3; ++i) {
            brushes[i] = new Brush;
            brushes[i]->stock = true;
            if (i < 2)
                brushes[i]->colour = colours[i];
            else
                brushes[i]->style = BS_NULL;
            Register(brushes[i]);
        }
    });
    return index == WHITE_BRUSH ? brushes[0] : index == BLACK_BRUSH ? brushes[1] : brushes[2];
}

Pen* StockPen(int index) {
    static Pen* pens[3] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        const COLORREF colours[2] = {RGB(255, 255, 255), RGB(0, 0, 0)};
        for (int i = 0; i < 3; ++i) {
            pens[i] = new Pen;
            pens[i]->stock = true;
            if (i < 2)
                pens[i]->colour = colours[i];
            else
                pens[i]->style = PS_NULL;
            Register(pens[i]);
        }
    });
    return index == WHITE_PEN ? pens[0] : index == BLACK_PEN ? pens[1] : pens[2];
}

Palette* DefaultPalette() {
    static Palette* p = [] {
        auto* d = new Palette;
        d->stock = true;
        d->entries.assign(std::begin(kDefaultPalette), std::end(kDefaultPalette));
        Register(d);
        return d;
    }();
    return p;
}

}  // namespace gdi
using namespace gdi;

int ZcmDefaultColorTable(int bitCount, RGBQUAD* table, int capacity) {
    const int n = std::min(bitCount <= 8 && bitCount > 0 ? 1 << bitCount : 0, capacity);
    for (int i = 0; i < n; ++i) {
        if (bitCount == 1) {
            const BYTE v = i ? 255 : 0;
            table[i] = RGBQUAD{v, v, v, 0};
        } else if (bitCount == 4) {
            table[i] = kVga[i];
        } else {
            table[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
        }
    }
    return n;
}

int ZcmSetDisplayBitsPerPixel(int bitsPerPixel) {
    const int old = g_displayBits;
    if (ValidDepth(bitsPerPixel)) g_displayBits = bitsPerPixel;
    return old;
}

DWORD GetObjectType(HGDIOBJ object) {
    if (Dc* d = ToDc(reinterpret_cast<HDC>(object))) return d->memory ? OBJ_MEMDC : OBJ_DC;
    Object* o = ToObject(object);
    return o ? o->type : 0;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
    if (planes != 1) return nullptr;
    Bitmap* b = NewBitmap(width, height, static_cast<int>(bitCount), false);
    if (b && bits) {
        // Caller rows are word-aligned, as CreateBitmap expects.
        const size_t rowBytes = (static_cast<size_t>(width) * bitCount + 15) / 16 * 2;
        for (int y = 0; y < height; ++y)
            memcpy(b->Row(y), static_cast<const BYTE*>(bits) + y * rowBytes,
                   std::min(rowBytes, static_cast<size_t>(b->stride)));
    }
    return reinterpret_cast<HBITMAP>(H(b));
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    Dc* d = ToDc(dc);
    if (!d) return nullptr;
    if (width == 0 || height == 0) return CreateBitmap(1, 1, 1, 1, nullptr);
    int bits = d->bitsPerPixel;
    if (d->memory && d->state.bitmap) bits = d->state.bitmap->bitCount;
    return CreateBitmap(width, height, 1, static_cast<UINT>(bits), nullptr);
}

HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE, DWORD) {
    if (bits) *bits = nullptr;
    if (!info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) ||
        info->bmiHeader.biCompression != BI_RGB || info->bmiHeader.biPlanes != 1 ||
        (usage != DIB_RGB_COLORS && usage != DIB_PAL_COLORS))
        return nullptr;
    const BITMAPINFOHEADER& h = info->bmiHeader;
    const int bitCount = h.biBitCount;
    if (h.biHeight == INT32_MIN) return nullptr;
    Dc* d = dc ? ToDc(dc) : nullptr;
    if (usage == DIB_PAL_COLORS && !d) return nullptr;
    Bitmap* b =
        NewBitmap(h.biWidth, h.biHeight < 0 ? -h.biHeight : h.biHeight, bitCount, h.biHeight > 0);
    if (!b) return nullptr;
    b->dibSection = true;
    b->header = h;
    b->header.biSize = sizeof(BITMAPINFOHEADER);
    const int n = static_cast<int>(b->table.size());
    const int given = h.biClrUsed ? std::min<int>(static_cast<int>(h.biClrUsed), n) : n;
    const BYTE* colours = reinterpret_cast<const BYTE*>(info) + h.biSize;
    for (int i = 0; i < given; ++i) {
        if (usage == DIB_RGB_COLORS) {
            memcpy(&b->table[i], colours + 4 * i, 4);
            b->table[i].rgbReserved = 0;
        } else {
            WORD index;
            memcpy(&index, colours + 2 * i, 2);
            const Palette* p = d->state.palette ? d->state.palette : DefaultPalette();
            const PALETTEENTRY& e = index < p->entries.size() ? p->entries[index] : p->entries[0];
            b->table[i] = RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0};
        }
    }
    if (given < n) b->table.resize(static_cast<size_t>(given));  // only the colours named
    if (bits) *bits = b->bits;
    return reinterpret_cast<HBITMAP>(H(b));
}

int GetObjectW(HGDIOBJ object, int size, LPVOID out) {
    Bitmap* b = As<Bitmap>(object, OBJ_BITMAP);
    if (!b) return 0;
    if (!out) return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP))) return 0;
    BITMAP bm{0,
              b->width,
              b->height,
              b->stride,
              1,
              static_cast<WORD>(b->bitCount),
              b->dibSection ? b->bits : nullptr};
    memcpy(out, &bm, sizeof bm);
    return sizeof(BITMAP);
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    LOGBRUSH lb{BS_SOLID, colour, 0};
    return CreateBrushIndirect(&lb);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* brush) {
    if (!brush) return nullptr;
    auto* b = new Brush;
    b->style = brush->lbStyle == BS_NULL ? BS_NULL : BS_SOLID;
    b->colour = brush->lbColor;
    Register(b);
    return reinterpret_cast<HBRUSH>(H(b));
}

HPEN CreatePen(int style, int width, COLORREF colour) {
    LOGPEN lp{static_cast<UINT>(style), POINT{width, 0}, colour};
    return CreatePenIndirect(&lp);
}

HPEN CreatePenIndirect(const LOGPEN* pen) {
    if (!pen) return nullptr;
    auto* p = new Pen;
    p->style = (pen->lopnStyle & 0x0F) == PS_NULL ? PS_NULL : PS_SOLID;
    p->width = pen->lopnWidth.x;
    p->colour = pen->lopnColor;
    Register(p);
    return reinterpret_cast<HPEN>(H(p));
}

HPALETTE CreatePalette(const LOGPALETTE* palette) {
    if (!palette || palette->palVersion != 0x300 || palette->palNumEntries == 0) return nullptr;
    auto* p = new Palette;
    p->entries.assign(palette->palPalEntry, palette->palPalEntry + palette->palNumEntries);
    Register(p);
    return reinterpret_cast<HPALETTE>(H(p));
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
    Palette* p = As<Palette>(reinterpret_cast<HGDIOBJ>(palette), OBJ_PAL);
    if (!p) return 0;
    if (!entries) return static_cast<UINT>(p->entries.size());
    UINT n = 0;
    for (; n < count && start + n < p->entries.size(); ++n) entries[n] = p->entries[start + n];
    return n;
}

HGDIOBJ GetStockObject(int index) {
    switch (index) {
        case WHITE_BRUSH:
        case BLACK_BRUSH:
        case NULL_BRUSH:
            return H(StockBrush(index));
        case WHITE_PEN:
        case BLACK_PEN:
        case NULL_PEN:
            return H(StockPen(index));
        case DEFAULT_PALETTE:
            return H(DefaultPalette());
        default:
            return nullptr;
    }
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    Dc* d = ToDc(dc);
    Object* o = ToObject(object);
    if (!d || !o) return nullptr;
    State& s = d->state;
    switch (o->type) {
        case OBJ_BRUSH: {
            HGDIOBJ old = H(s.brush);
            SelectSlot(s.brush, static_cast<Brush*>(o));
            return old;
        }
        case OBJ_PEN: {
            HGDIOBJ old = H(s.pen);
            SelectSlot(s.pen, static_cast<Pen*>(o));
            return old;
        }
        case OBJ_BITMAP: {
            auto* b = static_cast<Bitmap*>(o);
            if (!d->memory) return nullptr;
            if (b == s.bitmap) return object;
            if (b->selections > 0 && !b->stock) return nullptr;  // selected into another DC
            HGDIOBJ old = H(s.bitmap);
            SelectSlot(s.bitmap, b);
            return old;
        }
        default:
            return nullptr;  // palettes go through SelectPalette
    }
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type) {
    Dc* d = ToDc(dc);
    if (!d) return nullptr;
    switch (type) {
        case OBJ_BRUSH:
            return H(d->state.brush);
        case OBJ_PEN:
            return H(d->state.pen);
        case OBJ_PAL:
            return H(d->state.palette);
        case OBJ_BITMAP:
            return d->state.bitmap ? H(d->state.bitmap) : nullptr;
        default:
            return nullptr;
    }
}

BOOL ZcmDeleteObjectWhenFree(HGDIOBJ object) {
    Object* o = ToObject(object);
    if (!o) return FALSE;
    DeleteWhenFree(o);
    return TRUE;
}

void gdi::DeleteWhenFree(Object* o) {
    if (o->stock) return;
    if (o->selections > 0) {
        o->deletePending = true;
        return;
    }
    Unregister(o);
    delete o;
}

BOOL DeleteObject(HGDIOBJ object) {
    Object* o = ToObject(object);
    if (!o) return FALSE;
    if (o->stock) return TRUE;
    if (o->selections > 0) return FALSE;
    Unregister(o);
    delete o;
    return TRUE;
}

HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL) {
    Dc* d = ToDc(dc);
    Palette* p = As<Palette>(reinterpret_cast<HGDIOBJ>(palette), OBJ_PAL);
    if (!d || !p) return nullptr;
    HGDIOBJ old = H(d->state.palette);
    SelectSlot(d->state.palette, p);
    return reinterpret_cast<HPALETTE>(old);
}

UINT RealizePalette(HDC dc) {
    Dc* d = ToDc(dc);
    if (!d || !d->state.palette) return static_cast<UINT>(GDI_ERROR);
    return d->bitsPerPixel <= 8 ? static_cast<UINT>(d->state.palette->entries.size()) : 0;
}
