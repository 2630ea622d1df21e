// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// A headless Stellarium for the tests, started by scripts/stellarium.sh in a state folder of
// its own (so tests and a developer's instance never share one) and stopped at the end.
// SharedStellarium() is the one of a test program: started at the first call, stopped at exit.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

class StellariumProcess {
public:
    StellariumProcess() {
        char folder[] = "/tmp/zcm-stellarium-XXXXXX";
        if (!mkdtemp(folder)) {
            m_error = "no temporary folder";
            return;
        }
        m_state = folder;
        std::string out;
        const std::string key = "STELLARIUM_URL=";
        const size_t at = Script("start", &out) == 0 ? out.find(key) : std::string::npos;
        if (at == std::string::npos) {
            m_error = "scripts/stellarium.sh start failed:\n" + out;
            return;
        }
        m_url = out.substr(at + key.size(), out.find('\n', at) - at - key.size());
    }
    ~StellariumProcess() {
        if (m_state.empty()) return;
        if (Script("stop") != 0) std::fprintf(stderr, "stellarium.sh stop failed\n");
        if (std::system(("rm -rf '" + m_state + "'").c_str()) != 0)
            std::fprintf(stderr, "cannot remove %s\n", m_state.c_str());
    }
    StellariumProcess(const StellariumProcess&) = delete;
    StellariumProcess& operator=(const StellariumProcess&) = delete;

    bool Started() const { return !m_url.empty(); }
    const std::string& Url() const { return m_url; }  // http://127.0.0.1:PORT
    const std::string& Error() const { return m_error; }
    std::string Port() const { return m_url.substr(m_url.rfind(':') + 1); }
    // A file of the state folder ("stellarium.pid").
    std::string StateFile(const std::string& name) const { return m_state + "/" + name; }

    // Runs scripts/stellarium.sh with this state folder ("stop", "start PORT"); its exit
    // status, its output (standard error too) in *out.
    int Script(const std::string& args, std::string* out = nullptr) const {
        FILE* pipe = popen(("STELLARIUM_STATE='" + m_state +
                            "' '" ZCMCOM_SOURCE_DIR "/scripts/stellarium.sh' " + args + " 2>&1")
                               .c_str(),
                           "r");
        if (!pipe) return -1;
        char buffer[512];
        std::string text;
        while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
        if (out) *out = text;
        return pclose(pipe);
    }

private:
    std::string m_state, m_url, m_error;
};

inline StellariumProcess& SharedStellarium() {
    static StellariumProcess process;
    return process;
}
