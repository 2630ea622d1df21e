// SPDX-License-Identifier: LGPL-3.0-or-later
#include "net/IcmpEcho.h"

#include <netinet/in.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <vector>

#include "net/NetUtil.h"

namespace {

constexpr int kMaxPayload = 1024;
constexpr size_t kHeader = 8;  // type, code, checksum, identifier, sequence

uint16_t Checksum(const uint8_t* data, size_t length) {
    uint32_t sum = 0;
    for (size_t i = 0; i + 1 < length; i += 2)
        sum += static_cast<uint32_t>(data[i] << 8 | data[i + 1]);
    if (length & 1) sum += static_cast<uint32_t>(data[length - 1] << 8);
    while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
    return htons(static_cast<uint16_t>(~sum));
}

int OpenSocket(int kind, bool* raw) {
    if (kind != ZCM_ICMP_RAW) {
        const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
        if (fd >= 0 || kind == ZCM_ICMP_DATAGRAM) {
            *raw = false;
            return fd;
        }
    }
    *raw = true;
    return socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
}

// Whether a received packet is the reply to our request. Raw sockets see every ICMP
// packet of the host (with its IP header), datagram sockets only the replies to their
// own identifier (without the IP header, the identifier rewritten by the system).
bool IsOurReply(const uint8_t* packet, size_t length, bool raw, uint16_t id, uint16_t sequence,
                const uint8_t* payload, size_t payloadLength) {
    if (raw) {
        if (length < sizeof(iphdr)) return false;
        const size_t ipLength = static_cast<size_t>(packet[0] & 0x0F) * 4;
        if (ipLength < sizeof(iphdr) || length < ipLength) return false;
        packet += ipLength;
        length -= ipLength;
    }
    if (length < kHeader + payloadLength) return false;
    if (packet[0] != ICMP_ECHOREPLY || packet[1] != 0) return false;
    uint16_t gotId, gotSequence;
    memcpy(&gotId, packet + 4, 2);
    memcpy(&gotSequence, packet + 6, 2);
    if (gotSequence != htons(sequence)) return false;
    if (raw && gotId != htons(id)) return false;
    return payloadLength == 0 || memcmp(packet + kHeader, payload, payloadLength) == 0;
}

}  // namespace

int ZcmIcmpEcho(uint32_t address, const void* payload, int length, int timeoutMs, int socketKind,
                int cancelFd) {
    if (length < 0 || length > kMaxPayload || (length > 0 && !payload)) return 0;
    bool raw = false;
    const int fd = OpenSocket(socketKind, &raw);
    if (fd < 0) return 0;

    // Requests of concurrent callers differ in identifier and sequence number.
    static std::atomic<uint32_t> counter{0};
    const uint32_t n = counter.fetch_add(1, std::memory_order_relaxed);
    const uint16_t id = static_cast<uint16_t>(getpid() * 31u + (n >> 16));
    const uint16_t sequence = static_cast<uint16_t>(n);

    std::vector<uint8_t> request(kHeader + static_cast<size_t>(length), 0);
    request[0] = ICMP_ECHO;
    const uint16_t idNet = htons(id), sequenceNet = htons(sequence);
    memcpy(&request[4], &idNet, 2);
    memcpy(&request[6], &sequenceNet, 2);
    if (length > 0) memcpy(&request[kHeader], payload, static_cast<size_t>(length));
    const uint16_t sum = Checksum(request.data(), request.size());
    memcpy(&request[2], &sum, 2);

    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = address;
    int result = 0;
    if (sendto(fd, request.data(), request.size(), MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&to),
               sizeof to) == static_cast<ssize_t>(request.size())) {
        const int64_t deadline = zcmnet::MonotonicMs() + (timeoutMs < 0 ? 0 : timeoutMs);
        uint8_t packet[sizeof(iphdr) + 60 + kHeader + kMaxPayload];
        for (;;) {
            const int64_t left = deadline - zcmnet::MonotonicMs();
            if (left <= 0) break;
            pollfd fds[2] = {{fd, POLLIN, 0}, {cancelFd, POLLIN, 0}};
            const int ready = poll(fds, cancelFd >= 0 ? 2 : 1, static_cast<int>(left));
            if (ready < 0 && errno != EINTR) break;
            if (ready <= 0) continue;
            if (cancelFd >= 0 && (fds[1].revents & POLLIN)) {
                result = -1;
                break;
            }
            if (!(fds[0].revents & POLLIN)) {
                if (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) break;
                continue;
            }
            const ssize_t got = recv(fd, packet, sizeof packet, MSG_DONTWAIT);
            if (got < 0) {
                if (errno == EAGAIN || errno == EINTR) continue;
                break;  // an ICMP error reported on the socket: no echo reply
            }
            if (IsOurReply(packet, static_cast<size_t>(got), raw, id, sequence,
                           static_cast<const uint8_t*>(payload), static_cast<size_t>(length))) {
                result = 1;
                break;
            }
        }
    }
    close(fd);
    return result;
}
