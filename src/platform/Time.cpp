// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/Time.h"

#include <atomic>
#include <cwchar>

#include "platform/Exception.h"

namespace {

std::atomic<ZcmClockSource> g_clock{nullptr};

const long long kEpochDiff = 11644473600LL;  // seconds from 1601 to 1970

}  // namespace

void ZcmSetClockSource(ZcmClockSource source) { g_clock.store(source); }

CTime::CTime(int year, int month, int day, int hour, int minute, int second, int dst) {
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59)
        AfxThrowInvalidArgException();
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = dst < 0 ? -1 : (dst > 0 ? 1 : 0);
    const time_t r = mktime(&t);
    if (r == static_cast<time_t>(-1) && !(t.tm_year == 69 && t.tm_mon == 11 && t.tm_mday == 31))
        AfxThrowInvalidArgException();
    m_time = static_cast<long long>(r);
}

CTime CTime::GetCurrentTime() {
    const ZcmClockSource source = g_clock.load();
    return CTime(source ? source() : static_cast<long long>(time(nullptr)));
}

bool CTime::Local(struct tm& out) const {
    const time_t t = static_cast<time_t>(m_time);
    return localtime_r(&t, &out) != nullptr;
}

#define ZCM_TIME_FIELD(name, expr) \
    int CTime::name() const {      \
        struct tm t = {};          \
        if (!Local(t)) return 0;   \
        return expr;               \
    }
ZCM_TIME_FIELD(GetYear, t.tm_year + 1900)
ZCM_TIME_FIELD(GetMonth, t.tm_mon + 1)
ZCM_TIME_FIELD(GetDay, t.tm_mday)
ZCM_TIME_FIELD(GetHour, t.tm_hour)
ZCM_TIME_FIELD(GetMinute, t.tm_min)
ZCM_TIME_FIELD(GetSecond, t.tm_sec)
ZCM_TIME_FIELD(GetDayOfWeek, t.tm_wday + 1)
#undef ZCM_TIME_FIELD

namespace {

// The range the Windows runtime accepts: 1970-01-01 to 3000-12-31 23:59:59 UTC.
const long long kMaxTime = 32535215999LL;

CString FormatTm(const struct tm& t, LPCTSTR format) {
    if (!format || !*format) return CString();
    std::wstring buf(256, L'\0');
    for (int attempt = 0; attempt < 8; ++attempt) {
        const size_t n = wcsftime(&buf[0], buf.size(), format, &t);
        if (n > 0) return CString(buf.c_str(), static_cast<int>(n));
        buf.assign(buf.size() * 4, L'\0');  // too small, or an empty result
    }
    return CString();
}

}  // namespace

CString CTime::Format(LPCTSTR format) const {
    struct tm t = {};
    if (m_time < 0 || m_time > kMaxTime || !Local(t)) AfxThrowInvalidArgException();
    return FormatTm(t, format);
}

CString CTime::FormatGmt(LPCTSTR format) const {
    struct tm t = {};
    const time_t tt = static_cast<time_t>(m_time);
    if (m_time < 0 || m_time > kMaxTime || !gmtime_r(&tt, &t)) AfxThrowInvalidArgException();
    return FormatTm(t, format);
}

FILETIME ZcmFileTimeFromUnix(long long seconds, long nanoseconds) {
    const unsigned long long v =
        static_cast<unsigned long long>((seconds + kEpochDiff) * 10000000LL + nanoseconds / 100);
    return FILETIME{static_cast<DWORD>(v & 0xFFFFFFFFu), static_cast<DWORD>(v >> 32)};
}

long long ZcmUnixFromFileTime(const FILETIME& ft) {
    const unsigned long long v =
        (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return static_cast<long long>(v / 10000000ULL) - kEpochDiff;
}

LONG CompareFileTime(const FILETIME* a, const FILETIME* b) {
    if (a->dwHighDateTime != b->dwHighDateTime)
        return a->dwHighDateTime < b->dwHighDateTime ? -1 : 1;
    if (a->dwLowDateTime != b->dwLowDateTime) return a->dwLowDateTime < b->dwLowDateTime ? -1 : 1;
    return 0;
}
