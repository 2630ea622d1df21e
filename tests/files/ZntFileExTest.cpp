// SPDX-License-Identifier: LGPL-3.0-or-later
// CZntFileEx: encoding detection, the 1 MiB Shift-JIS reader and the UTF streams.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <tuple>

#include "files/ZntFile.h"
#include "files/ZntFileEx.h"
#include "support/TestUtil.h"

namespace {

const UINT kReadText = CFile::modeRead | CFile::typeText;
const UINT kReadBinary = CFile::modeRead | CFile::typeBinary;
const UINT kWriteText = CFile::modeCreate | CFile::modeWrite | CFile::typeText;

std::vector<CString> ReadAll(const std::string& path, UINT flags = kReadText) {
    CZntFileEx f;
    std::vector<CString> lines;
    if (!f.Open(W(path), flags, 0)) return lines;
    CString line;
    while (f.ReadString(line)) lines.push_back(line);
    return lines;
}

TEST(CZntFileEx, EncodeTypeFromTheFirstBytesAndFailedOpens) {
    TempDir dir;
    const std::pair<std::string, int> cases[] = {
        {std::string("\xFF\xFE") + "a", 2},
        {"\xFE\xFF", 0},
        {"\xEF\xBB\xBF", 3},
        {"", 1},
        {std::string("\xFF") + "a", 1},
        {std::string("\xFE") + "a", 1},
        {std::string("\xEF\xBB") + "x", 1},
        {"\x93\xfa", 1},
    };
    for (const auto& [bytes, type] : cases) {
        WriteFileBytes(dir.File("f"), bytes);
        EXPECT_EQ(CZntFileEx::GetEncodeType(W(dir.File("f"))), type) << bytes;
    }
    EXPECT_EQ(CZntFileEx::GetEncodeType(W(dir.File("missing"))), -1);
    // Big-endian files and missing files do not open for reading; writing needs a type of 1 to 3.
    WriteFileBytes(dir.File("be"), "\xFE\xFF");
    CZntFileEx f;
    EXPECT_EQ(f.Open(W(dir.File("be")), kReadText, 0), 0);
    EXPECT_EQ(f.Open(W(dir.File("missing")), kReadText, 0), 0);
    EXPECT_EQ(f.Open(W(dir.File("w")), kWriteText, 0), 0);
    EXPECT_EQ(f.Open(W(dir.File("w")), kWriteText, 4), 0);
    WriteFileBytes(dir.File("held"), "\xFF\xFE" + std::string("a\0", 2));
    CFile holder;
    ASSERT_TRUE(holder.Open(W(dir.File("held")), CFile::modeReadWrite | CFile::shareDenyWrite));
    // A failed stream open throws. Detection shares, so it works; the stream denies writing to a
    // file open for writing.
    ExpectThrows<CInvalidArgException>([&] { f.Open(W(dir.File("held")), kReadText, 0); });
}

TEST(CZntFileEx, ShiftJisLineEnds) {
    TempDir dir;
    const std::tuple<std::string, std::vector<CString>, UINT> cases[] = {
        {"a\n\nb", {L"a", L"", L"b"}, kReadText},
        {"a\rb\n\rc\r\rd",
         {L"a", L"b", L"c", L"d"},
         kReadText},                                // lone CR, LF CR and CR CR end one line
        {"x\r\ny\r\n", {L"x", L"y"}, kReadBinary},  // binary mode: CR LF still ends one line
        {"\x93\xfa\x96\x7b\r\n\xb6\xc5", {L"日本", L"ｶﾅ"}, kReadText},
    };
    for (const auto& [bytes, lines, flags] : cases) {
        WriteFileBytes(dir.File("f"), bytes);
        EXPECT_EQ(ReadAll(dir.File("f"), flags), lines) << bytes;
    }
}

TEST(CZntFileEx, LinesLongerThanTheBufferAndAtItsEdge) {
    TempDir dir;
    const size_t mib = 1024 * 1024;
    std::string big(mib + 300000, 'q');
    big[5] = '\x93', big[6] = '\xfa';  // one double-byte character inside
    WriteFileBytes(dir.File("big"), big + "\r\nlast");
    auto lines = ReadAll(dir.File("big"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].GetLength(), static_cast<int>(big.size()) - 1);
    EXPECT_EQ(lines[0].GetAt(5), L'日');
    EXPECT_EQ(lines[1], CString(L"last"));
    // The terminator is the last byte of the first block, and its partner the first byte
    // of the next (binary mode, so the runtime does not join them).
    WriteFileBytes(dir.File("edge"), std::string(mib - 1, 'e') + "\r\nz");
    lines = ReadAll(dir.File("edge"), kReadBinary);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], CString(L"z"));
}

// Types 1 to 3 write Shift-JIS, UTF-16 LE and UTF-8 (the UTF streams are tested with the
// platform), also through the framework's interface; read-write opens without an encoding.
TEST(CZntFileEx, WritingEachEncodingAsTheWindowsRuntimeDoes) {
    TempDir dir;
    const std::tuple<int, const wchar_t*, std::string> cases[] = {
        {1, L"日本\n", "\x93\xfa\x96\x7b\r\n"},
        {2, L"a\nb", "\xFF\xFE" + std::string("a\0\r\0\n\0b\0", 8)},
        {3, L"é\n", "\xEF\xBB\xBF\xC3\xA9\r\n"},
    };
    for (const auto& [type, text, bytes] : cases) {
        {
            CZntFileEx f;
            ASSERT_EQ(f.Open(W(dir.File("f")), kWriteText, type), 1);
            if (type == 1)
                static_cast<CStdioFile&>(f).WriteString(text);
            else
                f.WriteString(CString(text));
        }
        EXPECT_EQ(ReadFileBytes(dir.File("f")), bytes) << type;
    }
    {
        CZntFileEx r;
        ASSERT_EQ(r.Open(W(dir.File("f")), kReadText, 0), 1);
        EXPECT_EQ(r.GetEncodeTypeOfFile(), 3);
        EXPECT_EQ(r.m_pStream->GetEncoding(), ZcmStream::utf8);
    }
    CZntFileEx rw;
    ASSERT_EQ(rw.Open(W(dir.File("f")), CFile::modeReadWrite | CFile::typeBinary, 0), 1);
    EXPECT_EQ(rw.GetEncodeTypeOfFile(), 0);
}

// A line without end stops at the line limit with a file error, in every reader, instead
// of growing until memory runs out.
TEST(CZntFileEx, EndlessLineFailsAtTheLimitInEveryReader) {
    TempDir dir;
    for (const std::string mark : {"", "\xEF\xBB\xBF", "\xFF\xFE"}) {
        const std::string path = dir.File("endless" + std::to_string(mark.size()));
        WriteFileBytes(path, mark);
        ASSERT_EQ(truncate(path.c_str(), static_cast<off_t>(kZcmMaxLineBytes + 1024)), 0);
        const auto tooLarge = [&](CFileException* e) {
            EXPECT_EQ(e->m_lOsError, EFBIG) << mark.size();
        };
        CString line;
        {
            CZntFileEx ex;
            ASSERT_EQ(ex.Open(W(path), CFile::modeRead | CFile::typeText, 0), 1);
            ExpectThrows<CFileException>([&] { ex.ReadString(line); }, tooLarge);
        }
        CZntFile plain;
        ASSERT_TRUE(plain.Open(W(path), CFile::modeRead));
        ExpectThrows<CFileException>([&] { plain.ReadString(line); }, tooLarge);
    }
}

}  // namespace
