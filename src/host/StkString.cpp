// SPDX-License-Identifier: LGPL-3.0-or-later
#include "host/StkString.h"

#include <cstdint>
#include <cwchar>

// ---------------------------------------------------------------------------------------
// CStkStr

CStkStr::~CStkStr() = default;

bool CStkStr::IsNoValue() const { return IsEmpty() || Compare(L"*") == 0; }

int CStkStr::Same(const wchar_t* text) const { return CompareNoCase(text) == 0 ? 1 : 0; }

int CStkStr::IsInclude(CString text) const {
    CString self(*this);
    self.MakeUpper();
    text.MakeUpper();
    return self.Find(text.GetString()) >= 0 ? 1 : 0;
}

int CStkStr::atoi(int def) const { return IsNoValue() ? def : _wtoi(GetString()); }

double CStkStr::atof(double def) const { return IsNoValue() ? def : _wtof(GetString()); }

int CStkStr::IsNum() const {
    if (IsEmpty()) return 0;
    const wchar_t c = GetString()[0];
    return (c == L'+' || c == L'-' || (c >= L'0' && c <= L'9')) ? 1 : 0;
}

int CStkStr::Bool() const { return (Same(L"TRUE") || Same(L"ON") || Same(L"1")) ? 1 : 0; }

int CStkStr::IsTrue() const { return Bool(); }

int CStkStr::IsFalse() const { return (Same(L"FALSE") || Same(L"OFF") || Same(L"0")) ? 1 : 0; }

int CStkStr::IsBool() const { return (IsTrue() || IsFalse()) ? 1 : 0; }

int CStkStr::LineStyle() const {
    static const tagNAMETABLE kStyles[] = {{L"SOLID", 0},   {L"DASH", 1},       {L"DOT", 2},
                                           {L"DASHDOT", 3}, {L"DASHDOTDOT", 4}, {nullptr, 0}};
    for (const tagNAMETABLE* row = kStyles; row->name; ++row)
        if (Same(row->name)) return row->value;
    return -1;
}

int CStkStr::IsLineStyle() const { return LineStyle() != -1 ? 1 : 0; }

int CStkStr::Channel() const {
    if (IsEmpty() || GetString()[0] != L'#') return -1;
    const CStkStr rest(Mid(1));
    if (rest.IsNoValue() || !rest.IsNum()) return -1;
    return _wtoi(rest.GetString());
}

double CStkStr::DPS() const {
    if (IsNoValue()) return -1.0;
    const double v = _wtof(GetString());
    if (v < 0 || IsInclude(L"DPS")) return v;
    if (IsInclude(L"DPM")) return v / 60.0;
    if (IsInclude(L"RPM")) return v * 360.0 / 60.0;
    return v;
}

int CStkStr::Year(int def) const {
    if (IsNoValue()) return def;
    CString text(*this);
    text.MakeUpper();
    // The era marker may stand before or after the number; the number is read with the
    // marker taken out, so "A.D. 1200" and "1200 A.D." both give 1200.
    static const struct {
        const wchar_t* marker;
        bool beforeEra;
    } kMarkers[] = {{L"A.D.", false}, {L"AD", false}, {L"B.C.", true}, {L"BC", true}};
    for (const auto& m : kMarkers) {
        const int pos = text.Find(m.marker);
        if (pos < 0) continue;
        text.Delete(pos, static_cast<int>(wcslen(m.marker)));
        const int n = _wtoi(text.GetString());  // saturates
        if (!m.beforeEra) return n;
        // 1 B.C. is the astronomical year 0
        const long long year = 1 - static_cast<long long>(n);
        return year > INT32_MAX ? INT32_MAX : static_cast<int>(year);
    }
    return _wtoi(GetString());
}

int CStkStr::TableSearch(const tagNAMETABLE table[], int* value) const {
    if (IsEmpty() || !table) return 0;
    const int open = Find(L'(');
    CString key = open >= 0 ? Left(open) : CString(*this);
    if (key.GetLength() > kMaxKeyLength) return 0;
    key.MakeUpper();
    for (const tagNAMETABLE* row = table; row->name; ++row) {
        if (wcslen(row->name) > static_cast<size_t>(kMaxKeyLength)) continue;
        CString name(row->name);
        name.MakeUpper();
        if (name == key) {
            if (value) *value = row->value;
            return 1;
        }
    }
    return 0;
}

int CStkStr::TableValueSearch(const tagNAMETABLE table[], int value) {
    if (!table) return 0;
    for (const tagNAMETABLE* row = table; row->name; ++row) {
        if (row->value == value) {
            CString::operator=(row->name);
            return 1;
        }
    }
    return 0;
}

// ---------------------------------------------------------------------------------------
// CZntProperty

CZntProperty::CZntProperty(const CString& text) { Set(text); }

CZntProperty::~CZntProperty() = default;

void CZntProperty::Set(CString text) {
    for (auto& p : m_param) p.Empty();
    const int open = text.Find(L'(');
    if (open < 0)
        SplitPath(text);
    else
        SplitCall(text, open);
    for (auto& p : m_param) p.Trim(L" \t");
}

void CZntProperty::SplitPath(const CString& text) {
    const wchar_t* s = text.GetString();
    const int len = text.GetLength();
    int pos = 0, n = 0;
    while (n < kMaxParam && pos < len) {
        const wchar_t* dot = wcschr(s + pos, L'.');
        if (!dot) {
            m_param[n++] = CString(s + pos, len - pos);
            break;
        }
        const int end = static_cast<int>(dot - s);
        m_param[n++] = CString(s + pos, end - pos);
        pos = end + 1;
    }
}

void CZntProperty::SplitCall(const CString& text, int open) {
    m_param[0] = text.Left(open);
    const wchar_t* s = text.GetString();
    const int len = text.GetLength();

    // The arguments end at the parenthesis that closes the first one.
    int end = open + 1, depth = 1;
    for (; end < len; ++end) {
        if (s[end] == L'(') ++depth;
        if (s[end] == L')' && --depth == 0) break;
    }
    int pos = open + 1;
    for (int n = 1; n < kMaxParam; ++n) {
        while (pos < end &&
               (s[pos] == L' ' || s[pos] == L'\t' || s[pos] == L'\r' || s[pos] == L'\n'))
            ++pos;
        if (pos >= end) break;
        if (s[pos] == L'"') {
            int close = pos + 1;
            while (close < end && s[close] != L'"') ++close;
            m_param[n] = CString(s + pos + 1, close - pos - 1);
            int comma = close + 1;
            while (comma < end && s[comma] != L',') ++comma;
            if (comma >= end) break;
            pos = comma + 1;
        } else {
            int stop = pos, nest = 0;
            for (; stop < end; ++stop) {
                if (s[stop] == L'(') ++nest;
                if (s[stop] == L')') --nest;
                if (s[stop] == L',' && nest <= 0) break;
            }
            CString arg(s + pos, stop - pos);
            m_param[n] = arg.TrimRight();
            if (stop >= end) break;
            pos = stop + 1;
        }
    }
}

CStkStr CZntProperty::GetParam(int i) const { return InRange(i) ? m_param[i] : CStkStr(); }

int CZntProperty::Same(int i, const wchar_t* text) const {
    return InRange(i) ? m_param[i].Same(text) : 0;
}

int CZntProperty::IsEmpty(int i) const { return InRange(i) && m_param[i].IsEmpty() ? 1 : 0; }

int CZntProperty::IsNum(int i) const { return InRange(i) ? m_param[i].IsNum() : 0; }

int CZntProperty::IsInclude(int i, CString text) const {
    return InRange(i) ? m_param[i].IsInclude(text) : 0;
}

int CZntProperty::IsTrue(int i) const { return InRange(i) ? m_param[i].IsTrue() : 0; }

int CZntProperty::IsFalse(int i) const { return InRange(i) ? m_param[i].IsFalse() : 0; }

int CZntProperty::Channel(int i) const { return InRange(i) ? m_param[i].Channel() : -1; }

int CZntProperty::atoi(int i, int def) const { return InRange(i) ? m_param[i].atoi(def) : def; }

double CZntProperty::atof(int i, double def) const {
    return InRange(i) ? m_param[i].atof(def) : def;
}

int CZntProperty::Year(int i, int def) const { return InRange(i) ? m_param[i].Year(def) : def; }

int CZntProperty::TableSearch(int i, const tagNAMETABLE table[], int* value) const {
    return InRange(i) ? m_param[i].TableSearch(table, value) : 0;
}

int CZntProperty::TableValueSearch(int i, const tagNAMETABLE table[], int value) {
    return InRange(i) ? m_param[i].TableValueSearch(table, value) : 0;
}

wchar_t CZntProperty::GetAt(int i, int pos) const { return InRange(i) ? m_param[i].GetAt(pos) : 0; }

CString CZntProperty::Mid(int i, int first) const {
    return InRange(i) ? m_param[i].Mid(first) : CString();
}

void CZntProperty::Shift(int n) {
    if (n == 0) return;
    if (n >= kMaxParam || n <= -kMaxParam) {
        for (auto& p : m_param) p.Empty();
        return;
    }
    if (n > 0) {
        for (int i = kMaxParam - 1; i >= n; --i) m_param[i] = m_param[i - n];
        for (int i = 0; i < n; ++i) m_param[i].Empty();
    } else {
        const int m = -n;
        for (int i = 0; i + m < kMaxParam; ++i) m_param[i] = m_param[i + m];
        for (int i = kMaxParam - m; i < kMaxParam; ++i) m_param[i].Empty();
    }
}

// ---------------------------------------------------------------------------------------
// CStkString

CStkString::~CStkString() = default;

CStkString& CStkString::operator=(const CStkStr& s) {
    CStkStr::operator=(s);
    m_bParsed = 0;
    return *this;
}

CStkString& CStkString::operator=(const CString& s) {
    CStkStr::operator=(s);
    m_bParsed = 0;
    return *this;
}

CStkString& CStkString::operator=(LPCTSTR s) {
    CStkStr::operator=(s);
    m_bParsed = 0;
    return *this;
}

CZntProperty& CStkString::Property() {
    if (!m_bParsed) {
        m_Property.Set(*this);
        m_bParsed = 1;
    }
    return m_Property;
}
