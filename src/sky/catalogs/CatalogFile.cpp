// SPDX-License-Identifier: LGPL-3.0-or-later
// The reader of the sky's catalogue tables: mapping, the checks of the layout, typed reads,
// key lookup and the search by sky position.
#include "sky/catalogs/CatalogFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>

#include <algorithm>
#include <atomic>
#include <iterator>
#include <mutex>
#include <cctype>
#include <cmath>
#include <cstring>

namespace sky {
namespace {

constexpr char kMagic[8] = {'Z', 'C', 'M', 'C', 'A', 'T', '0', '1'};
constexpr size_t kHeaderSize = 64;
constexpr size_t kColumnSize = 32;
constexpr double kDeg = 3.14159265358979323846 / 180.0;

enum Type : uint32_t { kF64 = 1, kF32 = 2, kI32 = 3, kStr = 4 };

template <typename T>
T Read(const unsigned char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

uint32_t WidthOf(uint32_t type) {
    return type == kF64 ? 8 : (type >= kF32 && type <= kStr) ? 4 : 0;
}

// A section [at, at + count * width) lies inside a file of size bytes.
bool Inside(uint64_t at, uint64_t count, uint64_t width, uint64_t size) {
    if (at > size) return false;
    return width == 0 || count <= (size - at) / width;
}

// The mapped tables, for the SIGBUS handler: a read of a page that a truncation took away
// is given a page of zeros, and the table is marked so that its next use refuses it.
struct Guarded {
    std::atomic<uintptr_t> begin{0}, end{0};
    std::atomic<bool> hit{false};
};
Guarded g_guarded[64];
struct sigaction g_previous;
uintptr_t g_pageSize = 4096;

void OnBus(int signal, siginfo_t* info, void*) {
    const auto at = reinterpret_cast<uintptr_t>(info->si_addr);
    for (Guarded& g : g_guarded) {
        const uintptr_t begin = g.begin.load(std::memory_order_acquire);
        if (begin == 0 || at < begin || at >= g.end.load(std::memory_order_acquire)) continue;
        void* page = reinterpret_cast<void*>(at & ~(g_pageSize - 1));
        if (mmap(page, g_pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) ==
            MAP_FAILED)
            break;
        g.hit.store(true);
        return;
    }
    // Not ours: the disposition before ours takes it; a fault happens again on return.
    sigaction(signal, &g_previous, nullptr);
    if (info->si_code <= 0) raise(signal);
}

int Guard(const void* map, size_t size) {
    static std::once_flag installed;
    std::call_once(installed, [] {
        g_pageSize = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = OnBus;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, &action, &g_previous);
    });
    for (int i = 0; i < static_cast<int>(std::size(g_guarded)); ++i) {
        uintptr_t free = 0;
        if (g_guarded[i].end.compare_exchange_strong(free,
                                                     reinterpret_cast<uintptr_t>(map) + size)) {
            g_guarded[i].hit.store(false);
            g_guarded[i].begin.store(reinterpret_cast<uintptr_t>(map), std::memory_order_release);
            return i;
        }
    }
    return -1;  // more tables than slots: unguarded, as before
}

void Unguard(int slot) {
    if (slot < 0) return;
    g_guarded[slot].begin.store(0, std::memory_order_release);
    g_guarded[slot].end.store(0, std::memory_order_release);
}

int64_t ModifiedNs(const struct stat& st) {
    return int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

}  // namespace

CatalogFile::~CatalogFile() { Reset(); }

void CatalogFile::Reset() {
    Unguard(m_guard);
    m_guard = -1;
    if (m_map) munmap(m_map, m_mapSize);
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_map = nullptr;
    m_mapSize = 0;
    m_base = nullptr;
    m_rows = m_zones = m_keys = 0;
    m_zoneStart = nullptr;
    m_keyTable = nullptr;
    m_strings = nullptr;
    m_stringsSize = 0;
    m_columns.clear();
    m_ra = m_dec = -1;
}

bool CatalogFile::Fail(const std::string& name, uint64_t offset, const char* what,
                       std::string* error) {
    if (error) *error = name + ": offset " + std::to_string(offset) + ": " + what;
    Reset();
    return false;
}

bool CatalogFile::Open(const std::string& path, std::string* error) {
    Reset();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) {
        ::close(fd);
        return Fail(path, 0, "not a catalogue file (empty or not a regular file)", error);
    }
    void* map = mmap(nullptr, static_cast<size_t>(st.st_size), PROT_READ, MAP_SHARED, fd, 0);
    if (map == MAP_FAILED) {
        ::close(fd);
        return Fail(path, 0, "cannot be mapped", error);
    }
    // Lookups jump about the file: no read-ahead, so memory stays with what they touch.
    madvise(map, static_cast<size_t>(st.st_size), MADV_RANDOM);
    // Guarded before the checks read it: the file may be cut short already.
    const int guard = Guard(map, static_cast<size_t>(st.st_size));
    const bool opened = OpenBytes(map, static_cast<size_t>(st.st_size), path, error);
    if (!opened || (guard >= 0 && g_guarded[guard].hit.load())) {
        Unguard(guard);
        munmap(map, static_cast<size_t>(st.st_size));
        ::close(fd);
        return opened ? Fail(path, 0, "damaged: changed while read", error) : false;
    }
    m_map = map;
    m_mapSize = static_cast<size_t>(st.st_size);
    m_fd = fd;
    m_guard = guard;
    m_path = path;
    m_mtimeNs = ModifiedNs(st);
    return true;
}

bool CatalogFile::Changed(std::string* error) const {
    if (m_fd < 0) return false;
    struct stat st {};
    const bool same = fstat(m_fd, &st) == 0 && static_cast<size_t>(st.st_size) == m_mapSize &&
                      ModifiedNs(st) == m_mtimeNs;
    if (same && !(m_guard >= 0 && g_guarded[m_guard].hit.load())) return false;
    if (error)
        *error = m_path + ": offset " + std::to_string(same ? m_mapSize : st.st_size) +
                 ": damaged: changed while in use (tables are replaced by rename)";
    return true;
}

bool CatalogFile::Faulted() const { return m_guard >= 0 && g_guarded[m_guard].hit.load(); }

bool CatalogFile::OpenBytes(const void* data, size_t size, const std::string& name,
                            std::string* error) {
    Reset();
    const auto* base = static_cast<const unsigned char*>(data);
    if (size < kHeaderSize) return Fail(name, size, "truncated header", error);
    if (std::memcmp(base, kMagic, sizeof kMagic) != 0)
        return Fail(name, 0, "not a catalogue table", error);
    const uint32_t rows = Read<uint32_t>(base + 8), columns = Read<uint32_t>(base + 12);
    const uint32_t zones = Read<uint32_t>(base + 16), keys = Read<uint32_t>(base + 20);
    const uint64_t zonesAt = Read<uint64_t>(base + 24), keysAt = Read<uint64_t>(base + 32);
    const uint64_t stringsAt = Read<uint64_t>(base + 40), stringsSize = Read<uint64_t>(base + 48);
    const uint64_t fileSize = Read<uint64_t>(base + 56);
    if (fileSize != size)
        return Fail(name, size, "truncated: the header gives another length", error);
    if (!Inside(kHeaderSize, columns, kColumnSize, size))
        return Fail(name, kHeaderSize, "column list runs past the end", error);
    if (zones == 0 || zones > 1000000 || !Inside(zonesAt, uint64_t(zones) + 1, 4, size))
        return Fail(name, 16, "declination bands out of range", error);
    if (!Inside(keysAt, keys, 8, size)) return Fail(name, 32, "key index runs past the end", error);
    if (stringsSize == 0 || !Inside(stringsAt, stringsSize, 1, size) ||
        base[stringsAt + stringsSize - 1] != 0)
        return Fail(name, 40, "text section damaged", error);
    for (uint32_t c = 0; c < columns; ++c) {
        const unsigned char* d = base + kHeaderSize + c * kColumnSize;
        ColumnInfo info{};
        std::memcpy(info.name, d, 16);
        info.name[16] = '\0';
        info.type = Read<uint32_t>(d + 16);
        const uint64_t at = Read<uint64_t>(d + 24);
        const uint32_t width = WidthOf(info.type);
        if (width == 0 || Read<uint32_t>(d + 20) != width)
            return Fail(name, kHeaderSize + c * kColumnSize + 16, "unknown column type", error);
        if (!Inside(at, rows, width, size))
            return Fail(name, kHeaderSize + c * kColumnSize + 24, "column runs past the end",
                        error);
        info.data = base + at;
        m_columns.push_back(info);
    }
    // The bands must count up to the number of rows, so a band never names rows past it.
    uint32_t previous = 0;
    for (uint32_t z = 0; z <= zones; ++z) {
        const uint32_t start = Read<uint32_t>(base + zonesAt + 4 * uint64_t(z));
        if (start < previous || start > rows || (z == zones && start != rows))
            return Fail(name, zonesAt + 4 * uint64_t(z), "declination bands out of order", error);
        previous = start;
    }
    m_base = base;
    m_rows = rows;
    m_zones = zones;
    m_keys = keys;
    m_zoneStart = reinterpret_cast<const uint32_t*>(base + zonesAt);  // read through Read<> only
    m_keyTable = base + keysAt;
    m_strings = reinterpret_cast<const char*>(base + stringsAt);
    m_stringsSize = stringsSize;
    m_ra = Column("ra");
    m_dec = Column("dec");
    if (m_ra < 0 || m_dec < 0 || m_columns[m_ra].type != kF64 || m_columns[m_dec].type != kF64)
        return Fail(name, kHeaderSize, "no ra/dec columns", error);
    return true;
}

int CatalogFile::Column(const char* name) const {
    for (size_t i = 0; i < m_columns.size(); ++i)
        if (std::strcmp(m_columns[i].name, name) == 0) return static_cast<int>(i);
    return -1;
}

double CatalogFile::Number(int column, uint32_t row) const {
    if (column < 0 || static_cast<size_t>(column) >= m_columns.size() || row >= m_rows) return NAN;
    const ColumnInfo& c = m_columns[column];
    if (c.type == kF64) return Read<double>(c.data + 8 * uint64_t(row));
    if (c.type == kF32) return Read<float>(c.data + 4 * uint64_t(row));
    if (c.type == kI32) return Read<int32_t>(c.data + 4 * uint64_t(row));
    return NAN;
}

int32_t CatalogFile::Integer(int column, uint32_t row) const {
    if (column < 0 || static_cast<size_t>(column) >= m_columns.size() || row >= m_rows) return 0;
    const ColumnInfo& c = m_columns[column];
    return c.type == kI32 ? Read<int32_t>(c.data + 4 * uint64_t(row)) : 0;
}

const char* CatalogFile::Text(int column, uint32_t row) const {
    if (column < 0 || static_cast<size_t>(column) >= m_columns.size() || row >= m_rows) return "";
    const ColumnInfo& c = m_columns[column];
    if (c.type != kStr) return "";
    const uint32_t at = Read<uint32_t>(c.data + 4 * uint64_t(row));
    return at < m_stringsSize ? m_strings + at
                              : "";  // the section ends in NUL: every offset is a text
}

std::string CatalogFile::Key(const std::string& text) {
    std::string key;
    for (unsigned char ch : text)
        if (!std::isspace(ch)) key += static_cast<char>(ch < 0x80 ? std::tolower(ch) : ch);
    return key;
}

std::vector<uint32_t> CatalogFile::Find(const std::string& key) const {
    std::vector<uint32_t> rows;
    const auto keyAt = [&](uint32_t i) {
        const uint32_t at = Read<uint32_t>(m_keyTable + 8 * uint64_t(i));
        return at < m_stringsSize ? m_strings + at : "";
    };
    uint32_t lo = 0, hi = m_keys;
    while (lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        if (std::strcmp(keyAt(mid), key.c_str()) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    for (uint32_t i = lo; i < m_keys && key == keyAt(i); ++i) {
        const uint32_t row = Read<uint32_t>(m_keyTable + 8 * uint64_t(i) + 4);
        if (row < m_rows) rows.push_back(row);
    }
    return rows;
}

int64_t CatalogFile::FindNumber(const char* column, int32_t value) const {
    const int values = Column(column);
    const int order = Column((std::string("by") + column).c_str());
    if (values < 0 || order < 0) return -1;
    uint32_t lo = 0, hi = m_rows;
    while (lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        const int32_t row = Integer(order, mid);
        if (row < 0 || static_cast<uint32_t>(row) >= m_rows) return -1;  // a damaged order
        if (Integer(values, static_cast<uint32_t>(row)) < value)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo >= m_rows) return -1;
    const int32_t row = Integer(order, lo);
    return row >= 0 && static_cast<uint32_t>(row) < m_rows &&
                   Integer(values, static_cast<uint32_t>(row)) == value
               ? row
               : -1;
}

void CatalogFile::Near(double ra, double dec, double radius,
                       const std::function<void(uint32_t)>& visit) const {
    if (m_rows == 0 || !std::isfinite(ra) || !std::isfinite(dec) || !(radius >= 0.0)) return;
    radius = std::min(radius, 180.0);
    const double bandHeight = 180.0 / m_zones;
    const int first = std::max(0, static_cast<int>(std::floor((dec - radius + 90.0) / bandHeight)));
    const int last = std::min(static_cast<int>(m_zones) - 1,
                              static_cast<int>(std::floor((dec + radius + 90.0) / bandHeight)));
    const double sinDec = std::sin(dec * kDeg), cosDec = std::cos(dec * kDeg);
    const double cosRadius = std::cos(radius * kDeg);
    // Half the width in right ascension of the circle, over the band range; all of it near a pole.
    const double edge = std::max(std::fabs(dec - radius), std::fabs(dec + radius));
    const double halfWidth =
        edge >= 89.999 ? 180.0 : std::min(180.0, radius / std::cos(edge * kDeg) + 1e-9);
    const auto visitRange = [&](uint32_t from, uint32_t to, double ra0, double ra1) {
        // First row of the band at or after ra0, by bisection (rows are in RA order).
        uint32_t lo = from, hi = to;
        while (lo < hi) {
            const uint32_t mid = lo + (hi - lo) / 2;
            if (Number(m_ra, mid) < ra0)
                lo = mid + 1;
            else
                hi = mid;
        }
        for (uint32_t r = lo; r < to && Number(m_ra, r) <= ra1; ++r) {
            const double d = Number(m_dec, r) * kDeg;
            const double c = sinDec * std::sin(d) +
                             cosDec * std::cos(d) * std::cos((Number(m_ra, r) - ra) * kDeg);
            if (c >= cosRadius) visit(r);
        }
    };
    for (int z = first; z <= last; ++z) {
        const uint32_t from =
            Read<uint32_t>(reinterpret_cast<const unsigned char*>(m_zoneStart) + 4 * uint64_t(z));
        const uint32_t to = Read<uint32_t>(reinterpret_cast<const unsigned char*>(m_zoneStart) +
                                           4 * uint64_t(z + 1));
        if (halfWidth >= 180.0) {
            visitRange(from, to, -1.0, 361.0);
            continue;
        }
        const double ra0 = ra - halfWidth, ra1 = ra + halfWidth;
        if (ra0 < 0.0) {
            visitRange(from, to, ra0 + 360.0, 361.0);
            visitRange(from, to, -1.0, ra1);
        } else if (ra1 >= 360.0) {
            visitRange(from, to, -1.0, ra1 - 360.0);
            visitRange(from, to, ra0, 361.0);
        } else {
            visitRange(from, to, ra0, ra1);
        }
    }
}

}  // namespace sky
