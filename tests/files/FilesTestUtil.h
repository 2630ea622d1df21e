#pragma once
// Small helpers shared by the file tests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/String.h"

inline CString W(const std::string& s) { return CString(s.c_str()); }

// Runs f, which must throw E* (MFC style); returns the exception's check result.
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

// Restores the named environment variables (and the time zone) when it goes.
class EnvGuard {
public:
    EnvGuard(std::initializer_list<const char*> names) {
        for (const char* n : names) {
            const char* v = getenv(n);
            m_saved.push_back({n, v ? v : "", v != nullptr});
        }
    }
    ~EnvGuard() {
        for (const auto& s : m_saved) s.had ? setenv(s.name, s.value.c_str(), 1) : unsetenv(s.name);
        tzset();
    }

private:
    struct Saved {
        const char* name;
        std::string value;
        bool had;
    };
    std::vector<Saved> m_saved;
};
