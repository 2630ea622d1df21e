// SPDX-License-Identifier: LGPL-3.0-or-later
// The tz database reader: TZif files and the POSIX TZ rule of their footer.
#include "sky/TzDatabase.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>
#include <mutex>

#include "platform/EncodedStream.h"
#include "sky/UnixTime.h"

namespace sky {
namespace {

constexpr long kDay = 86400;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// The year of a day counted from 1970-01-01.
int64_t YearOfDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t doe = days - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    return yoe + era * 400 + (mp >= 10 ? 1 : 0);
}

bool IsLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Readers of the rule's parts; each advances p and returns false on a mismatch.
bool ReadName(const char*& p, std::string* name) {
    if (*p == '<') {
        const char* close = std::strchr(p, '>');
        if (!close || close - p < 4) return false;
        name->assign(p + 1, close);
        p = close + 1;
        return true;
    }
    const char* start = p;
    while (std::isalpha(static_cast<unsigned char>(*p))) ++p;
    name->assign(start, p);
    return p - start >= 3;
}

// [+-]hh[:mm[:ss]] in seconds (hours up to 167, as TZif version 3 allows).
bool ReadTime(const char*& p, long* seconds) {
    long sign = 1;
    if (*p == '+' || *p == '-') sign = *p++ == '-' ? -1 : 1;
    long parts[3] = {0, 0, 0};
    for (int i = 0; i < 3; ++i) {
        if (i > 0 && *p != ':') break;
        if (i > 0) ++p;
        if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
        long v = 0;
        for (int n = 0; std::isdigit(static_cast<unsigned char>(*p)) && n < 3; ++n)
            v = v * 10 + (*p++ - '0');
        if (v > (i == 0 ? 167 : 59)) return false;
        parts[i] = v;
    }
    *seconds = sign * (parts[0] * 3600 + parts[1] * 60 + parts[2]);
    return true;
}

bool ReadNumber(const char*& p, int lo, int hi, int* value) {
    if (!std::isdigit(static_cast<unsigned char>(*p))) return false;
    int v = 0;
    for (int n = 0; std::isdigit(static_cast<unsigned char>(*p)) && n < 3; ++n)
        v = v * 10 + (*p++ - '0');
    *value = v;
    return v >= lo && v <= hi;
}

bool ReadChange(const char*& p, TzRule::Change* c) {
    if (*p == 'J') {
        ++p;
        c->kind = 'J';
        if (!ReadNumber(p, 1, 365, &c->day)) return false;
    } else if (*p == 'M') {
        ++p;
        c->kind = 'M';
        if (!ReadNumber(p, 1, 12, &c->month) || *p++ != '.' || !ReadNumber(p, 1, 5, &c->week) ||
            *p++ != '.' || !ReadNumber(p, 0, 6, &c->day))
            return false;
    } else {
        c->kind = 'D';
        if (!ReadNumber(p, 0, 365, &c->day)) return false;
    }
    c->time = 7200;
    if (*p == '/') return ReadTime(++p, &c->time);
    return true;
}

// The instant (seconds since 1970 UTC) a change happens in year y, when the offset before
// it is `before`.
int64_t ChangeAt(const TzRule::Change& c, int64_t y, long before) {
    int64_t day;
    if (c.kind == 'J') {
        day = DaysFromCivil(y, 1, 1) + c.day - 1 + (IsLeap(y) && c.day >= 60 ? 1 : 0);
    } else if (c.kind == 'D') {
        day = DaysFromCivil(y, 1, 1) + c.day;
    } else {
        const int64_t first = DaysFromCivil(y, c.month, 1);
        const int64_t weekday = ((first + 4) % 7 + 7) % 7;  // 1970-01-01 was a Thursday
        day = first + (c.day - weekday + 7) % 7 + (c.week - 1) * 7;
        const int64_t next =
            c.month == 12 ? DaysFromCivil(y + 1, 1, 1) : DaysFromCivil(y, c.month + 1, 1);
        while (day >= next) day -= 7;
    }
    return day * kDay + c.time - before;
}

uint32_t Be32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

int64_t Be64(const unsigned char* p) {
    return static_cast<int64_t>(static_cast<uint64_t>(Be32(p)) << 32 | Be32(p + 4));
}

}  // namespace

bool TzRule::Parse(const std::string& text) {
    const char* p = text.c_str();
    long offset = 0;
    if (!ReadName(p, &stdName) || !ReadTime(p, &offset)) return false;
    stdOffset = -offset;  // POSIX counts west of Greenwich
    hasDst = false;
    if (!*p) return true;
    if (!ReadName(p, &dstName)) return false;
    hasDst = true;
    dstOffset = stdOffset + 3600;
    if (*p && *p != ',') {
        if (!ReadTime(p, &offset)) return false;
        dstOffset = -offset;
    }
    if (!*p) {  // no rule given: the United States' rule
        start = Change{'M', 0, 2, 3, 7200};
        end = Change{'M', 0, 1, 11, 7200};
        return true;
    }
    return *p++ == ',' && ReadChange(p, &start) && *p++ == ',' && ReadChange(p, &end) && !*p;
}

long TzRule::OffsetAt(int64_t t) const { return InDst(t) ? dstOffset : stdOffset; }

bool TzRule::InDst(int64_t t) const {
    if (!hasDst) return false;
    const int64_t y = YearOfDays(FloorDiv(t + stdOffset, kDay));
    const int64_t s = ChangeAt(start, y, stdOffset), e = ChangeAt(end, y, dstOffset);
    const bool dst =
        s < e ? (t >= s && t < e) : !(t >= e && t < s);  // (south of the equator: s > e)
    return dst;
}

bool TzZone::Parse(const std::string& bytes) {
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = bytes.size();
    if (size < 44 || bytes.compare(0, 4, "TZif") != 0) return false;
    const bool v2 = b[4] >= '2';
    size_t at = 0;
    for (int pass = 0; pass < (v2 ? 2 : 1); ++pass) {
        if (at + 44 > size || bytes.compare(at, 4, "TZif") != 0) return false;
        const unsigned char* h = b + at + 20;
        const uint64_t isut = Be32(h), isstd = Be32(h + 4), leap = Be32(h + 8),
                       timecnt = Be32(h + 12), typecnt = Be32(h + 16), charcnt = Be32(h + 20);
        const uint64_t timeSize = pass == 0 ? 4 : 8;
        const uint64_t block =
            timecnt * (timeSize + 1) + typecnt * 6 + charcnt + leap * (timeSize + 4) + isstd + isut;
        at += 44;
        if (typecnt == 0 || typecnt > 256 || block > size - at) return false;
        if (pass + 1 ==
            (v2 ? 2 : 1)) {  // the data block that is used: the 64-bit one when there is one
            m_times.clear();
            m_types.clear();
            m_offsets.clear();
            const unsigned char* p = b + at;
            for (uint64_t i = 0; i < timecnt; ++i, p += timeSize)
                m_times.push_back(timeSize == 4 ? static_cast<int32_t>(Be32(p)) : Be64(p));
            for (uint64_t i = 0; i < timecnt; ++i, ++p) {
                if (*p >= typecnt) return false;
                m_types.push_back(*p);
            }
            m_abbreviations.clear();
            for (uint64_t i = 0; i < typecnt; ++i, p += 6) {
                m_offsets.push_back(static_cast<int32_t>(Be32(p)));
                m_abbreviations.push_back(p[5]);
            }
            m_chars.assign(reinterpret_cast<const char*>(p), charcnt);
            if (!std::is_sorted(m_times.begin(), m_times.end())) return false;
        }
        at += block;
    }
    m_hasFooter = false;
    if (v2 && at < size && b[at] == '\n') {
        const size_t end = bytes.find('\n', at + 1);
        if (end != std::string::npos && end > at + 1)
            m_hasFooter = m_footer.Parse(bytes.substr(at + 1, end - at - 1));
    }
    return true;
}

long TzZone::OffsetAt(int64_t t) const {
    if (m_hasFooter && (m_times.empty() || t >= m_times.back())) return m_footer.OffsetAt(t);
    if (m_times.empty() || t < m_times.front()) return m_offsets.front();
    const size_t i =
        static_cast<size_t>(std::upper_bound(m_times.begin(), m_times.end(), t) - m_times.begin());
    return m_offsets[m_types[i - 1]];
}

std::string TzZone::AbbreviationAt(int64_t t) const {
    if (m_hasFooter && (m_times.empty() || t >= m_times.back()))
        return m_footer.InDst(t) ? m_footer.dstName : m_footer.stdName;
    size_t type = 0;
    if (!m_times.empty() && t >= m_times.front())
        type = m_types[static_cast<size_t>(std::upper_bound(m_times.begin(), m_times.end(), t) -
                                           m_times.begin()) -
                       1];
    const size_t at = m_abbreviations[type];
    return at < m_chars.size() ? std::string(m_chars.c_str() + at) : std::string();
}

long TzZone::StandardOffsetAt(int64_t t) const {
    const int64_t y = YearOfDays(FloorDiv(t, kDay));
    return std::min(OffsetAt(DaysFromCivil(y, 1, 1) * kDay),
                    OffsetAt(DaysFromCivil(y, 7, 1) * kDay));
}

std::string ZoneFolder() {
    const char* dir = std::getenv("TZDIR");
    return dir && *dir ? dir : "/usr/share/zoneinfo";
}

std::shared_ptr<const TzZone> FindZone(const std::string& name, std::string* problem) {
    // A plain name below the database's folder: letters, digits, "_+-" and inner slashes.
    if (name.empty() || name.size() > 64 || name[0] == '/' || name.find("..") != std::string::npos)
        return nullptr;
    for (const char c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '/' && c != '_' && c != '-' &&
            c != '+')
            return nullptr;
    // Kept by path, so that a change of $TZDIR takes effect as it does for the C library.
    const std::string path = ZoneFolder() + "/" + name;
    static std::mutex mutex;
    static std::map<std::string, std::pair<std::shared_ptr<const TzZone>, std::string>> zones;
    std::lock_guard<std::mutex> lock(mutex);
    auto found = zones.find(path);
    if (found != zones.end()) {
        if (problem) *problem = found->second.second;
        return found->second.first;
    }
    // A zone file is a few kilobytes; a FIFO or a device there is never waited on.
    constexpr size_t kMaxZoneFileBytes = size_t(1) << 20;
    std::string bytes, why;
    std::shared_ptr<TzZone> zone;
    if (ZcmReadFile(path.c_str(), bytes, kMaxZoneFileBytes, true)) {
        zone = std::make_shared<TzZone>();
        if (!zone->Parse(bytes)) zone.reset();
    } else if (errno != ENOENT && errno != ENOTDIR) {
        why = path + ": " + ZcmReadFileProblem(errno, kMaxZoneFileBytes);
    }
    if (problem) *problem = why;
    zones[path] = {zone, why};
    return zone;
}

double ZoneHoursAt(const std::string& name, double jdUt) {
    const auto zone = FindZone(name);
    if (!zone || !std::isfinite(jdUt) || std::fabs(jdUt) > 1e9) return NAN;
    return zone->OffsetAt(UnixSecondsOf(jdUt)) / 3600.0;
}

double ZoneClockToUt(const std::string& name, double clockJd, double* offset) {
    const auto zone = FindZone(name);
    if (!zone || !std::isfinite(clockJd) || std::fabs(clockJd) > 1e9) return NAN;
    // The offsets a day either side: the first that maps the clock time onto itself.
    const double before = zone->OffsetAt(UnixSecondsOf(clockJd - 1.0)) / 3600.0,
                 after = zone->OffsetAt(UnixSecondsOf(clockJd + 1.0)) / 3600.0;
    double hours = before;
    for (double o : {before, after})
        if (zone->OffsetAt(UnixSecondsOf(clockJd - o / 24.0)) / 3600.0 == o) {
            hours = o;
            break;
        }
    if (offset) *offset = hours;
    return clockJd - hours / 24.0;
}

}  // namespace sky
