// SPDX-License-Identifier: LGPL-3.0-or-later
#include "appenv/Keyboard.h"

#include <cstdlib>
#include <mutex>

#include "platform/Launch.h"
#include "platform/String.h"

namespace {

std::mutex g_lock;
ZcmLaunchedProgram g_keyboard;  // the one this process started, if any

std::string KeyboardProgram() {
    const char* name = getenv("ZCMCOM_SOFT_KEYBOARD");
    return name && name[0] ? name : "onboard";
}

}  // namespace

void CCommonKeyboard::OpenSoftKeyboard() {
    std::lock_guard<std::mutex> guard(g_lock);
    if (ZcmIsRunning(g_keyboard)) return;
    const std::string path = ZcmFindProgram(KeyboardProgram());
    if (path.empty()) return;
    // Started in its own folder, as the keyboard program was on Windows; it then holds
    // no folder of the caller's busy.
    const CString folder(path.substr(0, path.rfind('/') + 1).c_str());
    ZcmLaunchedProgram started;
    if (ZcmLaunchDetached(path, {}, folder, &started)) g_keyboard = started;
}

void CCommonKeyboard::CloseSoftKeyboard() {
    std::lock_guard<std::mutex> guard(g_lock);
    ZcmEndProgram(g_keyboard);
    g_keyboard = ZcmLaunchedProgram();
}
