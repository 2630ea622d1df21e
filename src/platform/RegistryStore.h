#pragma once
// Internal to the platform library: the SQLite side of the registry, one database per hive.
#include <sqlite3.h>

#include <functional>
#include <string>

#include "platform/WinTypes.h"

namespace zcmreg {

enum class Hive { User, Machine };

// The hive's database file: ZCMCOM_REGISTRY_USER / ZCMCOM_REGISTRY_MACHINE, or the
// default under $XDG_CONFIG_HOME (or ~/.config) /orvana/. Empty when no home is known.
std::string HiveFile(Hive hive);

// Runs work on the hive's connection, holding the hive's lock of this process. With
// write, the work runs in an immediate transaction that is committed when it returns
// ERROR_SUCCESS and rolled back otherwise; a missing file is then created. Without write,
// a missing or empty hive answers ERROR_FILE_NOT_FOUND without calling work.
LONG WithHive(Hive hive, bool write, const std::function<LONG(sqlite3*)>& work);

// The Windows error for an SQLite result code.
LONG ErrorFromSqlite(int rc, bool writing);

// A prepared statement that finalizes itself.
class Statement {
public:
    Statement(sqlite3* db, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return m_stmt != nullptr; }
    int prepareResult() const { return m_rc; }
    Statement& Bind(int index, const std::string& text);
    Statement& Bind(int index, long long value);
    int Step();  // SQLITE_ROW, SQLITE_DONE or an error
    int ColumnInt(int column) const;
    long long ColumnInt64(int column) const;
    std::string ColumnText(int column) const;
    int ColumnType(int column) const;

private:
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc;
};

}  // namespace zcmreg
