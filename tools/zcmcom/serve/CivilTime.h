// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
#include <string>
// The one rule for dates and times typed by a user, on the command line (--at) and in the
// chart server: only days and times that exist.

// Whether y-mo-d h:mi:s at zone hours east of UT exists: a month 1 to 12 and a day of it
// (February 29 in leap years only), hour 0 to 23, minute 0 to 59, second below 60, or below
// 61 within a leap second (23:59:60 UTC at the end of a day that had one).
bool IsRealCivilTime(int y, int mo, int d, int h, int mi, double s, double zone);

// Why such a date or time does not exist ("2026-02-29: February 2026 has 28 days"); empty
// when it does.
std::string CivilTimeProblem(int y, int mo, int d, int h, int mi, double s, double zone);
