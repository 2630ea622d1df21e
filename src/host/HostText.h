// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// How a host reads the library's commands and writes its date answers; shared by every
/// host that answers the library itself (the built-in sky, the Stellarium adapter).
#include <vector>

#include "platform/Export.h"
#include "platform/String.h"
#include "zvacl/zvacl.h"

namespace host {

/// The text in lower case without blanks, so "? UT( Time )" and "? ut(time)" are one query.
ZCMCOM_API CString CanonicalQuery(const CString& text);
/// The same of a null-terminated text (null: empty), without a copy of it first.
ZCMCOM_API CString CanonicalQuery(const wchar_t* text);

/// The record of an instant (Julian Day, UT) in a zone (hours east of Greenwich), rounded
/// to the nearest whole second.
ZCMCOM_API tagADATE NearestSecond(double jdUt, double tz);

/// The planetarium's date text: the zone token ("UT", "LT"), the era marker with
/// year/month/day and the clock time, e.g. "UT AD2026/12/06 12:00:00".
ZCMCOM_API CString DateText(const wchar_t* token, const tagADATE& d);

/// The numbers of a call form "Name(a, b, c)" after its opening parenthesis, in order;
/// items that are no number are left out (callers check the count).
ZCMCOM_API std::vector<double> CallArguments(const CString& text);

/// A finite number at the start of the text (blanks aside); with whole, nothing may follow.
ZCMCOM_API bool ReadNumber(const CString& text, double* out, bool whole = false);

/// The statements of a command text: its parts joined by ";", trimmed, empty parts left out.
ZCMCOM_API std::vector<CString> SplitStatements(const CString& text);

/// One statement "Left = Right" read: the left side as a canonical query, the right side
/// trimmed, and the right side in canonical form.
struct Assignment {
    CString lhs;    ///< "time.jd"
    CString rhs;    ///< "UT(2026, 12, 6, 12, 0, 0)"
    CString value;  ///< "ut(2026,12,6,12,0,0)"
};
/// False for a statement without "=" ("Show Sky").
ZCMCOM_API bool ReadAssignment(const CString& statement, Assignment* out);

/// The instant (Julian Day, UT) a "Time = UT(y, m, d, h, min, s)", "Time = JD(jd)" or
/// "Time.JD = jd" statement sets; false for any other statement and for fields too large
/// to be a date.
ZCMCOM_API bool TimeStatementJd(const Assignment& a, double* jdUt);

/// The clock's answers at an instant (Julian Day, UT), in a zone (hours east) and at a
/// longitude (degrees east): "time.jd", "time.mjd", "time.timezone", "time.siderealtime",
/// "ut(time)", "time" and "lst(time)", and the fields "ut(time.hour)", "lst(time.year)",
/// "time.minute" (local) and the like. Empty for any other query; "*" for a number that is
/// not finite.
ZCMCOM_API CString ClockAnswer(const CString& q, double jdUt, double zone, double longitude);

}  // namespace host
