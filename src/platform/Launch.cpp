// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/Launch.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/String.h"

namespace {

// The state letter and start time of a process from /proc/PID/stat; false when gone.
bool ReadStat(int pid, char* state, unsigned long long* start) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) return false;
    // The command name is in parentheses and may hold spaces: fields follow the last ')'.
    const size_t close = line.rfind(')');
    if (close == std::string::npos) return false;
    std::istringstream rest(line.substr(close + 1));
    std::string field;
    rest >> *state;
    for (int i = 4; i <= 22 && rest >> field; ++i)
        if (i == 22) *start = std::strtoull(field.c_str(), nullptr, 10);
    return true;
}

bool IsExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

void WriteAll(int fd, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        p += n;
        size -= static_cast<size_t>(n);
    }
}

}  // namespace

std::string ZcmFindProgram(const std::string& name) {
    if (name.empty()) return std::string();
    if (name.find('/') != std::string::npos) {
        if (!IsExecutableFile(name)) return std::string();
        std::error_code ec;
        const std::string full = std::filesystem::absolute(name, ec).string();
        return ec ? std::string() : full;
    }
    const char* path = getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/local/bin:/usr/bin:/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':')) {
        const std::string candidate = (dir.empty() ? std::string(".") : dir) + "/" + name;
        if (!IsExecutableFile(candidate)) continue;
        std::error_code ec;
        const std::string full = std::filesystem::absolute(candidate, ec).string();
        if (!ec) return full;
    }
    return std::string();
}

bool ZcmLaunchDetached(const std::string& path, const std::vector<std::string>& args,
                       LPCWSTR workingDir, ZcmLaunchedProgram* launched) {
    if (path.empty()) return false;
    // Everything the child needs is prepared before fork: after it, only calls that are
    // safe in a copy of a threaded process.
    std::vector<std::string> argStore;
    argStore.push_back(path);
    argStore.insert(argStore.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argStore) argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string dir = workingDir ? CString(workingDir).ToUtf8() : std::string();

    int pipeFd[2];
    if (pipe2(pipeFd, O_CLOEXEC) != 0) return false;
    const pid_t child = fork();
    if (child < 0) {
        close(pipeFd[0]);
        close(pipeFd[1]);
        return false;
    }
    if (child == 0) {
        // The middle process: starts the program in a new session and leaves at once, so
        // the program is handed to init and never becomes the caller's zombie.
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0) {
            const int null = open("/dev/null", O_RDWR);
            if (null >= 0) {
                dup2(null, 0);
                dup2(null, 1);
                dup2(null, 2);
            }
            if (!dir.empty() && chdir(dir.c_str()) != 0) _exit(127);
            execv(path.c_str(), argv.data());
            _exit(127);
        }
        const int reported = grandchild > 0 ? grandchild : 0;
        WriteAll(pipeFd[1], &reported, sizeof reported);
        _exit(0);
    }
    close(pipeFd[1]);
    int pid = 0;
    ssize_t got;
    do {
        got = read(pipeFd[0], &pid, sizeof pid);
    } while (got < 0 && errno == EINTR);
    close(pipeFd[0]);
    int status;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (got != static_cast<ssize_t>(sizeof pid) || pid <= 0) return false;
    ZcmLaunchedProgram p;
    p.pid = pid;
    char state = 0;
    if (!ReadStat(pid, &state, &p.startTime)) return false;
    if (launched) *launched = p;
    return true;
}

bool ZcmIsRunning(const ZcmLaunchedProgram& program) {
    if (program.pid <= 0) return false;
    char state = 0;
    unsigned long long start = 0;
    if (!ReadStat(program.pid, &state, &start)) return false;
    return start == program.startTime && state != 'Z' && state != 'X';
}

bool ZcmEndProgram(const ZcmLaunchedProgram& program) {
    if (!ZcmIsRunning(program)) return false;
    return kill(program.pid, SIGTERM) == 0;
}
