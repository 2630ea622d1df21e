// SPDX-License-Identifier: LGPL-3.0-or-later
// The data folders: the user's choice, the installation around this library and the
// running program, the configured prefix. No path of the machine that built the library
// is compiled in, except the configured installation prefix.
#include "sky/DataFolders.h"

#include <dlfcn.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

namespace sky {

namespace {

bool IsFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The folder of a file given by path, with links resolved ("/usr/lib/x/libzcmsky.so.0" ->
// "/usr/lib/x"); empty when it cannot be resolved.
std::string RealFolder(const std::string& file) {
    if (file.empty()) return std::string();
    char resolved[PATH_MAX];
    if (!realpath(file.c_str(), resolved)) return std::string();
    std::string path(resolved);
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string ThisLibrary() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&DataFolders), &info) == 0 || !info.dli_fname)
        return std::string();
    return info.dli_fname;
}

std::string ThisProgram() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

void Add(std::vector<std::string>* folders, const std::string& folder) {
    if (IsFolder(folder) && std::find(folders->begin(), folders->end(), folder) == folders->end())
        folders->push_back(folder);
}

// <folder>/share/zcmcom and the same one level above.
void AddInstalledAround(std::vector<std::string>* folders, std::string folder) {
    for (int up = 0; up < 2 && !folder.empty(); ++up) {
        Add(folders, folder + "/share/zcmcom");
        const size_t slash = folder.rfind('/');
        if (slash == std::string::npos) break;
        folder.resize(slash);
    }
}

}  // namespace

std::vector<std::string> DataFolders() {
    std::vector<std::string> folders;
    if (const char* env = std::getenv("ZCMCOM_DATA_DIR"); env && *env) Add(&folders, env);
    // Both start one level up: the library's and the program's own folders are lib/ and bin/.
    for (const std::string& file : {ThisLibrary(), ThisProgram()}) {
        const std::string folder = RealFolder(file);
        const size_t slash = folder.rfind('/');
        if (slash != std::string::npos) AddInstalledAround(&folders, folder.substr(0, slash));
    }
#ifdef ZCMCOM_DATA_INSTALLED_DIR
    Add(&folders, ZCMCOM_DATA_INSTALLED_DIR);
#endif
    return folders;
}

std::string DataPath(const std::string& name) {
    if (name.empty() || name.find("..") != std::string::npos) return std::string();
    for (const std::string& folder : DataFolders())
        if (IsFile(folder + "/" + name)) return folder + "/" + name;
    return std::string();
}

std::string UpdatedFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg == '/')
        return std::string(xdg) + "/zcmcom";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.local/share/zcmcom";
    return std::string();
}

std::string UpdatedPath(const std::string& name) {
    const std::string folder = UpdatedFolder();
    if (folder.empty() || name.empty() || name.find("..") != std::string::npos)
        return std::string();
    return IsFile(folder + "/" + name) ? folder + "/" + name : std::string();
}

std::string DataOrigin(const std::string& file) {
    const std::string name = file.substr(file.rfind('/') + 1);
    if (!file.empty() && file == UpdatedPath(name)) return name + " (updated)";
    if (!file.empty() && file == DataPath(name)) return name + " (bundled)";
    return name;
}

}  // namespace sky
