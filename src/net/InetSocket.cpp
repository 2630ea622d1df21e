// SPDX-License-Identifier: LGPL-3.0-or-later
#include "net/InetSocket.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "net/IcmpEcho.h"
#include "net/NetUtil.h"

namespace {

constexpr int kListenSlots = 5;  // slot 0 is the listening socket
constexpr int kListenBacklog = 5;
constexpr int kListenBufferSize = 2048;
constexpr int kReplyBufferSize = 1024;
constexpr int kSelectTimeoutMs = 1000;
const char kPingPayload[] = "ICMP PING DATA";
const char kTurnedAway[] = "MAX_CONNECTIONS";  // sent with its terminating zero
constexpr int kPingTimeoutMs = 1000;
// What a client may leave unread of the answers before it is dropped (the kernel doubles it).
constexpr int kClientSendBuffer = 256 * 1024;

bool FillAddress(const char* host, int port, sockaddr_in* address) {
    uint32_t resolved;
    if (port < 0 || port > 65535 || !zcmnet::ResolveIPv4(host, &resolved)) return false;
    memset(address, 0, sizeof *address);
    address->sin_family = AF_INET;
    address->sin_port = htons(static_cast<uint16_t>(port));
    address->sin_addr.s_addr = resolved;
    return true;
}

void CloseFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

// A bound, listening, non-blocking TCP socket, or -1 with errno set.
int OpenListeningSocket(in_addr_t address, int* port) {
    if (*port < 0 || *port > 65535) {
        errno = EINVAL;
        return -1;
    }
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0) return -1;
    // Windows lets a server rebind while old connections linger in TIME_WAIT; so do we.
    const int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<uint16_t>(*port));
    local.sin_addr.s_addr = address;
    socklen_t length = sizeof local;
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0 ||
        listen(fd, kListenBacklog) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length) != 0) {
        const int err = errno;
        CloseFd(fd);
        errno = err;
        return -1;
    }
    *port = ntohs(local.sin_port);
    return fd;
}

int64_t NowSeconds() { return zcmnet::MonotonicMs() / 1000; }

// True when a client's send buffer is (nearly) full: it does not read what it is sent.
bool OutputOverflows(int fd) {
    pollfd p = {fd, POLLOUT, 0};
    return poll(&p, 1, 0) == 0;
}

}  // namespace

CInetSocket::CInetSocket() = default;

CInetSocket::~CInetSocket() {
    StopListening();
    if (m_bConnected || m_client >= 0) Close();
}

int CInetSocket::Open(const char* host, int port) { return Connect(TCP, host, port); }

int CInetSocket::Connect(PROTOCOL protocol, const char* host, int port) {
    // A second Connect replaces the first connection instead of leaking its socket.
    if (m_client >= 0) Close();
    m_clientProtocol = protocol;
    const bool tcp = protocol == TCP;
    m_client = socket(AF_INET, (tcp ? SOCK_STREAM : SOCK_DGRAM) | SOCK_CLOEXEC, 0);
    if (m_client < 0) {
        Close();
        return 0;
    }
    if (!FillAddress(host, port, &m_target) ||
        (tcp && connect(m_client, reinterpret_cast<sockaddr*>(&m_target), sizeof m_target) != 0)) {
        Close();
        return 0;
    }
    m_bConnected = 1;
    return 1;
}

int CInetSocket::Close() {
    if (m_client >= 0) {
        shutdown(m_client, SHUT_RDWR);
        CloseFd(m_client);
    }
    m_bConnected = 0;
    return 1;
}

int CInetSocket::SendAll(int socket, const char* data, int length, const sockaddr_in* to) {
    int sent = 0;
    while (sent < length) {
        const ssize_t n =
            to ? sendto(socket, data + sent, static_cast<size_t>(length - sent), MSG_NOSIGNAL,
                        reinterpret_cast<const sockaddr*>(to), sizeof *to)
               : send(socket, data + sent, static_cast<size_t>(length - sent), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        sent += static_cast<int>(n);
    }
    return sent;
}

int CInetSocket::SendMaybeBroadcast(int socket, const char* data, int length, const sockaddr_in* to,
                                    int broadcast) {
    if (!broadcast) return SendAll(socket, data, length, to);
    int old = 0;
    socklen_t size = sizeof old;
    getsockopt(socket, SOL_SOCKET, SO_BROADCAST, &old, &size);
    const int one = 1;
    setsockopt(socket, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
    const int sent = SendAll(socket, data, length, to);
    setsockopt(socket, SOL_SOCKET, SO_BROADCAST, &old, sizeof old);
    return sent;
}

int CInetSocket::Send(const char* data, int length, int broadcast) {
    if (!m_bConnected || m_client < 0) return -1;
    if (length < 0 || (length > 0 && !data)) return -1;
    if (m_clientProtocol == TCP) return SendAll(m_client, data, length, nullptr);
    return SendMaybeBroadcast(m_client, data, length, &m_target, broadcast);
}

int CInetSocket::Send(const char* data, int length, ReplyFunction onReply) {
    const int sent = Send(data, length, 0);
    if (sent < 0) return 0;
    if (!onReply) return sent;
    char buffer[kReplyBufferSize];
    for (;;) {
        memset(buffer, 0, sizeof buffer);
        ssize_t got;
        do {
            got = recv(m_client, buffer, sizeof buffer, 0);
        } while (got < 0 && errno == EINTR);
        const int more = onReply(buffer, static_cast<int>(got));
        // After a close or an error nothing more can come: end even if onReply asks on.
        if (!more || got <= 0) break;
    }
    return sent;
}

int CInetSocket::SendTo(const char* host, int port, const char* data, int length, int broadcast) {
    if (length < 0 || (length > 0 && !data)) return 0;
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    sockaddr_in to;
    int sent = 0;
    if (FillAddress(host, port, &to)) sent = SendMaybeBroadcast(fd, data, length, &to, broadcast);
    CloseFd(fd);
    return sent < 0 ? 0 : sent;
}

int CInetSocket::Ping(const char* host) {
    uint32_t address;
    if (!zcmnet::ResolveIPv4(host, &address)) return 0;
    return ZcmIcmpEcho(address, kPingPayload, static_cast<int>(strlen(kPingPayload)),
                       kPingTimeoutMs) == 1
               ? 1
               : 0;
}

int CInetSocket::Listen(PROTOCOL protocol, int port, ReceiveFunction onReceive) {
    if (!onReceive) return 0;
    if (m_bListening || m_pListener) StopListening();
    m_listenProtocol = protocol;
    m_listenPort = port;
    m_listenSocket = OpenListeningSocket(m_listenAddress, &m_listenPort);
    if (m_listenSocket < 0) {
        m_listenPort = 0;
        return 0;
    }
    m_onReceive = std::move(onReceive);
    m_stopEvent.ResetEvent();
    m_wake = new zcmnet::WakeFd();
    m_pListener = AfxBeginThread(TcpListener, this, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!m_pListener) {
        m_onReceive = nullptr;
        CloseFd(m_listenSocket);
        delete m_wake;
        m_wake = nullptr;
        m_listenPort = 0;
        return 0;
    }
    m_pListener->m_bAutoDelete = FALSE;
    m_pListener->ResumeThread();
    m_bListening = 1;
    return 1;
}

int CInetSocket::StopListening() {
    if (!m_bListening && !m_pListener) return 0;
    zcmnet::StopWorker(m_stopEvent, m_wake, m_pListener);
    m_onReceive = nullptr;
    m_bListening = 0;
    m_listenPort = 0;
    return 1;
}

UINT CInetSocket::TcpListener(void* self) {
    static_cast<CInetSocket*>(self)->RunListener();
    return 0;
}

void CInetSocket::RunListener() {
    struct Slot {
        int socket;
        int64_t lastActive;
    };
    Slot slots[kListenSlots];
    for (Slot& s : slots) s = {-1, 0};
    slots[0].socket = m_listenSocket;
    m_listenSocket = -1;

    char* buffer = new char[kListenBufferSize];
    const int wakeFd = m_wake ? m_wake->fd() : -1;
    bool stop = m_stopEvent.Lock(0) != FALSE;
    while (!stop) {
        pollfd fds[kListenSlots + 1];
        int slotOf[kListenSlots + 1];
        nfds_t count = 0;
        for (int i = 0; i < kListenSlots; ++i) {
            if (slots[i].socket < 0) continue;
            fds[count] = {slots[i].socket, POLLIN, 0};
            slotOf[count++] = i;
        }
        if (wakeFd >= 0) {
            fds[count] = {wakeFd, POLLIN, 0};
            slotOf[count++] = -1;
        }
        const int ready = poll(fds, count, kSelectTimeoutMs);
        if (ready < 0 && errno != EINTR) {
            // Not expected with valid descriptors; wait instead of spinning.
            stop = m_stopEvent.Lock(kSelectTimeoutMs) != FALSE;
            continue;
        }
        for (nfds_t k = 0; ready > 0 && k < count; ++k) {
            const int i = slotOf[k];
            if (i < 0 || !(fds[k].revents & (POLLIN | POLLERR | POLLHUP))) continue;
            if (i == 0) {
                // Clients are non-blocking: an answer to one that does not read never
                // holds up the others or the stop request.
                const int client =
                    accept4(slots[0].socket, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
                if (client < 0) continue;
                setsockopt(client, SOL_SOCKET, SO_SNDBUF, &kClientSendBuffer,
                           sizeof kClientSendBuffer);
                int free = -1;
                for (int j = 1; j < kListenSlots && free < 0; ++j)
                    if (slots[j].socket < 0) free = j;
                if (free < 0) {
                    send(client, kTurnedAway, sizeof kTurnedAway, MSG_NOSIGNAL);
                    close(client);
                } else {
                    slots[free] = {client, NowSeconds()};
                }
                continue;
            }
            memset(buffer, 0, kListenBufferSize);
            const ssize_t got = recv(slots[i].socket, buffer, kListenBufferSize, 0);
            if (got < 1) {
                if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
                CloseFd(slots[i].socket);
                continue;
            }
            SOCKET handle = static_cast<SOCKET>(slots[i].socket);
            m_onReceive(handle, buffer, static_cast<int>(got));
            slots[i].lastActive = NowSeconds();
            if (OutputOverflows(slots[i].socket)) CloseFd(slots[i].socket);
        }
        const int64_t now = NowSeconds();
        for (int i = 1; i < kListenSlots; ++i)
            if (slots[i].socket >= 0 && now - slots[i].lastActive > m_idleLimitSeconds)
                CloseFd(slots[i].socket);
        stop = m_stopEvent.Lock(0) != FALSE;
    }
    for (Slot& s : slots) CloseFd(s.socket);
    delete[] buffer;
}
