// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/Wnd.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <unordered_map>

#include "platform/Thread.h"

namespace {

// The windows of this process by handle. A handle is the process id in the high 32 bits
// and a running number in the low ones, so it is unique on the machine while the process
// lives and is never given out twice by one process.
struct WindowTable {
    std::mutex lock;
    std::unordered_map<uintptr_t, CWnd*> windows;
    uint32_t next = 0;
};

WindowTable& Table() {
    static WindowTable table;
    return table;
}

uintptr_t Key(HWND h) { return reinterpret_cast<uintptr_t>(h); }

uint32_t ProcessOf(HWND h) { return static_cast<uint32_t>(static_cast<uint64_t>(Key(h)) >> 32); }

}  // namespace

CWnd::~CWnd() { DestroyWindow(); }

BOOL CWnd::Create(LPCTSTR, LPCTSTR) {
    if (m_hWnd) return FALSE;
    WindowTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    const uint64_t value =
        (static_cast<uint64_t>(static_cast<uint32_t>(getpid())) << 32) | ++t.next;
    m_hWnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
    t.windows[Key(m_hWnd)] = this;
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd) return FALSE;
    WindowTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    t.windows.erase(Key(m_hWnd));
    m_hWnd = nullptr;
    return TRUE;
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

CWnd* CWnd::GetDlgItem(int) const { return nullptr; }

LRESULT CWnd::WindowProc(UINT, WPARAM, LPARAM) { return 0; }

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) return nullptr;
    WindowTable& t = Table();
    std::lock_guard<std::mutex> guard(t.lock);
    auto it = t.windows.find(Key(hWnd));
    return it == t.windows.end() ? nullptr : it->second;
}

BOOL IsWindow(HWND hWnd) {
    if (!hWnd) return FALSE;
    const uint32_t pid = ProcessOf(hWnd);
    if (pid == static_cast<uint32_t>(getpid())) return CWnd::FromHandle(hWnd) ? TRUE : FALSE;
    if (pid == 0 || pid > 0x7fffffffu) return FALSE;
    // Another process's window: all that can be known is whether that process runs.
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM ? TRUE : FALSE;
}

LRESULT SendMessageW(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* w = CWnd::FromHandle(hWnd);
    return w ? w->SendMessage(message, wParam, lParam) : 0;
}
