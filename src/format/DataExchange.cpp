// SPDX-License-Identifier: LGPL-3.0-or-later
#include "format/DataExchange.h"

#include <climits>
#include <cwchar>

namespace {

constexpr int kIntChars = 256;          // characters read from an integer box
constexpr int kDoubleChars = 1044;      // characters read from a floating box
constexpr unsigned kMaxDecimals = 340;  // enough for the smallest doubles

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Keeps the edit box's selection across an exchange and scrolls the caret into view.
class SelectionKeeper {
public:
    explicit SelectionKeeper(CEdit* edit) : m_edit(edit) { m_edit->GetSel(m_start, m_end); }
    ~SelectionKeeper() { m_edit->SetSel(m_start, m_end); }
    SelectionKeeper(const SelectionKeeper&) = delete;
    SelectionKeeper& operator=(const SelectionKeeper&) = delete;

private:
    CEdit* m_edit;
    int m_start = 0, m_end = 0;
};

CString ReadText(const CEdit* edit, int maxChars) {
    CString text;
    edit->GetWindowText(text);
    if (text.GetLength() > maxChars) text.Truncate(maxChars);
    return text;
}

// A box whose limit is not the one asked for gets it, and starts again from "0".
void EnsureLimit(CEdit* edit, unsigned maxChars) {
    if (edit->GetLimitText() != maxChars) {
        edit->SetLimitText(maxChars);
        edit->SetWindowText(L"0");
    }
}

void CleanAndWriteBack(CEdit* edit, CString& text, BOOL allowPoint, BOOL allowSign) {
    if (CleanNumberText(text, allowPoint, allowSign)) edit->SetWindowText(text);
}

// "2.500000" -> "2.5", "3.000000" -> "3"; texts without a point stay.
void DropTrailingZeros(CString& text) {
    if (text.Find(L'.') < 0) return;
    text.TrimRight(L'0');
    text.TrimRight(L'.');
}

// The frame shared by the integer exchanges, over the range [low, high].
void ExchangeInteger(CDataExchange* pDX, int nIDC, long long& value, long long low, long long high,
                     unsigned maxChars) {
    CEdit* edit = pDX ? pDX->PrepareEditCtrl(nIDC) : nullptr;
    if (!edit) return;
    EnsureLimit(edit, maxChars);
    SelectionKeeper keep(edit);
    const BOOL allowSign = low < 0;
    CString text = ReadText(edit, kIntChars);
    auto clamp = [&](long long v) { return v < low ? low : v > high ? high : v; };
    if (pDX->m_bSaveAndValidate) {
        CleanAndWriteBack(edit, text, FALSE, allowSign);
        value = clamp(_wtoi64(text));
    } else {
        value = clamp(value);
        if (_wtoi64(text) == value) {
            CleanAndWriteBack(edit, text, FALSE, allowSign);
        } else {
            CString shown;
            shown.Format(L"%lld", value);
            edit->SetWindowText(shown);
        }
    }
}

// Only formats that take exactly one floating argument are safe to give a double.
bool IsFloatingFormat(const wchar_t* format) {
    if (!format) return false;
    int conversions = 0;
    for (const wchar_t* p = format; *p; ++p) {
        if (*p != L'%') continue;
        ++p;
        if (*p == L'%') continue;
        while (*p && wcschr(L"-+ #0", *p)) ++p;
        while (IsDigit(*p)) ++p;
        if (*p == L'.') {
            ++p;
            while (IsDigit(*p)) ++p;
        }
        if (*p == L'l') ++p;
        if (!*p || !wcschr(L"eEfFgGaA", *p)) return false;
        ++conversions;
    }
    return conversions == 1;
}

}  // namespace

BOOL CleanNumberText(CString& text, BOOL allowPoint, BOOL allowSign) {
    const int n = text.GetLength();
    if (n == 0) return FALSE;
    auto valid = [&](wchar_t c) {
        return IsDigit(c) || (allowSign && (c == L'+' || c == L'-')) || (allowPoint && c == L'.');
    };
    if (n == 1) {
        if (valid(text[0])) return FALSE;
        text.Empty();
        return TRUE;
    }
    CString out;
    out.Preallocate(n);
    bool pointKept = false;
    int i = 0;
    const wchar_t first = text[0];
    if (allowSign && (first == L'+' || first == L'-')) {
        out += first;
        i = 1;
    } else if (allowPoint && first == L'.') {
        out += first;
        pointKept = true;
        i = 1;
    } else if (first == L'0') {
        out += first;
        for (i = 1; i < n && text[i] == L'0'; ++i) {
        }
    } else if (IsDigit(first)) {
        out += first;
        i = 1;
    } else {
        i = 1;
    }
    for (; i < n; ++i) {
        const wchar_t c = text[i];
        if (IsDigit(c)) {
            out += c;
        } else if (c == L'.' && allowPoint && !pointKept) {
            out += c;
            pointKept = true;
        }
    }
    const BOOL changed = out.GetLength() != n;
    text = out;
    return changed;
}

void DDX_Int(CDataExchange* pDX, int nIDC, int& value, int bAllowNegative, unsigned maxChars) {
    long long v = value;
    ExchangeInteger(pDX, nIDC, v, bAllowNegative ? INT_MIN : 0, INT_MAX, maxChars);
    value = static_cast<int>(v);
}

void DDX_Uint(CDataExchange* pDX, int nIDC, unsigned& value, unsigned maxChars) {
    long long v = value;
    ExchangeInteger(pDX, nIDC, v, 0, UINT_MAX, maxChars);
    value = static_cast<unsigned>(v);
}

void DDX_Double(CDataExchange* pDX, int nIDC, double& value, int bAllowNegative,
                unsigned maxChars) {
    CEdit* edit = pDX ? pDX->PrepareEditCtrl(nIDC) : nullptr;
    if (!edit) return;
    EnsureLimit(edit, maxChars);
    SelectionKeeper keep(edit);
    CString text = ReadText(edit, kDoubleChars);
    if (pDX->m_bSaveAndValidate) {
        CleanAndWriteBack(edit, text, TRUE, bAllowNegative);
        value = _wtof(text);
        if (!bAllowNegative && value < 0) value = 0.0;
    } else {
        if (!bAllowNegative && value < 0) value = 0.0;
        if (_wtof(text) == value) {
            CleanAndWriteBack(edit, text, TRUE, bAllowNegative);
        } else {
            CString shown;
            shown.Format(L"%f", value);
            DropTrailingZeros(shown);
            edit->SetWindowText(shown);
        }
    }
}

void DDX_DoubleFmt(CDataExchange* pDX, int nIDC, double& value, const wchar_t* format,
                   unsigned maxChars) {
    CEdit* edit = pDX ? pDX->PrepareEditCtrl(nIDC) : nullptr;
    if (!edit) return;
    edit->SetLimitText(maxChars);
    SelectionKeeper keep(edit);
    if (pDX->m_bSaveAndValidate) {
        value = _wtof(ReadText(edit, kIntChars));
    } else {
        CString shown;
        shown.Format(IsFloatingFormat(format) ? format : L"%f", value);
        edit->SetWindowText(shown);
    }
}

void DDX_Double_SignificantDigit(CDataExchange* pDX, int nIDC, double& value, int bAllowNegative,
                                 unsigned decimals) {
    CEdit* edit = pDX ? pDX->PrepareEditCtrl(nIDC) : nullptr;
    if (!edit) return;
    if (decimals > kMaxDecimals) decimals = kMaxDecimals;
    SelectionKeeper keep(edit);
    CString text = ReadText(edit, kDoubleChars);
    if (pDX->m_bSaveAndValidate) {
        CleanNumberText(text, TRUE, bAllowNegative);
        const int point = text.ReverseFind(L'.');
        if (point >= 0 && text.GetLength() - point - 1 > static_cast<int>(decimals))
            text.Truncate(point + 1 + static_cast<int>(decimals));
        edit->SetWindowText(text);
        value = _wtof(text);
        if (!bAllowNegative && value < 0) value = 0.0;
    } else {
        if (!bAllowNegative && value < 0) value = 0.0;
        if (_wtof(text) != value) {
            CString format, shown;
            format.Format(L"%%.%df", static_cast<int>(decimals));
            shown.Format(format, value);
            DropTrailingZeros(shown);
            edit->SetWindowText(shown);
        } else {
            CleanAndWriteBack(edit, text, TRUE, bAllowNegative);
        }
    }
}
