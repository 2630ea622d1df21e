// SPDX-License-Identifier: LGPL-3.0-or-later
// Helpers for reading the host's answers into the star and deep-sky texts: the "present"
// test, decimal trimming and the distance in light years.
#include <cmath>

#include "clickdata/ZntClickData.h"

bool CZntClickData::IsPresent(const CString& answer) { return !answer.IsEmpty() && answer != L"*"; }

CString CZntClickData::TrimDecimals(CString text, int bKeepZero) {
    TrimTrailingZero(text);
    if (bKeepZero && text.Right(1) == L".") text += L'0';
    return text;
}

CString CZntClickData::GetDistanceString(double d) {
    CString text;
    if (d < 10.0) {
        text.Format(L"%.2f", d);
    } else if (d < 100.0) {
        text.Format(L"%.1f", d);
    } else if (d < 995.0) {
        text.Format(L"%.0f", d);
    } else if (d < 9950.0) {
        // To the nearest ten, halves up.
        text.Format(L"%d", static_cast<int>(std::floor(d + 5.0) / 10.0) * 10);
    } else {
        text.Format(L"%2.1e", d);
    }
    return text;
}

void CZntClickData::AppendAnswerLine(CString& text, const wchar_t* label, const CString& answer) {
    if (!answer.IsEmpty()) text += label + answer + L"\r\n";
}

CString CZntClickData::GetHipLine(CCorZnt* pHost) {
    const CString hip = QueryObject(pHost, L".HipparcosNumber");
    return IsPresent(hip) ? L"HIP" + hip + L"\r\n" : CString();
}

CString CZntClickData::GetMagnitudeLine(CCorZnt* pHost) {
    // An empty answer is not "*": it prints as 0.00.
    const CString magnitude = QueryObject(pHost, L".Magnitude");
    CString line;
    if (magnitude != L"*") line.Format(L"光度 %5.2f等\r\n", _wtof(magnitude));
    return line;
}

CString CZntClickData::GetProperMotionLines(CCorZnt* pHost, double scale) {
    CString text;
    const CString ra = QueryObject(pHost, L".Propermotion.RA");
    if (IsPresent(ra)) text.AppendFormat(L"固有運動量μαcosδ %.2f (mas/年)\r\n", _wtof(ra) * scale);
    const CString dec = QueryObject(pHost, L".Propermotion.DEC");
    if (IsPresent(dec))
        text.AppendFormat(L"固有運動量μδ      %.2f (mas/年)\r\n", _wtof(dec) * scale);
    return text;
}

CString CZntClickData::WithObject(const CString& path, const std::function<CString()>& build) {
    const CStkString saved = m_Object;
    m_Object = path;
    CString text;
    try {
        text = build();
    } catch (...) {
        m_Object = saved;
        throw;
    }
    m_Object = saved;
    return text;
}
