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

/// The base of the synchronisation objects: something a thread can lock or wait for.
class ZCMCOM_API CSyncObject : public CObject {
public:
    /// An object; copying is not allowed.
    CSyncObject() = default;
    /// Destroying an object that a thread still waits on or holds is an error.
    ~CSyncObject() override;
    CSyncObject(const CSyncObject&) = delete;
    CSyncObject& operator=(const CSyncObject&) = delete;

    /// Acquires the object or waits for it, for at most timeoutMs milliseconds (INFINITE:
    /// without end); TRUE when acquired, FALSE on time-out.
    virtual BOOL Lock(DWORD timeoutMs = INFINITE) = 0;
    /// Releases the object, which the calling thread must hold; TRUE.
    virtual BOOL Unlock() = 0;
};

/// An event: auto-reset (one waiter is released and the event clears) unless manualReset.
class ZCMCOM_API CEvent : public CSyncObject {
public:
    /// An event, signalled at once when initiallyOwn; name and security are ignored.
    explicit CEvent(BOOL initiallyOwn = FALSE, BOOL manualReset = FALSE, LPCTSTR name = nullptr,
                    LPSECURITY_ATTRIBUTES security = nullptr);
    /// Waiters must be gone.
    ~CEvent() override;

    /// SetEvent signals the event (an auto-reset event releases one waiter, a manual-reset
    /// one every waiter until ResetEvent); ResetEvent clears it. Both return TRUE.
    /// @{
    BOOL SetEvent();
    BOOL ResetEvent();
    /// @}
    /// Waits until the event is signalled (and, when auto-reset, clears it).
    BOOL Lock(DWORD timeoutMs = INFINITE) override;
    /// Nothing to release for an event; TRUE.
    BOOL Unlock() override { return TRUE; }

private:
    std::mutex m_mutex;
    std::condition_variable m_signalled;
    bool m_state;
    const bool m_manualReset;
};

/// A recursive lock within the process: the thread that holds it may lock it again, and must
/// unlock it as often.
class ZCMCOM_API CCriticalSection : public CSyncObject {
public:
    /// An unlocked critical section.
    CCriticalSection() = default;
    /// It must not be held.
    ~CCriticalSection() override;

    /// Locks, waiting at most timeoutMs milliseconds; FALSE on time-out.
    BOOL Lock(DWORD timeoutMs = INFINITE) override;
    /// Unlocks once; the calling thread must hold it.
    BOOL Unlock() override;

private:
    std::recursive_timed_mutex m_mutex;
};

/// Holds a synchronisation object for a scope.
class ZCMCOM_API CSingleLock {
public:
    /// Watches object; locks it at once (waiting without end) when initialLock.
    explicit CSingleLock(CSyncObject* object, BOOL initialLock = FALSE);
    /// Unlocks the object if this lock holds it.
    ~CSingleLock();
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    /// Lock and Unlock as the object's (Lock of a lock already held returns TRUE at once);
    /// IsLocked tells whether this lock holds the object.
    /// @{
    BOOL Lock(DWORD timeoutMs = INFINITE);
    BOOL Unlock();
    BOOL IsLocked() const { return m_locked; }
    /// @}

private:
    CSyncObject* m_object;
    BOOL m_locked = FALSE;
};
