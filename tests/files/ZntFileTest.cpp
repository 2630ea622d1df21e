// CZntFile: mark detection, the 128-byte block reader, byte order and line ends.
#include <gtest/gtest.h>

#include "files/ZntFile.h"
#include "support/PeBuilder.h"
#include "support/TestUtil.h"
#include "FilesTestUtil.h"

namespace {

std::string Le(const std::u16string& s) {
    std::string b;
    for (char16_t c : s) b += static_cast<char>(c & 0xFF), b += static_cast<char>(c >> 8);
    return b;
}
std::string Be(const std::u16string& s) {
    std::string b;
    for (char16_t c : s) b += static_cast<char>(c >> 8), b += static_cast<char>(c & 0xFF);
    return b;
}

std::vector<CString> ReadAll(const std::string& path, int* unicode = nullptr, int* little = nullptr) {
    CZntFile f;
    std::vector<CString> lines;
    if (!f.Open(W(path), CFile::modeRead)) return lines;
    f.GetUnicode(unicode, little);
    CString line;
    while (f.ReadString(line)) lines.push_back(line);
    return lines;
}

// Exposes the protected steps that the camera database also uses.
class Probe : public CZntFile {
public:
    using CZntFile::EndianLine;
    using CZntFile::InsertCRLF;
    using CZntFile::MBCStoUTF16;
    using CZntFile::ReadLine;
    using CZntFile::UTF16toMBCS;
};

TEST(CZntFile, MarksChooseTheEncoding) {
    TempDir dir;
    WriteFileBytes(dir.File("le"), "\xFF\xFE" + Le(u"日本\r\nx"));
    WriteFileBytes(dir.File("be"), "\xFE\xFF" + Be(u"日本\r\nx"));
    WriteFileBytes(dir.File("u8"), "\xEF\xBB\xBF" "a\r\n");
    WriteFileBytes(dir.File("sj"), "\x93\xfa\x96\x7b\r\nx");
    const std::vector<CString> expected{L"日本", L"x"};
    int u = -1, l = -1;
    EXPECT_EQ(ReadAll(dir.File("le"), &u, &l), expected);
    EXPECT_EQ(std::make_pair(u, l), std::make_pair(1, 1));
    EXPECT_EQ(ReadAll(dir.File("be"), &u, &l), expected);
    EXPECT_EQ(std::make_pair(u, l), std::make_pair(1, 0));
    EXPECT_EQ(ReadAll(dir.File("sj"), &u, &l), expected);
    EXPECT_EQ(std::make_pair(u, l), std::make_pair(0, 0));
    // A UTF-8 mark is not recognised: its bytes are read as ANSI text.
    const auto u8 = ReadAll(dir.File("u8"), &u, &l);
    ASSERT_EQ(u8.size(), 1u);
    EXPECT_TRUE(u8[0].Right(1) == CString(L"a") && u8[0].GetLength() > 1 && u == 0);
}

TEST(CZntFile, LineEndsAndEmptyLines) {
    TempDir dir;
    const std::pair<std::string, std::vector<CString>> cases[] = {
        {"abc\r\nabc\nabc", {L"abc", L"abc", L"abc"}},
        {"\n\nz\r\n\r\n", {L"", L"", L"z", L""}},
        {"\xFF\xFE" + Le(u"\n\r\nq"), {L"", L"", L"q"}},
        {"", {}},
    };
    for (const auto& [bytes, lines] : cases) {
        WriteFileBytes(dir.File("f"), bytes);
        EXPECT_EQ(ReadAll(dir.File("f")), lines) << bytes;
    }
}

TEST(CZntFile, LongLinesAndThePositionAfterALine) {
    TempDir dir;
    const std::string longLine(1000, 'k');
    WriteFileBytes(dir.File("l"), longLine + "\r\nTAIL");
    CZntFile f;
    ASSERT_TRUE(f.Open(W(dir.File("l")), CFile::modeRead));
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line.GetLength(), 1000);
    // A base-class read continues just after the line feed.
    EXPECT_EQ(f.GetPosition(), 1002u);
    char rest[4];
    EXPECT_EQ(f.Read(rest, 4), 4u);
    EXPECT_EQ(std::string(rest, 4), "TAIL");
    // A UTF-16 line longer than a mebibyte.
    std::u16string huge(600000, u'語');
    WriteFileBytes(dir.File("h"), "\xFE\xFF" + Be(huge + u"\nend"));
    const auto lines = ReadAll(dir.File("h"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].GetLength(), 600000);
    EXPECT_EQ(lines[1], CString(L"end"));
}

TEST(CZntFile, CarriageReturnAtTheEndOfABlockIsDropped) {
    TempDir dir;
    // ANSI: the CR is byte 127 of the first block, its LF byte 0 of the next; in UTF-16 the
    // mark and 62 (LE) or 63 (BE) units fill the first block up to the CR unit.
    const std::pair<std::string, std::wstring> cases[] = {
        {std::string(127, 'a') + "\r\nnext", std::wstring(127, L'a')},
        {"\xFF\xFE" + Le(std::u16string(62, u'b') + u"\r\nnext"), std::wstring(62, L'b')},
        {"\xFE\xFF" + Be(std::u16string(63, u'c') + u"\r\nnext"), std::wstring(63, L'c')},
    };
    for (const auto& [bytes, first] : cases) {
        WriteFileBytes(dir.File("f"), bytes);
        EXPECT_EQ(ReadAll(dir.File("f")), (std::vector<CString>{CString(first), L"next"}));
    }
}

TEST(CZntFile, TruncatedAndBrokenInput) {
    TempDir dir;
    // An odd byte count: the whole units read, the dangling byte becomes U+FFFD.
    WriteFileBytes(dir.File("odd"), "\xFE\xFF" + Be(u"ab") + std::string(1, '\x30'));
    EXPECT_EQ(ReadAll(dir.File("odd")), (std::vector<CString>{L"ab\xFFFD"}));
    // Lone surrogates stay as they are.
    WriteFileBytes(dir.File("sur"), "\xFF\xFE" + Le(std::u16string(1, char16_t(0xD800)) + u"x"));
    const auto s = ReadAll(dir.File("sur"));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].GetAt(0), static_cast<wchar_t>(0xD800));
    // Invalid Shift-JIS bytes do not stop the line.
    WriteFileBytes(dir.File("sj"), "a\x81\x0a" "b");
    const auto j = ReadAll(dir.File("sj"));
    ASSERT_EQ(j.size(), 2u);
    EXPECT_EQ(j[0], CString(L"a\xFFFD"));
}

TEST(CZntFile, WritingEachEncoding) {
    TempDir dir;
    {
        CZntFile f(W(dir.File("be")), CFile::modeCreate | CFile::modeWrite, 1, 0);
        f.WriteString(L"a\nb\r\nc");
    }
    EXPECT_EQ(ReadFileBytes(dir.File("be")), "\xFE\xFF" + Be(u"a\r\nb\r\nc"));
    {
        CZntFile f(W(dir.File("le")), CFile::modeCreate | CFile::modeWrite, 1, 1);
        f.WriteString(L"\U0001F600\n");
    }
    EXPECT_EQ(ReadFileBytes(dir.File("le")), "\xFF\xFE" + Le(u"\U0001F600\r\n"));
    {
        CZntFile f;
        f.SetUnicode(0, 0);
        ASSERT_TRUE(f.Open(W(dir.File("sj")), CFile::modeCreate | CFile::modeWrite));
        f.WriteString(L"日本\n");
        f.WriteString(L"");  // nothing
    }
    EXPECT_EQ(ReadFileBytes(dir.File("sj")), "\x93\xfa\x96\x7b\r\n");
    EXPECT_EQ(ReadAll(dir.File("le")), (std::vector<CString>{L"\U0001F600"}));
}

TEST(CZntFile, FailuresThrowFileExceptions) {
    {
        CZntFile f(L"/dev/full", CFile::modeCreate | CFile::modeWrite, 1, 1);
        // Large writes go straight to the device; small ones fail when the stream flushes.
        ExpectThrows<CFileException>([&] { f.WriteString(CString(std::wstring(100000, L'x'))); },
                                     [](CFileException* e) {
                                         EXPECT_EQ(e->m_cause, CFileException::diskFull);
                                         EXPECT_EQ(e->m_lOsError, ENOSPC);
                                         EXPECT_EQ(e->m_strFileName, CString(L"/dev/full"));
                                     });
    }
    CZntFile g(L"/dev/full", CFile::modeCreate | CFile::modeWrite, 0, 0);
    g.WriteString(L"small");
    ExpectThrows<CFileException>([&] { g.Close(); },
                                 [](CFileException* e) { EXPECT_EQ(e->m_cause, CFileException::diskFull); });
    TempDir dir;
    CZntFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(W(dir.File("missing")), CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    ExpectThrows<CFileException>([&] { CZntFile h(W(dir.File("missing")), CFile::modeRead, 0, 0); },
                                 [&](CFileException* e) {
                                     EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
                                     EXPECT_EQ(e->m_strFileName, W(dir.File("missing")));
                                 });
}

TEST(CZntFile, CopyAssignmentTakesTheFlagsOnly) {
    CZntFile a, b;
    a.SetUnicode(1, 0);
    b = a;
    int u, l;
    b.GetUnicode(&u, &l);
    EXPECT_EQ(std::make_pair(u, l), std::make_pair(1, 0));
}

TEST(CZntFile, ConversionStepsKeepTheirContracts) {
    Probe p;
    CString text(L"a\nb\r\n\n");
    EXPECT_EQ(p.InsertCRLF(text, 12), 16u);
    EXPECT_EQ(text, CString(L"a\r\nb\r\n\r\n"));
    CString raw;
    raw = CString(std::wstring{0x93, 0xfa, 0x61});
    EXPECT_EQ(p.MBCStoUTF16(raw, 3), 4u);
    EXPECT_EQ(raw, CString(L"日a"));
    EXPECT_EQ(p.MBCStoUTF16(raw, 0), 0u);
    CString wide(L"日a");
    EXPECT_EQ(p.UTF16toMBCS(wide, 4), 4u);  // three bytes, rounded up to even
    EXPECT_EQ(wide, CString(std::wstring{0x93, 0xfa, 0x61}));
    CString units(std::wstring{0x4100, 0x4200});
    EXPECT_EQ(p.EndianLine(units, 3), 0);
    EXPECT_EQ(p.EndianLine(units, 4), 1);
    EXPECT_EQ(units, CString(L"AB"));
}

}  // namespace
