// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/Thread.h"

#include <chrono>
#include <memory>
#include <system_error>

namespace {

// The object of a thread started by AfxBeginThread; null on other threads.
thread_local CWinThread* t_started = nullptr;

}  // namespace

CWinThread::~CWinThread() {
    if (!m_thread.joinable()) return;
    {
        // A thread never resumed ends without running its procedure.
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_started) m_cancelled = true;
        m_changed.notify_all();
    }
    if (m_thread.get_id() == std::this_thread::get_id())
        m_thread.detach();  // deleted by its own thread: nothing left to join
    else
        m_thread.join();
}

void CWinThread::Run(AFX_THREADPROC proc, LPVOID param) {
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_started || m_cancelled; });
        if (m_cancelled) return;
    }
    t_started = this;
    const UINT code = proc(param);
    t_started = nullptr;
    bool autoDelete;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_exitCode = code;
        m_ended = true;
        autoDelete = m_bAutoDelete != FALSE;
        m_changed.notify_all();
    }
    if (autoDelete) delete this;
}

DWORD CWinThread::ResumeThread() {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_thread.joinable() && !m_ended) return 0xFFFFFFFFu;
    if (m_started) return 0;
    m_started = true;
    m_changed.notify_all();
    return 1;
}

DWORD CWinThread::WaitForExit(DWORD timeoutMs) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (timeoutMs == INFINITE) {
        m_changed.wait(lock, [this] { return m_ended; });
        return WAIT_OBJECT_0;
    }
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                              [this] { return m_ended; })
               ? WAIT_OBJECT_0
               : WAIT_TIMEOUT;
}

BOOL CWinThread::GetExitCodeThread(DWORD* exitCode) {
    if (!exitCode) return FALSE;
    std::lock_guard<std::mutex> lock(m_mutex);
    *exitCode = m_exitCode;
    return TRUE;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int, UINT, DWORD createFlags,
                           LPSECURITY_ATTRIBUTES) {
    if (!proc) return nullptr;
    auto* thread = new CWinThread();
    // The new thread waits for m_started, so it cannot run (or delete itself) before the
    // std::thread member is in place.
    try {
        thread->m_thread = std::thread(&CWinThread::Run, thread, proc, param);
    } catch (const std::system_error&) {
        delete thread;
        return nullptr;
    }
    if (!(createFlags & CREATE_SUSPENDED)) thread->ResumeThread();
    return thread;
}

CWinThread* AfxGetThread() {
    if (t_started) return t_started;
    thread_local std::unique_ptr<CWinThread> own;
    if (!own) own = std::make_unique<CWinThread>();
    return own.get();
}

CWnd* AfxGetMainWnd() { return AfxGetThread()->m_pMainWnd; }
