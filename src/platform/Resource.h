// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Resources: string tables and binary resources of the modules of the process.
///
/// Differences from Windows: resources are not read out of executable files. A module
/// (the application or a library) registers its tables at start-up under its Windows
/// module name (the library registers as "zcmcom.dll"); FindResource and the calls after it
/// work on those registrations. String lookups search the application's tables first, then
/// the libraries', in the order they were registered. Registered data must stay valid until
/// the module unregisters (normally static tables).
#include "platform/WinTypes.h"

/// One entry of a module's string table.
struct ZcmStringResource {
    UINT id;              ///< the string's id
    const wchar_t* text;  ///< its text, terminated
};

/// One binary resource of a module.
struct ZcmBinaryResource {
    const wchar_t* type;  ///< resource type name, e.g. L"METAFILE"
    UINT id;              ///< the resource's id
    const BYTE* data;     ///< its bytes
    DWORD size;           ///< their number
};

/// Registers a module's tables. isApplication puts its strings ahead of every library's.
/// Returns the module handle (also found by GetModuleHandleW(name)).
ZCMCOM_API HMODULE AfxRegisterResourceModule(LPCWSTR moduleName, const ZcmStringResource* strings,
                                             size_t stringCount, const ZcmBinaryResource* binaries,
                                             size_t binaryCount, bool isApplication = false);
/// Takes a module's tables out of the lookups; its handle becomes invalid.
ZCMCOM_API void AfxUnregisterResourceModule(HMODULE module);

/// The text of string id, or null when no registered module has it.
ZCMCOM_API const wchar_t* AfxFindStringResource(UINT id);

/// Win32-shaped lookups. Module and type names compare without regard to case; a null
/// module means the application's module. type and name may be MAKEINTRESOURCE values.
/// GetModuleHandleW finds a registered module (nullptr when none; nullptr as the name gives
/// the application's); FindResourceW a resource of a module (nullptr when missing, last
/// error ERROR_RESOURCE_TYPE_NOT_FOUND or ERROR_RESOURCE_DATA_NOT_FOUND); LoadResource and
/// LockResource give its bytes, SizeofResource their number; FreeResource does nothing.
/// LoadStringW copies string id of the module (nullptr: of every module, the application's
/// first) into buffer, at most maxChars - 1 characters and a terminator, and returns the
/// characters copied; 0 when the string is missing or there is no room.
/// @{
ZCMCOM_API HMODULE GetModuleHandleW(LPCWSTR moduleName);
ZCMCOM_API HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
ZCMCOM_API HGLOBAL LoadResource(HMODULE module, HRSRC resource);
ZCMCOM_API LPVOID LockResource(HGLOBAL loaded);
ZCMCOM_API DWORD SizeofResource(HMODULE module, HRSRC resource);
ZCMCOM_API BOOL FreeResource(HGLOBAL loaded);
ZCMCOM_API int LoadStringW(HMODULE module, UINT id, LPWSTR buffer, int maxChars);
/// @}
/// The names without W; text is always wide.
/// @{
#define GetModuleHandle GetModuleHandleW
#define FindResource FindResourceW
/// @}
