// SPDX-License-Identifier: LGPL-3.0-or-later
#include "support/TestUtil.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string RunCommand(const std::string& command, int* status) {
    std::string out;
    FILE* p = popen(command.c_str(), "r");
    if (!p) {
        if (status) *status = -1;
        return out;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    const int rc = pclose(p);
    if (status) *status = WIFEXITED(rc) ? WEXITSTATUS(rc) : -1;
    return out;
}

TempDir::TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zcmtest.XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    m_path = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string ReadFileBytes(const std::string& path) {
    std::stringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    return s.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

namespace {

// The tests never see the copies `zcmcom update` left in the user's own data folder: each
// program and the commands it runs get an empty one (a test that wants copies sets its own).
const bool kNoUserData = [] {
    const std::string folder = ::testing::TempDir() + "zcmcom-no-user-data";
    return setenv("XDG_DATA_HOME", folder.c_str(), 1) == 0;
}();

}  // namespace
