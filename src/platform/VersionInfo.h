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
/// The COFF file header of a PE image.
struct IMAGE_FILE_HEADER {
    /// The fields as the PE format lays them out on disk (little-endian).
    /// @{
    WORD Machine;
    WORD NumberOfSections;
    DWORD TimeDateStamp;
    DWORD PointerToSymbolTable;
    DWORD NumberOfSymbols;
    WORD SizeOfOptionalHeader;
    WORD Characteristics;
    /// @}
};
/// One section of a PE image: where its bytes lie in the file and in memory.
struct IMAGE_SECTION_HEADER {
    /// The fields as the PE format lays them out on disk (little-endian).
    /// @{
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
    /// @}
};
/// A directory of the resource tree: its named entries, then its numbered ones, follow it.
struct IMAGE_RESOURCE_DIRECTORY {
    /// The fields as the PE format lays them out on disk (little-endian).
    /// @{
    DWORD Characteristics;
    DWORD TimeDateStamp;
    WORD MajorVersion;
    WORD MinorVersion;
    WORD NumberOfNamedEntries;
    WORD NumberOfIdEntries;
    /// @}
};
/// One entry of a resource directory.
struct IMAGE_RESOURCE_DIRECTORY_ENTRY {
    DWORD Name;          ///< high bit: offset of a name string, else an id
    DWORD OffsetToData;  ///< high bit: offset of a subdirectory, else of a data entry
};
/// Where a resource's bytes are.
struct IMAGE_RESOURCE_DATA_ENTRY {
    DWORD OffsetToData;  ///< an RVA
    DWORD Size;          ///< in bytes
    DWORD CodePage;      ///< of the resource's text
    DWORD Reserved;      ///< 0
};
/// The fixed part of a version resource, returned by VerQueryValueW for "\\". Versions
/// are two 32-bit halves of four 16-bit numbers, most significant first.
struct VS_FIXEDFILEINFO {
    DWORD dwSignature;  ///< 0xFEEF04BD
    /// The structure's version, the file's and product's versions, the flags and what the
    /// file is (as the resource compiler writes them).
    /// @{
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
    /// @}
};
#pragma pack(pop)
static_assert(sizeof(IMAGE_FILE_HEADER) == 20, "IMAGE_FILE_HEADER layout");
static_assert(sizeof(IMAGE_SECTION_HEADER) == 40, "IMAGE_SECTION_HEADER layout");
static_assert(sizeof(IMAGE_RESOURCE_DIRECTORY) == 16, "IMAGE_RESOURCE_DIRECTORY layout");
static_assert(sizeof(IMAGE_RESOURCE_DIRECTORY_ENTRY) == 8, "IMAGE_RESOURCE_DIRECTORY_ENTRY layout");
static_assert(sizeof(IMAGE_RESOURCE_DATA_ENTRY) == 16, "IMAGE_RESOURCE_DATA_ENTRY layout");
static_assert(sizeof(VS_FIXEDFILEINFO) == 52, "VS_FIXEDFILEINFO layout");

#define RT_VERSION_ID 16  ///< the resource type of version information

/// The size of the version block of the file at path, 0 (with the last error set) when it
/// has none or is no PE image. *handle, when given, is set to 0.
ZCMCOM_API DWORD GetFileVersionInfoSizeW(LPCWSTR path, LPDWORD handle);
/// Reads the version block of the file at path into data (size bytes, as
/// GetFileVersionInfoSizeW said; handle is ignored). FALSE with the last error set on failure.
ZCMCOM_API BOOL GetFileVersionInfoW(LPCWSTR path, DWORD handle, DWORD size, LPVOID data);
/// Finds subBlock in a version block: "\\" gives the VS_FIXEDFILEINFO,
/// "\\VarFileInfo\\Translation" the language and code-page pairs, and
/// "\\StringFileInfo\\LLLLCCCC\\Name" a text value (LLLLCCCC: language and code page in
/// hexadecimal). *value points into the block, *length is its size (in characters for
/// text). FALSE when there is no such value.
ZCMCOM_API BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* value, UINT* length);
