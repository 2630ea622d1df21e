// SPDX-License-Identifier: LGPL-3.0-or-later
#include <clocale>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/Afx.h"
#include "support/TestUtil.h"

TEST(StringFormat, WideTextPrintfRoundingLongResultsAndTheDecimalPoint) {
    CString s;
    s.Format(L"[%s] [%-6s] [%c] [%S] [%ls]", CString(L"\u30B7\u30EA\u30A6\u30B9"), L"ab", L'\uFF9F',
             "narrow", L"wide");
    EXPECT_EQ(s, CString(L"[\u30B7\u30EA\u30A6\u30B9] [ab    ] [\uFF9F] [narrow] [wide]"));
    // exact ties round to even; 2.675 is below its decimal spelling in binary
    s.Format(L"%.2f|%.2f|%.0f|%.0f|%I64d|%5.1f%%", 0.125, 2.675, 0.5, 1.5, 1234567890123LL, -0.04);
    EXPECT_EQ(s, CString(L"0.12|2.67|0|2|1234567890123| -0.0%"));
    int n = 7;
    s.Format(L"a%nb", &n);  // %n writes nothing
    EXPECT_EQ(n, 7);
    EXPECT_EQ(s, CString(L"ab"));
    s.Format(L"<%s>", CString(L'x', 5000));
    EXPECT_EQ(s.GetLength(), 5002);
    s.AppendFormat(L"%d", 42);
    EXPECT_EQ(s.Right(3), CString(L">42"));
    s.Format(23106u, 50.0, 22.3, 14.9);  // format from a string resource
    EXPECT_EQ(s.Left(4), CString(L"\u7126\u70B9\u8DDD\u96E2"));
    EXPECT_NE(s.Find(L"22.3 \u00D7 14.9 mm"), -1);
    EXPECT_NE(s.Find(L"50.0 mm"), -1);
    const char* old = setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    // The decimal point ignores the user's locale.
    setlocale(LC_NUMERIC, "de_DE.UTF-8");  // may not be installed; meaningful wherever it is
    s.Format(L"%.2f", 1.25);
    EXPECT_EQ(s, CString(L"1.25"));
    EXPECT_DOUBLE_EQ(_wtof(L"1.5"), 1.5);
    setlocale(LC_NUMERIC, saved.c_str());
}

TEST(StringAccess, ExtractsClampSearchesMissAndBuffersRoundTrip) {
    const CString s(L"Solar.Planet"), t(L"a.b.c");
    EXPECT_EQ((std::vector<CString>{s.Mid(6), s.Mid(-3), s.Mid(99), s.Mid(6, 100), s.Mid(0, -1),
                                    s.Left(-2), s.Left(50), s.Right(6), s.Right(50)}),
              (std::vector<CString>{L"Planet", L"Solar.Planet", L"", L"Planet", L"", L"",
                                    L"Solar.Planet", L"Planet", L"Solar.Planet"}));
    EXPECT_EQ((std::vector<int>{t.Find(L'.', 2), t.Find(L'.', 10), t.Find(L"b.c"), t.Find(L""),
                                t.ReverseFind(L'.'), t.FindOneOf(L"xc"), t.Find(L"zz")}),
              (std::vector<int>{3, -1, 2, 0, 3, 4, -1}));
    CString b(L"abc");
    wcscpy(b.GetBuffer(10), L"hello");
    b.ReleaseBuffer();
    EXPECT_EQ(b, CString(L"hello"));
    b.GetBuffer()[1] = L'a';
    b.ReleaseBuffer(2);
    EXPECT_EQ(b, CString(L"ha"));
    EXPECT_EQ(b.GetAt(2), L'\0');  // at the length: the terminator; beyond it: an exception
    ExpectThrows<CInvalidArgException>([&] { b.GetAt(3); });
    ExpectThrows<CInvalidArgException>([&] { b.SetAt(-1, L'x'); });
}

TEST(StringChange, ReplaceRemoveTrimCaseInsertDeleteTokenize) {
    CString s(L"+ 12 - 5 + 3");
    EXPECT_EQ(
        (std::tuple{s.Replace(L"+ ", L"+"), CString(s), s.Replace(L"", L"x"), s.Remove(L' '), s}),
        (std::tuple{2, CString(L"+12 - 5 +3"), 0, 3, CString(L"+12-5+3")}));
    CString t(L" \t deepsky \r\n"), u(L"\t x \t"), v(L"AbC");
    EXPECT_EQ((std::tuple{t.Trim().MakeUpper(), u.Trim(L" \t"), v.CompareNoCase(L"aBc")}),
              (std::tuple{CString(L"DEEPSKY"), CString(L"x"), 0}));
    EXPECT_LT(v.CompareNoCase(L"abd"), 0);
    EXPECT_EQ(v.MakeReverse(), CString(L"CbA"));
    CString w(L"abc");
    w.Insert(1, L"XY");
    w.Insert(99, L'!');
    EXPECT_EQ(w, CString(L"aXYbc!"));
    w.Delete(1, 2);
    w.Delete(4, 10);
    EXPECT_EQ(w, CString(L"abc!"));
    const CString list(L",,one,,two,");  // empty tokens are skipped
    int pos = 0;
    std::vector<CString> tokens;
    for (CString tok = list.Tokenize(L",", pos); pos != -1; tok = list.Tokenize(L",", pos))
        tokens.push_back(tok);
    EXPECT_EQ(tokens, (std::vector<CString>{L"one", L"two"}));
}

TEST(StringUtf8, RoundTripAndInvalidBytes) {
    const CString s(L"\u6708 Moon \U0001F315 \uFF9F");
    EXPECT_EQ(CString(s.ToUtf8().c_str()), s);
    // a lone continuation byte, a truncated sequence, an overlong form, a surrogate
    const std::string bad =
        std::string("a\x80") + "b\xE3\x81" + "c\xC0\xAF" + "d\xED\xA0\x80" + "e";
    const std::wstring w = ZcmUtf8ToWide(bad.data(), bad.size());
    EXPECT_EQ(w.front(), L'a');
    EXPECT_EQ(w.back(), L'e');
    for (wchar_t c : {L'b', L'c', L'd', L'\uFFFD'}) EXPECT_NE(w.find(c), std::wstring::npos) << c;
    for (wchar_t c : w) EXPECT_TRUE(c < 0xD800 || c > 0xDFFF);
}

TEST(RuntimeNumbers, WtoiWtofReadLeadingNumbers) {
    EXPECT_EQ((std::vector<int>{_wtoi(L"  42abc"), _wtoi(L"-7.9"), _wtoi(L"x1"),
                                _wtoi(L"99999999999"), _wtoi(L"-99999999999"), _wtoi(nullptr)}),
              (std::vector<int>{42, -7, 0, 2147483647, -2147483647 - 1, 0}));
    EXPECT_DOUBLE_EQ(_wtof(L" 12.5e1xyz"), 125.0);
    EXPECT_DOUBLE_EQ(_wtof(L"*"), 0.0);
}
