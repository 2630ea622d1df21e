// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// The system's tz database (/usr/share/zoneinfo, or $TZDIR): the UTC offset of an IANA zone
/// ("America/Chicago") at any instant, daylight saving included. Reads the compiled TZif
/// files (versions 1 to 4) and, for instants after their last transition, the POSIX TZ rule
/// of their footer ("CST6CDT,M3.2.0,M11.1.0").
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Export.h"

namespace sky {

/// A POSIX TZ rule: standard and daylight offsets (seconds east of UTC) and, when daylight
/// saving is kept, the rules of its start and end.
struct ZCMCOM_API TzRule {
    /// When daylight saving starts or ends.
    struct Change {
        char kind =
            'M';  ///< 'J': day 1-365 without 29 Feb; 'D': day 0-365; 'M': month.week.weekday
        /// The day (of the year, or of the week 0 Sunday for 'M'), the week of the month
        /// (1-5, 5 the last) and the month (1-12).
        /// @{
        int day = 0, week = 0, month = 0;
        /// @}
        long time = 7200;  ///< seconds after local midnight (may be negative or beyond a day)
    };
    /// Standard and daylight offsets, seconds east of UTC.
    /// @{
    long stdOffset = 0, dstOffset = 0;
    /// @}
    bool hasDst = false;  ///< whether daylight saving is kept
    /// The abbreviations of standard and daylight time ("GMT", "BST"; "+09" for a number).
    /// @{
    std::string stdName, dstName;
    /// @}
    /// The start and the end of daylight saving.
    /// @{
    Change start, end;
    /// @}
    /// Reads the rule; false when the text is none.
    bool Parse(const std::string& text);
    /// Seconds east of UTC at the instant (seconds since 1970 UTC).
    long OffsetAt(int64_t unixSeconds) const;
    /// Whether daylight saving is in force at the instant.
    bool InDst(int64_t unixSeconds) const;
};

/// One zone of the tz database: its transitions and the rule after them.
class ZCMCOM_API TzZone {
public:
    /// Reads a TZif file's bytes; false when they are not one.
    bool Parse(const std::string& bytes);
    /// Seconds east of UTC at the instant (seconds since 1970 UTC).
    long OffsetAt(int64_t unixSeconds) const;
    /// The zone's standard offset in the year of the instant: the smaller of its offsets on
    /// 1 January and 1 July (the time-zone map's definition).
    long StandardOffsetAt(int64_t unixSeconds) const;
    /// The abbreviation of the local time at the instant ("BST", "AEDT", "+09").
    std::string AbbreviationAt(int64_t unixSeconds) const;

private:
    std::vector<int64_t> m_times;
    std::vector<uint8_t> m_types;
    std::vector<long> m_offsets;           ///< by type
    std::vector<uint8_t> m_abbreviations;  ///< by type, an index into m_chars
    std::string m_chars;
    TzRule m_footer;
    bool m_hasFooter = false;
};

/// The folder of the tz database: $TZDIR, else /usr/share/zoneinfo.
ZCMCOM_API std::string ZoneFolder();
/// The zone of that name from the tz database's folder, read once per process; null when
/// there is no such zone (or the name is not a plain zone name), with *problem naming the
/// file when it is there but cannot be read (not a regular file, over 1 MB).
ZCMCOM_API std::shared_ptr<const TzZone> FindZone(const std::string& name,
                                                  std::string* problem = nullptr);
/// The instant (UT Julian Day) of a clock time of the zone, given as the Julian Day it would
/// be in UT: the offset in force then, daylight saving included. Of an hour the clocks
/// repeat, the first time round; in one they skip, the offset before the change (02:30
/// becomes 03:30 summer time). *offset (if given) gets that offset in hours. NaN for no
/// such zone.
ZCMCOM_API double ZoneClockToUt(const std::string& name, double clockJd, double* offset = nullptr);
/// The offset of the zone in hours at the instant (UT Julian Day); NaN for no such zone.
ZCMCOM_API double ZoneHoursAt(const std::string& name, double jdUt);

}  // namespace sky
