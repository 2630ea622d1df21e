// The listener under load: many short connections from several threads, and a stop
// while clients are still sending.
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <set>
#include <sstream>
#include <thread>
#include <vector>

#include "NetTestUtil.h"

namespace {

// Delivers one message on a fresh connection. A client turned away (the listener's slots
// are full) reads "MAX_CONNECTIONS" or a reset and tries again; a delivered one sees the
// listener close after the end of its data. False after too many attempts.
bool DeliverOnce(int port, const std::string& message, std::atomic<int>* turnedAway) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        const int fd = ConnectLoopback(port);
        if (fd < 0) {
            usleep(1000);
            continue;
        }
        const bool sent = SendText(fd, message);
        shutdown(fd, SHUT_WR);
        ReadEnd end;
        const std::string answer = ReadUntilClosed(fd, 64, 5000, &end);
        close(fd);
        if (sent && answer.empty() && end == kReadClosed) return true;
        ++*turnedAway;
    }
    return false;
}

}  // namespace

TEST(ListenerLoad, TenThousandShortConnectionsDeliverEveryByteOnce) {
    constexpr int kThreads = 6;  // more than the four slots: some clients are turned away
    constexpr int kCycles = 10000;
    const int openBefore = CountOpenDescriptors();
    const int threadsBefore = CountThreads();
    Received got;
    LoopbackSocket server;
    ASSERT_EQ(server.Listen(CInetSocket::TCP, 0, got.Function()), 1);
    const int port = server.ListeningPort();

    std::atomic<int> next{0}, failures{0}, turnedAway{0};
    std::atomic<size_t> bytesSent{0};
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::thread> clients;
    for (int t = 0; t < kThreads; ++t)
        clients.emplace_back([&] {
            for (int i = next++; i < kCycles && ElapsedMs(start) < 40000; i = next++) {
                const std::string message = "m" + std::to_string(i) + "\n";
                if (DeliverOnce(port, message, &turnedAway))
                    bytesSent += message.size();
                else
                    ++failures;
            }
        });
    for (auto& c : clients) c.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(got.WaitForBytes(bytesSent, 5000), bytesSent.load());
    EXPECT_EQ(server.StopListening(), 1);
    printf("%d cycles in %lld ms, %d clients turned away and retried\n", kCycles,
           static_cast<long long>(ElapsedMs(start)), turnedAway.load());

    // Each message exactly once. Blocks of one connection arrive in order, and a handle
    // is reused only after its connection closed, so each stream is whole messages.
    std::vector<int> seen(kCycles, 0);
    size_t total = 0;
    got.Inspect([&](const std::map<unsigned long long, std::string>& streams) {
        for (const auto& s : streams) {
            total += s.second.size();
            std::istringstream lines(s.second);
            std::string line;
            while (std::getline(lines, line)) {
                ASSERT_GT(line.size(), 1u);
                ASSERT_EQ(line[0], 'm');
                const int id = std::stoi(line.substr(1));
                ASSERT_GE(id, 0);
                ASSERT_LT(id, kCycles);
                ++seen[static_cast<size_t>(id)];
            }
        }
    });
    EXPECT_EQ(total, bytesSent.load());
    for (int i = 0; i < kCycles; ++i) ASSERT_EQ(seen[static_cast<size_t>(i)], 1) << "message " << i;
    EXPECT_EQ(CountOpenDescriptors(), openBefore);
    EXPECT_TRUE(WaitUntil([&] { return CountThreads() == threadsBefore; }, 2000));
}

TEST(ListenerLoad, StopWhileClientsAreSending) {
    const int openBefore = CountOpenDescriptors();
    const int threadsBefore = CountThreads();
    Received got;
    LoopbackSocket server;
    ASSERT_EQ(server.Listen(CInetSocket::TCP, 0, got.Function()), 1);
    const int port = server.ListeningPort();
    std::atomic<bool> stop{false};
    std::vector<std::thread> clients;
    for (int t = 0; t < 4; ++t)
        clients.emplace_back([&] {
            const auto start = std::chrono::steady_clock::now();
            while (!stop && ElapsedMs(start) < 10000) {
                const int fd = ConnectLoopback(port);
                if (fd < 0) {
                    usleep(1000);
                    continue;
                }
                const std::string block(1500, 'd');
                for (int i = 0; i < 200 && !stop && SendText(fd, block); ++i) {
                }
                close(fd);
            }
        });
    ASSERT_TRUE(WaitUntil([&] { return got.Bytes() > 100000; }, 10000));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(server.StopListening(), 1);
    const int64_t took = ElapsedMs(start);
    printf("StopListening with clients sending took %lld ms\n", static_cast<long long>(took));
    EXPECT_LT(took, 2000);
    const size_t atStop = got.Bytes();
    usleep(100 * 1000);
    EXPECT_EQ(got.Bytes(), atStop);  // nothing is delivered after the stop
    stop = true;
    for (auto& c : clients) c.join();
    EXPECT_EQ(CountOpenDescriptors(), openBefore);
    EXPECT_TRUE(WaitUntil([&] { return CountThreads() == threadsBefore; }, 2000));
}
