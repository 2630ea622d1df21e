#pragma once
// Small helpers shared by the tests.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/String.h"

// Lets GoogleTest print CString values in failure messages.
inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << s.ToUtf8() << '"'; }

// Runs a shell command, returns its standard output; the exit status goes to *status.
std::string RunCommand(const std::string& command, int* status);

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
