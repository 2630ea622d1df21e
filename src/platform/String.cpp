// SPDX-License-Identifier: LGPL-3.0-or-later
#include "platform/String.h"

#include <clocale>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <locale.h>
#include <vector>

#include "platform/Exception.h"
#include "platform/Resource.h"

namespace {

// The "C" locale, for number conversions that must not depend on the user's locale.
locale_t CLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// Runs f with the calling thread switched to the "C" locale.
template <class F>
auto WithCLocale(F&& f) {
    locale_t old = uselocale(CLocale());
    auto result = f();
    uselocale(old);
    return result;
}

inline wchar_t FoldUpper(wchar_t c) {
    if (c < 0x80) return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - 32) : c;
    return static_cast<wchar_t>(towupper(static_cast<wint_t>(c)));
}

inline wchar_t FoldLower(wchar_t c) {
    if (c < 0x80) return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c;
    return static_cast<wchar_t>(towlower(static_cast<wint_t>(c)));
}

bool IsSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f' ||
           (c >= 0x80 && iswspace(static_cast<wint_t>(c)));
}

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

}  // namespace

CString::CString(const wchar_t* text) {
    if (text) m_str = text;
}

CString::CString(const wchar_t* text, int length) {
    if (text && length > 0) m_str.assign(text, static_cast<size_t>(length));
}

CString::CString(wchar_t ch, int repeat) {
    if (repeat > 0) m_str.assign(static_cast<size_t>(repeat), ch);
}

CString::CString(const char* utf8) {
    if (utf8) m_str = ZcmUtf8ToWide(utf8, strlen(utf8));
}

CString& CString::operator=(const wchar_t* text) {
    if (text)
        m_str = text;
    else
        m_str.clear();
    return *this;
}

CString& CString::operator=(wchar_t ch) {
    m_str.assign(1, ch);
    return *this;
}

CString& CString::operator=(const char* utf8) {
    m_str = utf8 ? ZcmUtf8ToWide(utf8, strlen(utf8)) : std::wstring();
    return *this;
}

wchar_t CString::GetAt(int index) const {
    if (index < 0 || index > GetLength()) AfxThrowInvalidArgException();
    return m_str.c_str()[index];
}

void CString::SetAt(int index, wchar_t ch) {
    if (index < 0 || index >= GetLength()) AfxThrowInvalidArgException();
    m_str[static_cast<size_t>(index)] = ch;
}

CString& CString::operator+=(const wchar_t* s) {
    if (s) m_str += s;
    return *this;
}

CString& CString::operator+=(const char* utf8) {
    if (utf8) m_str += ZcmUtf8ToWide(utf8, strlen(utf8));
    return *this;
}

void CString::Append(const wchar_t* s, int length) {
    if (s && length > 0) m_str.append(s, static_cast<size_t>(length));
}

int CString::Compare(const wchar_t* s) const { return wcscmp(m_str.c_str(), s ? s : L""); }

int CString::CompareNoCase(const wchar_t* s) const {
    const wchar_t* a = m_str.c_str();
    const wchar_t* b = s ? s : L"";
    for (;; ++a, ++b) {
        const wchar_t ca = FoldLower(*a), cb = FoldLower(*b);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

CString CString::Mid(int first) const { return Mid(first, INT_MAX); }

CString CString::Mid(int first, int count) const {
    const int len = GetLength();
    first = Clamp(first, 0, len);
    if (count < 0) count = 0;
    if (count > len - first) count = len - first;
    return CString(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Right(int count) const {
    count = Clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(const wchar_t* set) const {
    return Left(static_cast<int>(wcsspn(m_str.c_str(), set ? set : L"")));
}

CString CString::SpanExcluding(const wchar_t* set) const {
    return Left(static_cast<int>(wcscspn(m_str.c_str(), set ? set : L"")));
}

CString CString::Tokenize(const wchar_t* delimiters, int& start) const {
    if (start < 0 || start >= GetLength()) {
        start = -1;
        return CString();
    }
    const wchar_t* d = delimiters ? delimiters : L"";
    const wchar_t* p = m_str.c_str() + start;
    p += wcsspn(p, d);
    if (*p == 0) {
        start = -1;
        return CString();
    }
    const size_t n = wcscspn(p, d);
    const int from = static_cast<int>(p - m_str.c_str());
    start = from + static_cast<int>(n) + 1;
    return Mid(from, static_cast<int>(n));
}

int CString::Find(wchar_t ch, int start) const {
    if (start < 0 || start >= GetLength()) return -1;
    const size_t pos = m_str.find(ch, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(const wchar_t* sub, int start) const {
    if (!sub || start < 0 || start > GetLength()) return -1;
    const size_t pos = m_str.find(sub, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const {
    const size_t pos = m_str.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(const wchar_t* set) const {
    if (!set) return -1;
    const size_t pos = m_str.find_first_of(set);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Replace(wchar_t oldCh, wchar_t newCh) {
    int n = 0;
    for (auto& c : m_str) {
        if (c == oldCh) {
            c = newCh;
            ++n;
        }
    }
    return n;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
    if (!oldText || !*oldText) return 0;
    const std::wstring from(oldText), to(newText ? newText : L"");
    std::wstring out;
    int n = 0;
    size_t pos = 0;
    for (;;) {
        const size_t hit = m_str.find(from, pos);
        if (hit == std::wstring::npos) break;
        out.append(m_str, pos, hit - pos);
        out += to;
        pos = hit + from.size();
        ++n;
    }
    if (n) {
        out.append(m_str, pos, std::wstring::npos);
        m_str.swap(out);
    }
    return n;
}

int CString::Remove(wchar_t ch) {
    const size_t before = m_str.size();
    std::wstring out;
    out.reserve(before);
    for (wchar_t c : m_str)
        if (c != ch) out += c;
    m_str.swap(out);
    return static_cast<int>(before - m_str.size());
}

int CString::Insert(int index, wchar_t ch) {
    index = Clamp(index, 0, GetLength());
    m_str.insert(static_cast<size_t>(index), 1, ch);
    return GetLength();
}

int CString::Insert(int index, const wchar_t* s) {
    index = Clamp(index, 0, GetLength());
    if (s) m_str.insert(static_cast<size_t>(index), s);
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index < 0) index = 0;
    if (count > 0 && index < GetLength()) {
        if (count > GetLength() - index) count = GetLength() - index;
        m_str.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    }
    return GetLength();
}

CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(wchar_t ch) { return TrimRight(ch).TrimLeft(ch); }
CString& CString::Trim(const wchar_t* set) { return TrimRight(set).TrimLeft(set); }

CString& CString::TrimLeft() {
    size_t i = 0;
    while (i < m_str.size() && IsSpace(m_str[i])) ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(wchar_t ch) {
    size_t i = 0;
    while (i < m_str.size() && m_str[i] == ch) ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(const wchar_t* set) {
    if (set) m_str.erase(0, wcsspn(m_str.c_str(), set));
    return *this;
}

CString& CString::TrimRight() {
    size_t n = m_str.size();
    while (n > 0 && IsSpace(m_str[n - 1])) --n;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimRight(wchar_t ch) {
    size_t n = m_str.size();
    while (n > 0 && m_str[n - 1] == ch) --n;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimRight(const wchar_t* set) {
    if (!set) return *this;
    size_t n = m_str.size();
    while (n > 0 && wcschr(set, m_str[n - 1]) && m_str[n - 1] != 0) --n;
    m_str.resize(n);
    return *this;
}

CString& CString::MakeUpper() {
    for (auto& c : m_str) c = FoldUpper(c);
    return *this;
}

CString& CString::MakeLower() {
    for (auto& c : m_str) c = FoldLower(c);
    return *this;
}

CString& CString::MakeReverse() {
    std::wstring(m_str.rbegin(), m_str.rend()).swap(m_str);
    return *this;
}

void CString::Truncate(int length) {
    if (length >= 0 && length < GetLength()) m_str.resize(static_cast<size_t>(length));
}

wchar_t* CString::GetBuffer(int minLength) {
    if (minLength > GetLength()) m_str.resize(static_cast<size_t>(minLength));
    return &m_str[0];
}

wchar_t* CString::GetBufferSetLength(int length) {
    m_str.resize(static_cast<size_t>(length < 0 ? 0 : length));
    return &m_str[0];
}

void CString::ReleaseBuffer(int newLength) {
    if (newLength < 0) newLength = static_cast<int>(wcsnlen(m_str.c_str(), m_str.size()));
    if (newLength > GetLength()) newLength = GetLength();
    m_str.resize(static_cast<size_t>(newLength));
}

BOOL CString::LoadString(UINT id) {
    const wchar_t* text = AfxFindStringResource(id);
    if (!text) return FALSE;
    m_str = text;
    return TRUE;
}

std::string CString::ToUtf8() const { return ZcmWideToUtf8(m_str.data(), m_str.size()); }

// ---------------------------------------------------------------------------------------
// Formatting

std::wstring CString::TranslateFormat(const wchar_t* format) {
    std::wstring out;
    if (!format) return out;
    out.reserve(wcslen(format) + 8);
    for (const wchar_t* p = format; *p;) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        const size_t specStart = out.size();
        out += *p++;
        if (*p == L'%') {
            out += *p++;
            continue;
        }
        // flags, width, precision pass through unchanged
        while (*p && wcschr(L"-+ #0", *p)) out += *p++;
        while ((*p >= L'0' && *p <= L'9') || *p == L'*') out += *p++;
        if (*p == L'.') {
            out += *p++;
            while ((*p >= L'0' && *p <= L'9') || *p == L'*') out += *p++;
        }
        // length modifiers: keep glibc's, map the Windows ones
        enum { kNone, kNarrow, kWide } size = kNone;
        std::wstring length;
        for (;;) {
            if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
                length = L"ll";
                p += 3;
            } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
                p += 3;
            } else if (p[0] == L'I') {
                length = L"z";
                p += 1;
            } else if (*p == L'h') {
                size = kNarrow;
                length += *p++;
            } else if (*p == L'l' || *p == L'w') {
                size = kWide;
                length += L'l';
                ++p;
            } else if (*p && wcschr(L"Lqjzt", *p)) {
                length += *p++;
            } else {
                break;
            }
        }
        const wchar_t conv = *p;
        if (!conv) break;
        ++p;
        switch (conv) {
            case L's':
            case L'c':
                out += (size == kNarrow) ? L"" : L"l";
                out += conv;
                break;
            case L'S':
            case L'C':
                out += (size == kWide) ? L"l" : L"";
                out += static_cast<wchar_t>(conv == L'S' ? L's' : L'c');
                break;
            case L'n':
                // never write through an argument; print nothing for it
                out.resize(specStart);
                break;
            default:
                out += length;
                out += conv;
                break;
        }
    }
    return out;
}

void CString::AppendTranslated(const wchar_t* translated, ...) {
    va_list args;
    va_start(args, translated);
    AppendTranslatedV(translated, args);
    va_end(args);
}

void CString::AppendTranslatedV(const wchar_t* translated, va_list args) {
    wchar_t stackBuf[512];
    va_list copy;
    va_copy(copy, args);
    const int n = WithCLocale([&] { return vswprintf(stackBuf, 512, translated, copy); });
    va_end(copy);
    if (n >= 0) {
        m_str.append(stackBuf, static_cast<size_t>(n));
        return;
    }
    // Too long for the stack buffer (or an encoding error): let the stream size it.
    wchar_t* buf = nullptr;
    size_t size = 0;
    FILE* f = open_wmemstream(&buf, &size);
    if (!f) AfxThrowMemoryException();
    const int written = WithCLocale([&] { return vfwprintf(f, translated, args); });
    fclose(f);
    if (written >= 0 && buf) m_str.append(buf, size);
    free(buf);
}

void CString::FormatV(const wchar_t* format, va_list args) {
    m_str.clear();
    AppendFormatV(format, args);
}

void CString::AppendFormatV(const wchar_t* format, va_list args) {
    const std::wstring translated = TranslateFormat(format);
    AppendTranslatedV(translated.c_str(), args);
}

// ---------------------------------------------------------------------------------------

CString operator+(const CString& a, const CString& b) { return CString(a.str() + b.str()); }

CString operator+(const CString& a, const wchar_t* b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const wchar_t* a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, wchar_t b) {
    CString r(a);
    r += b;
    return r;
}

CString operator+(wchar_t a, const CString& b) {
    CString r(a);
    r += b;
    return r;
}

std::string ZcmWideToUtf8(const wchar_t* text, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]);
        if (c >= 0xDC80 && c <= 0xDCFF) {  // an escaped byte of a name (ZcmPathToWide)
            out += static_cast<char>(c - 0xDC00);
            continue;
        }
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {

// UTF-8 to wide; a byte that is not part of a valid sequence becomes U+FFFD, or with
// escape U+DC80..U+DCFF (the byte's value less 0x80, plus 0xDC80), one per byte.
std::wstring DecodeUtf8(const char* text, size_t length, bool escape) {
    std::wstring out;
    out.reserve(length);
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length) {
        const unsigned char b = s[i];
        int extra;
        uint32_t c, min;
        if (b < 0x80) {
            out += static_cast<wchar_t>(b);
            ++i;
            continue;
        } else if ((b & 0xE0) == 0xC0) {
            extra = 1, c = b & 0x1F, min = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, c = b & 0x0F, min = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, c = b & 0x07, min = 0x10000;
        } else {
            out += static_cast<wchar_t>(escape ? 0xDC00 + b : 0xFFFD);
            ++i;
            continue;
        }
        size_t j = 1;
        for (; j <= static_cast<size_t>(extra); ++j) {
            if (i + j >= length || (s[i + j] & 0xC0) != 0x80) break;
            c = (c << 6) | (s[i + j] & 0x3F);
        }
        if (j <= static_cast<size_t>(extra) || c < min || c > 0x10FFFF ||
            (c >= 0xD800 && c <= 0xDFFF)) {
            // the broken sequence, up to the first byte that cannot continue it
            if (escape)
                for (size_t k = 0; k < j; ++k) out += static_cast<wchar_t>(0xDC00 + s[i + k]);
            else
                out += static_cast<wchar_t>(0xFFFD);
            i += j;
            continue;
        }
        out += static_cast<wchar_t>(c);
        i += j;
    }
    return out;
}

}  // namespace

std::wstring ZcmUtf8ToWide(const char* text, size_t length) {
    return DecodeUtf8(text, length, false);
}

std::wstring ZcmPathToWide(const char* text, size_t length) {
    return DecodeUtf8(text, length, true);
}

long long _wtoi64(const wchar_t* text) {
    if (!text) return 0;
    return WithCLocale([&] { return wcstoll(text, nullptr, 10); });
}

int _wtoi(const wchar_t* text) {
    const long long v = _wtoi64(text);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

double _wtof(const wchar_t* text) {
    if (!text) return 0.0;
    return wcstod_l(text, nullptr, CLocale());
}
