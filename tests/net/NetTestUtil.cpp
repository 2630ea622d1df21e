#include "NetTestUtil.h"

#include <dirent.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <thread>

CInetSocket::ReceiveFunction Received::Function() {
    return [this](unsigned long long& handle, const char* data, int n) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_streams[handle].append(data, static_cast<size_t>(n));
        m_bytes += static_cast<size_t>(n);
        ++m_calls;
        m_changed.notify_all();
    };
}

size_t Received::WaitForBytes(size_t total, int timeoutMs) {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_bytes >= total; });
    return m_bytes;
}

size_t Received::Bytes() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_bytes;
}

int Received::Calls() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_calls;
}

std::map<unsigned long long, std::string> Received::Streams() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_streams;
}

std::string Received::All() {
    std::string all;
    for (const auto& s : Streams()) all += s.second;
    return all;
}

static sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

static void SetTimeOut(int fd, int option) {
    timeval tv{5, 0};
    setsockopt(fd, SOL_SOCKET, option, &tv, sizeof tv);
}

int ConnectLoopback(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    SetTimeOut(fd, SO_RCVTIMEO);
    SetTimeOut(fd, SO_SNDTIMEO);
    sockaddr_in to = Loopback(port);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0) return fd;
    if (fd >= 0) close(fd);
    return -1;
}

int BindLoopback(int type, int* port) {
    const int fd = socket(AF_INET, type | SOCK_CLOEXEC, 0);
    sockaddr_in local = Loopback(0);
    socklen_t len = sizeof local;
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        (type == SOCK_STREAM && listen(fd, 4) != 0) ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &len) != 0) {
        if (fd >= 0) close(fd);
        return -1;
    }
    SetTimeOut(fd, SO_RCVTIMEO);
    *port = ntohs(local.sin_port);
    return fd;
}

bool SendText(int fd, const std::string& text) {
    size_t sent = 0;
    for (int i = 0; i < 10000 && sent < text.size(); ++i) {
        const ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return sent == text.size();
}

std::string ReadUntilClosed(int fd, size_t max, int timeoutMs, ReadEnd* end) {
    std::string got;
    ReadEnd how = kReadTimeOut;
    const auto start = std::chrono::steady_clock::now();
    for (int64_t left = timeoutMs; got.size() < max && left > 0; left = timeoutMs - ElapsedMs(start)) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        char buf[4096];
        const ssize_t n = recv(fd, buf, std::min(sizeof buf, max - got.size()), MSG_DONTWAIT);
        if (n > 0) {
            got.append(buf, static_cast<size_t>(n));
        } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            how = n == 0 ? kReadClosed : kReadError;
            break;
        }
    }
    if (got.size() >= max) how = kReadFull;
    if (end) *end = how;
    return got;
}

static int CountEntries(const char* folder) {
    DIR* d = opendir(folder);
    if (!d) return -1;
    int n = 0;
    while (const dirent* e = readdir(d)) n += e->d_name[0] != '.';
    closedir(d);
    return n;
}

int CountOpenDescriptors() { return CountEntries("/proc/self/fd"); }
int CountThreads() {
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

bool WaitUntil(const std::function<bool()>& pred, int timeoutMs) {
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 100000 && ElapsedMs(start) < timeoutMs; ++i) {
        if (pred()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return pred();
}

int64_t ElapsedMs(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since)
        .count();
}

int64_t TimedMs(const char* what, const std::function<void()>& fn) {
    const auto start = std::chrono::steady_clock::now();
    fn();
    const int64_t took = ElapsedMs(start);
    printf("%s took %lld ms\n", what, static_cast<long long>(took));
    return took;
}

void PrintTimings(const std::string& output) {
    std::istringstream lines(output);
    std::string line;
    while (std::getline(lines, line))
        if (line.find(" took ") != std::string::npos) printf("  (namespace) %s\n", line.c_str());
}

bool InNetNamespace() { return getenv("ZCMCOM_IN_NETNS") != nullptr; }

int RunInNetNamespace(const std::string& filter, const std::string& setup, std::string* output,
                      std::string* skipReason) {
    int status = 0;
    RunCommand("unshare -n ip link set lo up >/dev/null 2>&1", &status);
    char self[4096];
    const ssize_t n = status == 0 ? readlink("/proc/self/exe", self, sizeof self - 1) : -1;
    if (n <= 0) {
        *skipReason = "cannot make a network namespace here (unshare -n, ip)";
        return -1;
    }
    self[n] = 0;
    std::string script = "ip link set lo up";
    if (!setup.empty()) script += " && " + setup;
    script += " && ZCMCOM_IN_NETNS=1 exec '" + std::string(self) + "' --gtest_filter='" + filter + "'";
    *output = RunCommand("timeout 60 unshare -n sh -c \"" + script + "\" 2>&1", &status);
    return status;
}
