// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// GDI: device contexts, bitmaps, DIB sections, palettes, brushes and pens, drawn in memory.
///
/// Differences from Windows:
/// - There is no display. A window's DC (GetDC, CPaintDC) is a surface-less reference DC
///   whose colour depth is the process-wide setting of ZcmSetDisplayBitsPerPixel (default
///   32); drawing on it succeeds and changes nothing, and GetPixel on it gives CLR_INVALID.
/// - Only what the library draws is there: solid and null brushes (other brush styles fill
///   solid), solid and null pens drawn one pixel wide whatever their width, polygons,
///   poly-polygons and polylines, SetPixel/GetPixel, BitBlt with SRCCOPY only, and the
///   MM_TEXT, MM_ISOTROPIC and MM_ANISOTROPIC mapping modes (the metric modes are refused).
///   Isotropic mode does not shrink the viewport extent to keep the aspect ratio.
/// - Polygons are sampled at pixel centres; a vertex at integer device coordinates fills
///   the pixels to its right and below, so right and bottom edges are excluded as on
///   Windows.
/// - A DIB section made with DIB_PAL_COLORS takes its colour table as RGB values.
///   Device-dependent bitmaps keep 1, 4, 8, 16 (5-5-5), 24 and 32 bits per pixel; the 4-
///   and 8-bit ones carry the default 16-colour table (the rest of an 8-bit table is grey).
/// - Bitmaps are refused beyond 256 MiB of pixels or 65535 pixels a side instead of
///   exhausting memory.
/// - GDI handles are checked: a stale or foreign handle fails the call instead of crashing.
#include "platform/WinTypes.h"

typedef struct HDC__* HDC;
typedef struct HGDIOBJ__* HGDIOBJ;
typedef struct HBITMAP__* HBITMAP;
typedef struct HBRUSH__* HBRUSH;
typedef struct HPEN__* HPEN;
typedef struct HPALETTE__* HPALETTE;
typedef int INT;

#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR 0xFFFFFFFFL
#define SRCCOPY 0x00CC0020

#define MM_TEXT 1
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

#define ALTERNATE 1
#define WINDING 2

#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

#define PS_SOLID 0
#define PS_NULL 5

#define WHITE_BRUSH 0
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define DEFAULT_PALETTE 15

#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_BITMAP 7
#define OBJ_MEMDC 10

// GetDeviceCaps indices
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define SIZEPALETTE 104
#define RC_PALETTE 0x0100

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    UINT_PTR lbHatch;
};

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};

struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
};

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

/// Fills table with the default colours of a bitCount-deep bitmap: black and white for 1
/// bit, the 16 standard colours for 4 bits, a grey ramp for 8 bits. Returns how many
/// entries it wrote (at most capacity; 0 for deeper bitmaps).
ZCMCOM_API int ZcmDefaultColorTable(int bitCount, RGBQUAD* table, int capacity);

/// Sets the colour depth that window DCs report (1, 4, 8, 16, 24 or 32); returns the old one.
ZCMCOM_API int ZcmSetDisplayBitsPerPixel(int bitsPerPixel);

ZCMCOM_API HDC GetDC(HWND window);
ZCMCOM_API int ReleaseDC(HWND window, HDC dc);
ZCMCOM_API HDC CreateCompatibleDC(HDC dc);
ZCMCOM_API BOOL DeleteDC(HDC dc);
ZCMCOM_API int GetDeviceCaps(HDC dc, int index);
ZCMCOM_API DWORD GetObjectType(HGDIOBJ object);

ZCMCOM_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount,
                                const void* bits);
ZCMCOM_API HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
ZCMCOM_API HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                    HANDLE section, DWORD offset);
ZCMCOM_API int GetObjectW(HGDIOBJ object, int size, LPVOID out);
#define GetObject GetObjectW

ZCMCOM_API HBRUSH CreateSolidBrush(COLORREF colour);
ZCMCOM_API HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
ZCMCOM_API HPEN CreatePen(int style, int width, COLORREF colour);
ZCMCOM_API HPEN CreatePenIndirect(const LOGPEN* pen);
ZCMCOM_API HPALETTE CreatePalette(const LOGPALETTE* palette);
ZCMCOM_API UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count,
                                  PALETTEENTRY* entries);
ZCMCOM_API HGDIOBJ GetStockObject(int index);
ZCMCOM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
ZCMCOM_API HGDIOBJ GetCurrentObject(HDC dc, UINT type);
/// Fails (FALSE) for an object still selected into a DC; stock objects stay (TRUE).
ZCMCOM_API BOOL DeleteObject(HGDIOBJ object);
/// Deletes the object now, or when the last DC that has it selected lets go of it.
ZCMCOM_API BOOL ZcmDeleteObjectWhenFree(HGDIOBJ object);
ZCMCOM_API HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
ZCMCOM_API UINT RealizePalette(HDC dc);

ZCMCOM_API int SaveDC(HDC dc);
/// level > 0: that saved state; level < 0: relative to the latest (-1 = the latest).
ZCMCOM_API BOOL RestoreDC(HDC dc, int level);
ZCMCOM_API int SetMapMode(HDC dc, int mode);
ZCMCOM_API int GetMapMode(HDC dc);
ZCMCOM_API BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old);
ZCMCOM_API BOOL SetWindowExtEx(HDC dc, int x, int y, SIZE* old);
ZCMCOM_API BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
ZCMCOM_API BOOL SetViewportExtEx(HDC dc, int x, int y, SIZE* old);
ZCMCOM_API BOOL LPtoDP(HDC dc, POINT* points, int count);
ZCMCOM_API int SetPolyFillMode(HDC dc, int mode);
ZCMCOM_API int GetPolyFillMode(HDC dc);

ZCMCOM_API COLORREF GetPixel(HDC dc, int x, int y);
ZCMCOM_API COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
ZCMCOM_API BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx,
                       int sy, DWORD rop);
ZCMCOM_API BOOL Polygon(HDC dc, const POINT* points, int count);
ZCMCOM_API BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons);
ZCMCOM_API BOOL Polyline(HDC dc, const POINT* points, int count);
ZCMCOM_API BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
ZCMCOM_API BOOL LineTo(HDC dc, int x, int y);
