// SPDX-License-Identifier: LGPL-3.0-or-later
// Where the registry's files are and what they hold, before SQLite is trusted with them.
#include <pwd.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/Registry.h"
#include "platform/RegistryStore.h"

namespace zcmreg {

namespace {

std::string ConfigHome() {
    const char* xdg = getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/') return xdg;  // relative values are ignored, as XDG says
    const char* home = getenv("HOME");
    if (home && home[0]) return std::string(home) + "/.config";
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir && pw->pw_dir[0])
        return std::string(pw->pw_dir) + "/.config";
    return std::string();
}

}  // namespace

std::string HiveFile(Hive hive, bool* named) {
    const char* env =
        getenv(hive == Hive::User ? "ZCMCOM_REGISTRY_USER" : "ZCMCOM_REGISTRY_MACHINE");
    *named = env && env[0];
    if (*named && env[0] == '/') return env;
    if (*named) {
        char cwd[4096];
        if (!getcwd(cwd, sizeof cwd)) return std::string();
        return std::string(cwd) + (cwd[1] ? "/" : "") + env;
    }
    const std::string base = ConfigHome();
    if (base.empty()) return base;
    return base + (hive == Hive::User ? "/orvana/registry-user.sqlite"
                                      : "/orvana/registry-machine.sqlite");
}

bool OddFileSystem(const std::string& path) {
    struct statfs fs {};
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    if (statfs(folder.c_str(), &fs) != 0) return true;
    switch (static_cast<unsigned long>(fs.f_type)) {
        case 0x6969:      // NFS
        case 0x517B:      // SMB
        case 0xFF534D42:  // CIFS
        case 0xFE534D42:  // SMB2
        case 0x65735546:  // FUSE
        case 0x01021997:  // 9P
        case 0x00C36400:  // Ceph
        case 0x5346414F:  // AFS
        case 0x73757245:  // Coda
            return true;
        default:
            return false;
    }
}

// Other files are never read or written by SQLite, which could pair them with a log left
// by the file they replaced and copy that log's pages into them. The bytes are read
// through SQLite's own handle: opening and closing another descriptor of the file would
// drop the process's locks on it.
bool LooksLikeDatabase(sqlite3* db) {
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods)
        return true;  // SQLite reports what is wrong
    sqlite3_int64 size = 0;
    if (file->pMethods->xFileSize(file, &size) != SQLITE_OK || size == 0) return true;
    char head[16] = {};
    if (size < 16 || file->pMethods->xRead(file, head, sizeof head, 0) != SQLITE_OK) return false;
    return memcmp(head, "SQLite format 3", sizeof head) == 0;
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

}  // namespace zcmreg
