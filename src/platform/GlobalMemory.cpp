// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/GlobalMemory.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace {

struct Block {
    void* data;
    size_t size;
    bool movable;
    int locks;
};

std::mutex g_mutex;

std::unordered_map<void*, Block>& Blocks() {
    static auto* blocks = new std::unordered_map<void*, Block>();
    return *blocks;
}

// A movable block's handle is a distinct small allocation; a fixed block's handle is its
// memory, as in Windows.
Block* Find(HGLOBAL h) {
    auto it = Blocks().find(h);
    return it == Blocks().end() ? nullptr : &it->second;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, size_t bytes) {
    void* data = (flags & GMEM_ZEROINIT) ? calloc(bytes ? bytes : 1, 1) : malloc(bytes ? bytes : 1);
    if (!data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const bool movable = (flags & GMEM_MOVEABLE) != 0;
    void* handle = data;
    if (movable) {
        handle = malloc(1);
        if (!handle) {
            free(data);
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    std::lock_guard<std::mutex> lock(g_mutex);
    Blocks()[handle] = Block{data, bytes, movable, 0};
    return handle;
}

HGLOBAL GlobalReAlloc(HGLOBAL h, size_t bytes, UINT flags) {
    std::lock_guard<std::mutex> lock(g_mutex);
    Block* b = Find(h);
    if (!b) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (flags & GMEM_MODIFY) return h;
    // A fixed block may only move when the caller allows it.
    if (!b->movable && !(flags & GMEM_MOVEABLE) && bytes > b->size) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    void* data = realloc(b->data, bytes ? bytes : 1);
    if (!data) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if ((flags & GMEM_ZEROINIT) && bytes > b->size)
        memset(static_cast<char*>(data) + b->size, 0, bytes - b->size);
    Block moved{data, bytes, b->movable, b->locks};
    if (b->movable) {
        *b = moved;
        return h;
    }
    Blocks().erase(h);
    Blocks()[data] = moved;
    return data;
}

LPVOID GlobalLock(HGLOBAL h) {
    std::lock_guard<std::mutex> lock(g_mutex);
    Block* b = Find(h);
    if (!b) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (b->movable) ++b->locks;
    return b->data;
}

BOOL GlobalUnlock(HGLOBAL h) {
    std::lock_guard<std::mutex> lock(g_mutex);
    Block* b = Find(h);
    if (!b) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (b->locks > 0) --b->locks;
    SetLastError(ERROR_SUCCESS);
    return b->locks > 0 ? TRUE : FALSE;
}

HGLOBAL GlobalFree(HGLOBAL h) {
    if (!h) return nullptr;
    std::lock_guard<std::mutex> lock(g_mutex);
    Block* b = Find(h);
    if (!b) {
        SetLastError(ERROR_INVALID_HANDLE);
        return h;
    }
    free(b->data);
    if (b->movable) free(h);
    Blocks().erase(h);
    return nullptr;
}

size_t GlobalSize(HGLOBAL h) {
    std::lock_guard<std::mutex> lock(g_mutex);
    Block* b = Find(h);
    if (!b) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return b->size;
}
