// SPDX-License-Identifier: LGPL-3.0-or-later
// ICMP echo, CInetSocket::Ping and CPingWatchDog against 127.0.0.1, and against a host
// that never answers inside a private network namespace.
#include <sys/eventfd.h>

#include <atomic>
#include <vector>

#include "NetTestUtil.h"
#include "net/IcmpEcho.h"
#include "net/PingWatchDog.h"

namespace {

const uint32_t kLoopback = htonl(INADDR_LOOPBACK);
const char kPayload[] = "ICMP PING DATA";

bool CanOpen(int type) {
    const int fd = socket(AF_INET, type, IPPROTO_ICMP);
    if (fd >= 0) close(fd);
    return fd >= 0;
}

void ExpectPromptStop(CPingWatchDog& dog, const std::string& what) {
    ExpectPrompt("ThreadStop (" + what + ")", [&] { EXPECT_EQ(dog.ThreadStop(), 1); });
}

bool TurnsAlive(CPingWatchDog& dog) {
    return WaitUntil([&] { return dog.IsAlive() == 1; }, 10000);
}

}  // namespace

TEST(IcmpEcho, LoopbackRepliesAndBadInputFailsAtOnce) {
    if (CanOpen(SOCK_DGRAM)) {
        EXPECT_EQ(ZcmIcmpEcho(kLoopback, kPayload, 14, 1000, ZCM_ICMP_DATAGRAM), 1);
    }
    CInetSocket s;
    EXPECT_EQ(s.Ping("127.0.0.1"), 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ((std::tuple{s.Ping(""), s.Ping(nullptr)}), (std::tuple{0, 0}));
    EXPECT_LT(ElapsedMs(start), 1000);  // (two waits for a reply: 2 s)
    if (!CanOpen(SOCK_RAW)) GTEST_SKIP() << "raw ICMP sockets need root";
    for (auto [payload, size, replies] :
         {std::tuple{kPayload, 14, 1}, {nullptr, 0, 1}, {kPayload, -1, 0}, {nullptr, 5, 0}})
        EXPECT_EQ(ZcmIcmpEcho(kLoopback, payload, size, 1000, ZCM_ICMP_RAW), replies) << size;
}

TEST(IcmpEcho, ConcurrentEchoesEachFindTheirOwnReply) {
    // Raw sockets see every reply of the host; identifier and sequence keep them apart.
    std::atomic<int> replies{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 25; ++i) replies += ZcmIcmpEcho(kLoopback, kPayload, 14, 1000);
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(replies, 100);
}

TEST(PingWatchDog, LoopbackTurnsAliveStopsPromptlyAndDiesWithItsOwner) {
    const int threads = CountThreads();
    {
        CPingWatchDog dog;  // refuses to start without host or interval
        EXPECT_EQ(std::make_tuple(dog.ThreadStart(1000), dog.SetHost(L""), dog.SetHost(nullptr)),
                  std::make_tuple(0, 0, 0));
        EXPECT_EQ(std::make_tuple(dog.ThreadStart(1000), dog.ThreadStop(), dog.IsAlive()),
                  std::make_tuple(0, 0, 0));
        ASSERT_EQ(dog.SetHost(L"localhost"), 1);
        EXPECT_EQ(std::make_tuple(dog.ThreadStart(0), dog.ThreadStart(-5), dog.IsThreadRunning()),
                  std::make_tuple(0, 0, 0));
        ASSERT_EQ(dog.ThreadStart(50), 1);
        EXPECT_EQ((std::tuple{dog.IsThreadRunning(), dog.ThreadStart(5000)}),
                  (std::tuple{1, 1}));  // already running
        EXPECT_TRUE(TurnsAlive(dog));
        ExpectPromptStop(dog, "loopback");
        // Stopped, it keeps its last value; it starts again, and a new host is not alive
        // until it answers.
        EXPECT_EQ(
            (std::tuple{dog.ThreadStop(), dog.IsThreadRunning(), dog.IsAlive(), CountThreads()}),
            (std::tuple{0, 0, 1, threads}));
        ASSERT_EQ(dog.ThreadStart(20), 1);
        EXPECT_EQ((std::tuple{dog.SetHost(L"127.0.0.1"), dog.IsAlive()}), (std::tuple{1, 0}));
        EXPECT_TRUE(TurnsAlive(dog));
        EXPECT_EQ(CountThreads(), threads + 1);
    }  // the destructor stops the running worker
    EXPECT_EQ(CountThreads(), threads);
}

// Inside a namespace with only the loopback up, 192.0.2.1 (TEST-NET-1) is routed to the
// loopback interface, where nothing answers it; a second namespace lets every group use
// ICMP datagram sockets.
TEST(PingInNamespace, SilentHostAndDatagramSockets) {
    ExpectPassesInNetNamespace("InNetNamespace.Silent*", "ip route add 192.0.2.0/24 dev lo");
    ExpectPassesInNetNamespace("InNetNamespace.Datagram*",
                               "echo '0 2147483647' > /proc/sys/net/ipv4/ping_group_range");
}

TEST(InNetNamespace, SilentHostGivesNoReplyAndStopsPromptly) {
    SKIP_UNLESS_IN_NET_NAMESPACE();
    uint32_t silent;
    inet_pton(AF_INET, "192.0.2.1", &silent);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(ZcmIcmpEcho(silent, kPayload, 14, 300), 0);
    EXPECT_GE(ElapsedMs(start), 290);  // waited for the time-out
    CInetSocket s;
    EXPECT_EQ((std::tuple{s.Ping("192.0.2.1"), s.Ping("name.invalid")}), (std::tuple{0, 0}));

    // A cancel descriptor ends the wait at once.
    const int cancel = eventfd(1, EFD_CLOEXEC);
    const auto cancelStart = std::chrono::steady_clock::now();
    EXPECT_EQ(ZcmIcmpEcho(silent, kPayload, 14, 20000, ZCM_ICMP_AUTO, cancel), -1);
    EXPECT_LT(ElapsedMs(cancelStart), 5000);
    close(cancel);

    CPingWatchDog dog;
    ASSERT_EQ(dog.SetHost(L"127.0.0.1"), 1);
    ASSERT_EQ(dog.ThreadStart(1), 1);
    ASSERT_TRUE(TurnsAlive(dog));
    // After the switch no late answer of the old host may show.
    ASSERT_EQ(dog.SetHost(L"192.0.2.1"), 1);
    for (int i = 0; i < 150; ++i, usleep(10 * 1000)) ASSERT_EQ(dog.IsAlive(), 0);
    // The worker is inside a one-second echo now; the stop ends it.
    ExpectPromptStop(dog, "during an echo");
    EXPECT_EQ(dog.IsAlive(), 0);
}

TEST(InNetNamespace, DatagramEchoAndWatchdog) {
    SKIP_UNLESS_IN_NET_NAMESPACE();
    ASSERT_TRUE(CanOpen(SOCK_DGRAM));
    EXPECT_EQ(ZcmIcmpEcho(kLoopback, kPayload, 14, 1000, ZCM_ICMP_DATAGRAM), 1);
    CInetSocket s;
    EXPECT_EQ(s.Ping("127.0.0.1"), 1);
    CPingWatchDog dog;
    ASSERT_EQ(dog.SetHost(L"127.0.0.1"), 1);
    ASSERT_EQ(dog.ThreadStart(20), 1);
    EXPECT_TRUE(TurnsAlive(dog));
}
