#include "platform/RegistryStore.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "platform/Registry.h"

namespace zcmreg {

namespace {

// Marks the files this library created ("ZCMR"), so a foreign SQLite database is not taken
// over as a hive.
constexpr int kApplicationId = 0x5A434D52;
constexpr int kBusyTimeoutMs = 10000;

const char* const kSchema =
    "CREATE TABLE IF NOT EXISTS reg_keys("
    "  path TEXT PRIMARY KEY,"  // folded full path, components joined by '\'
    "  name TEXT NOT NULL"      // the path as spelt at creation
    ") WITHOUT ROWID;"
    "CREATE TABLE IF NOT EXISTS reg_values("
    "  key TEXT NOT NULL,"   // folded full path of the key ('' for the hive root)
    "  fold TEXT NOT NULL,"  // folded value name
    "  name TEXT NOT NULL,"
    "  type INTEGER NOT NULL,"
    "  data,"
    "  PRIMARY KEY(key, fold)"
    ") WITHOUT ROWID;";

// One hive's connection, reused while its file stays the same.
struct Connection {
    std::mutex lock;
    sqlite3* db = nullptr;
    std::string path;
    dev_t dev = 0;
    ino_t ino = 0;
    pid_t pid = 0;
    bool schemaReady = false;

    void Close() {
        // A connection inherited through fork() belongs to the parent: closing it here
        // could disturb the parent's locks and journal, so it is only forgotten.
        if (db && pid == getpid()) sqlite3_close_v2(db);
        db = nullptr;
        schemaReady = false;
    }
};

struct Hives {
    Connection user, machine;
    ~Hives();
};

bool g_hivesGone = false;  // set once the connections are closed at unload

Hives& AllHives() {
    static Hives hives;
    return hives;
}

Hives::~Hives() {
    user.Close();
    machine.Close();
    g_hivesGone = true;
}

std::string ConfigHome() {
    const char* xdg = getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;  // relative values are ignored, as XDG says
    const char* home = getenv("HOME");
    if (home && home[0]) return std::string(home) + "/.config";
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && pw->pw_dir[0])
        return std::string(pw->pw_dir) + "/.config";
    return std::string();
}

bool Exec(sqlite3* db, const char* sql, int* rc) {
    *rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    return *rc == SQLITE_OK;
}

// Checks that the file is one of ours and creates the tables when allowed. Returns
// ERROR_SUCCESS, ERROR_FILE_NOT_FOUND (no tables yet, reading) or the failure.
LONG PrepareSchema(Connection& c, bool write) {
    int appId = 0, tables = 0;
    {
        Statement st(c.db, "PRAGMA application_id");
        if (!st.ok()) return ErrorFromSqlite(st.prepareResult(), write);
        int rc = st.Step();
        if (rc != SQLITE_ROW) return ErrorFromSqlite(rc, write);
        appId = st.ColumnInt(0);
    }
    {
        Statement st(c.db,
                     "SELECT count(*) FROM sqlite_master WHERE type='table' AND "
                     "name IN ('reg_keys','reg_values')");
        if (!st.ok()) return ErrorFromSqlite(st.prepareResult(), write);
        int rc = st.Step();
        if (rc != SQLITE_ROW) return ErrorFromSqlite(rc, write);
        tables = st.ColumnInt(0);
    }
    if (appId != 0 && appId != kApplicationId) return ERROR_BADDB;
    if (appId == kApplicationId && tables == 2) {
        c.schemaReady = true;
        return ERROR_SUCCESS;
    }
    if (appId == 0 && tables == 0) {
        // A file with tables of some other program is not a hive.
        Statement st(c.db, "SELECT count(*) FROM sqlite_master");
        if (st.ok() && st.Step() == SQLITE_ROW && st.ColumnInt(0) != 0) return ERROR_BADDB;
    }
    if (!write) return ERROR_FILE_NOT_FOUND;
    int rc;
    if (!Exec(c.db, "BEGIN IMMEDIATE", &rc)) return ErrorFromSqlite(rc, true);
    const std::string setId = "PRAGMA application_id=" + std::to_string(kApplicationId);
    if (!Exec(c.db, kSchema, &rc) || !Exec(c.db, setId.c_str(), &rc) ||
        !Exec(c.db, "COMMIT", &rc)) {
        sqlite3_exec(c.db, "ROLLBACK", nullptr, nullptr, nullptr);
        return ErrorFromSqlite(rc, true);
    }
    c.schemaReady = true;
    return ERROR_SUCCESS;
}

// Makes c.db a usable connection to the hive's current file.
LONG Acquire(Connection& c, Hive hive, bool write) {
    const std::string path = HiveFile(hive);
    if (path.empty()) return ERROR_CANTOPEN;
    struct stat st {};
    const bool exists = stat(path.c_str(), &st) == 0;
    if (c.db && c.pid != getpid()) c.Close();
    // The file may have been replaced or removed since the last call (or the variable
    // now names another one): follow it.
    if (c.db && (c.path != path || !exists || st.st_dev != c.dev || st.st_ino != c.ino))
        c.Close();
    if (!c.db) {
        if (!exists && !write) return ERROR_FILE_NOT_FOUND;
        int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
        if (!exists) {
            std::error_code ec;
            const std::filesystem::path parent = std::filesystem::path(path).parent_path();
            if (!parent.empty()) std::filesystem::create_directories(parent, ec);
            flags |= SQLITE_OPEN_CREATE;
        }
        sqlite3* db = nullptr;
        const int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_close_v2(db);
            return ERROR_CANTOPEN;
        }
        sqlite3_busy_timeout(db, kBusyTimeoutMs);
        struct stat now {};
        if (stat(path.c_str(), &now) != 0) {
            sqlite3_close_v2(db);
            return ERROR_CANTOPEN;
        }
        c.db = db;
        c.path = path;
        c.dev = now.st_dev;
        c.ino = now.st_ino;
        c.pid = getpid();
        c.schemaReady = false;
    }
    if (c.schemaReady) return ERROR_SUCCESS;
    const LONG err = PrepareSchema(c, write);
    if (err != ERROR_SUCCESS && err != ERROR_FILE_NOT_FOUND) c.Close();
    return err;
}

}  // namespace

std::string HiveFile(Hive hive) {
    const char* env =
        getenv(hive == Hive::User ? "ZCMCOM_REGISTRY_USER" : "ZCMCOM_REGISTRY_MACHINE");
    if (env && env[0]) return env;
    const std::string base = ConfigHome();
    if (base.empty()) return base;
    return base + (hive == Hive::User ? "/orvana/registry-user.sqlite"
                                      : "/orvana/registry-machine.sqlite");
}

LONG ErrorFromSqlite(int rc, bool writing) {
    switch (rc & 0xff) {
        case SQLITE_OK:
        case SQLITE_DONE:
        case SQLITE_ROW:
            return ERROR_SUCCESS;
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
        case SQLITE_SCHEMA:
            return ERROR_BADDB;
        case SQLITE_READONLY:
        case SQLITE_PERM:
        case SQLITE_AUTH:
            return ERROR_ACCESS_DENIED;
        case SQLITE_CANTOPEN:
            return ERROR_CANTOPEN;
        case SQLITE_NOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case SQLITE_FULL:
            return ERROR_DISK_FULL;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return writing ? ERROR_CANTWRITE : ERROR_CANTREAD;
        default:
            return ERROR_REGISTRY_IO_FAILED;
    }
}

LONG WithHive(Hive hive, bool write, const std::function<LONG(sqlite3*)>& work) {
    if (g_hivesGone) return ERROR_CANTOPEN;
    Hives& hives = AllHives();
    Connection& c = hive == Hive::User ? hives.user : hives.machine;
    std::lock_guard<std::mutex> guard(c.lock);
    LONG err = Acquire(c, hive, write);
    if (err != ERROR_SUCCESS) return err;
    if (!write) {
        err = work(c.db);
    } else {
        int rc;
        if (!Exec(c.db, "BEGIN IMMEDIATE", &rc)) {
            err = ErrorFromSqlite(rc, true);
        } else {
            err = work(c.db);
            if (err == ERROR_SUCCESS && !Exec(c.db, "COMMIT", &rc))
                err = ErrorFromSqlite(rc, true);
            if (err != ERROR_SUCCESS) sqlite3_exec(c.db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
    // A file found damaged is checked afresh on the next call.
    if (err == ERROR_BADDB) c.Close();
    return err;
}

Statement::Statement(sqlite3* db, const char* sql)
    : m_rc(sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr)) {
    if (m_rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

Statement::~Statement() { sqlite3_finalize(m_stmt); }

Statement& Statement::Bind(int index, const std::string& text) {
    if (m_stmt)
        sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::Bind(int index, long long value) {
    if (m_stmt) sqlite3_bind_int64(m_stmt, index, value);
    return *this;
}

int Statement::Step() { return m_stmt ? sqlite3_step(m_stmt) : m_rc; }

int Statement::ColumnInt(int column) const { return sqlite3_column_int(m_stmt, column); }

long long Statement::ColumnInt64(int column) const {
    return sqlite3_column_int64(m_stmt, column);
}

std::string Statement::ColumnText(int column) const {
    const unsigned char* text = sqlite3_column_text(m_stmt, column);
    const int n = sqlite3_column_bytes(m_stmt, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(n))
                : std::string();
}

int Statement::ColumnType(int column) const { return sqlite3_column_type(m_stmt, column); }

}  // namespace zcmreg
