// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/RegistryStore.h"

#include <pthread.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "platform/Registry.h"

namespace zcmreg {

namespace {

// Marks the files this library created ("ZCMR"), so a foreign SQLite database is not taken
// over as a hive.
constexpr int kApplicationId = 0x5A434D52;
// How long a call waits for other processes' writes before it gives up; a journal-mode
// switch, which needs the file to itself, waits briefly and is tried again later.
constexpr long long kBusyLimitUs = 10'000'000;
constexpr long long kJournalSwitchLimitUs = 200'000;

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

long long MonotonicUs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1'000'000LL + ts.tv_nsec / 1000;
}

}  // namespace

// One hive's connection, reused while its file stays the same, with the statements
// prepared on it. The lock is re-entrant for the thread that holds it, so the calls made
// inside a batch pass; it is a plain mutex underneath so that fork() can take it over.
struct Connection {
    std::mutex lock;
    std::atomic<std::thread::id> owner{};
    int depth = 0;

    sqlite3* db = nullptr;
    std::string path;  // absolute
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;  // size and time of the last change seen, to notice outside changes
    timespec mtime{};
    pid_t pid = 0;
    bool schemaReady = false;
    bool journalChosen = false;
    bool readOnly = false;  // opened for reading only, the log's shared memory being out of reach
    std::string lastWhy;    // what SQLite said of the last failure on this connection
    std::unordered_map<const char*, sqlite3_stmt*> statements;  // by SQL text

    int batchDepth = 0;
    bool inTransaction = false;  // a batch's transaction is open
    LONG batchError = ERROR_SUCCESS;

    long long busySince = 0, busyLimitUs = kBusyLimitUs;
    unsigned jitter = 0;
    std::string problem;

    void Enter() {
        const std::thread::id self = std::this_thread::get_id();
        if (owner.load(std::memory_order_relaxed) != self) {
            lock.lock();
            owner.store(self, std::memory_order_relaxed);
        }
        ++depth;
    }
    void Leave() {
        if (--depth == 0) {
            owner.store(std::thread::id(), std::memory_order_relaxed);
            lock.unlock();
        }
    }
    // With keepLog, the log is left as it is rather than copied into the file: the file
    // may be damaged, or a fork wants to be quick.
    void Close(bool keepLog = false) {
        // A connection inherited through fork() belongs to the parent: closing it here
        // could disturb the parent's locks and journal, so it is only forgotten.
        if (db && pid == getpid()) {
            for (auto& s : statements) sqlite3_finalize(s.second);
            if (keepLog) sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
            sqlite3_close_v2(db);
        }
        statements.clear();
        db = nullptr;
        schemaReady = journalChosen = inTransaction = false;
    }
};

namespace {

class HiveLock {
public:
    explicit HiveLock(Connection& c) : m_c(c) { c.Enter(); }
    ~HiveLock() { m_c.Leave(); }
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;

private:
    Connection& m_c;
};

struct Hives {
    Connection user, machine;
    Hives();
    ~Hives();
};

bool g_hivesGone = false;  // set once the connections are closed at unload

Hives& AllHives() {
    static Hives hives;
    return hives;
}

Connection& Of(Hive hive) { return hive == Hive::User ? AllHives().user : AllHives().machine; }

// SQLite connections must not cross fork(): the child would share the parent's view of
// its locks and could delete or overwrite the write-ahead log under it. An idle
// connection is closed before the fork (both sides open afresh when next needed); one
// inside a batch of the forking thread stays with the parent and the child forgets it.
void BeforeFork() {
    if (g_hivesGone) return;
    for (Connection* c : {&AllHives().user, &AllHives().machine}) {
        c->Enter();
        if (c->depth == 1) c->Close(true);
    }
}

void AfterForkInParent() {
    if (g_hivesGone) return;
    for (Connection* c : {&AllHives().machine, &AllHives().user}) c->Leave();
}

void AfterForkInChild() {
    if (g_hivesGone) return;
    for (Connection* c : {&AllHives().machine, &AllHives().user}) {
        if (c->inTransaction) c->batchError = ERROR_CANTWRITE;
        c->Close();  // the parent's: only forgotten
        c->Leave();
    }
}

Hives::Hives() { pthread_atfork(BeforeFork, AfterForkInParent, AfterForkInChild); }

Hives::~Hives() {
    user.Close();
    machine.Close();
    g_hivesGone = true;
}

LONG Refuse(Connection& c, LONG error, const std::string& why) {
    c.problem = why;
    return error;
}

// What went wrong, in words a user can act on: a full disk and a file-size limit are told
// as such rather than as an I/O error.
std::string Why(sqlite3* db, int rc) {
    const int system = sqlite3_system_errno(db);
    if ((rc & 0xff) == SQLITE_FULL || system == ENOSPC) return "no space left on the disk";
    if ((rc & 0xff) == SQLITE_IOERR && system != 0) return strerror(system);  // "File too large"
    if ((rc & 0xff) == SQLITE_CANTOPEN && system != 0)
        return std::string(sqlite3_errstr(rc)) + ": " + strerror(system);
    return sqlite3_errmsg(db);
}

bool Exec(Connection& c, const char* sql, int* rc) {
    *rc = sqlite3_exec(c.db, sql, nullptr, nullptr, nullptr);
    if (*rc != SQLITE_OK) c.lastWhy = Why(c.db, *rc);
    return *rc == SQLITE_OK;
}

// Failures of the file or the disk rather than of the call, which name the file's problem.
bool FileFailure(LONG err) {
    return err == ERROR_REGISTRY_IO_FAILED || err == ERROR_DISK_FULL || err == ERROR_CANTWRITE ||
           err == ERROR_CANTREAD || err == ERROR_CANTOPEN || err == ERROR_NOT_ENOUGH_MEMORY;
}

void NoteFailure(Connection& c, LONG err) {
    if (FileFailure(err) && !c.lastWhy.empty()) c.problem = c.path + ": " + c.lastWhy;
}

// Waits for other processes' transactions in short naps with jitter, so that several
// waiting writers do not retry in step, and gives up after the connection's limit.
int OnBusy(void* arg, int count) {
    Connection& c = *static_cast<Connection*>(arg);
    const long long now = MonotonicUs();
    if (count == 0) c.busySince = now;
    if (now - c.busySince >= c.busyLimitUs) return 0;
    c.jitter = c.jitter * 1103515245u + 12345u;
    const long base = count < 6 ? 25L << count : 1600L;  // microseconds
    const long nap = base / 2 + static_cast<long>((c.jitter >> 8) % static_cast<unsigned>(base));
    timespec ts{0, nap * 1000};
    nanosleep(&ts, nullptr);
    return 1;
}

// Readers never wait for writers and a commit costs no disk sync with a write-ahead log
// (a commit is in the log as soon as it returns, so killing the process loses nothing;
// a power cut may lose the last moments, never the file). On file systems where the log
// cannot be shared, or when the switch fails, the file keeps a rollback journal with a
// sync at every commit.
void ChooseJournal(Connection& c) {
    c.busyLimitUs = kJournalSwitchLimitUs;
    const bool wantWal = !OddFileSystem(c.path);
    std::string mode;
    {
        Statement st(c, wantWal ? "PRAGMA journal_mode=WAL" : "PRAGMA journal_mode=DELETE");
        if (st.Step() == SQLITE_ROW) mode = st.ColumnText(0);
    }
    c.busyLimitUs = kBusyLimitUs;
    if (mode.empty()) return;  // busy: tried again when the connection is next opened
    int rc;
    Exec(c, mode == "wal" ? "PRAGMA synchronous=NORMAL" : "PRAGMA synchronous=FULL", &rc);
    c.journalChosen = true;
}

enum class FileState { Ready, Empty, Foreign };

// What the file holds: our tables, nothing yet, or something else.
LONG Inspect(Connection& c, bool write, FileState* state) {
    Statement st(c,
                 "SELECT (SELECT application_id FROM pragma_application_id),"
                 " (SELECT count(*) FROM sqlite_master WHERE type='table' AND"
                 "  name IN ('reg_keys','reg_values')),"
                 " (SELECT count(*) FROM sqlite_master)");
    if (!st.ok()) return ErrorFromSqlite(st.prepareResult(), write);
    const int rc = st.Step();
    if (rc != SQLITE_ROW) return ErrorFromSqlite(rc, write);
    const int appId = st.ColumnInt(0), ours = st.ColumnInt(1), all = st.ColumnInt(2);
    if (appId == kApplicationId && ours == 2)
        *state = FileState::Ready;
    else if (appId == 0 && all == 0)
        *state = FileState::Empty;
    else
        *state = FileState::Foreign;  // a file of some other program is not a hive
    return ERROR_SUCCESS;
}

// Checks that the file is one of ours, chooses its journal and creates the tables in an
// empty one when writing. Returns ERROR_SUCCESS, ERROR_FILE_NOT_FOUND (empty, reading) or
// the failure. Nothing is written to a file that is not ours.
LONG PrepareSchema(Connection& c, bool write) {
    FileState state;
    LONG err = Inspect(c, write, &state);
    if (err != ERROR_SUCCESS) return err;
    if (state == FileState::Foreign) return ERROR_BADDB;
    if (state == FileState::Empty && !write) return ERROR_FILE_NOT_FOUND;
    if (!c.journalChosen && !c.readOnly) ChooseJournal(c);
    if (state == FileState::Empty) {
        // Another process may be creating the tables right now: look again inside the
        // transaction.
        int rc;
        if (!Exec(c, "BEGIN IMMEDIATE", &rc)) return ErrorFromSqlite(rc, true);
        err = Inspect(c, true, &state);
        if (err == ERROR_SUCCESS && state == FileState::Foreign) err = ERROR_BADDB;
        if (err == ERROR_SUCCESS && state == FileState::Empty) {
            const std::string setId = "PRAGMA application_id=" + std::to_string(kApplicationId);
            if (!Exec(c, kSchema, &rc) || !Exec(c, setId.c_str(), &rc))
                err = ErrorFromSqlite(rc, true);
        }
        if (err == ERROR_SUCCESS && !Exec(c, "COMMIT", &rc)) err = ErrorFromSqlite(rc, true);
        if (err != ERROR_SUCCESS) {
            sqlite3_exec(c.db, "ROLLBACK", nullptr, nullptr, nullptr);
            return err;
        }
    }
    c.schemaReady = true;
    return ERROR_SUCCESS;
}

// A missing hive file is created on the first write. The default file's folders are made
// as needed; a file that a variable names must have its folder already, so that a
// mistyped path is reported instead of creating folders in odd places.
LONG MakeFolder(Connection& c, const std::string& path, bool named) {
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    struct stat st {};
    if (stat(folder.c_str(), &st) == 0) return ERROR_SUCCESS;
    if (named) return Refuse(c, ERROR_PATH_NOT_FOUND, "the folder of " + path + " does not exist");
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec)
        return Refuse(c, ERROR_PATH_NOT_FOUND,
                      "cannot make the folder of " + path + ": " + ec.message());
    return ERROR_SUCCESS;
}

// A file name as an SQLite URI.
std::string Uri(const std::string& path) {
    std::string uri = "file:";
    for (const unsigned char ch : path) {
        if (std::isalnum(ch) || std::strchr("/-._~", ch)) {
            uri += static_cast<char>(ch);
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", ch);
            uri += hex;
        }
    }
    return uri;
}

// Opens the hive's file as c.db. Read-only, a file whose write-ahead log cannot be shared
// (a folder this user cannot write, a full disk) is read as it stands: immutable when the
// log's files are missing and cannot be made.
LONG OpenFile(Connection& c, const std::string& path, bool create, bool readOnly) {
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
    std::string name = path;
    if (readOnly) {
        const std::string folder = path.substr(0, path.rfind('/') + 1);
        const bool logKept = access((path + "-wal").c_str(), R_OK) == 0 &&
                             access((path + "-shm").c_str(), R_OK) == 0;
        name = Uri(path) + "?mode=ro" +
               (logKept && access(folder.c_str(), W_OK) == 0 ? "" : "&immutable=1");
        flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
    }
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(name.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string why = db ? Why(db, rc) : sqlite3_errstr(rc);
        sqlite3_close_v2(db);
        return Refuse(c, ERROR_CANTOPEN, "cannot open " + path + ": " + why);
    }
    struct stat now {};
    if (stat(path.c_str(), &now) != 0) {
        sqlite3_close_v2(db);
        return Refuse(c, ERROR_CANTOPEN, "cannot open " + path + ": " + strerror(errno));
    }
    if (!LooksLikeDatabase(db)) {
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        sqlite3_close_v2(db);
        return Refuse(c, ERROR_BADDB, path + " is damaged or not a registry file");
    }
    sqlite3_busy_handler(db, OnBusy, &c);
    c.db = db;
    c.path = path;
    c.dev = now.st_dev;
    c.ino = now.st_ino;
    c.size = now.st_size;
    c.mtime = now.st_mtim;
    c.pid = getpid();
    c.jitter = static_cast<unsigned>(c.pid);
    c.schemaReady = c.journalChosen = false;
    c.readOnly = readOnly;
    return ERROR_SUCCESS;
}

// Makes c.db a usable connection to the hive's current file.
LONG Acquire(Connection& c, Hive hive, bool write) {
    bool named = false;
    const std::string path = HiveFile(hive, &named);
    if (path.empty()) return Refuse(c, ERROR_CANTOPEN, "no home folder to keep the registry in");
    struct stat st {};
    const bool exists = stat(path.c_str(), &st) == 0;
    // The file may have been replaced or removed since the last call (or the variable
    // now names another one): follow it.
    if (c.db && (c.path != path || !exists || st.st_dev != c.dev || st.st_ino != c.ino)) c.Close();
    // A read-only connection cannot write, and an immutable one would not see changes.
    const bool changed = exists && (st.st_size != c.size || st.st_mtim.tv_sec != c.mtime.tv_sec ||
                                    st.st_mtim.tv_nsec != c.mtime.tv_nsec);
    if (c.db && c.readOnly && (write || changed)) c.Close();
    // Devices, pipes and folders are no hives; SQLite would write its journal beside them.
    if (exists && !S_ISREG(st.st_mode))
        return Refuse(c, ERROR_CANTOPEN, path + " is not a regular file");
    // A file changed since it was last seen (a checkpoint, or damage done in place) is
    // checked before SQLite reads it or copies its log into it.
    if (changed && c.db) {
        if (!LooksLikeDatabase(c.db)) {
            c.Close(true);
            return Refuse(c, ERROR_BADDB, path + " is damaged or not a registry file");
        }
        c.size = st.st_size;
        c.mtime = st.st_mtim;
    }
    if (!c.db) {
        if (!exists && !write) {
            if (!c.problem.empty()) c.problem.clear();  // no hive yet is no fault
            return ERROR_FILE_NOT_FOUND;
        }
        if (!exists) {
            const LONG err = MakeFolder(c, path, named);
            if (err != ERROR_SUCCESS) return err;
        }
        const LONG err = OpenFile(c, path, !exists, false);
        if (err != ERROR_SUCCESS) return err;
    }
    if (c.schemaReady) {
        if (!c.problem.empty()) c.problem.clear();
        return ERROR_SUCCESS;
    }
    c.lastWhy.clear();
    LONG err = PrepareSchema(c, write);
    if ((FileFailure(err) || err == ERROR_ACCESS_DENIED) && !write && !c.readOnly) {
        // The log's shared memory could not be made or opened: read the file read-only.
        c.Close();
        err = OpenFile(c, path, false, true);
        if (err != ERROR_SUCCESS) return err;
        c.lastWhy.clear();
        err = PrepareSchema(c, false);
    }
    if (err == ERROR_BADDB)
        c.problem = path + " is damaged or not a registry file";
    else if (err != ERROR_SUCCESS && err != ERROR_FILE_NOT_FOUND)
        c.problem = path + ": " + (c.lastWhy.empty() ? sqlite3_errmsg(c.db) : c.lastWhy);
    else
        c.problem.clear();
    if (err != ERROR_SUCCESS && err != ERROR_FILE_NOT_FOUND) c.Close(err == ERROR_BADDB);
    return err;
}

// Ends the open transaction; a commit that fails rolls back.
LONG EndTransaction(Connection& c, bool commit) {
    int rc = SQLITE_OK;
    LONG err = ERROR_SUCCESS;
    if (commit && !Exec(c, "COMMIT", &rc)) err = ErrorFromSqlite(rc, true);
    if (!commit || err != ERROR_SUCCESS) sqlite3_exec(c.db, "ROLLBACK", nullptr, nullptr, nullptr);
    c.inTransaction = false;
    return err;
}

// Failures of one call that leave a batch's transaction usable: the call found its key
// or value missing, or was refused, before changing anything.
bool CallOnlyFailure(LONG err) {
    return err == ERROR_FILE_NOT_FOUND || err == ERROR_KEY_DELETED || err == ERROR_ACCESS_DENIED;
}

// A write inside a batch: it joins the batch's transaction, opened at the first write.
// Any other failure spoils the batch, which then stores nothing.
LONG WriteInBatch(Connection& c, Hive hive, const std::function<LONG(Connection&)>& work) {
    if (c.batchError != ERROR_SUCCESS) return c.batchError;
    LONG err = ERROR_SUCCESS;
    if (!c.inTransaction) {
        c.lastWhy.clear();
        err = Acquire(c, hive, true);
        int rc;
        if (err == ERROR_SUCCESS && !Exec(c, "BEGIN IMMEDIATE", &rc))
            err = ErrorFromSqlite(rc, true);
        c.inTransaction = err == ERROR_SUCCESS;
    }
    if (err == ERROR_SUCCESS) err = work(c);
    if (c.inTransaction && sqlite3_get_autocommit(c.db)) {
        c.inTransaction = false;  // SQLite rolled it back
        if (err == ERROR_SUCCESS) err = ERROR_CANTWRITE;
    }
    if (err != ERROR_SUCCESS && (!c.inTransaction || !CallOnlyFailure(err))) {
        NoteFailure(c, err);
        c.batchError = err;
        if (c.inTransaction) EndTransaction(c, false);
    }
    if (err == ERROR_BADDB) c.Close(true);
    return err;
}

}  // namespace

LONG WithHive(Hive hive, bool write, const std::function<LONG(Connection&)>& work) {
    if (g_hivesGone) return ERROR_CANTOPEN;
    Connection& c = Of(hive);
    HiveLock guard(c);
    if (write && c.batchDepth > 0) return WriteInBatch(c, hive, work);
    if (c.inTransaction) return work(c);  // a read inside a batch sees the batch's writes
    c.lastWhy.clear();
    LONG err = Acquire(c, hive, write);
    if (err != ERROR_SUCCESS) return err;
    if (!write) {
        err = work(c);
    } else {
        int rc;
        if (!Exec(c, "BEGIN IMMEDIATE", &rc)) {
            err = ErrorFromSqlite(rc, true);
        } else {
            c.inTransaction = true;
            err = work(c);
            const LONG end = EndTransaction(c, err == ERROR_SUCCESS);
            if (err == ERROR_SUCCESS) err = end;
        }
    }
    NoteFailure(c, err);
    // A file found damaged is checked afresh on the next call.
    if (err == ERROR_BADDB) c.Close(true);
    return err;
}

void BeginBatch(Hive hive) {
    if (g_hivesGone) return;
    Connection& c = Of(hive);
    c.Enter();  // held until EndBatch
    ++c.batchDepth;
}

LONG EndBatch(Hive hive, bool commit) {
    if (g_hivesGone) return ERROR_CANTOPEN;
    Connection& c = Of(hive);
    LONG err = c.batchError;
    if (--c.batchDepth > 0) {
        if (!commit && err == ERROR_SUCCESS) c.batchError = ERROR_CANCELLED;
    } else {
        if (c.inTransaction) {
            const LONG end = EndTransaction(c, commit && err == ERROR_SUCCESS);
            if (err == ERROR_SUCCESS) err = end;
            NoteFailure(c, end);
        }
        c.batchError = ERROR_SUCCESS;
    }
    c.Leave();
    return err;
}

std::string Problem(Hive hive) {
    if (g_hivesGone) return std::string();
    Connection& c = Of(hive);
    HiveLock guard(c);
    return c.problem;
}

int Changes(Connection& c) { return sqlite3_changes(c.db); }

Statement::Statement(Connection& c, const char* sql) : m_c(&c), m_rc(SQLITE_OK) {
    auto it = c.statements.find(sql);
    if (it != c.statements.end()) {
        m_stmt = it->second;
        return;
    }
    m_rc = sqlite3_prepare_v3(c.db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr);
    if (m_rc != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    } else {
        c.statements.emplace(sql, m_stmt);
    }
}

Statement::~Statement() {
    if (!m_stmt) return;
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

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

int Statement::Step() {
    const int rc = m_stmt ? sqlite3_step(m_stmt) : m_rc;
    if (rc != SQLITE_ROW && rc != SQLITE_DONE && m_c->db) m_c->lastWhy = Why(m_c->db, rc);
    return rc;
}

int Statement::ColumnInt(int column) const { return sqlite3_column_int(m_stmt, column); }

long long Statement::ColumnInt64(int column) const { return sqlite3_column_int64(m_stmt, column); }

std::string Statement::ColumnText(int column) const {
    const unsigned char* text = sqlite3_column_text(m_stmt, column);
    const int n = sqlite3_column_bytes(m_stmt, column);
    return text ? std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(n))
                : std::string();
}

int Statement::ColumnType(int column) const { return sqlite3_column_type(m_stmt, column); }

}  // namespace zcmreg
