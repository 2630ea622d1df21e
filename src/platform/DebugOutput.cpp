// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/DebugOutput.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/String.h"

namespace {

std::mutex& HandlerLock() {
    static std::mutex m;
    return m;
}

ZcmDebugOutputHandler& Handler() {
    static ZcmDebugOutputHandler h;
    return h;
}

}  // namespace

ZcmDebugOutputHandler ZcmSetDebugOutputHandler(ZcmDebugOutputHandler handler) {
    std::lock_guard<std::mutex> lock(HandlerLock());
    ZcmDebugOutputHandler old = std::move(Handler());
    Handler() = std::move(handler);
    return old;
}

void OutputDebugStringW(LPCWSTR text) {
    ZcmDebugOutputHandler handler;
    {
        std::lock_guard<std::mutex> lock(HandlerLock());
        handler = Handler();
    }
    if (!text) text = L"";
    if (handler) {
        handler(text);
        return;
    }
    const char* env = std::getenv("ZCMCOM_DEBUG_OUTPUT");
    if (!env || !*env) return;
    const std::string utf8 = CString(text).ToUtf8();
    fputs(utf8.c_str(), stderr);
}
