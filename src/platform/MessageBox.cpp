// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/MessageBox.h"

#include <cstdio>
#include <mutex>

#include "platform/String.h"

namespace {

std::mutex& HandlerLock() {
    static std::mutex m;
    return m;
}

ZcmMessageBoxHandler& Handler() {
    static ZcmMessageBoxHandler h;
    return h;
}

int DefaultAnswer(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OK:
            return IDOK;
        case MB_YESNO:
            return IDNO;
        case MB_ABORTRETRYIGNORE:
            return IDABORT;
        default:
            return IDCANCEL;  // OK/cancel, yes/no/cancel, retry/cancel
    }
}

}  // namespace

ZcmMessageBoxHandler AfxSetMessageBoxHandler(ZcmMessageBoxHandler handler) {
    std::lock_guard<std::mutex> lock(HandlerLock());
    ZcmMessageBoxHandler old = std::move(Handler());
    Handler() = std::move(handler);
    return old;
}

int AfxMessageBox(LPCTSTR text, UINT type, UINT) {
    ZcmMessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> lock(HandlerLock());
        handler = Handler();
    }
    if (handler) return handler(text ? text : L"", type);
    const std::string utf8 = CString(text).ToUtf8();
    fprintf(stderr, "%s\n", utf8.c_str());
    return DefaultAnswer(type);
}

int AfxMessageBox(UINT textId, UINT type, UINT helpId) {
    CString text;
    text.LoadString(textId);
    return AfxMessageBox(text.GetString(), type, helpId);
}
