// SPDX-License-Identifier: LGPL-3.0-or-later
#include "sky/TownFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace sky {

namespace {

// A number as strtod reads it, from text that ends at end. Plain decimals of up to 15 digits
// are the integer of their digits over a power of ten: one correctly rounded division, the
// very double strtod gives.
double Decimal(const char*& p, const char* end) {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    const char* q = p;
    const bool minus = q < end && *q == '-';
    if (q < end && (*q == '-' || *q == '+')) ++q;
    long long digits = 0;
    int count = 0, decimals = -1;
    for (; q < end && count <= 15; ++q) {
        if (*q >= '0' && *q <= '9') {
            digits = digits * 10 + (*q - '0');
            ++count;
            if (decimals >= 0) ++decimals;
        } else if (*q == '.' && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    const bool plain = count > 0 && count <= 15 &&
                       (q == end || (*q != 'e' && *q != 'E' && *q != 'x' && *q != 'X' &&
                                     !(*q >= '0' && *q <= '9')));
    if (!plain) {
        const std::string rest(p, end);
        char* after = nullptr;
        const double v = std::strtod(rest.c_str(), &after);
        p += after - rest.c_str();
        return v;
    }
    static const double kTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double v = static_cast<double>(digits) / kTen[decimals < 0 ? 0 : decimals];
    p = q;
    return minus ? -v : v;
}

// Reads one line, without its '\n': a zone's name is added to zones; a town of one of those
// zones is read into town, and only then is the answer true.
bool ReadTownLine(std::string_view line, std::vector<std::string>& zones, TownLine& town) {
    if (line.empty() || line[0] == '#') return false;
    if (line.size() >= 2 && line[0] == 'Z' && line[1] == '\t') {
        zones.emplace_back(line.substr(2));
        return false;
    }
    const char* p = line.data();
    const char* const end = p + line.size();
    town = TownLine{};
    town.lat = Decimal(p, end);
    town.lon = Decimal(p, end);
    while (p < end && *p == '\t') ++p;
    town.byNameOnly = p < end && *p == '+';
    p += town.byNameOnly;
    long zone = 0;
    if (p < end && *p >= '0' && *p <= '9') {
        for (; p < end && *p >= '0' && *p <= '9'; ++p)
            if (zone < 1000000) zone = zone * 10 + (*p - '0');
    } else {
        const char* field = p;
        while (p < end && *p != '\t') ++p;
        zone = std::strtol(std::string(field, p).c_str(), nullptr, 10);
    }
    while (p < end && *p != '\t') ++p;
    if (zone < 0 || zone >= static_cast<long>(zones.size())) return false;
    town.zone = static_cast<size_t>(zone);
    // The country, then the names: the rest of the line.
    if (p == end) return true;
    const char* country = ++p;
    while (p < end && *p != '\t') ++p;
    if (p == end) return true;
    town.country = std::string_view(country, static_cast<size_t>(p - country));
    town.names = std::string_view(p + 1, static_cast<size_t>(end - p - 1));
    return true;
}

}  // namespace

void ReadTownFile(const std::string& path, std::vector<std::string>& zones,
                  const std::function<bool(const TownLine&)>& each) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    // Block by block, the lines read where they lie; a line cut by a block's end is moved to
    // the front for the next.
    std::vector<char> buffer(fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? 64 * 1024 : 0);
    TownLine town;
    for (size_t kept = 0; !buffer.empty();) {
        const ssize_t n = read(fd, buffer.data() + kept, buffer.size() - kept);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) break;
        const char* p = buffer.data();
        const char* const end = p + kept + static_cast<size_t>(n);
        bool more = n > 0;
        for (;;) {
            const char* eol =
                static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
            if (!eol && more) break;  // the rest of the line comes with the next block
            const char* const stop = eol ? eol : end;
            if (ReadTownLine(std::string_view(p, static_cast<size_t>(stop - p)), zones, town) &&
                !each(town)) {
                more = false;  // the reader has all it wants
                break;
            }
            if (!eol) break;
            p = eol + 1;
        }
        if (!more) break;
        kept = static_cast<size_t>(end - p);
        std::memmove(buffer.data(), p, kept);
        if (kept == buffer.size()) buffer.resize(2 * buffer.size());  // a line longer than it
    }
    close(fd);
}

}  // namespace sky
