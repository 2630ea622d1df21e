#include "support/TempRegistry.h"

#include <sqlite3.h>

std::string SqlOnFile(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    std::string out;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        out = std::string("error: ") + sqlite3_errmsg(db);
    } else {
        sqlite3_busy_timeout(db, 5000);
        sqlite3_stmt* st = nullptr;
        int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
        if (rc == SQLITE_OK) rc = sqlite3_step(st);
        if (rc == SQLITE_ROW && sqlite3_column_text(st, 0))
            out = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        else if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            out = std::string("error: ") + sqlite3_errmsg(db);
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}
