// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom ping / listen / send / urlencode: the networking classes.
#include <sys/socket.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <memory>

#include "Command.h"
#include "net/CommonNetwork.h"
#include "net/InetSocket.h"

namespace {

struct NetArgs {
    std::string host, port, seconds, text, wait = "10";
    bool udp = false, reply = false;
};

int RunPing(const NetArgs& a) {
    CInetSocket socket;
    if (socket.Ping(a.host.c_str())) {
        printf("reply from %s\n", a.host.c_str());
        return 0;
    }
    printf("no reply from %s\n", a.host.c_str());
    return 1;
}

volatile sig_atomic_t g_stopRequested = 0;

void OnStopSignal(int) { g_stopRequested = 1; }

bool ParsePort(const std::string& text, int& port) {
    return ParseInt(text, port) && port >= 0 && port <= 65535;
}

int RunListen(const NetArgs& a) {
    int port, seconds = 0;
    if (!ParsePort(a.port, port)) return UsageError("PORT must be 0 to 65535");
    if (!a.seconds.empty() && (!ParseInt(a.seconds, seconds) || seconds < 1))
        return UsageError("--seconds must be a whole number of seconds, 1 or more");
    // Ctrl-C or SIGTERM ends the command through a flag, so nothing is left pending.
    struct sigaction onStop {};
    onStop.sa_handler = OnStopSignal;
    sigemptyset(&onStop.sa_mask);
    onStop.sa_flags = SA_RESTART;
    sigaction(SIGINT, &onStop, nullptr);
    sigaction(SIGTERM, &onStop, nullptr);

    CInetSocket socket;
    if (!socket.Listen(
            CInetSocket::TCP, port, [](unsigned long long& client, const char* data, int n) {
                fwrite(data, 1, static_cast<size_t>(n), stdout);
                if (data[n - 1] != '\n') fputc('\n', stdout);
                fflush(stdout);
                send(static_cast<int>(client), data, static_cast<size_t>(n), MSG_NOSIGNAL);
            })) {
        const int error = errno;
        return Failure("cannot listen on port " + std::to_string(port) + ": " + strerror(error));
    }
    printf("listening on port %d\n", socket.ListeningPort());
    fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    while (!g_stopRequested && (seconds == 0 || std::chrono::steady_clock::now() - start <
                                                    std::chrono::seconds(seconds)))
        usleep(50 * 1000);
    socket.StopListening();
    return 0;
}

// The end of a wait for a reply that does not come: a message and status 1, from the
// signal handler (write and _exit are safe there).
void OnReplyTimeout(int) {
    static const char kMessage[] = "zcmcom: no reply before the time-out (--wait)\n";
    (void)!write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    _exit(1);
}

int RunSend(const NetArgs& a) {
    const bool udp = a.udp, reply = a.reply;
    int port, wait;
    if (!ParsePort(a.port, port)) return UsageError("PORT must be 0 to 65535");
    if (!ParseInt(a.wait, wait) || wait < 1)
        return UsageError("--wait must be a whole number of seconds, 1 or more");
    CInetSocket socket;
    if (!socket.Connect(udp ? CInetSocket::UDP : CInetSocket::TCP, a.host.c_str(), port)) {
        fprintf(stderr, "zcmcom: cannot reach %s port %d\n", Printable(a.host).c_str(), port);
        return 1;
    }
    const std::string& text = a.text;
    int sent;
    if (reply) {
        // One reply block, or give up after the wait.
        struct sigaction onTimeout {};
        onTimeout.sa_handler = OnReplyTimeout;
        sigemptyset(&onTimeout.sa_mask);
        sigaction(SIGALRM, &onTimeout, nullptr);
        fflush(stdout);
        alarm(static_cast<unsigned>(wait));
        sent = socket.Send(text.data(), static_cast<int>(text.size()), [](const char* data, int n) {
            if (n > 0) {
                fwrite(data, 1, static_cast<size_t>(n), stdout);
                fputc('\n', stdout);
            }
            return 0;
        });
        alarm(0);
    } else {
        sent = socket.Send(text.data(), static_cast<int>(text.size()), 0);
    }
    if (sent < 0 || (sent == 0 && !text.empty())) {
        fprintf(stderr, "zcmcom: sending failed\n");
        return 1;
    }
    if (!reply) printf("sent %d bytes\n", sent);
    return 0;
}

int RunUrlEncode(const NetArgs& a) {
    PrintLine(CCommonNetwork::URLEncodeUTF8(CString(a.text.c_str())));
    return 0;
}

CommandRun DefinePing(CLI::App& cmd) {
    auto a = std::make_shared<NetArgs>();
    cmd.add_option("HOST", a->host, "name or address")->required();
    return [a] { return RunPing(*a); };
}

CommandRun DefineListen(CLI::App& cmd) {
    auto a = std::make_shared<NetArgs>();
    cmd.add_option("PORT", a->port, "TCP port; 0: any free one")->required();
    cmd.add_option("--seconds", a->seconds, "stop after N seconds (default: at Ctrl-C or SIGTERM)");
    return [a] { return RunListen(*a); };
}

CommandRun DefineSend(CLI::App& cmd) {
    auto a = std::make_shared<NetArgs>();
    cmd.add_option("HOST", a->host, "name or address")->required();
    cmd.add_option("PORT", a->port, "port number")->required();
    cmd.add_option("TEXT", a->text, "what to send")->required();
    CLI::Option* udp = cmd.add_flag("--udp", a->udp, "send one datagram instead");
    CLI::Option* reply =
        cmd.add_flag("--reply", a->reply, "print one reply block (TCP)")->excludes(udp);
    cmd.add_option("--wait", a->wait, "seconds to wait for the reply (default 10)")->needs(reply);
    return [a] { return RunSend(*a); };
}

CommandRun DefineUrlEncode(CLI::App& cmd) {
    auto a = std::make_shared<NetArgs>();
    cmd.add_option("TEXT", a->text, "the text")->required();
    return [a] { return RunUrlEncode(*a); };
}

const CommandRegistration kPing({"ping", "send one ICMP echo request (exit 1: no reply)",
                                 DefinePing});
const CommandRegistration kListen({"listen", "TCP listener: print each received block and echo it",
                                   DefineListen});
const CommandRegistration kSend({"send",
                                 "send TEXT over TCP (--reply: print one reply block) or UDP",
                                 DefineSend});
const CommandRegistration kUrlEncode({"urlencode", "encode TEXT as UTF-8 for a URL",
                                      DefineUrlEncode});

}  // namespace
