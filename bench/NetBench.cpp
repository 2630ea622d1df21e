// SPDX-License-Identifier: LGPL-3.0-or-later
// Round trips per second on loopback: CInetSocket::Send with a reply against its own
// echoing listener, beside the same round trip written with bare POSIX calls.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>

#include "net/InetSocket.h"

namespace {

constexpr int kMessage = 64;
double g_bareRate = 0;  // round trips per second of the bare benchmark, for the ratio

class LoopbackListener : public CInetSocket {
public:
    LoopbackListener() { m_listenAddress = htonl(INADDR_LOOPBACK); }
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Report(benchmark::State& state, double rate) {
    state.SetItemsProcessed(state.iterations());
    state.counters["round_trips_per_s"] = rate;
}

int ListenLoopback(int* port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(fd, 5);
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    *port = ntohs(a.sin_port);
    return fd;
}

int ConnectLoopback(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

void BM_EchoRoundTrip_BarePosix(benchmark::State& state) {
    int port = 0;
    const int listener = ListenLoopback(&port);
    std::thread server([listener] {
        const int c = accept(listener, nullptr, nullptr);
        char buf[2048];
        for (;;) {
            const ssize_t n = recv(c, buf, sizeof buf, 0);
            if (n <= 0) break;
            send(c, buf, static_cast<size_t>(n), MSG_NOSIGNAL);
        }
        close(c);
    });
    const int fd = ConnectLoopback(port);
    char out[kMessage], in[kMessage];
    memset(out, 'x', sizeof out);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        send(fd, out, sizeof out, MSG_NOSIGNAL);
        size_t got = 0;
        while (got < sizeof in) {
            const ssize_t n = recv(fd, in + got, sizeof in - got, 0);
            if (n <= 0) break;
            got += static_cast<size_t>(n);
        }
        benchmark::DoNotOptimize(got);
    }
    const double seconds = SecondsSince(start);
    close(fd);
    server.join();
    close(listener);
    g_bareRate = static_cast<double>(state.iterations()) / seconds;
    Report(state, g_bareRate);
}

void BM_EchoRoundTrip_CInetSocket(benchmark::State& state) {
    LoopbackListener server;
    server.Listen(CInetSocket::TCP, 0, [](unsigned long long& client, const char* data, int n) {
        send(static_cast<int>(client), data, static_cast<size_t>(n), MSG_NOSIGNAL);
    });
    CInetSocket client;
    if (!client.Open("127.0.0.1", server.ListeningPort())) {
        state.SkipWithError("cannot connect to the listener");
        return;
    }
    char out[kMessage];
    memset(out, 'x', sizeof out);
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        int got = 0;
        client.Send(out, kMessage, [&got](const char*, int n) {
            if (n > 0) got += n;
            return n > 0 && got < kMessage;
        });
        benchmark::DoNotOptimize(got);
    }
    const double rate = static_cast<double>(state.iterations()) / SecondsSince(start);
    client.Close();
    server.StopListening();
    Report(state, rate);
    // Run after the bare benchmark: the library's rate as a fraction of the bare one.
    if (g_bareRate > 0) state.counters["vs_posix"] = rate / g_bareRate;
}

}  // namespace

BENCHMARK(BM_EchoRoundTrip_BarePosix)->UseRealTime();
BENCHMARK(BM_EchoRoundTrip_CInetSocket)->UseRealTime();
