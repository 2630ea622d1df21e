// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The HTTP side of the browser chart: the page's files and the JSON API over a ChartState.
// Every parameter is checked before it reaches the library; a bad one answers 400 with a
// JSON error and the server carries on.
#include <memory>
#include <string>

#include "serve/ChartState.h"

namespace serve {

class HttpFront;

// The folder of the page: $ZCMCOM_WEB_DIR, else web/ in the first of the data folders
// (sky::DataFolders) that holds its index.html. Empty when none does.
std::string FindWebFolder();

class ChartServer {
public:
    // webFolder empty: a short page that says the chart is not installed.
    ChartServer(ChartState& state, std::string webFolder);
    ~ChartServer();
    ChartServer(const ChartServer&) = delete;
    ChartServer& operator=(const ChartServer&) = delete;

    // Binds the address; port 0 takes any free one. Returns the port, -1 on failure.
    int Bind(const std::string& address, int port);
    // Serves until Stop; false when it could not.
    bool Listen();
    // Ends Listen: connections are shut down, answers under way end; any thread may call
    // it, before Listen too.
    void Stop();

private:
    void Route();
    ChartState& m_state;
    std::string m_web;
    std::unique_ptr<HttpFront> m_server;
};

}  // namespace serve
