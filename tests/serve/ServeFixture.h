// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// A chart server on 127.0.0.1 (any free port) over a fresh registry and a small web folder,
// at 2026-12-07 21:00 in Tokyo, and an HTTP client of it.
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "serve/ChartServer.h"
#include "support/TempRegistry.h"

constexpr double kStartJd = 2461382.0;  // 2026-12-07 12:00 UT
constexpr double kLon = 139.745, kLat = 35.654, kHeight = 40.0;

// A plain connection to 127.0.0.1:port whose reads and writes give up after 30 s; -1 when
// it cannot connect.
inline int Connect(int port) {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const timeval wait{30, 0};
    sockaddr_in a{};
    a.sin_family = AF_INET, a.sin_port = htons(port), a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
    if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
    if (fd >= 0) close(fd);
    return -1;
}

inline ssize_t SendText(int fd, const std::string& text) {
    return send(fd, text.data(), text.size(), MSG_NOSIGNAL);
}

// Sends bytes and reads what comes back until the server closes the connection.
inline std::string Exchange(int port, const std::string& request) {
    const int fd = Connect(port);
    std::string answer;
    if (fd < 0 || SendText(fd, request) < 0) return answer;
    char buffer[4096];
    for (ssize_t n; (n = recv(fd, buffer, sizeof buffer, 0)) > 0;) answer.append(buffer, n);
    close(fd);
    return answer;
}

// "zcmcom serve --port 0" and the arguments, its standard output in the file out; *port is
// where it serves (0 when it said nothing of it within a minute).
inline pid_t StartServe(std::vector<std::string> args, const std::string& out, int* port) {
    args.insert(args.begin(), {ZCMCOM_CLI, "serve", "--port", "0"});
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (freopen(out.c_str(), "w", stdout)) execv(ZCMCOM_CLI, argv.data());
        _exit(127);
    }
    std::string line;
    const char* serving = "serving http://127.0.0.1:";
    for (int i = 0; pid > 0 && i < 6000 && line.find(serving) == std::string::npos; ++i) {
        usleep(10000);
        line = ReadFileBytes(out);
    }
    *port = line.find(serving) == std::string::npos ? 0 : std::atoi(line.c_str() + 25);
    return pid;
}

class ServeTest : public ::testing::Test {
protected:
    void SetUp() override {
        web = m_files.File("web");
        std::filesystem::create_directory(web);
        WriteFileBytes(web + "/index.html", "<p>chart</p>");
        WriteFileBytes(web + "/style.css", "p {}");
        WriteFileBytes(m_files.File("secret.txt"), "SECRET");
        std::filesystem::create_symlink(m_files.File("secret.txt"), web + "/link.css");
        serve::StartOptions start;
        start.jd = kStartJd, start.hasSite = true, start.lon = kLon, start.lat = kLat,
        start.height = kHeight;
        state = std::make_unique<serve::ChartState>(start);
        server = std::make_unique<serve::ChartServer>(*state, web);
        port = server->Bind("127.0.0.1", 0);
        ASSERT_GT(port, 0);
        m_thread = std::thread([this] { server->Listen(); });
        client = std::make_unique<httplib::Client>("127.0.0.1", port);
        client->set_read_timeout(120);
    }
    void TearDown() override {
        // Listen may not have started yet; Stop is repeated until it has ended.
        while (m_thread.joinable()) {
            server->Stop();
            if (!client->Get("/api/time")) m_thread.join();
        }
    }
    // The answer's JSON; status in *status.
    nlohmann::json Get(const std::string& target, int* status = nullptr) {
        auto res = client->Get(target.c_str());
        if (!res) ADD_FAILURE() << target << ": " << httplib::to_string(res.error());
        if (status) *status = res ? res->status : -1;
        return res ? nlohmann::json::parse(res->body, nullptr, false) : nlohmann::json();
    }
    nlohmann::json Post(const std::string& target, const std::string& body, int* status = nullptr) {
        auto res = client->Post(target.c_str(), body, "application/json");
        if (status) *status = res ? res->status : -1;
        return res ? nlohmann::json::parse(res->body, nullptr, false) : nlohmann::json();
    }

    TempRegistry registry;
    TestZones zones;  // and their cities
    std::string web;
    std::unique_ptr<serve::ChartState> state;
    std::unique_ptr<serve::ChartServer> server;
    std::unique_ptr<httplib::Client> client;
    int port = 0;

private:
    TempDir m_files;
    std::thread m_thread;
};
