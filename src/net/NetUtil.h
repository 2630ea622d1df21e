#pragma once
// Small helpers of the networking classes (not part of the library's interface).
#include <cstdint>

namespace zcmnet {

// Resolves a dotted IPv4 address or a host name to its first IPv4 address (network
// order). False for a null or empty text and for names that do not resolve.
bool ResolveIPv4(const char* host, uint32_t* address);

// Milliseconds on the monotonic clock.
int64_t MonotonicMs();

// A descriptor that a thread can poll beside its sockets and another thread can make
// readable, so a stop request ends a wait at once. Not copyable.
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

}  // namespace zcmnet
