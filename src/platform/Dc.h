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

class ZCMCOM_API CGdiObject : public CObject {
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    /// Deletes the handle (fails while it is selected into a DC, which keeps it).
    BOOL DeleteObject();
    HGDIOBJ GetSafeHandle() const { return m_hObject; }

    HGDIOBJ m_hObject = nullptr;
};

class ZCMCOM_API CBitmap : public CGdiObject {
public:
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
    BOOL CreateCompatibleBitmap(class CDC* dc, int width, int height);
    int GetBitmap(BITMAP* out) const;
    operator HBITMAP() const { return reinterpret_cast<HBITMAP>(m_hObject); }
};

class ZCMCOM_API CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF colour);  ///< throws the memory exception when it fails
    BOOL CreateSolidBrush(COLORREF colour);
    BOOL CreateBrushIndirect(const LOGBRUSH* brush);
    operator HBRUSH() const { return reinterpret_cast<HBRUSH>(m_hObject); }
};

class ZCMCOM_API CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int style, int width, COLORREF colour);
    BOOL CreatePen(int style, int width, COLORREF colour);
    BOOL CreatePenIndirect(const LOGPEN* pen);
    operator HPEN() const { return reinterpret_cast<HPEN>(m_hObject); }
};

class ZCMCOM_API CPalette : public CGdiObject {
public:
    BOOL CreatePalette(const LOGPALETTE* palette);
    int GetEntryCount() const;
    UINT GetPaletteEntries(UINT start, UINT count, PALETTEENTRY* entries) const;
    operator HPALETTE() const { return reinterpret_cast<HPALETTE>(m_hObject); }
};

class ZCMCOM_API CDC : public CObject {
public:
    CDC();
    ~CDC() override;  ///< deletes an attached DC
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL DeleteDC();
    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }

    BOOL CreateCompatibleDC(CDC* dc);
    int GetDeviceCaps(int index) const;

    CBitmap* SelectObject(CBitmap* bitmap);
    CBrush* SelectObject(CBrush* brush);
    CPen* SelectObject(CPen* pen);
    HGDIOBJ SelectObject(HGDIOBJ object);
    CGdiObject* SelectStockObject(int index);
    CPalette* SelectPalette(CPalette* palette, BOOL forceBackground);
    UINT RealizePalette();

    virtual int SaveDC();
    virtual BOOL RestoreDC(int savedDC);
    int SetMapMode(int mode);
    int GetMapMode() const;
    POINT SetWindowOrg(int x, int y);
    SIZE SetWindowExt(int cx, int cy);
    POINT SetViewportOrg(int x, int y);
    SIZE SetViewportExt(int cx, int cy);
    int SetPolyFillMode(int mode);

    COLORREF GetPixel(int x, int y) const;
    COLORREF SetPixel(int x, int y, COLORREF colour);
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop);
    BOOL Polygon(const POINT* points, int count);
    BOOL PolyPolygon(const POINT* points, const INT* counts, int polygons);
    BOOL Polyline(const POINT* points, int count);
    BOOL PlayMetaFile(HMETAFILE metafile);

    HDC m_hDC = nullptr;

private:
    template <class T>
    T* Wrap(HGDIOBJ handle);
    std::map<HGDIOBJ, std::unique_ptr<CGdiObject>> m_temporary;
};

/// A window's DC, held for the object's lifetime.
class ZCMCOM_API CClientDC : public CDC {
public:
    explicit CClientDC(CWnd* window);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};

class ZCMCOM_API CPaintDC : public CClientDC {
public:
    explicit CPaintDC(CWnd* window) : CClientDC(window) {}
};
