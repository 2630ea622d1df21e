// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Synchronisation objects: CEvent, CCriticalSection and CSingleLock.
///
/// Differences from Windows:
/// - The objects live inside the process only; a name passed to CEvent is ignored and
///   nothing can be shared with another process.
/// - Time-outs are measured on the monotonic clock, in milliseconds (INFINITE waits for
///   ever). Lock returns TRUE when the object was acquired or signalled, FALSE on time-out.
/// - CCriticalSection is recursive, as a Windows critical section is; its Lock with a
///   time-out is honoured (MFC ignores it).
#include <condition_variable>
#include <mutex>

#include "platform/Thread.h"

class ZCMCOM_API CSyncObject : public CObject {
public:
    CSyncObject() = default;
    ~CSyncObject() override;
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;

    virtual BOOL Lock(DWORD timeoutMs = INFINITE) = 0;
    virtual BOOL Unlock() = 0;
};

/// An event: auto-reset (one waiter is released and the event clears) unless manualReset.
class ZCMCOM_API CEvent : public CSyncObject {
public:
    explicit CEvent(BOOL initiallyOwn = FALSE, BOOL manualReset = FALSE, LPCTSTR name = nullptr,
                    LPSECURITY_ATTRIBUTES security = nullptr);
    ~CEvent() override;

    BOOL SetEvent();
    BOOL ResetEvent();
    /// Waits until the event is signalled (and, when auto-reset, clears it).
    BOOL Lock(DWORD timeoutMs = INFINITE) override;
    BOOL Unlock() override { return TRUE; }

private:
    std::mutex m_mutex;
    std::condition_variable m_signalled;
    bool m_state;
    const bool m_manualReset;
};

class ZCMCOM_API CCriticalSection : public CSyncObject {
public:
    CCriticalSection() = default;
    ~CCriticalSection() override;

    BOOL Lock(DWORD timeoutMs = INFINITE) override;
    BOOL Unlock() override;

private:
    std::recursive_timed_mutex m_mutex;
};

/// Holds a synchronisation object for a scope.
class ZCMCOM_API CSingleLock {
public:
    explicit CSingleLock(CSyncObject* object, BOOL initialLock = FALSE);
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    BOOL Lock(DWORD timeoutMs = INFINITE);
    BOOL Unlock();
    BOOL IsLocked() const { return m_locked; }

private:
    CSyncObject* m_object;
    BOOL m_locked = FALSE;
};
