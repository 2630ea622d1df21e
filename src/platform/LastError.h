// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The calling thread's last-error code of the Win32 stand-ins.
///
/// Differences from Windows: only the stand-ins of this library set it; POSIX calls made
/// elsewhere leave it alone (errno is separate). The codes are Win32's values.
#include "platform/WinTypes.h"

/// @name Error codes
/// @{

/// The last-error codes the stand-ins set, with their Win32 values: success, a missing
/// file or folder, too many open files, a refused access, a bad handle, no memory, the end
/// of a listing, a sharing violation, the end of a file, an existing file, a bad argument,
/// a full disk, a buffer too small, a folder not empty, a missing resource, bad flags, text
/// that cannot be converted, and a file that is no executable image.
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_PATH_NOT_FOUND 3L
#define ERROR_TOO_MANY_OPEN_FILES 4L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_NO_MORE_FILES 18L
#define ERROR_SHARING_VIOLATION 32L
#define ERROR_HANDLE_EOF 38L
#define ERROR_FILE_EXISTS 80L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_DISK_FULL 112L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_DIR_NOT_EMPTY 145L
#define ERROR_ALREADY_EXISTS 183L
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#define ERROR_INVALID_FLAGS 1004L
#define ERROR_NO_UNICODE_TRANSLATION 1113L
#define ERROR_BAD_EXE_FORMAT 193L
/// @}

/// The calling thread's last-error code, and setting it (each thread has its own).
/// @{
ZCMCOM_API DWORD GetLastError();
ZCMCOM_API void SetLastError(DWORD code);
/// @}
/// The Win32 code that best describes a POSIX errno value.
ZCMCOM_API DWORD ZcmErrnoToWin32(int err);
