// SPDX-License-Identifier: LGPL-3.0-or-later
// Code-page conversions through iconv, with the Windows calls' failure reporting.
#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <tuple>
#include <utility>

#include "platform/CodePage.h"
#include "support/TestUtil.h"

namespace {

// "日本語ｶﾅ" in Shift-JIS: three double-byte kanji and two half-width katakana.
const std::string kSjis = "\x93\xfa\x96\x7b\x8c\xea\xb6\xc5";
const std::wstring kWide = L"日本語ｶﾅ";

TEST(CodePage, AnsiIsShiftJisBothWays) {
    wchar_t out[16] = {};
    const int n = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, kSjis.data(),
                                      static_cast<int>(kSjis.size()), out, 16);
    ASSERT_EQ(n, 5);
    EXPECT_EQ(std::wstring(out, 5), kWide);
    char back[16] = {};
    const int m = WideCharToMultiByte(CP_ACP, 0, kWide.c_str(), 5, back, 16, nullptr, nullptr);
    ASSERT_EQ(m, 8);
    EXPECT_EQ(std::string(back, 8), kSjis);
    // Backslash and tilde stay ASCII, as in the Windows code page; size queries count the
    // terminator.
    EXPECT_EQ((std::tuple{MultiByteToWideChar(CP_ACP, 0, "\\~", 2, out, 16), std::wstring(out, 2),
                          MultiByteToWideChar(CP_ACP, 0, kSjis.c_str(), -1, nullptr, 0),
                          WideCharToMultiByte(CP_UTF8, 0, L"é", -1, nullptr, 0, nullptr, nullptr)}),
              (std::tuple{2, std::wstring(L"\\~"), 6, 3}));
}

TEST(CodePage, FailuresAreReportedAsWindowsDoes) {
    wchar_t out[4] = {L'x', L'x', L'x', L'x'};
    // Each call fails and sets the error Windows sets; nothing is written on failure.
    const std::pair<std::function<int()>, DWORD> calls[] = {
        {[&] { return MultiByteToWideChar(CP_ACP, 0, "abc", 0, out, 4); }, ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, kSjis.data(), 8, out, 2); },
         ERROR_INSUFFICIENT_BUFFER},
        {[&] { return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "a\x81", 2, out, 4); },
         ERROR_NO_UNICODE_TRANSLATION},
        {[&] { return MultiByteToWideChar(CP_ACP, 0x1000, "a", 1, out, 4); }, ERROR_INVALID_FLAGS},
        {[&] {
             return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, L"a\xD800", 2, nullptr, 0,
                                        nullptr, nullptr);
         },
         ERROR_NO_UNICODE_TRANSLATION},
    };
    for (size_t i = 0; i < std::size(calls); ++i) {
        SetLastError(0);
        EXPECT_EQ(calls[i].first(), 0) << i;
        EXPECT_EQ(GetLastError(), calls[i].second) << i;
        EXPECT_EQ(out[0], L'x') << i;
    }
    EXPECT_EQ(MultiByteToWideChar(12345, 0, "a", 1, out, 4), 0);
}

TEST(CodePage, InvalidUnmappableAndSurrogates) {
    // A lead byte without its trail, an unused byte, a lead byte cut at the end.
    std::wstring out;
    const std::string bytes = "a\x81 b\xa0" + std::string("c\x93");
    ZcmAnsiToWide(bytes.data(), bytes.size(), out);
    EXPECT_TRUE(out.find(L'a') == 0 && out.find(L'b') != std::wstring::npos &&
                out.find(L'c') != std::wstring::npos && out.back() == 0xFFFD)
        << CString(out.c_str()).ToUtf8();
    // A trail byte in the ASCII range still belongs to its lead byte: 0x83 0x5C is "ソ".
    out.clear();
    ZcmAnsiToWide("\x83\x5c", 2, out);
    EXPECT_EQ(out, L"ソ");
    // Characters the code page lacks become the default character, and the caller is told.
    BOOL used = FALSE;
    char narrow[8] = {};
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, L"a\x00e9\U0001F600", 3, narrow, 8, nullptr, &used),
              3);
    EXPECT_EQ(std::tuple(std::string(narrow, 3), used), std::tuple("a??", TRUE));
    std::u16string units;
    ZcmWideToUtf16(L"a\U0001F600", 2, units);
    EXPECT_EQ(units, (std::u16string{u'a', 0xD83D, 0xDE00}));
    std::wstring back;
    ZcmUtf16ToWide(units.data(), units.size(), back);
    EXPECT_EQ(back, L"a\U0001F600");
    // A lone surrogate is kept as it is, as Windows keeps it.
    const char16_t lone[] = {u'x', 0xDC00, u'y'};
    back.clear();
    ZcmUtf16ToWide(lone, 3, back);
    EXPECT_EQ(back, std::wstring(L"x") + wchar_t(0xDC00) + L"y");
}

TEST(CodePage, EnvironmentNamesAnotherCodePage) {
    // The choice is read once per process, so ask a fresh one: the CLI prints as UTF-8.
    int status = 0;
    TempDir dir;
    WriteFileBytes(dir.File("l1.txt"), "\xe9t\xe9\n");  // "été" in Latin-1
    const std::string out = RunCommand(
        "ZCMCOM_ACP=ISO-8859-1 " ZCMCOM_CLI " textfile cat " + dir.File("l1.txt"), &status);
    EXPECT_EQ(std::tuple(status, out), std::tuple(0, "\xc3\xa9t\xc3\xa9\n"));
}

}  // namespace
