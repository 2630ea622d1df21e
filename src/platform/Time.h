// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CTime: a moment as seconds since 1970 (UTC), shown in local time; FILETIME.
///
/// Differences from Windows:
/// - Format uses the C library's wcsftime in the current locale; "%#d"-style flags of the
///   Windows runtime are not translated.
/// - Format of a time that the C library cannot break down (or one before 1970 or after
///   3000, which the Windows runtime refused) throws the invalid-argument exception.
/// - GetCurrentTime reads the clock through a replaceable source (ZcmSetClockSource) so that
///   tests can give the time.
#include <ctime>

#include "platform/String.h"

class ZCMCOM_API CTimeSpan {
public:
    CTimeSpan() = default;
    explicit CTimeSpan(long long seconds) : m_span(seconds) {}
    CTimeSpan(long long days, int hours, int minutes, int seconds)
        : m_span(((days * 24 + hours) * 60 + minutes) * 60 + seconds) {}
    long long GetTotalSeconds() const { return m_span; }
    long long GetDays() const { return m_span / 86400; }

private:
    long long m_span = 0;
};

class ZCMCOM_API CTime {
public:
    CTime() = default;
    CTime(long long time) : m_time(time) {}  // NOLINT: as in MFC
    /// Local time; dst -1 lets the C library decide. Invalid fields raise the
    /// invalid-argument exception, as MFC does.
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);

    static CTime GetCurrentTime();

    long long GetTime() const { return m_time; }
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;  ///< 1 = Sunday
    /// Local time text, as strftime.
    CString Format(LPCTSTR format) const;
    CString FormatGmt(LPCTSTR format) const;

    bool operator==(const CTime& t) const { return m_time == t.m_time; }
    bool operator!=(const CTime& t) const { return m_time != t.m_time; }
    bool operator<(const CTime& t) const { return m_time < t.m_time; }
    bool operator>(const CTime& t) const { return m_time > t.m_time; }
    bool operator<=(const CTime& t) const { return m_time <= t.m_time; }
    bool operator>=(const CTime& t) const { return m_time >= t.m_time; }
    CTimeSpan operator-(const CTime& t) const { return CTimeSpan(m_time - t.m_time); }
    CTime operator+(const CTimeSpan& s) const { return CTime(m_time + s.GetTotalSeconds()); }

private:
    bool Local(struct tm& out) const;
    long long m_time = 0;
};

/// Windows file time: 100-nanosecond steps since 1601-01-01 UTC, low part first.
struct FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
static_assert(sizeof(FILETIME) == 8, "FILETIME layout");

ZCMCOM_API FILETIME ZcmFileTimeFromUnix(long long seconds, long nanoseconds);
ZCMCOM_API long long ZcmUnixFromFileTime(const FILETIME& ft);
ZCMCOM_API LONG CompareFileTime(const FILETIME* a, const FILETIME* b);

/// Replaces the clock of CTime::GetCurrentTime (null restores the system clock).
using ZcmClockSource = long long (*)();
ZCMCOM_API void ZcmSetClockSource(ZcmClockSource source);
