// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Small builders shared by the zvacl tests.
#include <cstdio>
#include <limits>
#include <string>

#include "zvacl/zvacl.h"

namespace zvacltest {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

inline tagADATE Date(int y, int mo, int d, int h = 0, int mi = 0, double s = 0, double tz = 0) {
    return tagADATE{y, mo, d, h, mi, s, tz};
}

inline tagSPAN Span(int y, int mo, int d, int h = 0, int mi = 0, double s = 0) {
    return tagSPAN{y, mo, d, h, mi, s};
}

// The date and time of a record (not its zone), seconds to the microsecond.
inline std::string Str(const tagADATE& a) {
    char s[96];
    std::snprintf(s, sizeof s, "%d-%02d-%02d %02d:%02d:%09.6f", a.year, a.month, a.day, a.hour,
                  a.minute, a.second);
    return s;
}

// The record for a JD, the record moved to another zone, the record changed by a span.
inline tagADATE DateOf(double jd) {
    tagADATE a = Date(1, 1, 1, 1, 1, 1, 5.5);
    JdToDate2(jd, &a);
    return a;
}
inline tagADATE InZone(tagADATE a, double zone) {
    ChangeTimezone(&a, zone);
    return a;
}
inline tagADATE Changed(tagADATE a, const tagSPAN& span, int mode = 0) {
    ChangeDate(&a, &span, mode);
    return a;
}

}  // namespace zvacltest
