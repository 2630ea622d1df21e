// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom update: current element files of satellites, comets and minor planets from their
// publishers into the user's data folder (sky::UpdatedFolder), where the sky reads them
// before the bundled ones. Each download is conditional (ETag, Last-Modified), limited in
// size, time and redirects, verified record by record, and put in place by a rename in the
// same folder, so a failed or interrupted update leaves the old file as it was.
#include <curl/curl.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <CLI/CLI.hpp>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <type_traits>

#include "Command.h"
#include "sky/DataFolders.h"
#include "sky/bodies/SmallBody.h"
#include "sky/bodies/MinorPlanetTable.h"
#include "sky/satellites/Tle.h"

namespace {

// libcurl is opened when an update runs, not linked: its TLS stack starts with every process
// that links it (about 25 ms of CPU), which every other zcmcom command would pay.
struct CurlApi {
    decltype(&::curl_global_init) global_init = nullptr;
    decltype(&::curl_global_cleanup) global_cleanup = nullptr;
    decltype(&::curl_easy_init) easy_init = nullptr;
    decltype(&::curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&::curl_easy_setopt) easy_setopt = nullptr;
    decltype(&::curl_easy_perform) easy_perform = nullptr;
    decltype(&::curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&::curl_easy_strerror) easy_strerror = nullptr;
    decltype(&::curl_slist_append) slist_append = nullptr;
    decltype(&::curl_slist_free_all) slist_free_all = nullptr;
};
CurlApi g_curl;

// Opens libcurl once; empty, or why it cannot be used.
std::string OpenCurl() {
    static const std::string why = [] {
        void* lib = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        if (!lib) return std::string("the HTTP client libcurl.so.4 cannot be loaded: ") + dlerror();
        const auto load = [lib](auto& fn, const char* name) {
            fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(dlsym(lib, name));
            return fn != nullptr;
        };
        CurlApi& c = g_curl;
        if (!(load(c.global_init, "curl_global_init") &&
              load(c.global_cleanup, "curl_global_cleanup") &&
              load(c.easy_init, "curl_easy_init") && load(c.easy_cleanup, "curl_easy_cleanup") &&
              load(c.easy_setopt, "curl_easy_setopt") &&
              load(c.easy_perform, "curl_easy_perform") &&
              load(c.easy_getinfo, "curl_easy_getinfo") &&
              load(c.easy_strerror, "curl_easy_strerror") &&
              load(c.slist_append, "curl_slist_append") &&
              load(c.slist_free_all, "curl_slist_free_all")))
            return std::string("libcurl.so.4 lacks a function the update needs");
        return std::string();
    }();
    return why;
}

struct Kind {
    const char* name;  // as on the command line
    const char* file;  // the copy's name in the user's folder (and the bundled file's)
    const char* env;   // the variable that names another source
    const char* url;   // the publisher's current file
    size_t limit;      // the largest download accepted
};

const Kind kKinds[] = {
    {"satellites", "satellites.tle", "ZCMCOM_UPDATE_SATELLITES",
     "https://celestrak.org/NORAD/elements/gp.php?GROUP=active&FORMAT=tle", sky::kMaxTleFileBytes},
    {"comets", "cometels.txt", "ZCMCOM_UPDATE_COMETS",
     "https://www.minorplanetcenter.net/iau/MPCORB/CometEls.txt", size_t(16) << 20},
    {"minor-planets", "mpcorb.txt", "ZCMCOM_UPDATE_MINOR_PLANETS",
     "https://www.minorplanetcenter.net/iau/MPCORB/MPCORB.DAT.gz", size_t(200) << 20},
};

std::atomic<bool> g_interrupted{false};

// What is kept beside each copy (<file>.source): where it came from, the validators the
// server gave, when it was fetched and how many records it holds.
struct Source {
    std::string url, etag, lastModified;
    long long fetched = 0;
    long records = 0;
};

Source ReadSource(const std::string& path) {
    Source s;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "url") s.url = value;
        if (key == "etag") s.etag = value;
        if (key == "last-modified") s.lastModified = value;
        if (key == "fetched") s.fetched = std::atoll(value.c_str());
        if (key == "records") s.records = std::atol(value.c_str());
    }
    return s;
}

// Writes a file beside its final name and renames it into place.
bool ReplaceWith(const std::string& path, const std::string& text) {
    const std::string temp = path + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!(out << text) || !out.flush()) return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

bool WriteSource(const std::string& path, const Source& s) {
    std::ostringstream out;
    out << "url=" << s.url << "\netag=" << s.etag << "\nlast-modified=" << s.lastModified
        << "\nfetched=" << s.fetched << "\nrecords=" << s.records << "\n";
    return ReplaceWith(path, out.str());
}

// A temporary file in the destination's folder, removed unless kept.
class TempFile {
public:
    explicit TempFile(const std::string& beside) {
        std::string pattern = beside + ".partXXXXXX";
        m_fd = mkstemp(pattern.data());
        if (m_fd < 0) return;
        m_path = pattern;
        // Readable by all, as any file the user writes (mkstemp makes it private).
        const mode_t mask = umask(0);
        umask(mask);
        fchmod(m_fd, 0666 & ~mask);
    }
    ~TempFile() {
        if (m_fd >= 0) close(m_fd);
        if (!m_path.empty()) unlink(m_path.c_str());
    }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    int fd() const { return m_fd; }
    const std::string& path() const { return m_path; }
    // Flushes to disk and moves into place; the temporary name is gone either way.
    bool RenameTo(const std::string& path) {
        const bool ok = fsync(m_fd) == 0 && rename(m_path.c_str(), path.c_str()) == 0;
        if (ok) m_path.clear();
        return ok;
    }

private:
    int m_fd = -1;
    std::string m_path;
};

struct Transfer {
    int fd = -1;
    size_t limit = 0, written = 0;
    bool tooLarge = false, writeFailed = false, bar = false;
    std::string etag, lastModified;
};

size_t OnData(char* data, size_t size, size_t n, void* user) {
    auto* t = static_cast<Transfer*>(user);
    const size_t bytes = size * n;
    if (t->written + bytes > t->limit) {
        t->tooLarge = true;
        return 0;
    }
    for (size_t done = 0; done < bytes;) {
        const ssize_t w = write(t->fd, data + done, bytes - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            t->writeFailed = true;
            return 0;
        }
        done += static_cast<size_t>(w);
    }
    t->written += bytes;
    return bytes;
}

// "ETag: ..." and "Last-Modified: ..." of the final response (a redirect's are replaced).
size_t OnHeader(char* data, size_t size, size_t n, void* user) {
    auto* t = static_cast<Transfer*>(user);
    std::string line(data, size * n);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    if (line.compare(0, 5, "HTTP/") == 0) t->etag.clear(), t->lastModified.clear();
    const size_t colon = line.find(':');
    if (colon == std::string::npos) return size * n;
    std::string key = line.substr(0, colon), value = line.substr(colon + 1);
    for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    value.erase(0, value.find_first_not_of(' '));
    if (key == "etag") t->etag = value;
    if (key == "last-modified") t->lastModified = value;
    return size * n;
}

// The bar on a terminal only; an interruption (Ctrl-C) stops the transfer.
int OnProgress(void* user, curl_off_t total, curl_off_t now, curl_off_t, curl_off_t) {
    if (g_interrupted) return 1;
    const auto* t = static_cast<Transfer*>(user);
    if (!t->bar) return 0;
    if (total > 0) {
        const int width = 40, filled = static_cast<int>(width * now / total);
        std::fprintf(stderr, "\r[%s%s] %3d%% %.1f MB", std::string(filled, '#').c_str(),
                     std::string(width - filled, ' ').c_str(), static_cast<int>(100 * now / total),
                     now / 1e6);
    } else {
        std::fprintf(stderr, "\r%.1f MB", now / 1e6);
    }
    return 0;
}

// Unpacks a gzip file (the MPC's orbit file) into another temporary file; empty when it
// worked, else why not.
std::string Gunzip(const std::string& from, int toFd, size_t limit) {
    gzFile in = gzopen(from.c_str(), "rb");
    if (!in) return "cannot open the download";
    std::string why;
    std::vector<char> buffer(1 << 16);
    size_t total = 0;
    for (;;) {
        const int n = gzread(in, buffer.data(), static_cast<unsigned>(buffer.size()));
        if (n < 0) {
            int code = 0;
            why = std::string("not a whole gzip file: ") + gzerror(in, &code);
            break;
        }
        if (n == 0) break;
        total += static_cast<size_t>(n);
        if (total > limit) {
            why = "unpacked, it is larger than " + std::to_string(limit >> 20) + " MiB";
            break;
        }
        if (write(toFd, buffer.data(), static_cast<size_t>(n)) != n) {
            why = std::string("cannot write: ") + std::strerror(errno);
            break;
        }
    }
    gzclose(in);
    return why;
}

bool IsGzip(const std::string& path) {
    unsigned char magic[2] = {0, 0};
    std::FILE* f = std::fopen(path.c_str(), "rb");
    const bool gz = f && std::fread(magic, 1, 2, f) == 2 && magic[0] == 0x1f && magic[1] == 0x8b;
    if (f) std::fclose(f);
    return gz;
}

// Parses every record of a downloaded file: the number read, and a reason when the file is
// refused (nothing usable, or more than one record in twenty bad).
long Verify(const Kind& kind, const std::string& path, std::string* why) {
    long good = 0, bad = 0;
    std::string first;
    if (std::strcmp(kind.name, "satellites") == 0) {
        sky::TleCatalog tle;
        if (!tle.AddFile(path)) {
            *why = tle.problems.empty() ? "cannot be read" : tle.problems.front().reason;
            return 0;
        }
        good = static_cast<long>(tle.sets.size());
        bad = static_cast<long>(tle.problems.size());
        if (bad)
            first = "line " + std::to_string(tle.problems.front().line) + ": " +
                    tle.problems.front().reason;
    } else {
        // Line by line (the whole orbit file is hundreds of megabytes); MPCORB.DAT's
        // preamble runs to a row of dashes within its first lines.
        std::ifstream in(path, std::ios::binary);
        const bool comets = std::strcmp(kind.name, "comets") == 0;
        std::vector<std::pair<long, std::string>> head;
        std::string line;
        const auto check = [&](long at, const std::string& l) {
            if (l.find_first_not_of(" \t") == std::string::npos) return;
            sky::SmallBody b;
            std::string reason;
            // Comets and minor planets each in their own file.
            if (sky::ParseElementsLine(l, &b, &reason) && b.comet == comets) {
                ++good;
                return;
            }
            if (bad++ == 0)
                first = "line " + std::to_string(at) + ": " +
                        (reason.empty() ? comets ? "a minor planet" : "a comet" : reason);
        };
        bool settled = false;
        for (long number = 1; std::getline(in, line); ++number) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (settled) {
                check(number, line);
            } else if (line.size() >= 20 && line.find_first_not_of('-') == std::string::npos) {
                head.clear();
                settled = true;
            } else {
                head.emplace_back(number, line);
                if (number < 100) continue;
                for (const auto& [at, l] : head) check(at, l);
                head.clear();
                settled = true;
            }
        }
        for (const auto& [at, l] : head) check(at, l);
    }
    if (good == 0)
        *why =
            "no " + std::string(kind.name) + " in it" + (first.empty() ? "" : " (" + first + ")");
    else if (bad * 20 > good + bad)
        *why = std::to_string(bad) + " of " + std::to_string(good + bad) + " records are bad (" +
               first + ")";
    return good;
}

struct Options {
    std::vector<std::string> kinds;
    std::string from;
    double timeout = 30.0;
    bool status = false;
};

// Fetches one kind; 0 when the copy is current (new or unchanged), else 1. Says what
// happened on standard output, what went wrong on standard error.
int UpdateKind(const Kind& kind, const std::string& url, const Options& o) {
    const std::string folder = sky::UpdatedFolder();
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (folder.empty() || ec)
        return Failure(std::string(kind.name) + ": no folder for the copies (" +
                       (folder.empty() ? "neither XDG_DATA_HOME nor HOME is set" : ec.message()) +
                       ")");
    const std::string path = folder + "/" + kind.file, sourcePath = path + ".source";
    const bool have = !sky::UpdatedPath(kind.file).empty();
    Source source = have ? ReadSource(sourcePath) : Source{};
    const auto fail = [&](const std::string& what) {
        return Failure(
            std::string(kind.name) + ": " + what + "; " +
            (have ? "the copy of " + std::string(kind.file) + " is kept" : "nothing was written"));
    };
    TempFile download(path);
    if (download.fd() < 0) return fail("cannot write in " + folder + ": " + std::strerror(errno));

    Transfer t;
    t.fd = download.fd();
    t.limit = kind.limit;
    t.bar = isatty(STDERR_FILENO);
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> curl(g_curl.easy_init(),
                                                             g_curl.easy_cleanup);
    if (!curl) return fail("the HTTP client cannot start");
    CURL* c = curl.get();
    char error[CURL_ERROR_SIZE] = "";
    g_curl.easy_setopt(c, CURLOPT_URL, url.c_str());
    g_curl.easy_setopt(c, CURLOPT_ERRORBUFFER, error);
    g_curl.easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    g_curl.easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    g_curl.easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    g_curl.easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
    g_curl.easy_setopt(c, CURLOPT_USERAGENT, "zcmcom/" ZCMCOM_VERSION);
    g_curl.easy_setopt(c, CURLOPT_FAILONERROR, 0L);
    g_curl.easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(kind.limit));
    // A connection that does not come, or a transfer slower than 1 byte/s for the time-out.
    const long seconds = std::max(1L, static_cast<long>(o.timeout));
    g_curl.easy_setopt(c, CURLOPT_CONNECTTIMEOUT, seconds);
    g_curl.easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    g_curl.easy_setopt(c, CURLOPT_LOW_SPEED_TIME, seconds);
    g_curl.easy_setopt(c, CURLOPT_WRITEFUNCTION, OnData);
    g_curl.easy_setopt(c, CURLOPT_WRITEDATA, &t);
    g_curl.easy_setopt(c, CURLOPT_HEADERFUNCTION, OnHeader);
    g_curl.easy_setopt(c, CURLOPT_HEADERDATA, &t);
    g_curl.easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    g_curl.easy_setopt(c, CURLOPT_XFERINFOFUNCTION, OnProgress);
    g_curl.easy_setopt(c, CURLOPT_XFERINFODATA, &t);
    // Conditional on the copy held, when it came from the same place.
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(nullptr,
                                                                        g_curl.slist_free_all);
    if (have && source.url == url) {
        if (!source.etag.empty())
            headers.reset(
                g_curl.slist_append(headers.release(), ("If-None-Match: " + source.etag).c_str()));
        if (!source.lastModified.empty())
            headers.reset(g_curl.slist_append(
                headers.release(), ("If-Modified-Since: " + source.lastModified).c_str()));
        g_curl.easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    }
    std::printf("%s: fetching %s\n", kind.name, url.c_str());
    std::fflush(stdout);
    const CURLcode rc = g_curl.easy_perform(c);
    if (t.bar) std::fputc('\n', stderr);
    long code = 0;
    g_curl.easy_getinfo(c, CURLINFO_RESPONSE_CODE, &code);
    if (g_interrupted) return fail("interrupted");
    if (t.tooLarge || rc == CURLE_FILESIZE_EXCEEDED)
        return fail("the file is larger than " + std::to_string(kind.limit >> 20) + " MiB");
    if (t.writeFailed)
        return fail(std::string("cannot write the download: ") + std::strerror(errno));
    if (rc != CURLE_OK)
        return fail(std::string(*error ? error : g_curl.easy_strerror(rc)) + " (" + url + ")");
    const long long now = static_cast<long long>(std::time(nullptr));
    if (code == 304 && have) {
        source.fetched = now;
        WriteSource(sourcePath, source);
        std::printf("%s: not modified since the last update; %ld records\n", kind.name,
                    source.records);
        return 0;
    }
    if (code != 200)
        return fail("the server answered HTTP " + std::to_string(code) + " (" + url + ")");

    // Unpacked when gzip (the MPC's orbit file), then checked record by record.
    std::string plain = download.path();
    std::unique_ptr<TempFile> unpacked;
    if (IsGzip(download.path())) {
        unpacked = std::make_unique<TempFile>(path);
        if (unpacked->fd() < 0) return fail(std::string("cannot write: ") + std::strerror(errno));
        const std::string why = Gunzip(download.path(), unpacked->fd(), sky::kMaxElementsFileBytes);
        if (!why.empty()) return fail(why);
        plain = unpacked->path();
    }
    std::string why;
    const long records = Verify(kind, plain, &why);
    if (!why.empty()) return fail("refused the download: " + why);
    if (g_interrupted) return fail("interrupted");
    // The minor planets' table is written before the copy moves into place, so the two agree.
    if (std::strcmp(kind.name, "minor-planets") == 0) {
        std::string error;
        if (!sky::WriteMinorPlanetTable(plain, folder + "/" + sky::kMinorPlanetTableName, &error))
            return fail("cannot write the minor planets' table: " + error);
    }
    if (g_interrupted) return fail("interrupted");
    TempFile& result = unpacked ? *unpacked : download;
    if (!result.RenameTo(path))
        return fail(std::string("cannot put the copy in place: ") + std::strerror(errno));
    source = Source{url, t.etag, t.lastModified, now, records};
    WriteSource(sourcePath, source);
    std::printf("%s: %ld records in %s\n", kind.name, records, path.c_str());
    return 0;
}

std::string Age(long long seconds) {
    char text[64];
    if (seconds < 2 * 3600)
        std::snprintf(text, sizeof text, "%lld minutes", seconds / 60);
    else if (seconds < 2 * 86400)
        std::snprintf(text, sizeof text, "%lld hours", seconds / 3600);
    else
        std::snprintf(text, sizeof text, "%lld days", seconds / 86400);
    return text;
}

// Each kind: the file the sky reads, where it came from, its age and its records.
int ShowStatus() {
    const long long now = static_cast<long long>(std::time(nullptr));
    for (const Kind& kind : kKinds) {
        const std::string updated = sky::UpdatedPath(kind.file);
        if (!updated.empty()) {
            const Source s = ReadSource(updated + ".source");
            std::printf("%-14s %s\n  from %s, fetched %s ago, %ld records\n", kind.name,
                        updated.c_str(), s.url.empty() ? "(unknown)" : s.url.c_str(),
                        Age(now - s.fetched).c_str(), s.records);
            continue;
        }
        const std::string bundled = sky::DataPath(kind.file);
        struct stat st {};
        if (bundled.empty() || stat(bundled.c_str(), &st) != 0) {
            std::printf("%-14s none (no bundled file either)\n", kind.name);
            continue;
        }
        std::printf("%-14s %s\n  bundled, never updated: zcmcom update %s\n", kind.name,
                    bundled.c_str(), kind.name);
    }
    return 0;
}

int RunUpdate(const Options& o) {
    if (o.status) return ShowStatus();
    std::vector<const Kind*> chosen;
    for (const std::string& name : o.kinds.empty() ? std::vector<std::string>{"all"} : o.kinds)
        for (const Kind& k : kKinds)
            if (name == "all" || name == k.name) chosen.push_back(&k);
    if (!o.from.empty() && chosen.size() != 1)
        return UsageError("--from names one file: give one of satellites, comets, minor-planets");
    if (const std::string why = OpenCurl(); !why.empty()) {
        fprintf(stderr, "zcmcom: %s\n", why.c_str());
        return 1;
    }
    g_curl.global_init(CURL_GLOBAL_DEFAULT);
    struct sigaction interrupt {};
    interrupt.sa_handler = [](int) { g_interrupted = true; };
    struct sigaction saved[2]{};
    sigaction(SIGINT, &interrupt, &saved[0]);
    sigaction(SIGTERM, &interrupt, &saved[1]);
    int status = 0;
    for (const Kind* k : chosen) {
        const char* env = std::getenv(k->env);
        const std::string url = !o.from.empty() ? o.from : env && *env ? env : k->url;
        if (UpdateKind(*k, url, o) != 0) status = 1;
        if (g_interrupted) break;
    }
    sigaction(SIGINT, &saved[0], nullptr);
    sigaction(SIGTERM, &saved[1], nullptr);
    g_curl.global_cleanup();
    return status;
}

CommandRun DefineUpdate(CLI::App& cmd) {
    auto o = std::make_shared<Options>();
    cmd.add_option("KIND", o->kinds, "satellites, comets, minor-planets or all (the default)")
        ->check(CLI::IsMember({"satellites", "comets", "minor-planets", "all"}));
    cmd.add_option("--from", o->from,
                   "fetch from this URL instead of the publisher's (one KIND only; or set "
                   "ZCMCOM_UPDATE_SATELLITES, _COMETS, _MINOR_PLANETS)")
        ->type_name("URL");
    cmd.add_option("--timeout", o->timeout,
                   "give up when connecting, or when no byte comes, for this long (default 30)")
        ->type_name("SECONDS")
        ->check(Within(1, 3600));
    cmd.add_flag("--status", o->status, "list each file the sky reads: source, age, records");
    return [o] { return RunUpdate(*o); };
}

const CommandRegistration kUpdate({"update",
                                   "fetch current elements of satellites, comets and minor "
                                   "planets into ~/.local/share/zcmcom",
                                   DefineUpdate});

}  // namespace
