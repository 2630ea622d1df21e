// SPDX-License-Identifier: LGPL-3.0-or-later
#include "net/NetUtil.h"

#include "platform/Sync.h"
#include "platform/Thread.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <cstring>

namespace zcmnet {

bool ResolveIPv4(const char* host, uint32_t* address) {
    if (!host || !*host) return false;
    in_addr parsed{};
    if (inet_pton(AF_INET, host, &parsed) == 1 && parsed.s_addr != INADDR_NONE) {
        *address = parsed.s_addr;
        return true;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* list = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &list) != 0 || !list) return false;
    bool found = false;
    for (const addrinfo* a = list; a; a = a->ai_next) {
        if (a->ai_family == AF_INET && a->ai_addr) {
            *address = reinterpret_cast<const sockaddr_in*>(a->ai_addr)->sin_addr.s_addr;
            found = true;
            break;
        }
    }
    freeaddrinfo(list);
    return found;
}

int64_t MonotonicMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

WakeFd::WakeFd() : m_fd(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

WakeFd::~WakeFd() {
    if (m_fd >= 0) close(m_fd);
}

void WakeFd::Signal() {
    if (m_fd < 0) return;
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(m_fd, &one, sizeof one);
}

void WakeFd::Clear() {
    if (m_fd < 0) return;
    uint64_t value;
    [[maybe_unused]] const ssize_t n = read(m_fd, &value, sizeof value);
}

void StopWorker(CEvent& stop, WakeFd*& wake, CWinThread*& thread) {
    if (thread) {
        stop.SetEvent();
        if (wake) wake->Signal();
        thread->WaitForExit(2000);
        delete thread;
        thread = nullptr;
    }
    delete wake;
    wake = nullptr;
}

}  // namespace zcmnet
