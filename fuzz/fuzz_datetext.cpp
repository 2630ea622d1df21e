// SPDX-License-Identifier: LGPL-3.0-or-later
// The date text parser and the number cleaner of the dialog fields on any text, with the
// parsed date fed on to the weekday and month-length helpers.
#include "FuzzText.h"
#include "format/DataExchange.h"
#include "format/DateFmt.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const CString text = FuzzText(data, size);
    int y, m, d, h, mi, s;
    CCommonDateFmt::ParseDate(text, &y, &m, &d, &h, &mi, &s);
    tagADATE date{y, m, d, h, mi, static_cast<double>(s), 0.0};
    const int dow = CCommonDateFmt::GetDayOfWeek(date);
    if (dow < -1 || dow > 6) __builtin_trap();
    const int days = CCommonDateFmt::GetDayOfMonth(y, m);
    if (days < 0 || days > 31) __builtin_trap();
    CString cleaned = text;
    CleanNumberText(cleaned, size & 1, size & 2);
    if (cleaned.GetLength() > text.GetLength()) __builtin_trap();
    return 0;
}
