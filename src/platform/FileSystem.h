// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Win32 file-system calls: copy, delete, folders, attributes, file times, module name.
///
/// Differences from Windows:
/// - Paths are taken as they are (UTF-8 on disk); '\' is an ordinary character.
/// - Read-only is the owner's write permission: DeleteFileW refuses a file without it
///   (ERROR_ACCESS_DENIED) as Windows refuses a read-only file; SetFileAttributesW with
///   FILE_ATTRIBUTE_READONLY removes every write permission, without it gives the owner
///   write permission back. Other attribute bits are ignored.
/// - DeleteFileW and RemoveDirectoryW remove a symbolic link itself, never its target.
/// - CopyFileW keeps the source's permissions and last-write time, as Windows keeps the
///   attributes and times; it refuses to copy a file onto itself.
/// - GetModuleFileNameW knows only the running program (module null).
#include "platform/File.h"
#include "platform/LastError.h"

/// Copies a file; with failIfExists an existing target is refused (ERROR_FILE_EXISTS).
/// FALSE on failure, with the reason in GetLastError.
ZCMCOM_API BOOL CopyFileW(LPCWSTR from, LPCWSTR to, BOOL failIfExists);
/// Deletes a file (or a symbolic link); FALSE on failure, with the reason in GetLastError.
ZCMCOM_API BOOL DeleteFileW(LPCWSTR path);
/// Creates one folder (the parent must exist); securityAttributes is ignored. FALSE on
/// failure (ERROR_ALREADY_EXISTS, ERROR_PATH_NOT_FOUND, ...).
ZCMCOM_API BOOL CreateDirectoryW(LPCWSTR path, void* securityAttributes);
/// Removes an empty folder; FALSE on failure, with the reason in GetLastError.
ZCMCOM_API BOOL RemoveDirectoryW(LPCWSTR path);
/// The FILE_ATTRIBUTE_ bits of a path (see above), INVALID_FILE_ATTRIBUTES when it does
/// not exist.
ZCMCOM_API DWORD GetFileAttributesW(LPCWSTR path);
/// Sets the read-only state (see above); FALSE on failure.
ZCMCOM_API BOOL SetFileAttributesW(LPCWSTR path, DWORD attributes);
/// Creation (status change here), last-access and last-write times of an open file.
ZCMCOM_API BOOL GetFileTime(HANDLE file, FILETIME* creation, FILETIME* access, FILETIME* write);
/// Writes the running program's path into buffer (size characters with the terminator);
/// returns its length, size when it was cut short, 0 on failure.
ZCMCOM_API DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
