// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// CString: the framework's wide string.
///
/// Differences from Windows:
/// - wchar_t is UTF-32 here, so one character is one code point (no surrogate pairs).
/// - Construction from narrow text reads it as UTF-8 (Windows used the ANSI code page);
///   code-page text goes through the conversions of the file layer instead.
/// - Format is a variadic template: CString arguments may be passed directly (a C varargs
///   call with a class object would be undefined behaviour). As in MFC, %s and %c take
///   wide arguments, %S and %C narrow ones, %hs/%hc narrow, %ls/%lc/%ws wide, and %I64d is
///   accepted. Numbers always print with "." as the decimal point, whatever the locale.
/// - MakeUpper/MakeLower/CompareNoCase fold ASCII themselves and other letters with
///   towupper/towlower of the current locale.
#include <cstdarg>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/WinTypes.h"

/// A wide text of wchar_t, with the MFC interface: lengths, positions and counts are in
/// characters (code points). Copies are independent values; nothing is shared.
class ZCMCOM_API CString {
public:
    /// @name Construction
    /// @{

    /// Makes a text: empty; a copy; from a terminated wide text (nullptr gives the empty text)
    /// or its first length characters; ch repeated; from UTF-8 (invalid bytes become U+FFFD);
    /// from a std::wstring.
    CString() = default;
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(const wchar_t* text);  // NOLINT: implicit as in MFC
    CString(const wchar_t* text, int length);
    CString(wchar_t ch, int repeat = 1);
    CString(const char* utf8);                                         // NOLINT: implicit as in MFC
    CString(const std::wstring& text) : m_str(text) {}                 // NOLINT
    CString(std::wstring&& text) noexcept : m_str(std::move(text)) {}  // NOLINT
    /// @}
    ~CString() = default;

    /// @name Assignment
    /// @{

    /// Replaces the text with a copy, a wide text, one character or UTF-8 text.
    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(const wchar_t* text);
    CString& operator=(wchar_t ch);
    CString& operator=(const char* utf8);
    /// @}

    /// @name Length and access
    /// @{

    /// GetLength is the length in characters, IsEmpty whether it is 0, Empty clears the text;
    /// operator[] is GetAt; the text is also readable as a terminated wide text (valid until
    /// the next change) and as a std::wstring.
    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    /// The character at index, or sets it. GetAt takes 0 to GetLength() (the terminator),
    /// SetAt 0 to GetLength() - 1; other indexes throw CInvalidArgException* (Windows
    /// asserts, and reads or writes out of bounds in release builds).
    wchar_t GetAt(int index) const;
    void SetAt(int index, wchar_t ch);
    wchar_t operator[](int index) const { return GetAt(index); }
    operator const wchar_t*() const { return m_str.c_str(); }  // NOLINT: as in MFC
    const wchar_t* GetString() const { return m_str.c_str(); }
    const std::wstring& str() const { return m_str; }
    /// @}

    /// @name Concatenation
    /// @{

    /// Appends a text, a wide text (nullptr appends nothing), one character or UTF-8 text;
    /// Append with a length appends the first length characters.
    CString& operator+=(const CString& s) {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(const wchar_t* s);
    CString& operator+=(wchar_t ch) {
        m_str += ch;
        return *this;
    }
    CString& operator+=(const char* utf8);
    void Append(const wchar_t* s) { *this += s; }
    void Append(const wchar_t* s, int length);
    void AppendChar(wchar_t ch) { m_str += ch; }
    /// @}

    /// @name Comparison
    /// @{

    /// Compares code point by code point (CompareNoCase after folding the case): negative when
    /// this text sorts first, 0 when equal, positive after.
    int Compare(const wchar_t* s) const;
    int CompareNoCase(const wchar_t* s) const;
    /// @}

    /// @name Extraction
    /// Counts and positions are clamped as MFC does.
    /// @{

    /// Mid: count characters from first (to the end without count); Left/Right: the first or
    /// last count; SpanIncluding/SpanExcluding: the leading run of characters in / not in set;
    /// Tokenize: the next token after start delimited by any of delimiters, start moved past it
    /// (-1 and an empty text at the end).
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(const wchar_t* set) const;
    CString SpanExcluding(const wchar_t* set) const;
    CString Tokenize(const wchar_t* delimiters, int& start) const;
    /// @}

    /// @name Searching
    /// The finders give -1 when not found.
    /// @{

    /// Find: the first position at or after start of ch or sub; ReverseFind: the last of ch;
    /// FindOneOf: the first of any character in set.
    int Find(wchar_t ch, int start = 0) const;
    int Find(const wchar_t* sub, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(const wchar_t* set) const;
    /// @}

    /// @name Changing
    /// @{

    /// Replace and Remove return how many were changed, Insert and Delete the new length
    /// (positions are clamped to the text); the Trim family removes white space, ch or the
    /// characters of set from the ends; MakeUpper/MakeLower/MakeReverse change the text in place
    /// and return it; Truncate keeps the first length characters.
    int Replace(wchar_t oldCh, wchar_t newCh);
    int Replace(const wchar_t* oldText, const wchar_t* newText);
    int Remove(wchar_t ch);
    int Insert(int index, wchar_t ch);
    int Insert(int index, const wchar_t* s);
    int Delete(int index, int count = 1);
    CString& Trim();
    CString& Trim(wchar_t ch);
    CString& Trim(const wchar_t* set);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t ch);
    CString& TrimLeft(const wchar_t* set);
    CString& TrimRight();
    CString& TrimRight(wchar_t ch);
    CString& TrimRight(const wchar_t* set);
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    void Truncate(int length);
    /// @}

    /// @name Buffer access
    /// The buffer holds at least minLength characters plus a terminator.
    /// @{

    /// GetBuffer gives a writable buffer; after writing, ReleaseBuffer sets the length (-1: up
    /// to the first terminator). GetBufferSetLength sets the length first; Preallocate reserves
    /// room without changing the text.
    wchar_t* GetBuffer(int minLength = 0);
    wchar_t* GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    void Preallocate(int length) { m_str.reserve(length < 0 ? 0 : static_cast<size_t>(length)); }
    /// @}

    /// Loads string id from the registered string tables: the application's first, then the
    /// libraries'. Returns FALSE (text unchanged) when no table has it.
    BOOL LoadString(UINT id);

    /// @name Formatting
    /// See the notes at the top of this file.
    /// @{

    /// Format replaces the text by printf-style output, AppendFormat appends it; formatId names
    /// a format string in the string tables. See the notes at the top of this file for the
    /// conversions.
    template <class... Args>
    void Format(const wchar_t* format, const Args&... args);
    template <class... Args>
    void Format(UINT formatId, const Args&... args);
    template <class... Args>
    void AppendFormat(const wchar_t* format, const Args&... args);
    void FormatV(const wchar_t* format, va_list args);
    void AppendFormatV(const wchar_t* format, va_list args);
    /// @}

    /// UTF-8 form of the text, for the console and other byte interfaces.
    std::string ToUtf8() const;

private:
    /// Turns MFC conversions into glibc's wide printf conversions.
    static std::wstring TranslateFormat(const wchar_t* format);
    /// Appends printf output of an already translated format.
    void AppendTranslated(const wchar_t* translated, ...);
    void AppendTranslatedV(const wchar_t* translated, va_list args);

    template <class T>
    static auto FormatArg(const T& v) {
        if constexpr (std::is_base_of_v<CString, T>) {
            return v.GetString();
        } else if constexpr (std::is_same_v<T, std::wstring>) {
            return v.c_str();
        } else if constexpr (std::is_array_v<T>) {
            return static_cast<const std::remove_extent_t<T>*>(v);
        } else if constexpr (std::is_enum_v<T>) {
            return static_cast<std::underlying_type_t<T>>(v);
        } else {
            static_assert(std::is_scalar_v<T>, "Format takes numbers, pointers and strings");
            return v;
        }
    }

    std::wstring m_str;
};

template <class... Args>
void CString::Format(const wchar_t* format, const Args&... args) {
    const std::wstring translated = TranslateFormat(format);
    m_str.clear();
    AppendTranslated(translated.c_str(), FormatArg(args)...);
}

template <class... Args>
void CString::Format(UINT formatId, const Args&... args) {
    CString format;
    format.LoadString(formatId);
    Format(format.GetString(), args...);
}

template <class... Args>
void CString::AppendFormat(const wchar_t* format, const Args&... args) {
    const std::wstring translated = TranslateFormat(format);
    AppendTranslated(translated.c_str(), FormatArg(args)...);
}

/// @name Joining and comparing texts
/// @{

/// The joined text.
ZCMCOM_API CString operator+(const CString& a, const CString& b);
ZCMCOM_API CString operator+(const CString& a, const wchar_t* b);
ZCMCOM_API CString operator+(const wchar_t* a, const CString& b);
ZCMCOM_API CString operator+(const CString& a, wchar_t b);
ZCMCOM_API CString operator+(wchar_t a, const CString& b);
/// @}

/// @{

/// Equality compares code points exactly; the order is that of the code points (as
/// Compare), not of a locale.
inline bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
/// Equal to a text up to its first null, as Compare; inline, as most texts compared in the
/// answers' chains differ at the first letters.
inline bool operator==(const CString& a, const wchar_t* b) {
    const wchar_t* s = a.GetString();
    if (!b) b = L"";
    for (; *s == *b; ++s, ++b)
        if (!*s) return true;
    return false;
}
inline bool operator==(const wchar_t* a, const CString& b) { return b == a; }
inline bool operator!=(const CString& a, const CString& b) { return !(a == b); }
inline bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
inline bool operator!=(const wchar_t* a, const CString& b) { return !(a == b); }
inline bool operator<(const CString& a, const CString& b) { return a.str() < b.str(); }
inline bool operator>(const CString& a, const CString& b) { return b.str() < a.str(); }
inline bool operator<=(const CString& a, const CString& b) { return !(b.str() < a.str()); }
inline bool operator>=(const CString& a, const CString& b) { return !(a.str() < b.str()); }
/// @}

/// The wide string is the only one: CStringW is CString.
typedef CString CStringW;

/// UTF-8 <-> wide text. Invalid bytes become U+FFFD; nothing is dropped silently.
/// File names need not be UTF-8: ZcmPathToWide turns each byte that is not part of valid
/// UTF-8 into a lone surrogate U+DC80..U+DCFF, and ZcmWideToUtf8 (so CString::ToUtf8 and
/// every path the file classes open) turns those back into the bytes: a name read from
/// the system or the command line round-trips byte for byte.
/// @param text   the characters or bytes (need not be terminated)
/// @param length how many of them
/// @{
ZCMCOM_API std::string ZcmWideToUtf8(const wchar_t* text, size_t length);
ZCMCOM_API std::wstring ZcmUtf8ToWide(const char* text, size_t length);
ZCMCOM_API std::wstring ZcmPathToWide(const char* text, size_t length);
/// @}

/// The runtime's wide number conversions. Leading white space is skipped, the longest
/// numeric prefix is read, 0 when there is none; "." is the decimal point in every locale.
/// Integers out of range saturate, as the Windows runtime does.
/// @{
ZCMCOM_API int _wtoi(const wchar_t* text);
ZCMCOM_API long long _wtoi64(const wchar_t* text);
ZCMCOM_API double _wtof(const wchar_t* text);
/// @}
