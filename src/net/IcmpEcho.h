// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// ICMP echo, shared by CInetSocket::Ping and CPingWatchDog.
///
/// One echo request goes out on an unprivileged ICMP datagram socket where the system
/// allows it (net.ipv4.ping_group_range), otherwise on a raw ICMP socket (root or
/// CAP_NET_RAW). A socket that cannot be opened means "no reply".
#include <cstdint>

#include "platform/WinTypes.h"

/// The kind of socket ZcmIcmpEcho sends on.
enum ZcmIcmpSocket {
    ZCM_ICMP_AUTO = 0,      ///< datagram socket, raw socket when that is refused
    ZCM_ICMP_DATAGRAM = 1,  ///< datagram socket only
    ZCM_ICMP_RAW = 2,       ///< raw socket only
};

/// Sends one echo request with the payload to address (IPv4, network order) and waits up
/// to timeoutMs for the matching echo reply. When cancelFd (or -1) becomes readable the
/// wait ends early. Returns 1 for an echo reply, 0 for none (time-out, an ICMP error, a
/// socket that cannot be opened or used), -1 when cancelled.
ZCMCOM_API int ZcmIcmpEcho(uint32_t address, const void* payload, int length, int timeoutMs,
                           int socketKind = ZCM_ICMP_AUTO, int cancelFd = -1);
