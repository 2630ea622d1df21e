// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Version resources of Windows executables and DLLs: GetFileVersionInfoSizeW,
/// GetFileVersionInfoW, VerQueryValueW, read from the PE file itself.
///
/// Differences from Windows:
/// - Any file is read as a PE image from disk, never loaded; the first language of the
///   first RT_VERSION resource is taken. Files that are not PE images, or whose offsets
///   point outside the file, give 0 with ERROR_RESOURCE_TYPE_NOT_FOUND or
///   ERROR_BAD_EXE_FORMAT.
/// - VerQueryValueW returns text values as wchar_t (UTF-32) units, one per UTF-16 unit of
///   the resource: a surrogate pair arrives as two units (ZcmUtf16ToWide joins them).
///   The returned length counts those units, terminator included, as Windows does.
/// - The block is this library's own layout; only VerQueryValueW reads it.
#include "platform/LastError.h"

#pragma pack(push, 1)
struct IMAGE_FILE_HEADER {
    WORD Machine;
    WORD NumberOfSections;
    DWORD TimeDateStamp;
    DWORD PointerToSymbolTable;
    DWORD NumberOfSymbols;
    WORD SizeOfOptionalHeader;
    WORD Characteristics;
};
struct IMAGE_SECTION_HEADER {
    BYTE Name[8];
    DWORD VirtualSize;
    DWORD VirtualAddress;
    DWORD SizeOfRawData;
    DWORD PointerToRawData;
    DWORD PointerToRelocations;
    DWORD PointerToLinenumbers;
    WORD NumberOfRelocations;
    WORD NumberOfLinenumbers;
    DWORD Characteristics;
};
struct IMAGE_RESOURCE_DIRECTORY {
    DWORD Characteristics;
    DWORD TimeDateStamp;
    WORD MajorVersion;
    WORD MinorVersion;
    WORD NumberOfNamedEntries;
    WORD NumberOfIdEntries;
};
struct IMAGE_RESOURCE_DIRECTORY_ENTRY {
    DWORD Name;          ///< high bit: offset of a name string, else an id
    DWORD OffsetToData;  ///< high bit: offset of a subdirectory, else of a data entry
};
struct IMAGE_RESOURCE_DATA_ENTRY {
    DWORD OffsetToData;  ///< an RVA
    DWORD Size;
    DWORD CodePage;
    DWORD Reserved;
};
struct VS_FIXEDFILEINFO {
    DWORD dwSignature;  ///< 0xFEEF04BD
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;
    DWORD dwFileVersionLS;
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};
#pragma pack(pop)
static_assert(sizeof(IMAGE_FILE_HEADER) == 20, "IMAGE_FILE_HEADER layout");
static_assert(sizeof(IMAGE_SECTION_HEADER) == 40, "IMAGE_SECTION_HEADER layout");
static_assert(sizeof(IMAGE_RESOURCE_DIRECTORY) == 16, "IMAGE_RESOURCE_DIRECTORY layout");
static_assert(sizeof(IMAGE_RESOURCE_DIRECTORY_ENTRY) == 8, "IMAGE_RESOURCE_DIRECTORY_ENTRY layout");
static_assert(sizeof(IMAGE_RESOURCE_DATA_ENTRY) == 16, "IMAGE_RESOURCE_DATA_ENTRY layout");
static_assert(sizeof(VS_FIXEDFILEINFO) == 52, "VS_FIXEDFILEINFO layout");

#define RT_VERSION_ID 16

ZCMCOM_API DWORD GetFileVersionInfoSizeW(LPCWSTR path, LPDWORD handle);
ZCMCOM_API BOOL GetFileVersionInfoW(LPCWSTR path, DWORD handle, DWORD size, LPVOID data);
ZCMCOM_API BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* value, UINT* length);
