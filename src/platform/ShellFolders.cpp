// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/ShellFolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <string>

namespace {

std::string Home() {
    const char* home = getenv("HOME");
    if (home && *home) return home;
    const passwd* pw = getpwuid(getuid());
    return pw && pw->pw_dir ? pw->pw_dir : "";
}

// The value of XDG_<kind>_DIR in user-dirs.dirs: a quoted path, "$HOME/..." or absolute.
std::string FromUserDirs(const std::string& key, const std::string& home) {
    const char* cfg = getenv("XDG_CONFIG_HOME");
    const std::string file =
        (cfg && *cfg ? std::string(cfg) : home + "/.config") + "/user-dirs.dirs";
    std::ifstream in(file);
    std::string line, value;
    while (std::getline(in, line)) {
        size_t i = line.find_first_not_of(" \t");
        if (i == std::string::npos || line[i] == '#') continue;
        if (line.compare(i, key.size() + 1, key + "=") != 0) continue;
        std::string v = line.substr(i + key.size() + 1);
        while (!v.empty() && (v.back() == ' ' || v.back() == '\t' || v.back() == '\r'))
            v.pop_back();
        if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.substr(1, v.size() - 2);
        if (v.compare(0, 5, "$HOME") == 0)
            v = home + v.substr(5);
        else if (v.empty() || v[0] != '/')
            continue;  // relative paths are not allowed in the file
        value = v;     // the last assignment wins, as when the file is sourced
    }
    return value;
}

}  // namespace

CString ZcmUserFolder(const char* kind) {
    if (!kind) return CString();
    const std::string home = Home();
    const std::string key = std::string("XDG_") + kind + "_DIR";
    std::string dir = FromUserDirs(key, home);
    if (dir.empty()) {
        const char* env = getenv(key.c_str());
        if (env && *env) dir = env;
    }
    if (dir.empty() && !home.empty()) {
        const std::string k(kind);
        if (k == "DOCUMENTS") dir = home + "/Documents";
        if (k == "DESKTOP") dir = home + "/Desktop";
    }
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    return CString(dir.c_str());
}

BOOL SHGetSpecialFolderPathW(HWND, LPWSTR path, int csidl, BOOL create) {
    if (!path) return FALSE;
    path[0] = 0;
    const char* kind = nullptr;
    switch (csidl & 0xFF) {
        case CSIDL_PERSONAL:
            kind = "DOCUMENTS";
            break;
        case CSIDL_DESKTOP:
        case CSIDL_DESKTOPDIRECTORY:
            kind = "DESKTOP";
            break;
        default:
            return FALSE;
    }
    const CString dir = ZcmUserFolder(kind);
    if (dir.IsEmpty() || dir.GetLength() >= MAX_PATH) return FALSE;
    if (create) mkdir(dir.ToUtf8().c_str(), 0700);
    wmemcpy(path, dir.GetString(), static_cast<size_t>(dir.GetLength()) + 1);
    return TRUE;
}
