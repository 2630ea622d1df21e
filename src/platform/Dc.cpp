// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/Dc.h"

#include <utility>

#include "platform/Exception.h"
#include "platform/Wnd.h"

namespace {
// Takes a handle into a wrapper's slot; a null handle is refused and the slot left alone.
template <class Handle>
BOOL AttachHandle(Handle& slot, Handle handle) {
    if (!handle) return FALSE;
    slot = handle;
    return TRUE;
}

// Calls a setter of the Set...Ex form (dc, a, b, &previous) and returns the previous value.
template <class Value, class Setter>
Value SetAndReturnPrevious(Setter setter, HDC dc, int a, int b) {
    Value previous{0, 0};
    setter(dc, a, b, &previous);
    return previous;
}
}  // namespace

// An object still selected somewhere goes when it is deselected, instead of leaking.
CGdiObject::~CGdiObject() {
    if (m_hObject && !::DeleteObject(m_hObject)) ZcmDeleteObjectWhenFree(m_hObject);
}

BOOL CGdiObject::Attach(HGDIOBJ object) { return AttachHandle(m_hObject, object); }

HGDIOBJ CGdiObject::Detach() { return std::exchange(m_hObject, nullptr); }

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    if (!::DeleteObject(m_hObject)) return FALSE;
    m_hObject = nullptr;
    return TRUE;
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
    return Attach(reinterpret_cast<HGDIOBJ>(::CreateBitmap(width, height, planes, bitCount, bits)));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    if (!dc) return FALSE;
    return Attach(reinterpret_cast<HGDIOBJ>(::CreateCompatibleBitmap(dc->m_hDC, width, height)));
}

int CBitmap::GetBitmap(BITMAP* out) const { return ::GetObjectW(m_hObject, sizeof(BITMAP), out); }

CBrush::CBrush(COLORREF colour) {
    if (!CreateSolidBrush(colour)) AfxThrowMemoryException();
}

BOOL CBrush::CreateSolidBrush(COLORREF colour) {
    return Attach(reinterpret_cast<HGDIOBJ>(::CreateSolidBrush(colour)));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* brush) {
    return Attach(reinterpret_cast<HGDIOBJ>(::CreateBrushIndirect(brush)));
}

CPen::CPen(int style, int width, COLORREF colour) {
    if (!CreatePen(style, width, colour)) AfxThrowMemoryException();
}

BOOL CPen::CreatePen(int style, int width, COLORREF colour) {
    return Attach(reinterpret_cast<HGDIOBJ>(::CreatePen(style, width, colour)));
}

BOOL CPen::CreatePenIndirect(const LOGPEN* pen) {
    return Attach(reinterpret_cast<HGDIOBJ>(::CreatePenIndirect(pen)));
}

BOOL CPalette::CreatePalette(const LOGPALETTE* palette) {
    return Attach(reinterpret_cast<HGDIOBJ>(::CreatePalette(palette)));
}

int CPalette::GetEntryCount() const {
    return static_cast<int>(
        ::GetPaletteEntries(reinterpret_cast<HPALETTE>(m_hObject), 0, 0, nullptr));
}

UINT CPalette::GetPaletteEntries(UINT start, UINT count, PALETTEENTRY* entries) const {
    if (!entries) return 0;
    return ::GetPaletteEntries(reinterpret_cast<HPALETTE>(m_hObject), start, count, entries);
}

CDC::CDC() = default;

CDC::~CDC() {
    for (auto& t : m_temporary) t.second->Detach();
    if (m_hDC) ::DeleteDC(Detach());
}

BOOL CDC::Attach(HDC dc) { return AttachHandle(m_hDC, dc); }

HDC CDC::Detach() { return std::exchange(m_hDC, nullptr); }

BOOL CDC::DeleteDC() {
    if (!m_hDC) return FALSE;
    return ::DeleteDC(Detach());
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}

int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

template <class T>
T* CDC::Wrap(HGDIOBJ handle) {
    if (!handle) return nullptr;
    auto& slot = m_temporary[handle];
    if (!dynamic_cast<T*>(slot.get())) {  // new, or a handle value reused by another kind
        if (slot) slot->Detach();
        slot.reset(new T);
        slot->Attach(handle);
    }
    return static_cast<T*>(slot.get());
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return bitmap ? Wrap<CBitmap>(::SelectObject(m_hDC, bitmap->m_hObject)) : nullptr;
}
CBrush* CDC::SelectObject(CBrush* brush) {
    return brush ? Wrap<CBrush>(::SelectObject(m_hDC, brush->m_hObject)) : nullptr;
}
CPen* CDC::SelectObject(CPen* pen) {
    return pen ? Wrap<CPen>(::SelectObject(m_hDC, pen->m_hObject)) : nullptr;
}
HGDIOBJ CDC::SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }

CGdiObject* CDC::SelectStockObject(int index) {
    return Wrap<CGdiObject>(::SelectObject(m_hDC, ::GetStockObject(index)));
}

CPalette* CDC::SelectPalette(CPalette* palette, BOOL forceBackground) {
    if (!palette) return nullptr;
    HPALETTE old = ::SelectPalette(m_hDC, *palette, forceBackground);
    return Wrap<CPalette>(reinterpret_cast<HGDIOBJ>(old));
}

UINT CDC::RealizePalette() { return ::RealizePalette(m_hDC); }
int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int savedDC) { return ::RestoreDC(m_hDC, savedDC); }
int CDC::SetMapMode(int mode) { return ::SetMapMode(m_hDC, mode); }
int CDC::GetMapMode() const { return ::GetMapMode(m_hDC); }

POINT CDC::SetWindowOrg(int x, int y) {
    return SetAndReturnPrevious<POINT>(::SetWindowOrgEx, m_hDC, x, y);
}
SIZE CDC::SetWindowExt(int cx, int cy) {
    return SetAndReturnPrevious<SIZE>(::SetWindowExtEx, m_hDC, cx, cy);
}
POINT CDC::SetViewportOrg(int x, int y) {
    return SetAndReturnPrevious<POINT>(::SetViewportOrgEx, m_hDC, x, y);
}
SIZE CDC::SetViewportExt(int cx, int cy) {
    return SetAndReturnPrevious<SIZE>(::SetViewportExtEx, m_hDC, cx, cy);
}

int CDC::SetPolyFillMode(int mode) { return ::SetPolyFillMode(m_hDC, mode); }
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
COLORREF CDC::SetPixel(int x, int y, COLORREF colour) { return ::SetPixel(m_hDC, x, y, colour); }

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop) {
    return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sx, sy, rop);
}

BOOL CDC::Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
BOOL CDC::PolyPolygon(const POINT* points, const INT* counts, int polygons) {
    return ::PolyPolygon(m_hDC, points, counts, polygons);
}
BOOL CDC::Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }
BOOL CDC::PlayMetaFile(HMETAFILE metafile) { return ::PlayMetaFile(m_hDC, metafile); }

CClientDC::CClientDC(CWnd* window) : m_hWnd(window ? window->GetSafeHwnd() : nullptr) {
    if (!Attach(::GetDC(m_hWnd))) AfxThrowMemoryException();
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }
