#include "platform/Wnd.h"

#include "platform/Thread.h"

CWnd::~CWnd() = default;

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT, WPARAM, LPARAM) { return 0; }

CWinThread::~CWinThread() = default;

CWinThread* AfxGetThread() {
    thread_local CWinThread current;
    return &current;
}

CWnd* AfxGetMainWnd() { return AfxGetThread()->m_pMainWnd; }
