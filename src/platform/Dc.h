// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CDC and the GDI object classes: thin owners of GDI handles, as the framework has them.
///
/// Differences from Windows:
/// - SelectObject and SelectPalette return the previous object as a wrapper that the CDC
///   keeps until it is destroyed (the framework's temporary objects are freed at idle time);
///   the wrapper never deletes its handle.
/// - CPaintDC and CClientDC do not paint a window: they hold a window DC of the display's
///   colour depth (see Gdi.h), for use as the reference of compatible DCs and bitmaps.
/// - CPoint and CSize are not there; the origin and extent setters return POINT and SIZE.
#include <map>
#include <memory>

#include "platform/Gdi.h"
#include "platform/MetaFile.h"
#include "platform/Object.h"

class CWnd;

/// The owner of one GDI object handle; the destructor deletes it unless it was detached.
class ZCMCOM_API CGdiObject : public CObject {
public:
    /// An object without a handle.
    CGdiObject() = default;
    /// Deletes the handle if it has one (a handle still selected into a DC is deleted when the
    /// DC lets go of it).
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    /// Attach takes ownership of a handle (FALSE for nullptr or when one is held); Detach
    /// gives it up and returns it; GetSafeHandle reads it (nullptr when none).
    /// @{
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    /// Deletes the handle (fails while it is selected into a DC, which keeps it).
    BOOL DeleteObject();
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    /// @}

    HGDIOBJ m_hObject = nullptr;  ///< the handle owned, nullptr when none
};

/// A bitmap.
class ZCMCOM_API CBitmap : public CGdiObject {
public:
    /// The Create functions make the bitmap as ::CreateBitmap and ::CreateCompatibleBitmap
    /// do (FALSE on failure); GetBitmap fills a BITMAP (see ::GetObjectW).
    /// @{
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
    BOOL CreateCompatibleBitmap(class CDC* dc, int width, int height);
    int GetBitmap(BITMAP* out) const;
    operator HBITMAP() const { return reinterpret_cast<HBITMAP>(m_hObject); }
    /// @}
};

/// A brush; see ::CreateSolidBrush.
class ZCMCOM_API CBrush : public CGdiObject {
public:
    /// A brush without a handle yet.
    CBrush() = default;
    /// A solid brush of colour; throws CResourceException* when it cannot be made.
    explicit CBrush(COLORREF colour);
    /// Makes the brush (FALSE on failure, or when the object holds one already).
    /// @{
    BOOL CreateSolidBrush(COLORREF colour);
    BOOL CreateBrushIndirect(const LOGBRUSH* brush);
    operator HBRUSH() const { return reinterpret_cast<HBRUSH>(m_hObject); }
    /// @}
};

/// A pen; see ::CreatePen.
class ZCMCOM_API CPen : public CGdiObject {
public:
    /// A pen without a handle yet.
    CPen() = default;
    /// A pen of style, width and colour; throws CResourceException* when it cannot be made.
    CPen(int style, int width, COLORREF colour);
    /// Makes the pen (FALSE on failure, or when the object holds one already).
    /// @{
    BOOL CreatePen(int style, int width, COLORREF colour);
    BOOL CreatePenIndirect(const LOGPEN* pen);
    operator HPEN() const { return reinterpret_cast<HPEN>(m_hObject); }
    /// @}
};

/// A logical palette.
class ZCMCOM_API CPalette : public CGdiObject {
public:
    /// CreatePalette makes it from a description (FALSE on failure), GetEntryCount and
    /// GetPaletteEntries read its colours (0 on failure).
    /// @{
    BOOL CreatePalette(const LOGPALETTE* palette);
    int GetEntryCount() const;
    UINT GetPaletteEntries(UINT start, UINT count, PALETTEENTRY* entries) const;
    operator HPALETTE() const { return reinterpret_cast<HPALETTE>(m_hObject); }
    /// @}
};

/// A device context. The members are the GDI functions of Gdi.h on m_hDC, with the same
/// results and failures; SelectObject returns the previous object as a wrapper the CDC keeps
/// (see the notes above), nullptr on failure.
class ZCMCOM_API CDC : public CObject {
public:
    /// A CDC without a DC.
    CDC();
    /// Deletes a DC created or attached by this object.
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    /// Attach takes ownership of a DC (FALSE for nullptr or when one is held), Detach gives it
    /// up and returns it, DeleteDC deletes it; GetSafeHdc and the conversion read it.
    /// @{
    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL DeleteDC();
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }
    /// @}

    /// A memory DC compatible with dc (the display for nullptr); FALSE on failure.
    BOOL CreateCompatibleDC(CDC* dc);
    /// See ::GetDeviceCaps.
    int GetDeviceCaps(int index) const;

    /// Selects an object (see ::SelectObject), a stock object or a palette and returns the
    /// previous one; RealizePalette maps the palette (see ::RealizePalette).
    /// @{
    CBitmap* SelectObject(CBitmap* bitmap);
    CBrush* SelectObject(CBrush* brush);
    CPen* SelectObject(CPen* pen);
    HGDIOBJ SelectObject(HGDIOBJ object);
    CGdiObject* SelectStockObject(int index);
    CPalette* SelectPalette(CPalette* palette, BOOL forceBackground);
    UINT RealizePalette();
    /// @}

    /// State and mapping: see ::SaveDC, ::RestoreDC, ::SetMapMode and its neighbours. The
    /// origin and extent setters return the previous value (a zero value when they fail).
    /// @{
    virtual int SaveDC();
    virtual BOOL RestoreDC(int savedDC);
    int SetMapMode(int mode);
    int GetMapMode() const;
    POINT SetWindowOrg(int x, int y);
    SIZE SetWindowExt(int cx, int cy);
    POINT SetViewportOrg(int x, int y);
    SIZE SetViewportExt(int cx, int cy);
    int SetPolyFillMode(int mode);
    /// @}

    /// Drawing: see ::GetPixel, ::BitBlt (source is a CDC) and ::Polygon and its neighbours;
    /// PlayMetaFile plays a metafile onto the DC (see MetaFile.h).
    /// @{
    COLORREF GetPixel(int x, int y) const;
    COLORREF SetPixel(int x, int y, COLORREF colour);
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop);
    BOOL Polygon(const POINT* points, int count);
    BOOL PolyPolygon(const POINT* points, const INT* counts, int polygons);
    BOOL Polyline(const POINT* points, int count);
    BOOL PlayMetaFile(HMETAFILE metafile);
    /// @}

    HDC m_hDC = nullptr;  ///< the DC, nullptr when none

private:
    template <class T>
    T* Wrap(HGDIOBJ handle);
    std::map<HGDIOBJ, std::unique_ptr<CGdiObject>> m_temporary;
};

/// A window's DC, held for the object's lifetime.
class ZCMCOM_API CClientDC : public CDC {
public:
    /// Takes window's reference DC (nullptr: the display's); see ::GetDC.
    explicit CClientDC(CWnd* window);
    /// Releases the DC.
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;  ///< the window whose DC this is
};

/// A CClientDC under the name used in paint handlers; nothing is painted (see the notes).
class ZCMCOM_API CPaintDC : public CClientDC {
public:
    /// As CClientDC.
    explicit CPaintDC(CWnd* window) : CClientDC(window) {}
};
