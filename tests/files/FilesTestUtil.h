// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Small helpers shared by the file tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "platform/String.h"

inline CString W(const std::string& s) { return CString(s.c_str()); }

// Runs f, which must throw E* (MFC style), and hands the exception to check.
template <class E, class F, class Check = void (*)(E*)>
void ExpectThrows(F f, Check check = [](E*) {}) {
    try {
        f();
        ADD_FAILURE() << "no exception";
    } catch (E* e) {
        check(e);
        e->Delete();
    }
}

// Restores the named environment variables (and the time zone) when it goes.
class EnvGuard {
public:
    EnvGuard(std::initializer_list<const char*> names) {
        for (const char* n : names) m_saved.emplace_back(n, getenv(n) ? getenv(n) : "", getenv(n) != nullptr);
    }
    ~EnvGuard() {
        for (const auto& [name, value, had] : m_saved) had ? setenv(name, value.c_str(), 1) : unsetenv(name);
        tzset();
    }

private:
    std::vector<std::tuple<const char*, std::string, bool>> m_saved;
};
