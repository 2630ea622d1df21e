#include <clocale>
#include <cmath>

#include "platform/Afx.h"
#include "res/LibraryResources.h"
#include "support/TestUtil.h"

// The library registers its string table when it is loaded.
static const HMODULE kLibrary = ZcmLibraryModule();

TEST(StringFormat, PercentSTakesWideTextAndCStringArguments) {
    CString name(L"\u30B7\u30EA\u30A6\u30B9");  // katakana survives untouched
    CString s;
    s.Format(L"[%s] [%-6s] [%c] [%S] [%ls]", name, L"ab", L'\uFF9F', "narrow", L"wide");
    EXPECT_EQ(s, CString(L"[\u30B7\u30EA\u30A6\u30B9] [ab    ] [\uFF9F] [narrow] [wide]"));
}

TEST(StringFormat, NumbersFollowPrintfRoundingAndWindowsSizes) {
    CString s;
    s.Format(L"%.2f|%.2f|%.0f|%.0f|%I64d|%5.1f%%", 0.125, 2.675, 0.5, 1.5, 1234567890123LL, -0.04);
    // exact ties round to even; 2.675 is below its decimal spelling in binary
    EXPECT_EQ(s, CString(L"0.12|2.67|0|2|1234567890123| -0.0%"));
}

TEST(StringFormat, DecimalPointIgnoresTheUserLocale) {
    const char* old = setlocale(LC_NUMERIC, nullptr);
    std::string saved = old ? old : "C";
    // de_DE may not be installed; the check is meaningful wherever it is
    setlocale(LC_NUMERIC, "de_DE.UTF-8");
    CString s;
    s.Format(L"%.2f", 1.25);
    EXPECT_EQ(s, CString(L"1.25"));
    EXPECT_DOUBLE_EQ(_wtof(L"1.5"), 1.5);
    setlocale(LC_NUMERIC, saved.c_str());
}

TEST(StringFormat, LongResultsAndAppendFormat) {
    CString big(L'x', 5000);
    CString s;
    s.Format(L"<%s>", big);
    EXPECT_EQ(s.GetLength(), 5002);
    s.AppendFormat(L"%d", 42);
    EXPECT_EQ(s.Right(3), CString(L">42"));
}

TEST(StringFormat, PercentNWritesNothing) {
    int n = 7;
    CString s;
    s.Format(L"a%nb", &n);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(s, CString(L"ab"));
}

TEST(StringFormat, FormatFromStringResource) {
    CString s;
    s.Format(23106u, 50.0, 22.3, 14.9);
    EXPECT_EQ(s.Left(4), CString(L"\u7126\u70B9\u8DDD\u96E2"));
    EXPECT_NE(s.Find(L"50.0 mm"), -1);
    EXPECT_NE(s.Find(L"22.3 \u00D7 14.9 mm"), -1);
}

TEST(StringExtract, MidLeftRightClampLikeMfc) {
    CString s(L"Solar.Planet");
    EXPECT_EQ(s.Mid(6), CString(L"Planet"));
    EXPECT_EQ(s.Mid(-3), s);
    EXPECT_EQ(s.Mid(99), CString());
    EXPECT_EQ(s.Mid(6, 100), CString(L"Planet"));
    EXPECT_EQ(s.Mid(0, -1), CString());
    EXPECT_EQ(s.Left(-2), CString());
    EXPECT_EQ(s.Left(50), s);
    EXPECT_EQ(s.Right(6), CString(L"Planet"));
    EXPECT_EQ(s.Right(50), s);
}

TEST(StringSearch, FindReverseFindAndFindOneOf) {
    CString s(L"a.b.c");
    EXPECT_EQ(s.Find(L'.'), 1);
    EXPECT_EQ(s.Find(L'.', 2), 3);
    EXPECT_EQ(s.Find(L'.', 10), -1);
    EXPECT_EQ(s.Find(L"b.c"), 2);
    EXPECT_EQ(s.Find(L""), 0);
    EXPECT_EQ(s.ReverseFind(L'.'), 3);
    EXPECT_EQ(s.FindOneOf(L"xc"), 4);
    EXPECT_EQ(s.Find(L"zz"), -1);
}

TEST(StringChange, ReplaceRemoveTrimAndCase) {
    CString s(L"+ 12 - 5 + 3");
    EXPECT_EQ(s.Replace(L"+ ", L"+"), 2);
    EXPECT_EQ(s, CString(L"+12 - 5 +3"));
    EXPECT_EQ(s.Replace(L"", L"x"), 0);
    EXPECT_EQ(s.Remove(L' '), 3);
    EXPECT_EQ(s, CString(L"+12-5+3"));

    CString t(L" \t deepsky \r\n");
    EXPECT_EQ(t.Trim().MakeUpper(), CString(L"DEEPSKY"));
    CString u(L"\t x \t");
    EXPECT_EQ(u.Trim(L" \t"), CString(L"x"));
    CString v(L"AbC");
    EXPECT_EQ(v.CompareNoCase(L"aBc"), 0);
    EXPECT_LT(v.CompareNoCase(L"abd"), 0);
    EXPECT_EQ(v.MakeReverse(), CString(L"CbA"));
}

TEST(StringChange, InsertDeleteTokenize) {
    CString s(L"abc");
    s.Insert(1, L"XY");
    EXPECT_EQ(s, CString(L"aXYbc"));
    s.Insert(99, L'!');
    EXPECT_EQ(s, CString(L"aXYbc!"));
    s.Delete(1, 2);
    s.Delete(4, 10);
    EXPECT_EQ(s, CString(L"abc!"));

    CString list(L",,one,,two,");
    int pos = 0;
    std::vector<CString> tokens;
    for (CString tok = list.Tokenize(L",", pos); pos != -1; tok = list.Tokenize(L",", pos))
        tokens.push_back(tok);
    ASSERT_EQ(tokens.size(), 2u);
    EXPECT_EQ(tokens[1], CString(L"two"));
}

TEST(StringBuffer, GetBufferAndReleaseBuffer) {
    CString s(L"abc");
    wchar_t* p = s.GetBuffer(10);
    wcscpy(p, L"hello");
    s.ReleaseBuffer();
    EXPECT_EQ(s, CString(L"hello"));
    EXPECT_EQ(s.GetLength(), 5);
    p = s.GetBuffer();
    p[1] = L'a';
    s.ReleaseBuffer(2);
    EXPECT_EQ(s, CString(L"ha"));
}

TEST(StringAccess, GetAtAtLengthGivesTerminatorBeyondThrows) {
    CString s(L"ab");
    EXPECT_EQ(s.GetAt(2), L'\0');
    try {
        s.GetAt(3);
        FAIL() << "no exception";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
    try {
        s.SetAt(-1, L'x');
        FAIL() << "no exception";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
}

TEST(StringUtf8, RoundTripAndInvalidBytes) {
    const CString s(L"\u6708 Moon \U0001F315 \uFF9F");
    EXPECT_EQ(CString(s.ToUtf8().c_str()), s);
    // a lone continuation byte, a truncated sequence, an overlong form, a surrogate
    const char bad[] = "a\x80" "b\xE3\x81" "c\xC0\xAF" "d\xED\xA0\x80" "e";
    const std::wstring w = ZcmUtf8ToWide(bad, sizeof bad - 1);
    EXPECT_EQ(w.front(), L'a');
    EXPECT_EQ(w.back(), L'e');
    EXPECT_NE(w.find(L'b'), std::wstring::npos);
    EXPECT_NE(w.find(L'c'), std::wstring::npos);
    EXPECT_NE(w.find(L'd'), std::wstring::npos);
    EXPECT_NE(w.find(L'\uFFFD'), std::wstring::npos);
    for (wchar_t c : w) EXPECT_TRUE(c < 0xD800 || c > 0xDFFF);
}

TEST(RuntimeNumbers, WtoiWtofReadLeadingNumbers) {
    EXPECT_EQ(_wtoi(L"  42abc"), 42);
    EXPECT_EQ(_wtoi(L"-7.9"), -7);
    EXPECT_EQ(_wtoi(L"x1"), 0);
    EXPECT_EQ(_wtoi(L"99999999999"), 2147483647);
    EXPECT_EQ(_wtoi(L"-99999999999"), -2147483647 - 1);
    EXPECT_EQ(_wtoi(nullptr), 0);
    EXPECT_DOUBLE_EQ(_wtof(L" 12.5e1xyz"), 125.0);
    EXPECT_DOUBLE_EQ(_wtof(L"*"), 0.0);
}
