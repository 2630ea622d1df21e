// zcmcom ping / listen / send / urlencode: the networking classes.
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "Command.h"
#include "net/CommonNetwork.h"
#include "net/InetSocket.h"

namespace {

int RunPing(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("usage: ping HOST");
    CInetSocket socket;
    if (socket.Ping(args[0].c_str())) {
        printf("reply from %s\n", args[0].c_str());
        return 0;
    }
    printf("no reply from %s\n", args[0].c_str());
    return 1;
}

volatile sig_atomic_t g_stopRequested = 0;

void OnStopSignal(int) { g_stopRequested = 1; }

bool ParsePort(const std::string& text, int& port) {
    return ParseInt(text, port) && port >= 0 && port <= 65535;
}

int RunListen(const std::vector<std::string>& args) {
    int port, seconds = 0;
    if ((args.size() != 1 && args.size() != 3) || !ParsePort(args[0], port) ||
        (args.size() == 3 && (args[1] != "--seconds" || !ParseInt(args[2], seconds) || seconds < 1)))
        return UsageError("usage: listen PORT [--seconds N]");
    // Ctrl-C or SIGTERM ends the command through a flag, so nothing is left pending.
    struct sigaction onStop {};
    onStop.sa_handler = OnStopSignal;
    sigemptyset(&onStop.sa_mask);
    onStop.sa_flags = SA_RESTART;
    sigaction(SIGINT, &onStop, nullptr);
    sigaction(SIGTERM, &onStop, nullptr);

    CInetSocket socket;
    if (!socket.Listen(CInetSocket::TCP, port, [](unsigned long long& client, const char* data, int n) {
            fwrite(data, 1, static_cast<size_t>(n), stdout);
            if (data[n - 1] != '\n') fputc('\n', stdout);
            fflush(stdout);
            send(static_cast<int>(client), data, static_cast<size_t>(n), MSG_NOSIGNAL);
        })) {
        fprintf(stderr, "zcmcom: cannot listen on port %d: %s\n", port, strerror(errno));
        return 1;
    }
    printf("listening on port %d\n", socket.ListeningPort());
    fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    while (!g_stopRequested &&
           (seconds == 0 || std::chrono::steady_clock::now() - start < std::chrono::seconds(seconds)))
        usleep(50 * 1000);
    socket.StopListening();
    return 0;
}

int RunSend(const std::vector<std::string>& args) {
    bool udp = false, reply = false;
    std::vector<std::string> plain;
    for (const auto& a : args) {
        if (a == "--udp")
            udp = true;
        else if (a == "--reply")
            reply = true;
        else
            plain.push_back(a);
    }
    int port;
    if (plain.size() != 3 || !ParsePort(plain[1], port) || (udp && reply))
        return UsageError("usage: send HOST PORT TEXT [--udp | --reply]");
    CInetSocket socket;
    if (!socket.Connect(udp ? CInetSocket::UDP : CInetSocket::TCP, plain[0].c_str(), port)) {
        fprintf(stderr, "zcmcom: cannot reach %s port %d\n", plain[0].c_str(), port);
        return 1;
    }
    const std::string& text = plain[2];
    int sent;
    if (reply) {
        // One reply block, or give up after 10 seconds of silence.
        alarm(10);
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

int RunUrlEncode(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("usage: urlencode TEXT");
    PrintLine(CCommonNetwork::URLEncodeUTF8(CString(args[0].c_str())));
    return 0;
}

const CommandRegistration kPing({"ping", "ping HOST", "send one ICMP echo request (exit 1: no reply)",
                                 RunPing});
const CommandRegistration kListen({"listen", "listen PORT [--seconds N]",
                                   "TCP listener: print each received block and echo it", RunListen});
const CommandRegistration kSend({"send", "send HOST PORT TEXT [--udp | --reply]",
                                 "send TEXT over TCP (--reply: print one reply block) or UDP",
                                 RunSend});
const CommandRegistration kUrlEncode({"urlencode", "urlencode TEXT",
                                      "encode TEXT as UTF-8 for a URL", RunUrlEncode});

}  // namespace
