// SPDX-License-Identifier: LGPL-3.0-or-later
// CZntFile: mark detection, the 128-byte block reader, byte order and line ends.
#include <gtest/gtest.h>

#include "files/ZntFile.h"
#include "support/TestUtil.h"

namespace {

std::string Units(const std::u16string& s, bool little) {
    std::string b;
    for (char16_t c : s) {
        const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
        b += little ? lo : hi;
        b += little ? hi : lo;
    }
    return b;
}
std::string Le(const std::u16string& s) { return "\xFF\xFE" + Units(s, true); }
std::string Be(const std::u16string& s) { return "\xFE\xFF" + Units(s, false); }

std::vector<CString> ReadAll(const std::string& path, int* unicode = nullptr,
                             int* little = nullptr) {
    CZntFile f;
    std::vector<CString> lines;
    if (!f.Open(W(path), CFile::modeRead)) return lines;
    f.GetUnicode(unicode, little);
    CString line;
    while (f.ReadString(line)) lines.push_back(line);
    return lines;
}

// The mark chooses the encoding (unicode, little-endian); a UTF-8 mark is not one and is
// read as ANSI text. A CR that is the last unit of a 128-byte block, with its LF first
// in the next, is dropped, not kept. A dangling byte becomes U+FFFD, lone surrogates stay,
// and invalid Shift-JIS bytes do not stop the line.
TEST(CZntFile, BytesReadAsLinesLongLinesAndThePositionAfterALine) {
    TempDir dir;
    const CString a127(std::wstring(127, L'a')), b62(std::wstring(62, L'b')),
        c63(std::wstring(63, L'c'));
    const struct {
        std::string bytes;
        std::vector<CString> lines;
        int unicode, little;
    } cases[] = {
        {Le(u"日本\r\nx"), {L"日本", L"x"}, 1, 1},
        {Be(u"日本\r\nx"), {L"日本", L"x"}, 1, 0},
        {"\x93\xfa\x96\x7b\r\nx", {L"日本", L"x"}, 0, 0},
        {"abc\r\nabc\nabc", {L"abc", L"abc", L"abc"}, 0, 0},
        {"\n\nz\r\n\r\n", {L"", L"", L"z", L""}, 0, 0},
        {Le(u"\n\r\nq"), {L"", L"", L"q"}, 1, 1},
        {Le(u"\U0001F600"), {L"\U0001F600"}, 1, 1},
        {"", {}, 0, 0},
        {std::string(127, 'a') + "\r\nnext", {a127, L"next"}, 0, 0},
        {Le(std::u16string(62, u'b') + u"\r\nnext"), {b62, L"next"}, 1, 1},
        {Be(std::u16string(63, u'c') + u"\r\nnext"), {c63, L"next"}, 1, 0},
        {Be(u"ab") + "\x30", {L"ab\xFFFD"}, 1, 0},
        {Le(std::u16string(1, char16_t(0xD800)) + u"x"),
         {CString(std::wstring{wchar_t(0xD800), L'x'})},
         1,
         1},
        {"a\x81\nb", {L"a\xFFFD", L"b"}, 0, 0},
    };
    for (const auto& c : cases) {
        WriteFileBytes(dir.File("f"), c.bytes);
        int u = -1, l = -1;
        EXPECT_EQ(ReadAll(dir.File("f"), &u, &l), c.lines) << c.bytes;
        EXPECT_EQ(std::make_pair(u, l), std::make_pair(c.unicode, c.little)) << c.bytes;
    }
    WriteFileBytes(dir.File("u8"), std::string("\xEF\xBB\xBF") + "a\r\n");
    const auto u8 = ReadAll(dir.File("u8"));
    EXPECT_TRUE(u8.size() == 1 && u8[0].Right(1) == CString(L"a") && u8[0].GetLength() > 1);
    WriteFileBytes(dir.File("l"), std::string(1000, 'k') + "\r\nTAIL");
    CZntFile f;
    ASSERT_TRUE(f.Open(W(dir.File("l")), CFile::modeRead));
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line.GetLength(), 1000);
    // A base-class read continues just after the line feed.
    char rest[4];
    EXPECT_EQ((std::tuple{f.Read(rest, 4), std::string(rest, 4)}), (std::tuple{4u, "TAIL"}));
    // A UTF-16 line longer than a mebibyte.
    WriteFileBytes(dir.File("h"), Be(std::u16string(600000, u'語') + u"\nend"));
    const auto lines = ReadAll(dir.File("h"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ((std::tuple{lines[0].GetLength(), lines[1]}), (std::tuple{600000, CString(L"end")}));
}

TEST(CZntFile, WritingEachEncoding) {
    TempDir dir;
    const struct {
        int unicode, little;
        const wchar_t* text;
        std::string bytes;
    } cases[] = {
        {1, 0, L"a\nb\r\nc", Be(u"a\r\nb\r\nc")},
        {1, 1, L"\U0001F600\n", Le(u"\U0001F600\r\n")},
        {0, 0, L"日本\n", "\x93\xfa\x96\x7b\r\n"},
    };
    for (const auto& c : cases) {
        {
            CZntFile f;
            f.SetUnicode(c.unicode, c.little);
            ASSERT_TRUE(f.Open(W(dir.File("f")), CFile::modeCreate | CFile::modeWrite));
            f.WriteString(c.text);
            f.WriteString(L"");  // nothing
        }
        EXPECT_EQ(ReadFileBytes(dir.File("f")), c.bytes) << c.unicode << c.little;
    }
}

TEST(CZntFile, FailuresThrowFileExceptions) {
    {
        CZntFile f(L"/dev/full", CFile::modeCreate | CFile::modeWrite, 1, 1);
        // Large writes go straight to the device; small ones fail when the stream flushes.
        ExpectThrows<CFileException>(
            [&] { f.WriteString(CString(std::wstring(100000, L'x'))); },
            [](CFileException* e) {
                EXPECT_EQ(std::tuple(e->m_cause, e->m_lOsError, e->m_strFileName),
                          std::tuple(int(CFileException::diskFull), ENOSPC, CString(L"/dev/full")));
            });
    }
    CZntFile g(L"/dev/full", CFile::modeCreate | CFile::modeWrite, 0, 0);
    g.WriteString(L"small");
    ExpectThrows<CFileException>(
        [&] { g.Close(); },
        [](CFileException* e) { EXPECT_EQ(e->m_cause, CFileException::diskFull); });
    ExpectThrows<CFileException>(
        [&] { CZntFile h(L"/no/such/file", CFile::modeRead, 0, 0); },
        [&](CFileException* e) { EXPECT_EQ(e->m_cause, CFileException::fileNotFound); });
}

}  // namespace
