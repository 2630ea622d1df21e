// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Windows scalar names and the few plain structures the library's interface uses.
///
/// Differences from Windows:
/// - wchar_t is 32 bits (UTF-32), so LPCWSTR text is UTF-32, not UTF-16. Files keep their
///   own encodings; conversion happens at the file and code-page boundary only.
/// - LONG is 32 bits as on Windows (int32_t), not the 64-bit C long of Linux.
/// - Handles are opaque pointers; none of them is a kernel object.
#include <cstddef>
#include <cstdint>

#include "platform/Export.h"

/// @name Scalar types
/// @{

/// The Windows names of the integer, character and pointer types, with the Windows widths
/// (BOOL is an int that holds TRUE or FALSE; the pointer-sized ones follow the platform).
typedef int BOOL;
typedef unsigned int UINT;
typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef uint8_t BYTE;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int64_t LONGLONG;
typedef uint64_t ULONGLONG;
typedef DWORD COLORREF;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef uintptr_t UINT_PTR;
typedef intptr_t INT_PTR;
typedef wchar_t WCHAR;
typedef wchar_t TCHAR;
typedef const wchar_t* LPCWSTR;
typedef const wchar_t* LPCTSTR;
typedef wchar_t* LPWSTR;
typedef wchar_t* LPTSTR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef long HRESULT;
typedef LONG SCODE;
/// @}

/// @name Handles
/// @{

/// Opaque handles: a window, a loaded module, a resource, a block of global memory and any
/// other object. They are pointers to the library's own objects, never kernel handles.
typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef struct HRSRC__* HRSRC;
typedef void* HGLOBAL;
typedef void* HANDLE;
/// @}

/// @name Truth values and text literals
/// @{

/// TRUE and FALSE of BOOL; _T and _TEXT make a wide literal (TCHAR is always wchar_t).
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef _T
#define _T(x) L##x
#endif
#ifndef _TEXT
#define _TEXT(x) L##x
#endif
/// @}

/// @name Packing words and colours
/// @{

/// MAKEWORD/MAKELONG join a low and a high half, LOWORD/HIWORD/LOBYTE/HIBYTE take one
/// apart. RGB packs red, green and blue (0..255 each) into a COLORREF as 0x00BBGGRR;
/// GetRValue/GetGValue/GetBValue read them back; PALETTEINDEX names entry i of the
/// selected palette.
#define MAKEWORD(a, b) ((WORD)(((BYTE)((a)&0xff)) | ((WORD)((BYTE)((b)&0xff))) << 8))
#define MAKELONG(a, b) ((LONG)(((WORD)((a)&0xffff)) | ((DWORD)((WORD)((b)&0xffff))) << 16))
#define LOWORD(l) ((WORD)((l)&0xffff))
#define HIWORD(l) ((WORD)(((l) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)((w)&0xff))
#define HIBYTE(w) ((BYTE)(((w) >> 8) & 0xff))
#define RGB(r, g, b) \
    ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))
#define PALETTEINDEX(i) ((COLORREF)(0x01000000 | (DWORD)(WORD)(i)))
/// @}

/// @name Resource identifiers
/// @{

/// A resource is named by a text or by a number below 65536 carried in the pointer;
/// IS_INTRESOURCE tells the two apart.
#define MAKEINTRESOURCEW(i) ((LPCWSTR)((uintptr_t)((WORD)(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEW
#define IS_INTRESOURCE(r) ((((uintptr_t)(r)) >> 16) == 0)
/// @}

/// A rectangle in pixels; right and bottom lie just outside it.
struct RECT {
    LONG left;    ///< first column
    LONG top;     ///< first row
    LONG right;   ///< column after the last
    LONG bottom;  ///< row after the last
};
static_assert(sizeof(RECT) == 16, "RECT layout");

/// A point in pixels (y grows downwards).
struct POINT {
    LONG x;  ///< column
    LONG y;  ///< row
};
static_assert(sizeof(POINT) == 8, "POINT layout");

/// An extent in pixels.
struct SIZE {
    LONG cx;  ///< width
    LONG cy;  ///< height
};

/// One colour of a logical palette.
struct PALETTEENTRY {
    BYTE peRed;    ///< red, 0..255
    BYTE peGreen;  ///< green, 0..255
    BYTE peBlue;   ///< blue, 0..255
    BYTE peFlags;  ///< accepted and ignored (no display to reserve entries on)
};
static_assert(sizeof(PALETTEENTRY) == 4, "PALETTEENTRY layout");

/// One colour of a bitmap's colour table, in the byte order of .bmp files.
struct RGBQUAD {
    BYTE rgbBlue;      ///< blue, 0..255
    BYTE rgbGreen;     ///< green, 0..255
    BYTE rgbRed;       ///< red, 0..255
    BYTE rgbReserved;  ///< 0
};
static_assert(sizeof(RGBQUAD) == 4, "RGBQUAD layout");

#pragma pack(push, 2)
/// The 14-byte header that starts a .bmp file (packed, little-endian on disk).
struct BITMAPFILEHEADER {
    WORD bfType;       ///< "BM" (0x4D42)
    DWORD bfSize;      ///< size of the whole file in bytes
    WORD bfReserved1;  ///< 0
    WORD bfReserved2;  ///< 0
    DWORD bfOffBits;   ///< offset of the pixels from the start of the file, in bytes
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14, "BITMAPFILEHEADER layout");

/// The description of a device-independent bitmap, as in .bmp files.
struct BITMAPINFOHEADER {
    DWORD biSize;         ///< size of this structure, 40
    LONG biWidth;         ///< width in pixels
    LONG biHeight;        ///< height in pixels; positive: rows stored bottom-up, negative: top-down
    WORD biPlanes;        ///< 1
    WORD biBitCount;      ///< bits per pixel: 1, 4, 8, 24 or 32
    DWORD biCompression;  ///< BI_RGB (no compression) is the one supported
    DWORD biSizeImage;    ///< size of the pixels in bytes (0 allowed for BI_RGB)
    LONG biXPelsPerMeter;  ///< horizontal resolution, pixels per metre
    LONG biYPelsPerMeter;  ///< vertical resolution, pixels per metre
    DWORD biClrUsed;       ///< entries of the colour table used (0: all for the bit count)
    DWORD biClrImportant;  ///< entries needed to show the bitmap (0: all)
};
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER layout");

/// A bitmap's header followed by its colour table (allocated with room for all entries).
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;  ///< the description
    RGBQUAD bmiColors[1];        ///< first entry of the colour table
};

#define BI_RGB 0L     ///< uncompressed pixels
#define MAX_PATH 260  ///< buffer size of Windows path functions; paths here may be longer
