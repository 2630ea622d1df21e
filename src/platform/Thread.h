// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CWinThread, AfxBeginThread and the calling thread's main window.
///
/// Differences from Windows:
/// - Every thread has a CWinThread object of its own: a thread started by AfxBeginThread
///   gets the object AfxBeginThread returned, any other thread one created on first use by
///   AfxGetThread and freed when the thread ends. The application sets m_pMainWnd on the
///   threads whose messages should reach a window.
/// - Threads run on std::thread. Priority, stack size and security attributes are
///   accepted and ignored. CREATE_SUSPENDED holds the thread before its procedure until
///   ResumeThread; there is no SuspendThread.
/// - No thread can be terminated from outside. The owner asks its worker to stop, waits
///   with WaitForExit (the WaitForSingleObject on m_hThread of Windows) and then deletes
///   the object, which joins the thread. Deleting the object of a running thread blocks
///   until the thread ends.
/// - An auto-deleting thread (m_bAutoDelete, the default) frees its object itself when
///   its procedure returns; the starter must not touch it after ResumeThread.
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/Wnd.h"

#define THREAD_PRIORITY_NORMAL 0     ///< the one priority (others are ignored too)
#define CREATE_SUSPENDED 0x00000004  ///< start held until ResumeThread
#define INFINITE 0xFFFFFFFFu         ///< a wait without time-out
#define WAIT_OBJECT_0 0x00000000u    ///< the wait ended because the object was signalled
#define WAIT_TIMEOUT 0x00000102u     ///< the wait timed out
#define STILL_ACTIVE 0x00000103u     ///< exit code of a thread that still runs

/// A thread's procedure: gets AfxBeginThread's parameter, returns the exit code.
typedef UINT (*AFX_THREADPROC)(LPVOID);
struct SECURITY_ATTRIBUTES;
/// Accepted and ignored.
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

/// A thread and its state; see the notes above.
class ZCMCOM_API CWinThread : public CObject {
public:
    CWinThread() = default;
    /// Joins the thread if one was started (blocks until it has ended); a thread still
    /// suspended ends without running its procedure.
    ~CWinThread() override;
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    /// Lets a thread created suspended run. Returns the previous suspend count (1 the
    /// first time, 0 after), or 0xFFFFFFFF for an object without a thread.
    DWORD ResumeThread();
    /// Waits until the thread's procedure has returned: WAIT_OBJECT_0, or WAIT_TIMEOUT.
    DWORD WaitForExit(DWORD timeoutMs);
    /// The procedure's result once it has returned, STILL_ACTIVE before.
    BOOL GetExitCodeThread(DWORD* exitCode);

    CWnd* m_pMainWnd = nullptr;  ///< the window the thread's notifications go to
    BOOL m_bAutoDelete = TRUE;   ///< the object frees itself when the procedure returns

private:
    friend ZCMCOM_API CWinThread* AfxBeginThread(AFX_THREADPROC, LPVOID, int, UINT, DWORD,
                                                 LPSECURITY_ATTRIBUTES);
    void Run(AFX_THREADPROC proc, LPVOID param);

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_started = false;    ///< ResumeThread has let the procedure run
    bool m_ended = false;      ///< the procedure has returned
    bool m_cancelled = false;  ///< deleted before it was resumed
    DWORD m_exitCode = STILL_ACTIVE;
};

/// Starts proc(param) on a new thread; with CREATE_SUSPENDED it waits for ResumeThread.
/// Returns the thread's object (null only when the system cannot create a thread).
ZCMCOM_API CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param,
                                      int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0,
                                      DWORD createFlags = 0,
                                      LPSECURITY_ATTRIBUTES security = nullptr);

/// The calling thread's thread object (never null).
ZCMCOM_API CWinThread* AfxGetThread();
/// The calling thread's main window, or null when none is set.
ZCMCOM_API CWnd* AfxGetMainWnd();
