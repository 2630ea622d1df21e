// SPDX-License-Identifier: LGPL-3.0-or-later
// Helpers shared by the solar-system, satellite and meteor texts: number lines that know
// the host's "*", and dates of Julian Days in UT or in a local zone.
#include <cmath>

#include "clickdata/ZntClickData.h"

CString CZntClickData::FormatAnswerLine(const CString& answer, const wchar_t* format,
                                        const wchar_t* placeholder) {
    const double value = _wtof(answer);
    if (answer == L"*" || !std::isfinite(value)) return placeholder;
    CString text;
    text.Format(format, value);
    return text;
}

int CZntClickData::DateOfJd(double jd, double zone, double roundTo, tagADATE* out) {
    tagADATE date = {};
    if (std::isfinite(jd) && std::isfinite(zone)) {
        JdToDate2(jd, &date);
        date.timezone = 0.0;
        if (zone != 0.0) ChangeTimezone(&date, zone);
        if (roundTo > 0.0 && std::isfinite(date.second)) {
            const double second = std::floor(date.second / roundTo + 0.5) * roundTo;
            if (second < 60.0) {
                date.second = second;
            } else {
                // A whole minute: added from a zero second, so the carry is exact.
                date.second = 0.0;
                const tagSPAN minute = {0, 0, 0, 0, 1, 0.0};
                ChangeDate(&date, &minute, 0);
            }
        }
        // zvacl marks a date it cannot represent with a NaN second.
        if (std::isfinite(date.second)) {
            if (out) *out = date;
            return 1;
        }
    }
    if (out) *out = tagADATE{};
    return 0;
}
