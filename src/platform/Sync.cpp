// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/Sync.h"

#include <chrono>

CSyncObject::~CSyncObject() = default;

CEvent::CEvent(BOOL initiallyOwn, BOOL manualReset, LPCTSTR, LPSECURITY_ATTRIBUTES)
    : m_state(initiallyOwn != FALSE), m_manualReset(manualReset != FALSE) {}

CEvent::~CEvent() = default;

BOOL CEvent::SetEvent() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state = true;
    if (m_manualReset)
        m_signalled.notify_all();
    else
        m_signalled.notify_one();
    return TRUE;
}

BOOL CEvent::ResetEvent() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_state = false;
    return TRUE;
}

BOOL CEvent::Lock(DWORD timeoutMs) {
    std::unique_lock<std::mutex> lock(m_mutex);
    const auto isSet = [this] { return m_state; };
    if (timeoutMs == INFINITE)
        m_signalled.wait(lock, isSet);
    else if (timeoutMs == 0 && !m_state)
        return FALSE;  // a poll: no sleep on the condition at all
    else if (!m_signalled.wait_for(lock, std::chrono::milliseconds(timeoutMs), isSet))
        return FALSE;
    if (!m_manualReset) m_state = false;
    return TRUE;
}

CCriticalSection::~CCriticalSection() = default;

BOOL CCriticalSection::Lock(DWORD timeoutMs) {
    if (timeoutMs == INFINITE) {
        m_mutex.lock();
        return TRUE;
    }
    return m_mutex.try_lock_for(std::chrono::milliseconds(timeoutMs)) ? TRUE : FALSE;
}

BOOL CCriticalSection::Unlock() {
    m_mutex.unlock();
    return TRUE;
}

CSingleLock::CSingleLock(CSyncObject* object, BOOL initialLock) : m_object(object) {
    if (initialLock) Lock();
}

CSingleLock::~CSingleLock() { Unlock(); }

BOOL CSingleLock::Lock(DWORD timeoutMs) {
    if (!m_object || m_locked) return m_locked;
    m_locked = m_object->Lock(timeoutMs);
    return m_locked;
}

BOOL CSingleLock::Unlock() {
    if (m_object && m_locked) {
        m_object->Unlock();
        m_locked = FALSE;
    }
    return TRUE;
}
