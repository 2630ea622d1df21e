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

/// A span of time in whole seconds (negative when backwards).
class ZCMCOM_API CTimeSpan {
public:
    /// A span of 0 seconds.
    CTimeSpan() = default;
    /// A span of seconds.
    explicit CTimeSpan(long long seconds) : m_span(seconds) {}
    /// A span of days, hours, minutes and seconds (any may be negative or out of range: they
    /// are added up).
    CTimeSpan(long long days, int hours, int minutes, int seconds)
        : m_span(((days * 24 + hours) * 60 + minutes) * 60 + seconds) {}
    /// The span in seconds.
    long long GetTotalSeconds() const { return m_span; }
    /// Whole days of the span, rounded towards 0.
    long long GetDays() const { return m_span / 86400; }

private:
    long long m_span = 0;
};

/// A moment in whole seconds since 1970-01-01 00:00:00 UTC; its fields read in local time
/// (the TZ of the process).
class ZCMCOM_API CTime {
public:
    /// The moment 0 (1970-01-01 00:00:00 UTC).
    CTime() = default;
    /// The moment time seconds after 1970-01-01 00:00:00 UTC.
    CTime(long long time) : m_time(time) {}  // NOLINT: as in MFC
    /// Local time; dst -1 lets the C library decide. Invalid fields raise the
    /// invalid-argument exception, as MFC does.
    CTime(int year, int month, int day, int hour, int minute, int second, int dst = -1);

    /// Now, from the clock source (see ZcmSetClockSource).
    static CTime GetCurrentTime();

    /// Seconds since 1970-01-01 00:00:00 UTC.
    long long GetTime() const { return m_time; }
    /// The fields in local time: year, month 1..12, day 1..31, hour 0..23, minute and second
    /// 0..59, and the weekday 1 (Sunday) to 7. A time the C library cannot break down gives 0.
    /// @{
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;
    /// @}
    /// The time as text by a strftime format, in local time (Format) or UTC (FormatGmt).
    /// Throws CInvalidArgException* for a time that cannot be shown (see the notes above).
    /// @{
    CString Format(LPCTSTR format) const;
    CString FormatGmt(LPCTSTR format) const;
    /// @}

    /// Comparisons by the moment; the difference of two moments is a span, and a moment plus a
    /// span a moment.
    /// @{
    bool operator==(const CTime& t) const { return m_time == t.m_time; }
    bool operator!=(const CTime& t) const { return m_time != t.m_time; }
    bool operator<(const CTime& t) const { return m_time < t.m_time; }
    bool operator>(const CTime& t) const { return m_time > t.m_time; }
    bool operator<=(const CTime& t) const { return m_time <= t.m_time; }
    bool operator>=(const CTime& t) const { return m_time >= t.m_time; }
    CTimeSpan operator-(const CTime& t) const { return CTimeSpan(m_time - t.m_time); }
    CTime operator+(const CTimeSpan& s) const { return CTime(m_time + s.GetTotalSeconds()); }
    /// @}

private:
    bool Local(struct tm& out) const;
    long long m_time = 0;
};

/// Windows file time: 100-nanosecond steps since 1601-01-01 UTC, low part first.
struct FILETIME {
    DWORD dwLowDateTime;   ///< low 32 bits
    DWORD dwHighDateTime;  ///< high 32 bits
};
static_assert(sizeof(FILETIME) == 8, "FILETIME layout");

/// A file time from seconds and nanoseconds since 1970 (UTC), and back to whole seconds
/// (rounded down).
/// @{
ZCMCOM_API FILETIME ZcmFileTimeFromUnix(long long seconds, long nanoseconds);
ZCMCOM_API long long ZcmUnixFromFileTime(const FILETIME& ft);
/// @}
/// -1 when a is earlier than b, 0 when equal, 1 when later.
ZCMCOM_API LONG CompareFileTime(const FILETIME* a, const FILETIME* b);

/// A clock: returns seconds since 1970-01-01 00:00:00 UTC.
using ZcmClockSource = long long (*)();
/// Replaces the clock of CTime::GetCurrentTime (null restores the system clock).
ZCMCOM_API void ZcmSetClockSource(ZcmClockSource source);
