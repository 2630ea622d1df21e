// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Points both registry hives at files in a fresh temporary folder for the lifetime of the
// object, and restores the previous settings afterwards.
#include <cstdlib>
#include <string>

#include "support/TestUtil.h"

class TempRegistry {
public:
    TempRegistry() {
        setenv("ZCMCOM_REGISTRY_USER", m_user.c_str(), 1);
        setenv("ZCMCOM_REGISTRY_MACHINE", m_machine.c_str(), 1);
    }
    const std::string& userFile() const { return m_user; }
    const std::string& machineFile() const { return m_machine; }
    const TempDir& dir() const { return m_dir; }

private:
    EnvRestorer m_userVariable{"ZCMCOM_REGISTRY_USER"},
        m_machineVariable{"ZCMCOM_REGISTRY_MACHINE"};
    TempDir m_dir;
    std::string m_user = m_dir.File("user.sqlite"), m_machine = m_dir.File("machine.sqlite");
};

// A connection of the test's own to a database file, as another program (a backup or
// repair tool) would have: it can hold a transaction open between statements. With create, a
// missing file is made.
class RawDatabase {
public:
    explicit RawDatabase(const std::string& path, bool create = false);
    ~RawDatabase();
    RawDatabase(const RawDatabase&) = delete;
    RawDatabase& operator=(const RawDatabase&) = delete;
    // Runs one statement: the first column of its first row, or "error: ...".
    std::string Sql(const std::string& sql);

private:
    struct sqlite3* m_db = nullptr;
};

inline std::string SqlOnFile(const std::string& path, const std::string& sql) {
    return RawDatabase(path).Sql(sql);
}
