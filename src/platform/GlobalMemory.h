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

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GMEM_MODIFY 0x0080
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

ZCMCOM_API HGLOBAL GlobalAlloc(UINT flags, size_t bytes);
ZCMCOM_API HGLOBAL GlobalReAlloc(HGLOBAL block, size_t bytes, UINT flags);
ZCMCOM_API LPVOID GlobalLock(HGLOBAL block);
ZCMCOM_API BOOL GlobalUnlock(HGLOBAL block);
/// Null on success, the handle on failure.
ZCMCOM_API HGLOBAL GlobalFree(HGLOBAL block);
ZCMCOM_API size_t GlobalSize(HGLOBAL block);
