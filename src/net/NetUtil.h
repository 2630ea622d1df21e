// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Small helpers of the networking classes (not part of the library's interface).
#include <cstdint>

class CEvent;
class CWinThread;

namespace zcmnet {

/// Resolves a dotted IPv4 address or a host name to its first IPv4 address (network
/// order). False for a null or empty text and for names that do not resolve.
bool ResolveIPv4(const char* host, uint32_t* address);

/// Milliseconds on the monotonic clock.
int64_t MonotonicMs();

/// A descriptor that a thread can poll beside its sockets and another thread can make
/// readable, so a stop request ends a wait at once. Not copyable.
class WakeFd {
public:
    WakeFd();
    ~WakeFd();
    WakeFd(const WakeFd&) = delete;
    WakeFd& operator=(const WakeFd&) = delete;

    int fd() const { return m_fd; }
    void Signal();
    void Clear();

private:
    int m_fd;
};

/// Asks a worker thread to stop (the event, and the wake descriptor for a wait under way),
/// waits for it within two seconds, then deletes both and clears the pointers. The worker
/// is never killed: deleting its object joins it. Safe with null pointers.
void StopWorker(CEvent& stop, WakeFd*& wake, CWinThread*& thread);

}  // namespace zcmnet
