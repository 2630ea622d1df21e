// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CInetSocket: an IPv4 TCP or UDP client socket, a one-shot UDP send, an ICMP echo test,
/// and a small TCP server on a listener thread that hands every received block of bytes
/// to the caller's function.
///
/// Notes for callers:
/// - Host names may be dotted IPv4 addresses or names to look up.
/// - The receive function runs on the listener thread, once per received block (up to
///   2048 bytes, no framing). It may answer through the socket handle it is given (a
///   POSIX descriptor; send with MSG_NOSIGNAL so a vanished client cannot raise SIGPIPE).
///   The listener owns the handle: do not close it. The function must not throw.
/// - Client sockets are non-blocking, so the receive function never waits on a client.
///   Answers queue in the client's send buffer (256 KiB); a client that leaves that much
///   unread is dropped, so one client that sends without reading starves no other.
/// - At most four clients are served at once; a fifth is sent "MAX_CONNECTIONS" (with its
///   terminating zero, 16 bytes) and closed. A client silent for more than 30 seconds is
///   disconnected.
/// - The listening socket is bound before Listen returns, so a client may connect at
///   once; a port that cannot be bound or listened on makes Listen fail. When 0 is passed
///   as the port, ListeningPort gives the port the system chose.
#include <netinet/in.h>

#include <functional>

#include "platform/Sync.h"
#include "platform/Thread.h"

#ifndef ZCMCOM_SOCKET_DEFINED
/// Guards the one definition of SOCKET shared with the platform headers.
#define ZCMCOM_SOCKET_DEFINED
/// A socket handle: a POSIX descriptor in a Windows-sized integer.
typedef unsigned long long SOCKET;
/// The SOCKET value of no socket.
#define INVALID_SOCKET (~(SOCKET)0)
#endif

namespace zcmnet {
class WakeFd;
}

/// An IPv4 client socket and a small TCP server; see the file's notes.
class ZCMCOM_API CInetSocket {
public:
    /// The transport of a client or a listener.
    enum PROTOCOL { TCP = 0, UDP = 1 };
    /// Called on the listener thread with the client's socket handle, the received bytes
    /// and their count.
    typedef std::function<void(unsigned long long&, const char*, int)> ReceiveFunction;
    /// Called with each reply block and its byte count (0 when the peer closed, negative
    /// on error); return 0 to stop waiting for more.
    typedef std::function<int(const char*, int)> ReplyFunction;

    /// The listener's limit on a client's silence, in seconds.
    static constexpr int kIdleLimitSeconds = 30;

    CInetSocket();
    /// Stops a running listener, then closes the client socket.
    virtual ~CInetSocket();
    CInetSocket(const CInetSocket&) = delete;
    CInetSocket& operator=(const CInetSocket&) = delete;

    /// @name Client side
    /// @{

    /// Connect(TCP, host, port).
    int Open(const char* host, int port);
    /// Connects to host:port (a UDP socket only takes the address), closing a previous
    /// connection first. 1 on success; 0 when the socket cannot be made, the host does not
    /// resolve or the connection is refused.
    int Connect(PROTOCOL protocol, const char* host, int port);
    /// Closes the client socket; always 1.
    int Close();
    /// 1 while the client socket is connected.
    int IsConnected() const { return m_bConnected; }
    /// Sends all length bytes (UDP: to the target address, with SO_BROADCAST set for the
    /// call when broadcast is non-zero). Returns the bytes sent, negative when not
    /// connected or on failure.
    int Send(const char* data, int length, int broadcast);
    /// Sends, then passes every received block to onReply (count 0 when the peer closed,
    /// negative on error) while it returns non-zero; the loop also ends after a close or
    /// an error. Returns the bytes sent, 0 when sending failed.
    int Send(const char* data, int length, ReplyFunction onReply);
    /// One datagram to host:port from a temporary socket. Returns the bytes sent, or 0.
    int SendTo(const char* host, int port, const char* data, int length, int broadcast);
    /// 1 when host answered an ICMP echo request within 1000 ms, else 0.
    int Ping(const char* host);
    /// @}

    /// @name Listener side
    /// @{

    /// Starts the listener thread (stopping a running one first). Returns 1; 0 without
    /// starting anything when onReceive is empty or the port cannot be bound and listened
    /// on (errno tells why).
    int Listen(PROTOCOL protocol, int port, ReceiveFunction onReceive);
    /// Stops the listener and joins its thread: 1, or 0 when none ran.
    int StopListening();
    /// 1 while the listener thread runs.
    int IsListening() const { return m_bListening; }
    /// The port the listener is bound to (the chosen one when 0 was asked for).
    int ListeningPort() const { return m_listenPort; }

    /// The listener thread's procedure (self is the CInetSocket).
    static UINT TcpListener(void* self);
    /// @}

protected:
    /// Adjustable by derived classes before Listen (tests shorten the idle limit and
    /// bind to the loopback address only).
    int m_idleLimitSeconds = kIdleLimitSeconds;
    in_addr_t m_listenAddress = INADDR_ANY;  ///< network order

private:
    int SendAll(int socket, const char* data, int length, const sockaddr_in* to);
    int SendMaybeBroadcast(int socket, const char* data, int length, const sockaddr_in* to,
                           int broadcast);
    void RunListener();

    int m_bConnected = 0;
    PROTOCOL m_clientProtocol = TCP;
    sockaddr_in m_target{};
    int m_client = -1;
    PROTOCOL m_listenProtocol = TCP;
    int m_bListening = 0;
    int m_listenPort = 0;
    ReceiveFunction m_onReceive;
    CWinThread* m_pListener = nullptr;
    CEvent m_stopEvent;
    int m_listenSocket = -1;           ///< handed to the listener thread, which closes it
    zcmnet::WakeFd* m_wake = nullptr;  ///< ends the listener's wait at a stop request
};
