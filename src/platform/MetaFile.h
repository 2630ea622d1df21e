// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Windows metafiles (WMF) in memory and their playback on a DC.
///
/// Differences from Windows:
/// - Only the records that drawing of filled maps needs are played: SetWindowOrg/Ext,
///   SetViewportOrg/Ext, SetMapMode, SetPolyFillMode, SaveDC/RestoreDC,
///   CreateBrushIndirect, CreatePenIndirect, SelectObject, DeleteObject, Polygon,
///   PolyPolygon, Polyline, MoveTo, LineTo and SetPixel. Escapes and every other record are
///   accepted and have no effect.
/// - Records are checked against their own size and the metafile's end: a record whose
///   parameters do not fit is skipped, and a record size of 0 or past the end stops the
///   playback (the call then fails); nothing is read outside the data.
/// - Objects still in the handle table when playback ends are deleted (first replaced by
///   the stock objects in the DC when selected there).
#include <cstddef>

#include "platform/Gdi.h"

/// A metafile held in memory.
typedef struct HMETAFILE__* HMETAFILE;
/// A signed 16-bit number, as metafile coordinates are.
typedef int16_t SHORT;

#pragma pack(push, 2)
/// The 22-byte header of a placeable metafile file, before the metafile itself.
struct PLACEABLEMETAHEADER {
    DWORD key;  ///< PLACEABLE_KEY
    WORD hmf;   ///< 0 in a file
    /// Bounding box in logical units.
    /// @{
    SHORT left, top, right, bottom;
    /// @}
    WORD inch;       ///< logical units per inch
    DWORD reserved;  ///< 0
    WORD checksum;   ///< XOR of the ten words before it
};

/// The header that starts a metafile's data.
struct METAHEADER {
    WORD mtType;          ///< 1: in memory, 2: on disk
    WORD mtHeaderSize;    ///< in words: 9
    WORD mtVersion;       ///< 0x0100 or 0x0300
    DWORD mtSize;         ///< of the whole metafile, in words
    WORD mtNoObjects;     ///< size of the handle table
    DWORD mtMaxRecord;    ///< of the largest record, in words
    WORD mtNoParameters;  ///< 0
};
#pragma pack(pop)
static_assert(sizeof(PLACEABLEMETAHEADER) == 22, "placeable header layout");
static_assert(sizeof(METAHEADER) == 18, "metafile header layout");

/// One record of a metafile: its size, its function (a META_ value) and its parameters.
struct METARECORD {
    DWORD rdSize;     ///< in words, with these 3 words of size and function
    WORD rdFunction;  ///< META_ value
    WORD rdParm[1];   ///< first parameter word; the rest follow
};
static_assert(offsetof(METARECORD, rdFunction) == 4 && offsetof(METARECORD, rdParm) == 6,
              "metafile record layout");

/// The objects a metafile has created while it plays, by their index in its records.
struct HANDLETABLE {
    HGDIOBJ objectHandle[1];  ///< first of mtNoObjects handles (nullptr: a free slot)
};

#define PLACEABLE_KEY 0x9AC6CDD7u  ///< the first four bytes of a placeable metafile file

/// @name Record functions
/// @{

/// Record functions: the end record, the records that are played (see the notes above) and
/// the escape, which is skipped.
#define META_EOF 0x0000
#define META_SAVEDC 0x001E
#define META_SETMAPMODE 0x0103
#define META_SETPOLYFILLMODE 0x0106
#define META_RESTOREDC 0x0127
#define META_SELECTOBJECT 0x012D
#define META_DELETEOBJECT 0x01F0
#define META_SETWINDOWORG 0x020B
#define META_SETWINDOWEXT 0x020C
#define META_SETVIEWPORTORG 0x020D
#define META_SETVIEWPORTEXT 0x020E
#define META_LINETO 0x0213
#define META_MOVETO 0x0214
#define META_CREATEPENINDIRECT 0x02FA
#define META_CREATEBRUSHINDIRECT 0x02FC
#define META_POLYGON 0x0324
#define META_POLYLINE 0x0325
#define META_SETPIXEL 0x041F
#define META_POLYPOLYGON 0x0538
#define META_ESCAPE 0x0626
/// @}

/// EnumMetaFile's callback: gets the DC, the handle table, one record, the table's size
/// and the caller's data; returns 0 to stop.
typedef int (*MFENUMPROC)(HDC dc, HANDLETABLE* table, METARECORD* record, int objects, LPARAM data);

/// A metafile from a copy of its bytes (header and records); null when the header is not
/// one of a metafile.
ZCMCOM_API HMETAFILE SetMetaFileBitsEx(UINT size, const BYTE* data);
/// Frees a metafile; FALSE for a handle that is no metafile.
ZCMCOM_API BOOL DeleteMetaFile(HMETAFILE metafile);
/// The metafile's size in bytes when data is nullptr, else copies it to data when size is
/// enough and returns the bytes copied; 0 on failure.
ZCMCOM_API UINT GetMetaFileBitsEx(HMETAFILE metafile, UINT size, LPVOID data);
/// Calls proc for each record up to META_EOF with the record copied to aligned memory;
/// stops when proc returns 0. FALSE when stopped or when a record size is bad.
ZCMCOM_API BOOL EnumMetaFile(HDC dc, HMETAFILE metafile, MFENUMPROC proc, LPARAM data);
/// Plays one record on dc with the handle table of objects entries (for EnumMetaFile's
/// callbacks); records that are not played return TRUE, bad parameters FALSE.
ZCMCOM_API BOOL PlayMetaFileRecord(HDC dc, HANDLETABLE* table, const METARECORD* record,
                                   UINT objects);
/// Plays the whole metafile on dc, in its current mapping; the DC's state is saved and
/// restored around it. FALSE when a record size is bad (see the notes above).
ZCMCOM_API BOOL PlayMetaFile(HDC dc, HMETAFILE metafile);

/// Checks the placeable header at the start of data (size and key) and copies it to
/// *header; false when data does not start with one.
ZCMCOM_API bool ZcmReadPlaceableHeader(const BYTE* data, size_t size, PLACEABLEMETAHEADER* header);
