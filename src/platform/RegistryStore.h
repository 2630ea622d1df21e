// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Internal to the platform library: the SQLite side of the registry, one database per hive.
#include <sqlite3.h>

#include <functional>
#include <string>

#include "platform/WinTypes.h"

namespace zcmreg {

enum class Hive { User, Machine };

/// One hive's connection of this process (defined in RegistryStore.cpp).
struct Connection;

/// Runs work on the hive's connection, holding the hive's lock of this process. With
/// write, the work runs in an immediate transaction that is committed when it returns
/// ERROR_SUCCESS and rolled back otherwise (inside a batch, in the batch's transaction); a
/// missing file is then created. Without write, a missing or empty hive answers
/// ERROR_FILE_NOT_FOUND without calling work. Work must change nothing before it has
/// checked what can fail for reasons other than the database itself.
LONG WithHive(Hive hive, bool write, const std::function<LONG(Connection&)>& work);

/// Batches: between BeginBatch and EndBatch the calling thread holds the hive, and every
/// write it makes there joins one transaction, begun at the first write. Batches nest; the
/// outermost EndBatch commits (or, with commit false, rolls back) and returns the outcome:
/// ERROR_SUCCESS, the first failure of a write (nothing is then stored), or ERROR_CANCELLED
/// when an inner batch was cancelled.
void BeginBatch(Hive hive);
LONG EndBatch(Hive hive, bool commit);

/// Why the hive could not be used at the last attempt, naming its file; empty when it could.
std::string Problem(Hive hive);

/// The Windows error for an SQLite result code.
LONG ErrorFromSqlite(int rc, bool writing);

/// The hive's file as an absolute path, which SQLite never reads as a URI ("file:..." is a
/// relative file name here): ZCMCOM_REGISTRY_USER / ZCMCOM_REGISTRY_MACHINE, or the default
/// under $XDG_CONFIG_HOME (or ~/.config) /orvana/. Empty when no home is known. *named tells
/// whether a variable named it.
std::string HiveFile(Hive hive, bool* named);

/// File systems whose locking or shared memory cannot carry a write-ahead log between
/// processes (network and user-space file systems).
bool OddFileSystem(const std::string& path);

/// Whether the connection's file is empty or starts as an SQLite database does.
bool LooksLikeDatabase(sqlite3* db);

/// Rows changed by the last statement on the connection.
int Changes(Connection& c);

/// A statement prepared once per connection and kept; the object binds, steps and resets it.
class Statement {
public:
    Statement(Connection& c, const char* sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return m_stmt != nullptr; }
    int prepareResult() const { return m_rc; }
    Statement& Bind(int index, const std::string& text);
    Statement& Bind(int index, long long value);
    int Step();  ///< SQLITE_ROW, SQLITE_DONE or an error
    int ColumnInt(int column) const;
    long long ColumnInt64(int column) const;
    std::string ColumnText(int column) const;
    int ColumnType(int column) const;

private:
    Connection* m_c;
    sqlite3_stmt* m_stmt = nullptr;
    int m_rc;
};

}  // namespace zcmreg
