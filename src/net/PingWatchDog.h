// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CPingWatchDog: watches one host from a worker thread with an ICMP echo request per
/// interval and keeps an alive flag that the caller polls.
///
/// The host address and the alive flag have a lock each, never held together. SetHost
/// may wait for an echo in progress (up to 1000 ms). A result of an echo that was under
/// way while SetHost changed the host is dropped, so after SetHost the flag stays 0 until
/// the new host answers.
#include <cstdint>

#include "platform/Sync.h"
#include "platform/Thread.h"

namespace zcmnet {
class WakeFd;
}

/// Watches whether one host answers ICMP echo requests.
class ZCMCOM_API CPingWatchDog {
public:
    CPingWatchDog();
    /// Stops the worker.
    virtual ~CPingWatchDog();
    CPingWatchDog(const CPingWatchDog&) = delete;
    CPingWatchDog& operator=(const CPingWatchDog&) = delete;

    /// 1 when host resolved (the alive flag is cleared); 0 leaves the host unchanged.
    int SetHost(const wchar_t* host);
    /// 0 without a host or with an interval below 1 ms; 1 when running (a running worker
    /// keeps its interval).
    int ThreadStart(int intervalMs);
    /// Stops and joins the worker: 1, or 0 when none ran. The alive flag keeps its value.
    int ThreadStop();
    /// 1 while the worker runs.
    int IsThreadRunning() const { return m_pThread != nullptr; }
    /// 1 when the host answered the last echo request, else 0.
    int IsAlive();

    /// The worker thread's procedure (self is the CPingWatchDog).
    static UINT ThreadProc(void* self);

private:
    void Run();

    CWinThread* m_pThread = nullptr;
    CEvent m_stopEvent;
    char m_payload[32];
    CCriticalSection m_hostLock;
    uint32_t m_host = 0xFFFFFFFFu;  ///< IPv4, network order; none until SetHost succeeds
    CCriticalSection m_stateLock;
    int m_alive = 0;
    unsigned m_hostGeneration = 0;  ///< under the state lock: bumped by each SetHost
    DWORD m_interval = 1000;
    zcmnet::WakeFd* m_wake = nullptr;  ///< ends an echo under way at a stop request
};
