// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// A headless Stellarium for one test, started by scripts/stellarium.sh in a state folder of
// its own (so tests and a developer's instance never share one) and stopped at the end.
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
        FILE* out = popen(Script("start").c_str(), "r");
        if (!out) {
            m_error = "cannot run scripts/stellarium.sh";
            return;
        }
        char line[512];
        const std::string key = "STELLARIUM_URL=";
        while (std::fgets(line, sizeof line, out)) {
            std::string text(line);
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
            if (text.rfind(key, 0) == 0) m_url = text.substr(key.size());
            else m_error += text + "\n";
        }
        if (pclose(out) != 0 || m_url.empty()) m_error = "scripts/stellarium.sh start failed:\n" + m_error, m_url.clear();
    }
    ~StellariumProcess() {
        if (m_state.empty()) return;
        if (std::system(Script("stop").c_str()) != 0) std::fprintf(stderr, "stellarium.sh stop failed\n");
        if (std::system(("rm -rf '" + m_state + "'").c_str()) != 0) std::fprintf(stderr, "cannot remove %s\n", m_state.c_str());
    }
    StellariumProcess(const StellariumProcess&) = delete;
    StellariumProcess& operator=(const StellariumProcess&) = delete;

    bool Started() const { return !m_url.empty(); }
    const std::string& Url() const { return m_url; }  // http://127.0.0.1:PORT
    const std::string& Error() const { return m_error; }

private:
    std::string Script(const char* verb) const {
        return "STELLARIUM_STATE='" + m_state + "' '" ZCMCOM_SOURCE_DIR "/scripts/stellarium.sh' " + verb + " 2>&1";
    }
    std::string m_state, m_url, m_error;
};
