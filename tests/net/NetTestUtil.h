#pragma once
// Helpers of the networking tests: a listener bound to the loopback address, plain POSIX
// peers, descriptor and thread counts, timings, and runs inside a private network namespace.
#include <arpa/inet.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>

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

// Everything the listener hands over, per client handle, safe to read from the test.
class Received {
public:
    CInetSocket::ReceiveFunction Function();
    // Waits (at most timeoutMs) until total bytes have arrived; returns the total then.
    size_t WaitForBytes(size_t total, int timeoutMs = 5000);
    size_t Bytes();
    int Calls();
    std::map<unsigned long long, std::string> Streams();
    std::string All();  // the streams of every handle, handles in ascending order

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<unsigned long long, std::string> m_streams;
    size_t m_bytes = 0;
    int m_calls = 0;
};

// A blocking TCP connection to 127.0.0.1:port with 5-second time-outs, or -1.
int ConnectLoopback(int port);
// A socket of type (SOCK_STREAM: listening, SOCK_DGRAM: 5-second receive time-out) bound
// to 127.0.0.1 on a free port, which goes to *port; -1 on failure.
int BindLoopback(int type, int* port);
// Sends all of text (MSG_NOSIGNAL); false on failure.
bool SendText(int fd, const std::string& text);
// Reads until the peer closes, an error, max bytes, or timeoutMs. *end tells which.
enum ReadEnd { kReadTimeOut, kReadClosed, kReadError, kReadFull };
std::string ReadUntilClosed(int fd, size_t max, int timeoutMs, ReadEnd* end = nullptr);

int CountOpenDescriptors();
int CountThreads();
// Polls pred every few milliseconds for at most timeoutMs.
bool WaitUntil(const std::function<bool()>& pred, int timeoutMs);
int64_t ElapsedMs(std::chrono::steady_clock::time_point since);
// Runs fn, prints "<what> took N ms" and returns N.
int64_t TimedMs(const char* what, const std::function<void()>& fn);

// Runs the tests of this program matching filter again, in a new network namespace with
// only the loopback interface up, after the shell commands setup (may be empty). Returns
// -1 with *skipReason when namespaces cannot be made here, else the exit status; the
// output goes to *output.
int RunInNetNamespace(const std::string& filter, const std::string& setup, std::string* output,
                      std::string* skipReason);
// Repeats the lines of output that report a measured time ("... took N ms").
void PrintTimings(const std::string& output);
bool InNetNamespace();

#define SKIP_UNLESS_IN_NET_NAMESPACE() \
    if (!InNetNamespace()) GTEST_SKIP() << "runs inside its own network namespace only"

// Runs the namespace cases of filter and expects them to pass.
#define EXPECT_PASSES_IN_NET_NAMESPACE(filter, setup)                    \
    do {                                                                 \
        std::string out_, skip_;                                         \
        const int rc_ = RunInNetNamespace(filter, setup, &out_, &skip_); \
        if (rc_ == -1) GTEST_SKIP() << skip_;                            \
        EXPECT_EQ(rc_, 0) << out_;                                       \
        EXPECT_NE(out_.find("[  PASSED  ]"), std::string::npos) << out_; \
        EXPECT_EQ(out_.find("SKIPPED"), std::string::npos) << out_;      \
        PrintTimings(out_);                                              \
    } while (0)
