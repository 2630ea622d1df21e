// SPDX-License-Identifier: LGPL-3.0-or-later
#include "serve/HttpFront.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

namespace serve {

using Clock = std::chrono::steady_clock;

namespace {

constexpr int kKeepAliveRequests = 100;
constexpr int kMaxConnections = 4096;  // more wait in the listen queue

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

int MillisecondsTo(Clock::time_point t) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t - Clock::now()).count();
    return static_cast<int>(std::clamp<long long>(ms + 1, 0, INT_MAX));
}

// An address as text; an IPv4 address mapped into IPv6 as IPv4.
void AddressText(const sockaddr_storage& a, std::string& ip, int& port) {
    char text[INET6_ADDRSTRLEN] = "";
    if (a.ss_family == AF_INET) {
        const auto& v4 = reinterpret_cast<const sockaddr_in&>(a);
        inet_ntop(AF_INET, &v4.sin_addr, text, sizeof text);
        port = ntohs(v4.sin_port);
    } else if (a.ss_family == AF_INET6) {
        const auto& v6 = reinterpret_cast<const sockaddr_in6&>(a);
        if (IN6_IS_ADDR_V4MAPPED(&v6.sin6_addr))
            inet_ntop(AF_INET, &v6.sin6_addr.s6_addr[12], text, sizeof text);
        else
            inet_ntop(AF_INET6, &v6.sin6_addr, text, sizeof text);
        port = ntohs(v6.sin6_port);
    }
    ip = text;
}

// An answer of our own, sent without waiting; the connection is closed after it.
void SendRefusal(int fd, int status, const char* reason, const std::string& message) {
    const std::string body = "{\"error\":\"" + message + "\"}";
    const std::string answer = "HTTP/1.1 " + std::to_string(status) + " " + reason +
                               "\r\nContent-Type: application/json; charset=utf-8"
                               "\r\nContent-Length: " +
                               std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
    [[maybe_unused]] const ssize_t sent =
        send(fd, answer.data(), answer.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
}

}  // namespace

struct Connection {
    int fd = -1;
    Clock::time_point deadline;
    std::string in;  // bytes read and not yet handed on
    // The head read so far, line by line as httplib reads it.
    size_t scanned = 0, headEnd = 0, body = 0;
    size_t lines = 0;
    bool hasLength = false, expects = false;
    std::vector<std::pair<size_t, size_t>> dropped;  // lines httplib does not see
    // The whole request for httplib, and how much of it it has read.
    std::string request;
    size_t read = 0;
    int served = 0;
};

namespace {

struct Refused {
    int status;
    const char* reason;
    const char* message;
};

// Reads the head as httplib does: lines end with '\n'; the first is the request line, a
// line of just "\r\n" ends the head, a header line without '\r' before its '\n' is skipped,
// a header's name is what comes before its first ':'. Range, If-Range and Expect lines are
// left out (the answer is always whole; the body is read here before httplib sees the
// request); a request body must have a Content-Length. Done: the head and the body are in
// c.in. Returns a refusal, or status 0.
Refused ScanHead(Connection& c, size_t maxBody, bool* done) {
    *done = false;
    for (size_t nl; !c.headEnd && (nl = c.in.find('\n', c.scanned)) != std::string::npos;) {
        const size_t begin = c.scanned;
        c.scanned = nl + 1;
        if (c.lines++ == 0) continue;
        if (nl == begin + 1 && c.in[begin] == '\r') {
            c.headEnd = c.scanned;
            break;
        }
        if (c.lines > HttpFront::kHeadLines)
            return {431, "Request Header Fields Too Large", "more than 100 header lines"};
        const size_t colon = c.in.find(':', begin);
        if (nl == begin || c.in[nl - 1] != '\r' || colon > nl) continue;
        const std::string name = Lower(c.in.substr(begin, colon - begin));
        if (name == "range" || name == "if-range" || name == "expect") {
            c.dropped.emplace_back(begin, c.scanned);
            c.expects = c.expects || name == "expect";
        } else if (name == "transfer-encoding") {
            return {411, "Length Required", "a body needs a Content-Length"};
        } else if (name == "content-length") {
            size_t v = colon + 1, end = nl - 1;
            while (v < end && (c.in[v] == ' ' || c.in[v] == '\t')) ++v;
            while (end > v && (c.in[end - 1] == ' ' || c.in[end - 1] == '\t')) --end;
            const std::string value = c.in.substr(v, end - v);
            if (c.hasLength || value.empty() || value.size() > 9 ||
                value.find_first_not_of("0123456789") != std::string::npos)
                return {400, "Bad Request", "a bad Content-Length"};
            c.hasLength = true;
            c.body = std::stoul(value);
            if (c.body > maxBody) return {413, "Payload Too Large", "the request body is too long"};
        }
    }
    if (!c.headEnd || c.headEnd > HttpFront::kHeadBytes)
        return c.in.size() >= HttpFront::kHeadBytes || c.headEnd > HttpFront::kHeadBytes
                   ? Refused{431, "Request Header Fields Too Large",
                             "the request head is longer than 65536 bytes"}
                   : Refused{0, "", ""};
    if (c.in.size() < c.headEnd + c.body) {
        if (c.expects) {
            const char kContinue[] = "HTTP/1.1 100 Continue\r\n\r\n";
            [[maybe_unused]] const ssize_t sent =
                send(c.fd, kContinue, sizeof kContinue - 1, MSG_DONTWAIT | MSG_NOSIGNAL);
            c.expects = false;
        }
        return {0, "", ""};
    }
    c.request.clear();
    size_t from = 0;
    for (const auto& [b, e] : c.dropped) {
        c.request.append(c.in, from, b - from);
        from = e;
    }
    c.request.append(c.in, from, c.headEnd + c.body - from);
    c.in.erase(0, c.headEnd + c.body);
    c.read = c.scanned = c.headEnd = c.body = c.lines = 0;
    c.hasLength = c.expects = false;
    c.dropped.clear();
    *done = true;
    return {0, "", ""};
}

// httplib's view of a connection: the request read before, and the socket for the answer,
// which must leave by the deadline.
class ConnectionStream : public httplib::Stream {
public:
    ConnectionStream(Connection& c, Clock::time_point deadline) : m_c(c), m_deadline(deadline) {}
    bool is_readable() const override { return m_c.read < m_c.request.size(); }
    bool is_writable() const override {
        pollfd p{m_c.fd, POLLOUT, 0};
        return poll(&p, 1, MillisecondsTo(m_deadline)) == 1 && (p.revents & POLLOUT) &&
               !(p.revents & (POLLERR | POLLHUP));
    }
    ssize_t read(char* ptr, size_t size) override {
        const size_t n = std::min(size, m_c.request.size() - m_c.read);
        if (!n) ended = true;
        std::memcpy(ptr, m_c.request.data() + m_c.read, n);
        m_c.read += n;
        return static_cast<ssize_t>(n);
    }
    ssize_t write(const char* ptr, size_t size) override {
        for (size_t done = 0; done < size;) {
            const ssize_t n = send(m_c.fd, ptr + done, size - done, MSG_NOSIGNAL);
            if (n > 0) {
                done += static_cast<size_t>(n);
            } else if (!(n < 0 && (errno == EINTR ||
                                   ((errno == EAGAIN || errno == EWOULDBLOCK) && is_writable())))) {
                ended = true;
                return -1;
            }
        }
        return static_cast<ssize_t>(size);
    }
    void get_remote_ip_and_port(std::string& ip, int& port) const override {
        sockaddr_storage a{};
        socklen_t n = sizeof a;
        if (getpeername(m_c.fd, reinterpret_cast<sockaddr*>(&a), &n) == 0) AddressText(a, ip, port);
    }
    void get_local_ip_and_port(std::string& ip, int& port) const override {
        sockaddr_storage a{};
        socklen_t n = sizeof a;
        if (getsockname(m_c.fd, reinterpret_cast<sockaddr*>(&a), &n) == 0) AddressText(a, ip, port);
    }
    socket_t socket() const override { return m_c.fd; }

    bool ended = false;  // httplib read past the request, or the answer could not leave

private:
    Connection& m_c;
    Clock::time_point m_deadline;
};

}  // namespace

HttpFront::HttpFront() : m_wake(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

HttpFront::~HttpFront() {
    if (m_listen >= 0) close(m_listen);
    if (m_wake >= 0) close(m_wake);
}

int HttpFront::Bind(const std::string& address, int port) {
    addrinfo hints{}, *list = nullptr;
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    if (m_listen >= 0 ||
        getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &list) != 0)
        return -1;
    for (addrinfo* a = list; a && m_listen < 0; a = a->ai_next) {
        const int fd = ::socket(a->ai_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        const int yes = 1;
        // Answers leave in two writes (head, body); without TCP_NODELAY the second waits for
        // the client's delayed acknowledgement on a kept-alive connection, 40 ms a request.
        // Accepted sockets inherit the option.
        if (fd >= 0 && setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) == 0 &&
            setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes) == 0 &&
            ::bind(fd, a->ai_addr, a->ai_addrlen) == 0 && ::listen(fd, SOMAXCONN) == 0)
            m_listen = fd;
        else if (fd >= 0)
            close(fd);
    }
    freeaddrinfo(list);
    sockaddr_storage bound{};
    socklen_t n = sizeof bound;
    std::string ip;
    if (m_listen < 0 || getsockname(m_listen, reinterpret_cast<sockaddr*>(&bound), &n) != 0)
        return -1;
    AddressText(bound, ip, m_port);
    m_address = Lower(address);
    return m_port;
}

bool HttpFront::OwnHost(std::string host, const std::string& localAddress) const {
    host = Lower(host);
    const std::string port = ":" + std::to_string(m_port);
    for (std::string name : {std::string("localhost"), localAddress, m_address}) {
        if (name.find(':') != std::string::npos) name = "[" + name + "]";
        if (!name.empty() && (host == name + port || (m_port == 80 && host == name))) return true;
    }
    return false;
}

std::pair<int, std::string> HttpFront::Refusal(const httplib::Request& req) const {
    if (req.get_header_value_count("Host") != 1 ||
        !OwnHost(req.get_header_value("Host"), req.local_addr))
        return {421, "the Host header does not name this server"};
    if (req.method == "GET" || req.method == "HEAD") return {0, ""};
    if (req.method != "POST") return {405, "only GET, HEAD and POST"};
    const std::string origin = Lower(req.get_header_value("Origin"));
    if (req.has_header("Origin") &&
        (origin.compare(0, 7, "http://") != 0 || !OwnHost(origin.substr(7), req.local_addr)))
        return {403, "a request from another site's page"};
    std::string type = Lower(req.get_header_value("Content-Type"));
    type = type.substr(0, type.find(';'));
    type.erase(type.find_last_not_of(" \t") + 1);
    if (type != "application/json" || req.has_header("Content-Encoding"))
        return {415, "the body must be application/json, not encoded"};
    return {0, ""};
}

void HttpFront::Wake() {
    const uint64_t one = 1;
    [[maybe_unused]] const ssize_t n = write(m_wake, &one, sizeof one);
}

void HttpFront::Close(std::unique_ptr<Connection>& c) {
    close(c->fd);
    c.reset();
    if (m_open-- == kMaxConnections) Wake();
}

bool HttpFront::Advance(std::unique_ptr<Connection>& c) {
    bool done = false;
    const Refused r = ScanHead(*c, payload_max_length_, &done);
    if (r.status) {
        SendRefusal(c->fd, r.status, r.reason, r.message);
        Close(c);
        return false;
    }
    if (!done) return true;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_ready.push_back(std::move(c));
    }
    m_ready_cv.notify_one();
    return false;
}

bool HttpFront::Serve() {
    if (m_listen < 0) return false;
    std::vector<std::thread> workers(std::max(8u, std::thread::hardware_concurrency()));
    for (auto& w : workers) w = std::thread([this] { Work(); });
    std::vector<std::unique_ptr<Connection>> waiting, returned;
    std::vector<pollfd> polled;
    const size_t limit = kHeadBytes + std::min<size_t>(payload_max_length_, 1 << 20);
    Clock::time_point acceptAgain{};
    while (!m_stopping) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            returned.swap(m_returned);
        }
        // A kept-alive connection may hold its next request already.
        for (auto& c : returned) {
            c->deadline = Clock::now() + kRequestTime;
            if (c->in.empty() || Advance(c)) waiting.push_back(std::move(c));
        }
        returned.clear();

        Clock::time_point wakeAt = Clock::now() + std::chrono::seconds(1);
        const bool accepting = m_open < kMaxConnections && Clock::now() >= acceptAgain;
        polled.assign({{m_wake, POLLIN, 0}, {accepting ? m_listen : -1, POLLIN, 0}});
        if (!accepting && acceptAgain > Clock::now()) wakeAt = std::min(wakeAt, acceptAgain);
        for (const auto& c : waiting) {
            polled.push_back({c->fd, POLLIN, 0});
            wakeAt = std::min(wakeAt, c->deadline);
        }
        if (poll(polled.data(), polled.size(), MillisecondsTo(wakeAt)) < 0 && errno != EINTR) break;
        if (m_stopping) break;
        if (polled[0].revents) {
            uint64_t count;
            [[maybe_unused]] const ssize_t n = read(m_wake, &count, sizeof count);
        }
        for (size_t i = 0; i < waiting.size(); ++i) {
            auto& c = waiting[i];
            if (polled[i + 2].revents) {
                char buffer[16384];
                const size_t room = limit - std::min(limit - 1, c->in.size());
                const ssize_t n = recv(c->fd, buffer, std::min(sizeof buffer, room), 0);
                if (n <= 0 && !(n < 0 && (errno == EAGAIN || errno == EINTR))) {
                    Close(c);
                    continue;
                }
                if (n > 0) c->in.append(buffer, static_cast<size_t>(n));
                if (!Advance(c)) continue;
            }
            if (Clock::now() >= c->deadline) {
                if (!c->in.empty())
                    SendRefusal(c->fd, 408, "Request Timeout",
                                "the request did not arrive within 10 seconds");
                Close(c);
            }
        }
        waiting.erase(std::remove(waiting.begin(), waiting.end(), nullptr), waiting.end());
        while (polled[1].revents && m_open < kMaxConnections) {
            const int fd = accept4(m_listen, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (fd < 0) {
                // Out of descriptors or memory: let connections end before taking more.
                if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                    acceptAgain = Clock::now() + std::chrono::milliseconds(100);
                if (errno != EINTR && errno != ECONNABORTED) break;
                continue;
            }
            ++m_open;
            auto c = std::make_unique<Connection>();
            c->fd = fd;
            c->deadline = Clock::now() + kRequestTime;
            waiting.push_back(std::move(c));
        }
    }
    for (auto& c : waiting) Close(c);
    close(m_listen);
    m_listen = -1;
    Stop();
    for (auto& w : workers) w.join();
    std::lock_guard<std::mutex> lock(m_mutex);
    for (auto& c : m_returned) Close(c);
    m_returned.clear();
    return true;
}

void HttpFront::Work() {
    for (;;) {
        std::unique_ptr<Connection> c;
        bool stopping = false;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_ready_cv.wait(lock, [this] { return !m_ready.empty() || m_stopping; });
            if (m_ready.empty()) return;
            c = std::move(m_ready.front());
            m_ready.pop_front();
            stopping = m_stopping;
            if (!stopping) m_active.insert(c->fd);
        }
        if (stopping) {
            Close(c);
            continue;
        }
        ConnectionStream stream(*c, Clock::now() + kAnswerTime);
        bool closed = false, refused = false;
        const bool last = ++c->served >= kKeepAliveRequests;
        const bool answered = process_request(stream, last, closed, [&](httplib::Request& req) {
            // Left out with the Range lines already; a whole answer in any case.
            req.ranges.clear();
            refused = Refusal(req).first != 0;
        });
        bool keep = answered && !closed && !last && !refused && !stream.ended;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_active.erase(c->fd);
            keep = keep && !m_stopping;
            if (keep) m_returned.push_back(std::move(c));
        }
        if (keep)
            Wake();
        else
            Close(c);
    }
}

void HttpFront::Stop() {
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
        for (int fd : m_active) shutdown(fd, SHUT_RDWR);
    }
    m_ready_cv.notify_all();
    Wake();
}

}  // namespace serve
