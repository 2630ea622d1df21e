// SPDX-License-Identifier: LGPL-3.0-or-later
#include "support/TempRegistry.h"

#include <sqlite3.h>

RawDatabase::RawDatabase(const std::string& path, bool create) {
    sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0),
                    nullptr);
    sqlite3_busy_timeout(m_db, 5000);
}

RawDatabase::~RawDatabase() { sqlite3_close(m_db); }

std::string RawDatabase::Sql(const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(st);
    std::string out;
    if (rc == SQLITE_ROW && sqlite3_column_text(st, 0))
        out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    else if (rc != SQLITE_ROW && rc != SQLITE_DONE)
        out = std::string("error: ") + sqlite3_errmsg(m_db);
    sqlite3_finalize(st);
    return out;
}
