// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Global memory blocks: GlobalAlloc, GlobalReAlloc, GlobalLock, GlobalUnlock, GlobalFree,
/// GlobalSize.
///
/// Differences from Windows:
/// - A handle that was never returned (or was freed) is refused with ERROR_INVALID_HANDLE
///   instead of corrupting memory.
/// - A movable block's memory may move at GlobalReAlloc even while locked; take the
///   pointer again after a reallocation.
#include "platform/LastError.h"

/// @name Allocation flags
/// @{
#define GMEM_FIXED 0x0000                     ///< the handle is the memory's address
#define GMEM_MOVEABLE 0x0002                  ///< the memory is reached through GlobalLock
#define GMEM_ZEROINIT 0x0040                  ///< the new bytes are zero
#define GMEM_MODIFY 0x0080                    ///< GlobalReAlloc changes the flags only
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)  ///< movable and zeroed
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)     ///< fixed and zeroed
/// @}

/// A new block of bytes; null on failure (ERROR_NOT_ENOUGH_MEMORY).
ZCMCOM_API HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
/// The block resized (new bytes zeroed with GMEM_ZEROINIT), or null with the old block
/// kept.
ZCMCOM_API HGLOBAL GlobalReAlloc(HGLOBAL block, size_t bytes, UINT flags);
/// The block's memory, counting one more lock; null for a bad handle.
ZCMCOM_API LPVOID GlobalLock(HGLOBAL block);
/// Counts one lock less; TRUE while locks remain, FALSE when none (GetLastError 0) or on
/// a bad handle.
ZCMCOM_API BOOL GlobalUnlock(HGLOBAL block);
/// Null on success, the handle on failure.
ZCMCOM_API HGLOBAL GlobalFree(HGLOBAL block);
/// The block's size in bytes, 0 for a bad handle.
ZCMCOM_API size_t GlobalSize(HGLOBAL block);
