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

/// @name GDI handles
/// @{

/// Handles of a device context and of the GDI objects (any object, bitmap, brush, pen,
/// palette). They are checked on every call: a stale handle fails the call.
typedef struct HDC__* HDC;
typedef struct HGDIOBJ__* HGDIOBJ;
typedef struct HBITMAP__* HBITMAP;
typedef struct HBRUSH__* HBRUSH;
typedef struct HPEN__* HPEN;
typedef struct HPALETTE__* HPALETTE;
typedef int INT;
/// @}

/// @name Results and raster operations
/// @{

/// CLR_INVALID is the colour of a pixel that cannot be read, GDI_ERROR the failure of
/// SelectObject on a region; SRCCOPY is the one raster operation BitBlt supports.
#define CLR_INVALID 0xFFFFFFFF
#define GDI_ERROR 0xFFFFFFFFL
#define SRCCOPY 0x00CC0020
/// @}

/// @name Mapping modes
/// @{

/// The mapping modes: one logical unit is one pixel (MM_TEXT), or the window extent is
/// scaled to the viewport extent (ISOTROPIC and ANISOTROPIC alike here).
#define MM_TEXT 1
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8
/// @}

/// @name Fill rules
/// @{

/// Polygon fill rules: even-odd (ALTERNATE) or non-zero winding.
#define ALTERNATE 1
#define WINDING 2
/// @}

/// @name Colour-table usage
/// @{

/// How CreateDIBSection reads the colour table: RGB values, or (on Windows) palette
/// indexes, which are read as RGB values here.
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1
/// @}

/// @name Brush and pen styles
/// @{

/// Brush styles (solid, or none: the inside is not filled) and pen styles (solid, or none:
/// no outline).
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

#define PS_SOLID 0
#define PS_NULL 5
/// @}

/// @name Stock objects
/// @{

/// Stock objects for GetStockObject and CDC::SelectStockObject; they are never deleted.
#define WHITE_BRUSH 0
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define DEFAULT_PALETTE 15
/// @}

/// @name Object types
/// @{

/// Object types returned by GetObjectType and asked of GetCurrentObject.
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_PAL 5
#define OBJ_BITMAP 7
#define OBJ_MEMDC 10
/// @}

/// @name Device capabilities
/// @{

/// GetDeviceCaps indexes: bits per pixel, planes (1), colours (-1 above 8 bits), raster
/// capabilities (RC_PALETTE for a palette device, up to 8 bits) and palette size.
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define RASTERCAPS 38
#define SIZEPALETTE 104
#define RC_PALETTE 0x0100
/// @}

/// A brush's description.
struct LOGBRUSH {
    UINT lbStyle;      ///< BS_SOLID or BS_NULL; other styles fill solid
    COLORREF lbColor;  ///< the colour
    UINT_PTR lbHatch;  ///< ignored
};

/// A pen's description.
struct LOGPEN {
    UINT lopnStyle;      ///< PS_SOLID or PS_NULL
    POINT lopnWidth;     ///< width in x; every pen draws one pixel wide here
    COLORREF lopnColor;  ///< the colour
};

/// A palette's description, allocated with room for palNumEntries entries.
struct LOGPALETTE {
    WORD palVersion;              ///< 0x300
    WORD palNumEntries;           ///< number of entries
    PALETTEENTRY palPalEntry[1];  ///< first entry
};

/// What GetObject tells about a bitmap.
struct BITMAP {
    LONG bmType;        ///< 0
    LONG bmWidth;       ///< width in pixels
    LONG bmHeight;      ///< height in pixels
    LONG bmWidthBytes;  ///< bytes per row (rows are padded to 4 bytes)
    WORD bmPlanes;      ///< 1
    WORD bmBitsPixel;   ///< bits per pixel
    LPVOID bmBits;      ///< the pixels of a DIB section, nullptr for other bitmaps
};

/// Fills table with the default colours of a bitCount-deep bitmap: black and white for 1
/// bit, the 16 standard colours for 4 bits, a grey ramp for 8 bits. Returns how many
/// entries it wrote (at most capacity; 0 for deeper bitmaps).
ZCMCOM_API int ZcmDefaultColorTable(int bitCount, RGBQUAD* table, int capacity);

/// Sets the colour depth that window DCs report (1, 4, 8, 16, 24 or 32); returns the old one.
ZCMCOM_API int ZcmSetDisplayBitsPerPixel(int bitsPerPixel);

/// Device contexts. GetDC gives a window's reference DC (any window, nullptr too: see the
/// notes above) and ReleaseDC returns it (1, or 0 for a DC that is no window DC);
/// CreateCompatibleDC makes a memory DC (holding a 1 x 1 monochrome bitmap) like dc, or
/// like the display for nullptr; DeleteDC frees it. GetDeviceCaps answers the indexes above
/// (0 for others); GetObjectType is one of the OBJ_ values, 0 for an invalid handle.
/// @{
ZCMCOM_API HDC GetDC(HWND window);
ZCMCOM_API int ReleaseDC(HWND window, HDC dc);
ZCMCOM_API HDC CreateCompatibleDC(HDC dc);
ZCMCOM_API BOOL DeleteDC(HDC dc);
ZCMCOM_API int GetDeviceCaps(HDC dc, int index);
ZCMCOM_API DWORD GetObjectType(HGDIOBJ object);
/// @}

/// Bitmaps. CreateBitmap makes a device-dependent bitmap (planes must be 1; bits, rows
/// padded to 2 bytes, may be nullptr for a black one); CreateCompatibleBitmap one of dc's
/// depth; CreateDIBSection a bitmap whose pixels the caller reaches through *bits (rows
/// padded to 4 bytes, section and offset ignored). GetObjectW fills a BITMAP, LOGBRUSH,
/// LOGPEN or WORD (palette entry count) and returns the bytes written, 0 on failure.
/// All return nullptr (0) for bad arguments or a bitmap beyond the limits above.
/// @{
ZCMCOM_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount,
                                const void* bits);
ZCMCOM_API HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
ZCMCOM_API HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                    HANDLE section, DWORD offset);
ZCMCOM_API int GetObjectW(HGDIOBJ object, int size, LPVOID out);
#define GetObject GetObjectW
/// @}

/// Brushes, pens and palettes: made from a colour or a description; GetPaletteEntries
/// copies count entries from start and returns how many it copied; GetStockObject gives a
/// stock object (nullptr for an unknown index). nullptr on failure.
/// @{
ZCMCOM_API HBRUSH CreateSolidBrush(COLORREF colour);
ZCMCOM_API HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
ZCMCOM_API HPEN CreatePen(int style, int width, COLORREF colour);
ZCMCOM_API HPEN CreatePenIndirect(const LOGPEN* pen);
ZCMCOM_API HPALETTE CreatePalette(const LOGPALETTE* palette);
ZCMCOM_API UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
ZCMCOM_API HGDIOBJ GetStockObject(int index);
/// @}
/// Selects a bitmap (memory DCs only), brush or pen into dc and returns the one it replaces;
/// nullptr on failure (a bitmap already selected elsewhere, one of another depth).
ZCMCOM_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
/// The object of type OBJ_PEN, OBJ_BRUSH, OBJ_PAL or OBJ_BITMAP selected into dc.
ZCMCOM_API HGDIOBJ GetCurrentObject(HDC dc, UINT type);
/// Fails (FALSE) for an object still selected into a DC; stock objects stay (TRUE).
ZCMCOM_API BOOL DeleteObject(HGDIOBJ object);
/// Deletes the object now, or when the last DC that has it selected lets go of it.
ZCMCOM_API BOOL ZcmDeleteObjectWhenFree(HGDIOBJ object);
/// SelectPalette selects a palette (forceBackground is ignored) and returns the previous one;
/// RealizePalette maps it onto the DC and returns the number of entries mapped (0 when the
/// DC's depth has no palette).
/// @{
ZCMCOM_API HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
ZCMCOM_API UINT RealizePalette(HDC dc);
/// @}

/// Saves the DC's state (selected objects, mapping, origins, fill mode) and returns its
/// level, 1 for the first; 0 on failure.
ZCMCOM_API int SaveDC(HDC dc);
/// Restores a saved state and drops it and the ones saved after it. level > 0: that saved
/// state; level < 0: relative to the latest (-1 = the latest). FALSE when there is none.
ZCMCOM_API BOOL RestoreDC(HDC dc, int level);
/// The mapping from logical to device coordinates: the mode (the previous one is returned;
/// 0 for a metric mode, which is refused), the window's and the viewport's origin and
/// extent (the old ones into *old when not nullptr; extents are ignored in MM_TEXT, a zero
/// extent fails), and LPtoDP, which maps count points in place.
/// @{
ZCMCOM_API int SetMapMode(HDC dc, int mode);
ZCMCOM_API int GetMapMode(HDC dc);
ZCMCOM_API BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* old);
ZCMCOM_API BOOL SetWindowExtEx(HDC dc, int x, int y, SIZE* old);
ZCMCOM_API BOOL SetViewportOrgEx(HDC dc, int x, int y, POINT* old);
ZCMCOM_API BOOL SetViewportExtEx(HDC dc, int x, int y, SIZE* old);
ZCMCOM_API BOOL LPtoDP(HDC dc, POINT* points, int count);
/// @}
/// The polygon fill rule, ALTERNATE or WINDING; the setter returns the previous one, 0 on
/// failure.
/// @{
ZCMCOM_API int SetPolyFillMode(HDC dc, int mode);
ZCMCOM_API int GetPolyFillMode(HDC dc);
/// @}

/// Drawing in logical coordinates. GetPixel reads a pixel (CLR_INVALID outside the bitmap
/// or on a window DC) and SetPixel sets it and returns the colour set (the nearest the
/// bitmap holds); BitBlt copies a rectangle from source with SRCCOPY (other operations
/// fail); Polygon and PolyPolygon fill with the brush by the fill rule and outline with the
/// pen (counts gives each polygon's number of points); Polyline, MoveToEx and LineTo draw
/// with the pen.
/// @{
ZCMCOM_API COLORREF GetPixel(HDC dc, int x, int y);
ZCMCOM_API COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
ZCMCOM_API BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sx, int sy,
                       DWORD rop);
ZCMCOM_API BOOL Polygon(HDC dc, const POINT* points, int count);
ZCMCOM_API BOOL PolyPolygon(HDC dc, const POINT* points, const INT* counts, int polygons);
ZCMCOM_API BOOL Polyline(HDC dc, const POINT* points, int count);
ZCMCOM_API BOOL MoveToEx(HDC dc, int x, int y, POINT* old);
ZCMCOM_API BOOL LineTo(HDC dc, int x, int y);
/// @}
