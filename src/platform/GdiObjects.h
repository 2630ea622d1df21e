// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The objects behind GDI handles, shared by the GDI sources of the platform library.
/// Not a public header.
#include <atomic>
#include <memory>
#include <vector>

#include "platform/Gdi.h"

namespace gdi {

struct Object {
    explicit Object(DWORD t) : type(t) {}
    virtual ~Object() = default;
    DWORD type;
    bool stock = false;
    int selections = 0;          ///< DCs that have it selected now
    bool deletePending = false;  ///< deleted while selected: goes when deselected
};

struct Bitmap : Object {
    Bitmap() : Object(OBJ_BITMAP) {}
    int width = 0, height = 0, bitCount = 0, planes = 1, stride = 0;
    bool bottomUp = false;  ///< DIB sections with a positive height
    bool dibSection = false;
    BYTE* bits = nullptr;
    std::unique_ptr<BYTE[]> store;
    std::vector<RGBQUAD> table;  ///< colours of 1, 4 and 8-bit pixels
    BITMAPINFOHEADER header{};   ///< of DIB sections

    BYTE* Row(int y) const {
        return bits + static_cast<size_t>(bottomUp ? height - 1 - y : y) * stride;
    }
    /// The stored value for an RGB colour (a table index, a 5-5-5 word or B, G, R bytes).
    DWORD Encode(COLORREF rgb) const;
    void Put(int x, int y, DWORD value);
    DWORD Raw(int x, int y) const;
    COLORREF Decode(DWORD value) const;
    void FillSpan(int y, int x0, int x1, DWORD value);
};

struct Brush : Object {
    Brush() : Object(OBJ_BRUSH) {}
    UINT style = BS_SOLID;
    COLORREF colour = 0;
};

struct Pen : Object {
    Pen() : Object(OBJ_PEN) {}
    UINT style = PS_SOLID;
    int width = 1;
    COLORREF colour = 0;
};

struct Palette : Object {
    Palette() : Object(OBJ_PAL) {}
    std::vector<PALETTEENTRY> entries;
};

struct State {
    Brush* brush = nullptr;
    Pen* pen = nullptr;
    Palette* palette = nullptr;
    Bitmap* bitmap = nullptr;
    int mapMode = MM_TEXT;
    POINT windowOrg{0, 0}, viewportOrg{0, 0};
    SIZE windowExt{1, 1}, viewportExt{1, 1};
    int polyFillMode = ALTERNATE;
    POINT position{0, 0};
};

struct Dc {
    bool memory = false;
    int bitsPerPixel = 32;  ///< of a window DC
    State state;
    std::vector<State> saved;

    /// Device coordinates of a logical point.
    POINT ToDevice(LONG x, LONG y) const;
    /// The stored value for a COLORREF on the DC's surface (palette indices resolved);
    /// false when the DC has no surface.
    bool Resolve(COLORREF colour, DWORD& value) const;
};

/// The registry of live handles: DCs and objects apart.
void Register(const Object* o);
void Register(const Dc* d);
void Unregister(const Object* o);
void Unregister(const Dc* d);
bool IsLive(const void* p, bool dc = false);

/// Handle checks: the live object of that type behind a handle, or null.
Dc* ToDc(HDC dc);
Object* ToObject(HGDIOBJ object);
template <class T>
T* As(HGDIOBJ object, DWORD type) {
    Object* o = ToObject(object);
    return o && o->type == type ? static_cast<T*>(o) : nullptr;
}

/// The stock objects (created once, never deleted).
Brush* StockBrush(int index);
Pen* StockPen(int index);
Palette* DefaultPalette();
Bitmap* StockBitmap();  ///< the 1 x 1 monochrome bitmap of a new memory DC

extern std::atomic<int> g_displayBits;
bool ValidDepth(int bitCount);

template <class T>
HGDIOBJ H(T* o) {
    return reinterpret_cast<HGDIOBJ>(static_cast<Object*>(o));
}

/// Puts next into a DC's slot, keeping the selection counts.
/// Deletes an object now, or when its last DC lets go of it (as a metafile's DeleteObject
/// of a selected object does).
void DeleteWhenFree(Object* o);

template <class T>
void SelectSlot(T*& slot, T* next) {
    T* old = slot;
    slot = next;
    if (next) ++next->selections;
    if (old && old->selections > 0 && --old->selections == 0 && old->deletePending)
        DeleteWhenFree(old);
}

}  // namespace gdi
