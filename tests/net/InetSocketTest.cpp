// SPDX-License-Identifier: LGPL-3.0-or-later
// CInetSocket: client side and the listener, with real sockets on 127.0.0.1.
#include <sys/resource.h>

#include <cstring>
#include <ctime>
#include <thread>
#include <vector>

#include "NetTestUtil.h"

namespace {

// An echoing receive function: answers every block through the handle it is given.
CInetSocket::ReceiveFunction Echo(Received* record) {
    auto store = record->Function();
    return [store](unsigned long long& handle, const char* data, int n) {
        store(handle, data, n);
        send(static_cast<int>(handle), data, static_cast<size_t>(n), MSG_NOSIGNAL);
    };
}

// Sends text with a reply function that collects until as many bytes came back.
std::string SendForEcho(CInetSocket& client, const std::string& text) {
    std::string reply;
    EXPECT_EQ(client.Send(text.data(), static_cast<int>(text.size()),
                          [&](const char* d, int n) {
                              if (n > 0) reply.append(d, static_cast<size_t>(n));
                              return n > 0 && reply.size() < text.size();
                          }),
              static_cast<int>(text.size()));
    return reply;
}

std::string RecvText(int fd) {
    char buf[64];
    const ssize_t n = recv(fd, buf, sizeof buf, 0);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : "<nothing>";
}

void ExpectPromptStop(CInetSocket& s, const char* what) {
    ExpectPrompt(what, [&] { EXPECT_EQ(s.StopListening(), 1); });
}

}  // namespace

TEST(SocketClient, FailuresAndUdpDatagramsLeakNothing) {
    int port = 0;
    const int receiver = BindLoopback(SOCK_DGRAM, &port);
    ASSERT_GE(receiver, 0);
    CInetSocket s, other;
    const int before = CountOpenDescriptors();
    // No TCP listener there, no host, no port: each fails and nothing stays open.
    EXPECT_EQ(
        (std::tuple{other.Open("127.0.0.1", port), other.Connect(CInetSocket::TCP, "", 80),
                    other.Connect(CInetSocket::UDP, nullptr, 80),
                    other.Connect(CInetSocket::UDP, "127.0.0.1", 70000), CountOpenDescriptors()}),
        (std::tuple{0, 0, 0, 0, before}));
    EXPECT_LT(other.Send("abc", 3, 0), 0);
    bool called = false;
    EXPECT_EQ(other.Send("abc", 3, [&](const char*, int) { return called = true; }), 0);
    EXPECT_FALSE(called);
    ASSERT_EQ(s.Connect(CInetSocket::UDP, "127.0.0.1", port), 1);  // needs no peer
    // The second with the broadcast option set for the call; SendTo uses a socket of its own
    // and leaves the connection alone.
    EXPECT_EQ((std::tuple{s.Send("first", 5, 0), s.Send("second", 6, 1),
                          other.SendTo("127.0.0.1", port, "third", 5, 0),
                          other.SendTo("127.0.0.1", port, "fourth", 6, 1),
                          other.SendTo("", port, "x", 1, 0),
                          other.SendTo("127.0.0.1", port, nullptr, 4, 0), other.IsConnected(),
                          s.Send("more", 4, 0)}),
              (std::tuple{5, 6, 5, 6, 0, 0, 0, 4}));
    for (const char* text : {"first", "second", "third", "fourth", "more"})
        EXPECT_EQ(RecvText(receiver), text);

    const int open = CountOpenDescriptors();
    for (int i = 0; i < 20; ++i) ASSERT_EQ(s.Connect(CInetSocket::UDP, "127.0.0.1", port), 1);
    EXPECT_EQ(CountOpenDescriptors(), open);
    s.Close();
    EXPECT_EQ(CountOpenDescriptors(), open - 1);
    close(receiver);
}

// Echo through the listener; a refused Listen leaves the running one alone; the destructor
// stops the listener without leaking its thread or descriptors. With more than 1024
// descriptors open, the listener's sockets get numbers that a select set cannot hold.
TEST(Listener, EchoesAboveTheSelectLimitAndDestructorStopsTheListener) {
    rlimit limit{};
    getrlimit(RLIMIT_NOFILE, &limit);
    std::vector<int> filler;
    for (int i = 0; limit.rlim_cur >= 1200 && i < 1100; ++i) filler.push_back(dup(STDERR_FILENO));
    const int threads = CountThreads(), open = CountOpenDescriptors();
    int port = 0;
    {
        Received got;
        LoopbackSocket server;
        EXPECT_EQ((std::tuple{server.Listen(CInetSocket::TCP, 0, nullptr), server.IsListening(),
                              server.StopListening(), CountThreads()}),
                  (std::tuple{0, 0, 0, threads}));
        ASSERT_EQ(server.Listen(CInetSocket::TCP, 0, Echo(&got)), 1);
        port = server.ListeningPort();
        ASSERT_GT(port, 0);
        EXPECT_EQ((std::tuple{server.Listen(CInetSocket::TCP, 0, nullptr), server.IsListening(),
                              server.ListeningPort()}),
                  (std::tuple{0, 1, port}));
        CInetSocket client;
        ASSERT_EQ(client.Open("localhost", port), 1);
        const std::string text = "hello, listener";
        EXPECT_EQ(SendForEcho(client, text), text);
        // A block larger than the listener's 2048-byte buffer arrives whole.
        const std::string big(5000, 'z');
        EXPECT_EQ(client.Send(big.data(), static_cast<int>(big.size()), 0), 5000);
        EXPECT_EQ(got.WaitForBytes(text.size() + big.size()), text.size() + big.size());
        EXPECT_EQ(got.Streams().begin()->second, text + big);
    }
    EXPECT_EQ((std::tuple{CountThreads(), CountOpenDescriptors(), ConnectLoopback(port)}),
              (std::tuple{threads, open, -1}));
    for (int fd : filler) close(fd);
    if (filler.empty())
        GTEST_SKIP() << "descriptor limit below 1200: ran below the select limit only";
}

TEST(Listener, ReplyLoopEndsOnCloseOrErrorEvenIfTheFunctionAsksForMore) {
    // A plain peer that answers once and closes: gracefully, then with a reset.
    for (const bool reset : {false, true}) {
        int port = 0;
        const int fd = BindLoopback(SOCK_STREAM, &port);
        ASSERT_GE(fd, 0);
        std::thread peer([fd, reset] {
            const int c = accept(fd, nullptr, nullptr);
            RecvText(c);
            send(c, "bye", 3, MSG_NOSIGNAL);
            if (reset) {
                linger hard{1, 0};
                setsockopt(c, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
                usleep(100 * 1000);  // let "bye" be read first
            }
            close(c);
        });
        CInetSocket client;
        ASSERT_EQ(client.Open("127.0.0.1", port), 1);
        std::vector<int> counts;
        std::string data;
        EXPECT_EQ(client.Send("hi", 2,
                              [&](const char* d, int n) {
                                  counts.push_back(n);
                                  if (n > 0) data.append(d, static_cast<size_t>(n));
                                  return counts.size() < 50 ? 1 : 0;  // careless: always wants more
                              }),
                  2);
        peer.join();
        close(fd);
        EXPECT_EQ(data, "bye");
        ASSERT_GE(counts.size(), 2u);
        ASSERT_LT(counts.size(), 50u);
        EXPECT_TRUE(reset ? counts.back() < 0 : counts.back() == 0) << counts.back();
    }
}

// A second Listen replaces the first; a busy port or no port starts nothing.
TEST(Listener, SecondListenReplacesTheFirstAndABusyPortStartsNothing) {
    Received first, second;
    LoopbackSocket server, other;
    ASSERT_EQ(server.Listen(CInetSocket::TCP, 0, first.Function()), 1);
    const int oldPort = server.ListeningPort();
    const int threads = CountThreads();
    ASSERT_EQ(server.Listen(CInetSocket::UDP, 0, second.Function()), 1);  // still TCP
    EXPECT_EQ((std::tuple{CountThreads(), ConnectLoopback(oldPort)}), (std::tuple{threads, -1}));
    const int fd = ConnectLoopback(server.ListeningPort());
    ASSERT_TRUE(SendText(fd, "to the second"));
    EXPECT_EQ((std::tuple{second.WaitForBytes(13), first.Bytes()}), (std::tuple{13u, 0u}));
    close(fd);
    for (int port : {server.ListeningPort(), -5, 70000}) {
        EXPECT_EQ(other.Listen(CInetSocket::TCP, port, first.Function()), 0) << port;
        EXPECT_EQ(std::make_tuple(other.IsListening(), other.ListeningPort(), CountThreads()),
                  std::make_tuple(0, 0, threads));
    }
    EXPECT_EQ(other.StopListening(), 0);
    ExpectPromptStop(server, "StopListening (idle listener)");
    EXPECT_EQ(std::make_tuple(server.IsListening(), server.ListeningPort()), std::make_tuple(0, 0));
}

// A client that sends without ever reading fills its send buffer with echoes: it is dropped,
// while another client is still answered and the stop request is seen at once.
TEST(Listener, ClientThatNeverReadsIsDroppedAndStarvesNoOne) {
    LoopbackSocket server;
    ASSERT_EQ(server.Listen(CInetSocket::TCP, 0,
                            [](unsigned long long& handle, const char* data, int n) {
                                send(static_cast<int>(handle), data, static_cast<size_t>(n),
                                     MSG_NOSIGNAL);
                            }),
              1);
    const int hog = ConnectLoopback(server.ListeningPort());
    ASSERT_GE(hog, 0);
    int hogError = 0;
    std::thread flood([&] {
        const std::string block(64 * 1024, 'x');
        for (int i = 0; i < 1024 && !hogError; ++i)  // 64 MiB at most
            if (!SendText(hog, block)) hogError = errno;
    });
    flood.join();
    EXPECT_TRUE(hogError == ECONNRESET || hogError == EPIPE)
        << "the hog was not dropped: " << strerror(hogError);
    const int other = ConnectLoopback(server.ListeningPort());
    ASSERT_TRUE(SendText(other, "still served"));
    EXPECT_EQ(RecvText(other), "still served");
    close(other);
    close(hog);
    ExpectPromptStop(server, "StopListening after a client that never reads");
}

TEST(Listener, FifthClientIsTurnedAwayAndFourAreServed) {
    Received got;
    LoopbackSocket server;
    ASSERT_EQ(server.Listen(CInetSocket::TCP, 0, got.Function()), 1);
    std::vector<int> clients;
    for (size_t i = 1; i <= 4; ++i) {
        clients.push_back(ConnectLoopback(server.ListeningPort()));
        ASSERT_TRUE(SendText(clients.back(), "a"));
        ASSERT_EQ(got.WaitForBytes(i), i);  // accepted and read
    }
    const int fifth = ConnectLoopback(server.ListeningPort());
    bool closed = false;
    EXPECT_EQ((std::tuple{ReadUntilClosed(fifth, &closed), closed}),
              (std::tuple{std::string("MAX_CONNECTIONS\0", 16), true}));
    close(fifth);
    for (int fd : clients) ASSERT_TRUE(SendText(fd, "bc"));
    EXPECT_EQ(got.WaitForBytes(12), 12u);
    for (const auto& s : got.Streams()) EXPECT_EQ(s.second, "abc");
    EXPECT_EQ(got.Streams().size(), 4u);
    for (int fd : clients) close(fd);
}

TEST(Listener, SilentClientIsDisconnectedAfterTheIdleLimit) {
    Received got;
    LoopbackSocket server(1);  // one second instead of thirty
    ASSERT_EQ(server.Listen(CInetSocket::TCP, 0, got.Function()), 1);
    const int silent = ConnectLoopback(server.ListeningPort());
    const int chatty = ConnectLoopback(server.ListeningPort());
    ASSERT_TRUE(SendText(silent, "s"));
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i, usleep(300 * 1000))  // speaks every 300 ms and is kept
        ASSERT_TRUE(SendText(chatty, "c"));
    bool closed = false;
    ReadUntilClosed(silent, &closed);
    EXPECT_TRUE(closed && ElapsedMs(start) >= 1000) << ElapsedMs(start);
    ASSERT_TRUE(SendText(chatty, "!"));
    EXPECT_EQ(got.WaitForBytes(12), 12u);
    close(silent);
    close(chatty);
}
