// SPDX-License-Identifier: LGPL-3.0-or-later
// The listener under load: many short connections from several threads, and a stop
// while clients are still sending.
#include <atomic>
#include <sstream>
#include <vector>

#include "NetTestUtil.h"

namespace {

// Delivers one message on a fresh connection. A client turned away (the slots are full)
// reads "MAX_CONNECTIONS" or a reset and tries again; a delivered one sees the listener
// close after the end of its data. False after too many attempts.
bool DeliverOnce(int port, const std::string& message, std::atomic<int>* turnedAway) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        const int fd = ConnectLoopback(port);
        if (fd < 0) {
            usleep(1000);
            continue;
        }
        const bool sent = SendText(fd, message);
        shutdown(fd, SHUT_WR);
        bool closed = false;
        const std::string answer = ReadUntilClosed(fd, &closed);
        close(fd);
        if (sent && answer.empty() && closed) return true;
        ++*turnedAway;
    }
    return false;
}

// Starts n client threads, each running body until it returns false or limitMs passed.
std::vector<std::thread> StartClients(int n, int limitMs, const std::function<bool()>& body) {
    std::vector<std::thread> clients;
    for (int t = 0; t < n; ++t)
        clients.emplace_back([body, limitMs] {
            const auto start = std::chrono::steady_clock::now();
            while (ElapsedMs(start) < limitMs && body()) {
            }
        });
    return clients;
}

}  // namespace

TEST(ListenerLoad, TenThousandShortConnectionsDeliverEveryByteOnce) {
    constexpr int kCycles = 10000;
    const int openBefore = CountOpenDescriptors(), threadsBefore = CountThreads();
    Received got;
    LoopbackSocket server;
    ASSERT_EQ(server.Listen(CInetSocket::TCP, 0, got.Function()), 1);
    const int port = server.ListeningPort();
    std::atomic<int> next{0}, failures{0}, turnedAway{0};
    std::atomic<size_t> bytesSent{0};
    const auto start = std::chrono::steady_clock::now();
    // Six threads, more than the four slots: some clients are turned away.
    auto clients = StartClients(6, 40000, [&] {
        const int i = next++;
        if (i >= kCycles) return false;
        const std::string message = "m" + std::to_string(i) + "\n";
        if (DeliverOnce(port, message, &turnedAway))
            bytesSent += message.size();
        else
            ++failures;
        return true;
    });
    for (auto& c : clients) c.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(got.WaitForBytes(bytesSent), bytesSent.load());
    EXPECT_EQ(server.StopListening(), 1);
    printf("%d cycles in %lld ms, %d clients turned away and retried\n", kCycles,
           static_cast<long long>(ElapsedMs(start)), turnedAway.load());

    // Each message exactly once. Blocks of one connection arrive in order, and a handle
    // is reused only after its connection closed, so each stream is whole messages.
    std::vector<int> seen(kCycles, 0);
    for (const auto& s : got.Streams()) {
        std::istringstream lines(s.second);
        std::string line;
        while (std::getline(lines, line)) {
            ASSERT_EQ(line[0], 'm') << line;
            const int id = std::stoi(line.substr(1));
            ASSERT_TRUE(id >= 0 && id < kCycles) << line;
            ++seen[static_cast<size_t>(id)];
        }
    }
    for (int i = 0; i < kCycles; ++i) ASSERT_EQ(seen[static_cast<size_t>(i)], 1) << "message " << i;
    EXPECT_EQ(CountOpenDescriptors(), openBefore);
    EXPECT_TRUE(WaitUntil([&] { return CountThreads() == threadsBefore; }, 10000));
}

TEST(ListenerLoad, StopWhileClientsAreSending) {
    const int openBefore = CountOpenDescriptors(), threadsBefore = CountThreads();
    Received got;
    LoopbackSocket server;
    ASSERT_EQ(server.Listen(CInetSocket::TCP, 0, got.Function()), 1);
    const int port = server.ListeningPort();
    std::atomic<bool> stop{false};
    auto clients = StartClients(4, 10000, [&] {
        const int fd = ConnectLoopback(port);
        if (fd < 0) usleep(1000);
        for (int i = 0; fd >= 0 && i < 200 && !stop && SendText(fd, std::string(1500, 'd')); ++i) {
        }
        if (fd >= 0) close(fd);
        return !stop;
    });
    ASSERT_TRUE(WaitUntil([&] { return got.Bytes() > 100000; }, 10000));
    ExpectPrompt("StopListening with clients sending",
                 [&] { EXPECT_EQ(server.StopListening(), 1); });
    const size_t atStop = got.Bytes();
    usleep(100 * 1000);
    EXPECT_EQ(got.Bytes(), atStop);  // nothing is delivered after the stop
    stop = true;
    for (auto& c : clients) c.join();
    EXPECT_EQ(CountOpenDescriptors(), openBefore);
    EXPECT_TRUE(WaitUntil([&] { return CountThreads() == threadsBefore; }, 10000));
}
