#pragma once
// CWinThread and the calling thread's main window.
//
// Differences from Windows: every thread has a CWinThread object of its own, created on
// first use by AfxGetThread and freed when the thread ends; the application sets its
// m_pMainWnd on the threads whose messages should reach a window.
#include "platform/Wnd.h"

class ZCMCOM_API CWinThread : public CObject {
public:
    CWinThread() = default;
    ~CWinThread() override;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    CWnd* m_pMainWnd = nullptr;
    BOOL m_bAutoDelete = TRUE;
};

// The calling thread's thread object (never null).
ZCMCOM_API CWinThread* AfxGetThread();
// The calling thread's main window, or null when none is set.
ZCMCOM_API CWnd* AfxGetMainWnd();
