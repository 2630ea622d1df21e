// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Small helpers shared by the tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/Exception.h"
#include "platform/MessageBox.h"
#include "platform/String.h"

// Lets GoogleTest print CString values in failure messages.
inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << s.ToUtf8() << '"'; }

inline CString W(const std::string& s) { return CString(s.c_str()); }

// Runs f, which must throw E* (MFC style), and hands the exception to check.
template <class E, class F, class Check = void (*)(E*)>
void ExpectThrows(
    F f, Check check = [](E*) {}) {
    try {
        f();
        ADD_FAILURE() << "no exception";
    } catch (E* e) {
        check(e);
        e->Delete();
    }
}

// The description of the host failure (COleDispatchException) call raises; empty when none.
template <class Call>
std::string HostFailureOf(Call call) {
    std::string text;
    ExpectThrows<COleDispatchException>(
        [&] { call(); }, [&](COleDispatchException* e) { text = e->m_strDescription.ToUtf8(); });
    return text;
}

// Records the message boxes shown (text, type) instead of showing them, answering each with
// `answer`; the handler before it comes back when it goes.
struct MessageBoxRecorder {
    MessageBoxRecorder()
        : previous(AfxSetMessageBoxHandler([this](LPCTSTR text, UINT type) {
              shown.emplace_back(CString(text), type);
              return answer;
          })) {}
    ~MessageBoxRecorder() { AfxSetMessageBoxHandler(previous); }
    std::vector<std::pair<CString, UINT>> shown;
    int answer = IDOK;
    ZcmMessageBoxHandler previous;
};

// Runs a shell command, returns its standard output; the exit status goes to *status.
std::string RunCommand(const std::string& command, int* status);

// The whole of a file (empty when it cannot be read); a file made to hold exactly `bytes`.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Golden files are rewritten only by scripts/update-golden.sh, which sets
// ZCMCOM_UPDATE_GOLDEN to this value; any other value fails every golden test, so a variable
// left exported never turns them green.
constexpr const char* kGoldenUpdate = "rewrite-tests-golden";

// In update mode, writes text to path where it differs and fails, so the change is seen
// and checked by a second run; true in update mode.
inline bool UpdateGolden(const std::string& path, const std::string& text) {
    const char* mode = getenv("ZCMCOM_UPDATE_GOLDEN");
    if (!mode) return false;
    if (std::string(mode) != kGoldenUpdate) {
        ADD_FAILURE() << "ZCMCOM_UPDATE_GOLDEN is set: golden files are updated by "
                         "scripts/update-golden.sh only";
        return false;
    }
    if (ReadFileBytes(path) != text) {
        WriteFileBytes(path, text);
        ADD_FAILURE() << path << " updated: rerun";
    }
    return true;
}

#ifdef ZCMCOM_SOURCE_DIR
// Expects text to be the whole of tests/golden/<name>.
inline void ExpectGolden(const std::string& text, const std::string& name) {
    const std::string path = std::string(ZCMCOM_SOURCE_DIR) + "/tests/golden/" + name;
    if (!UpdateGolden(path, text)) {
        EXPECT_EQ(text, ReadFileBytes(path)) << path;
    }
}
#endif

// Expects each query's answer from a planetarium host (anything with Execute).
template <class Host>
void ExpectAnswers(Host& host,
                   std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> rows) {
    for (const auto& [query, answer] : rows)
        EXPECT_EQ(host.Execute(query), CString(answer)) << CString(query).ToUtf8();
}

// Restores one environment variable, set or not, when it goes.
class EnvRestorer {
public:
    explicit EnvRestorer(const char* name) : m_name(name), m_had(getenv(name) != nullptr) {
        if (m_had) m_value = getenv(name);
    }
    ~EnvRestorer() { m_had ? setenv(m_name, m_value.c_str(), 1) : unsetenv(m_name); }
    EnvRestorer(const EnvRestorer&) = delete;
    EnvRestorer& operator=(const EnvRestorer&) = delete;

private:
    const char* m_name;
    bool m_had;
    std::string m_value;
};

// Restores the named environment variables, and then the time zone, when it goes.
class EnvGuard {
public:
    EnvGuard(std::initializer_list<const char*> names) {
        for (const char* n : names) m_saved.push_back(std::make_unique<EnvRestorer>(n));
    }
    ~EnvGuard() {
        m_saved.clear();
        tzset();
    }

private:
    std::vector<std::unique_ptr<EnvRestorer>> m_saved;
};

// A fresh temporary folder, removed with its contents when the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

#ifdef ZCMCOM_TEST_DATA
// The tz database of the tests, the same on every machine: tests/data/tz/zones.zi compiled by
// zic, with the zone.tab beside it, in a folder that lasts as long as the process.
inline const std::string& TestZoneFolder() {
    static const TempDir dir;
    static const std::string zic = RunCommand(
        "zic -b slim -d " + dir.path() +
            " " ZCMCOM_TEST_DATA "/tz/zones.zi 2>&1 && cp " ZCMCOM_TEST_DATA "/tz/zone.tab " +
            dir.path() + " 2>&1",
        nullptr);
    EXPECT_EQ(zic, "");
    return dir.path();
}

// TZDIR names the tests' own zones while it lives.
struct TestZones {
    EnvGuard env{"TZDIR"};
    TestZones() { setenv("TZDIR", TestZoneFolder().c_str(), 1); }
};
#endif
