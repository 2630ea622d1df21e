// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// httplib::Server behind an accept loop of its own. httplib times out each read, not a
// request, and gives every connection a worker from accept on, so a client sending a
// header line every few seconds holds a worker for ever and a handful hold them all. Here
// one thread accepts (backlog SOMAXCONN) and reads every request's head and body, with a
// deadline from accept and a size cap, and hands only whole requests to a fixed pool of
// workers, which answer them through httplib. Stop shuts every socket down, so serving
// ends at once whatever the clients do.
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace serve {

struct Connection;

class HttpFront : public httplib::Server {
public:
    // The whole request (head and body) must arrive within kRequestTime of accept or of
    // the previous answer on a kept-alive connection; its head is at most kHeadBytes in at
    // most kHeadLines lines. An answer must be taken within kAnswerTime.
    static constexpr std::chrono::seconds kRequestTime{10}, kAnswerTime{10};
    static constexpr size_t kHeadBytes = 65536, kHeadLines = 100;

    HttpFront();
    ~HttpFront() override;

    // Binds and listens; port 0 takes any free one. Returns the port, -1 on failure.
    int Bind(const std::string& address, int port);
    // Serves until Stop; false when nothing is bound.
    bool Serve();
    // Ends Serve: shuts every connection down and lets answers under way end; any thread,
    // any time (a Serve that starts later returns at once).
    void Stop();

    // Why a request is refused before it is routed, status 0 when it may go on: a Host
    // other than this server's address and port (a page of another site reaching it through
    // DNS rebinding), a method other than GET, HEAD and POST, and a POST from another
    // origin, coded, or not application/json (another site's page may send a form or a
    // text/plain fetch without asking first; application/json needs a preflight, and none
    // is granted).
    std::pair<int, std::string> Refusal(const httplib::Request& req) const;

private:
    bool OwnHost(std::string host, const std::string& localAddress) const;
    void Work();
    // Reads what the connection has buffered: a whole request goes to the workers, a
    // refused one is answered and closed. False when the connection is done.
    bool Advance(std::unique_ptr<Connection>& c);
    void Close(std::unique_ptr<Connection>& c);
    void Wake();

    int m_listen = -1, m_wake = -1, m_port = 0;
    std::string m_address;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_open{0};
    std::mutex m_mutex;
    std::condition_variable m_ready_cv;
    std::deque<std::unique_ptr<Connection>> m_ready;      // whole requests for the workers
    std::vector<std::unique_ptr<Connection>> m_returned;  // kept alive, back to the reader
    std::set<int> m_active;                               // sockets the workers answer on
};

}  // namespace serve
