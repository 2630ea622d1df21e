// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Date helpers: the date text the applications exchange, weekdays, month lengths and a
/// Julian-day comparison.
#include "platform/String.h"
#include "zvacl/zvacl.h"

/// Date texts, weekdays and month lengths.
class ZCMCOM_API CCommonDateFmt {
public:
    virtual ~CCommonDateFmt();

    /// Reads "Www EEyyyy/m/d h:m:s" (weekday ignored, era "BC" or anything else): all six
    /// results start at 0 and those read before the first mismatch are set. A BC year y
    /// becomes the astronomical year 1 - y. Null pointers are skipped.
    static void ParseDate(CString text, int* year, int* month, int* day, int* hour, int* minute,
                          int* second);
    /// 0 Sunday ... 6 Saturday, of the date's year, month and day (Julian calendar before
    /// 15 October 1582). -1 for a date no day number can be given to.
    static int GetDayOfWeek(tagADATE date);
    /// Days in the month (Julian leap years before 1583), 0 for a month outside 1 to 12.
    static int GetDayOfMonth(int year, int month);
    /// 1 when the two Julian days differ by less than 1e-6 day.
    static int IsEqualJd(double a, double b);
};
