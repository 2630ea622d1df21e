// SPDX-License-Identifier: LGPL-3.0-or-later
#include "net/PingWatchDog.h"

#include <cstring>
#include <cwchar>
#include <string>

#include "platform/String.h"

#include "net/IcmpEcho.h"
#include "net/NetUtil.h"

namespace {

const char kPayload[] = "ICMP PING DATA";
constexpr int kPayloadLength = sizeof kPayload - 1;
constexpr int kEchoTimeoutMs = 1000;

}  // namespace

CPingWatchDog::CPingWatchDog() {
    memset(m_payload, 0, sizeof m_payload);
    memcpy(m_payload, kPayload, kPayloadLength);
}

CPingWatchDog::~CPingWatchDog() { ThreadStop(); }

int CPingWatchDog::SetHost(const wchar_t* host) {
    if (!host) return 0;
    // Host names are ASCII; UTF-8 is what the resolver takes for anything else.
    const std::string name = ZcmWideToUtf8(host, wcslen(host));
    uint32_t address;
    if (!zcmnet::ResolveIPv4(name.c_str(), &address)) return 0;
    {
        CSingleLock lock(&m_hostLock, TRUE);
        m_host = address;
    }
    {
        CSingleLock lock(&m_stateLock, TRUE);
        ++m_hostGeneration;
        m_alive = 0;
    }
    return 1;
}

int CPingWatchDog::ThreadStart(int intervalMs) {
    if (intervalMs < 1) return 0;
    if (m_pThread) return 1;  // a running worker has a host; its echo holds the host lock
    uint32_t host;
    {
        CSingleLock lock(&m_hostLock, TRUE);
        host = m_host;
    }
    if (host == 0xFFFFFFFFu) return 0;
    m_stopEvent.ResetEvent();
    m_interval = static_cast<DWORD>(intervalMs);
    m_wake = new zcmnet::WakeFd();
    m_pThread = AfxBeginThread(ThreadProc, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!m_pThread) {
        delete m_wake;
        m_wake = nullptr;
        return 0;
    }
    m_pThread->m_bAutoDelete = FALSE;
    m_pThread->ResumeThread();
    return 1;
}

int CPingWatchDog::ThreadStop() {
    if (!m_pThread) return 0;
    zcmnet::StopWorker(m_stopEvent, m_wake, m_pThread);
    return 1;
}

int CPingWatchDog::IsAlive() {
    CSingleLock lock(&m_stateLock, TRUE);
    return m_alive;
}

UINT CPingWatchDog::ThreadProc(void* self) {
    static_cast<CPingWatchDog*>(self)->Run();
    return 0;
}

void CPingWatchDog::Run() {
    const int cancelFd = m_wake ? m_wake->fd() : -1;
    for (;;) {
        unsigned generation;
        {
            CSingleLock lock(&m_stateLock, TRUE);
            generation = m_hostGeneration;
        }
        int echo;
        {
            CSingleLock lock(&m_hostLock, TRUE);
            echo = ZcmIcmpEcho(m_host, m_payload, kPayloadLength, kEchoTimeoutMs, ZCM_ICMP_AUTO,
                               cancelFd);
        }
        if (echo < 0) break;  // stop requested during the echo
        {
            CSingleLock lock(&m_stateLock, TRUE);
            if (generation == m_hostGeneration) m_alive = echo == 1;
        }
        if (m_stopEvent.Lock(m_interval)) break;
    }
}
