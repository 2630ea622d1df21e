// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Helpers of the networking tests: a listener bound to 127.0.0.1, plain POSIX peers, descriptor
// and thread counts, and runs inside a private network namespace.
#include <arpa/inet.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "net/InetSocket.h"
#include "support/TestUtil.h"

// A CInetSocket whose listener binds 127.0.0.1 only, with an adjustable idle limit.
class LoopbackSocket : public CInetSocket {
public:
    explicit LoopbackSocket(int idleLimitSeconds = kIdleLimitSeconds) {
        m_listenAddress = htonl(INADDR_LOOPBACK);
        m_idleLimitSeconds = idleLimitSeconds;
    }
};

inline int64_t ElapsedMs(std::chrono::steady_clock::time_point since) {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now() - since).count();
}

// Polls pred every few milliseconds for at most timeoutMs.
inline bool WaitUntil(const std::function<bool()>& pred, int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    while (!pred()) {
        if (ElapsedMs(start) > timeoutMs) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Runs fn, prints "<what> took N ms" and expects it to end within five seconds: a hang or a
// wait for the 30-second idle limit, not the scheduling of two loaded cores.
inline void ExpectPrompt(const std::string& what, const std::function<void()>& fn) {
    const auto start = std::chrono::steady_clock::now();
    fn();
    const int64_t took = ElapsedMs(start);
    printf("%s took %lld ms\n", what.c_str(), static_cast<long long>(took));
    EXPECT_LT(took, 5000) << what;
}

// Everything the listener hands over, per client handle, safe to read from the test.
class Received {
public:
    CInetSocket::ReceiveFunction Function() {
        return [this](unsigned long long& handle, const char* data, int n) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_streams[handle].append(data, static_cast<size_t>(n));
            m_bytes += static_cast<size_t>(n);
        };
    }
    size_t Bytes() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_bytes;
    }
    // Waits (at most 30 s) until total bytes have arrived; returns the total then.
    size_t WaitForBytes(size_t total) {
        WaitUntil([&] { return Bytes() >= total; }, 30000);
        return Bytes();
    }
    std::map<unsigned long long, std::string> Streams() {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_streams;
    }

private:
    std::mutex m_mutex;
    std::map<unsigned long long, std::string> m_streams;
    size_t m_bytes = 0;
};

inline sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

inline void SetTimeOuts(int fd) {
    const timeval tv{5, 0};
    for (int option : {SO_RCVTIMEO, SO_SNDTIMEO})
        setsockopt(fd, SOL_SOCKET, option, &tv, sizeof tv);
}

// A blocking TCP connection to 127.0.0.1:port with 5-second time-outs, or -1.
inline int ConnectLoopback(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in to = Loopback(port);
    SetTimeOuts(fd);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) return fd;
    if (fd >= 0) close(fd);
    return -1;
}

// A socket of type (SOCK_STREAM: listening) bound to 127.0.0.1 on a free port, which goes
// to *port, with 5-second time-outs; -1 on failure.
inline int BindLoopback(int type, int* port) {
    const int fd = socket(AF_INET, type | SOCK_CLOEXEC, 0);
    sockaddr_in local = Loopback(0);
    socklen_t len = sizeof local;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        (type == SOCK_STREAM && listen(fd, 4) != 0) ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &len) != 0) {
        if (fd >= 0) close(fd);
        return -1;
    }
    SetTimeOuts(fd);
    *port = ntohs(local.sin_port);
    return fd;
}

// Sends all of text (MSG_NOSIGNAL); false on failure.
inline bool SendText(int fd, const std::string& text) {
    for (size_t sent = 0; sent < text.size();) {
        const ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

// Reads (each wait at most the 5-second time-out) until the peer closes, an error, or 4 KB.
// *closed tells whether the peer closed in good order.
inline std::string ReadUntilClosed(int fd, bool* closed) {
    std::string got;
    char buf[4096];
    ssize_t n = 0;
    while (got.size() < sizeof buf && (n = recv(fd, buf, sizeof buf - got.size(), 0)) > 0)
        got.append(buf, static_cast<size_t>(n));
    *closed = n == 0;
    return got;
}

inline int CountEntries(const char* folder) {
    return static_cast<int>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

inline int CountOpenDescriptors() { return CountEntries("/proc/self/fd"); }

inline int CountThreads() {
    // A sanitizer may add a helper thread of its own when the first thread starts; start
    // one first so every count includes it.
    static const bool warmed = (std::thread([] {}).join(), true);
    (void)warmed;
    // A joined thread can stay listed for a moment after it returned: read until two
    // readings a few milliseconds apart agree.
    int count = CountEntries("/proc/self/task");
    for (int i = 0; i < 200; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        const int again = CountEntries("/proc/self/task");
        if (again == count) break;
        count = again;
    }
    return count;
}

inline bool InNetNamespace() { return getenv("ZCMCOM_IN_NETNS") != nullptr; }
#define SKIP_UNLESS_IN_NET_NAMESPACE() \
    if (!InNetNamespace()) GTEST_SKIP() << "runs inside its own network namespace only"

// Runs the tests of this program matching filter again, in a new network namespace with only
// the loopback interface up, after the shell commands setup, and expects them to pass (none
// skipped). Skips when namespaces cannot be made here.
inline void ExpectPassesInNetNamespace(const std::string& filter, const std::string& setup) {
    int status = 0;
    RunCommand("unshare -n ip link set lo up >/dev/null 2>&1", &status);
    char self[4096];
    const ssize_t n = status == 0 ? readlink("/proc/self/exe", self, sizeof self - 1) : -1;
    if (n <= 0) GTEST_SKIP() << "cannot make a network namespace here (unshare -n, ip)";
    self[n] = 0;
    const std::string script = "ip link set lo up && " + setup + " && ZCMCOM_IN_NETNS=1 exec '" +
                               self + "' --gtest_filter='" + filter + "'";
    const std::string out =
        RunCommand("timeout 60 unshare -n sh -c \"" + script + "\" 2>&1", &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("[  PASSED  ]"), std::string::npos) << out;
    EXPECT_EQ(out.find("SKIPPED"), std::string::npos) << out;
}
