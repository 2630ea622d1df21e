// SPDX-License-Identifier: LGPL-3.0-or-later
// CFile, CStdioFile and the runtime streams: open flags, sharing, text mode, encodings.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <tuple>

#include "platform/EncodedStream.h"
#include "platform/File.h"
#include "platform/FileFind.h"
#include "support/TestUtil.h"

namespace {

TEST(CFile, ReadWriteSeekLengthAndStatus) {
    TempDir dir;
    const CString path = W(dir.File("a.bin"));
    {
        CFile f(path, CFile::modeCreate | CFile::modeReadWrite);
        f.Write("hello world", 11);
        EXPECT_EQ(f.GetLength(), 11u);
        f.Seek(6, CFile::begin);
        char buf[8] = {};
        EXPECT_EQ((std::tuple{f.Read(buf, 8), std::string(buf)}), (std::tuple{5u, "world"}));
        f.SetLength(5);
        EXPECT_EQ(f.GetLength(), 5u);
    }
    EXPECT_EQ(ReadFileBytes(dir.File("a.bin")), "hello");
    // modeNoTruncate keeps what is there.
    CFile g(path, CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
    EXPECT_EQ(g.GetLength(), 5u);
    // The status of a read-only file.
    WriteFileBytes(dir.File("st.txt"), "12345");
    chmod(dir.File("st.txt").c_str(), 0444);
    CFileStatus st;
    ASSERT_TRUE(CFile::GetStatus(W(dir.File("st.txt")), st));
    EXPECT_EQ((std::tuple{ULONGLONG(st.m_size), bool(st.m_attribute & FILE_ATTRIBUTE_READONLY),
                          bool(CFile::GetStatus(W(dir.File("nope")), st))}),
              (std::tuple{ULONGLONG(5), true, false}));
}

TEST(CFile, FailuresCarryCauseErrorAndNameAndSharingIsHonoured) {
    TempDir dir;
    const CString missing = W(dir.File("none.txt"));
    CFileException error;
    CFile f;
    EXPECT_FALSE(f.Open(missing, CFile::modeRead, &error));
    EXPECT_EQ(std::tuple(error.m_cause, error.m_lOsError, error.m_strFileName),
              std::tuple(int(CFileException::fileNotFound), ENOENT, missing));
    // A folder is not a file, as on Windows.
    EXPECT_EQ((std::tuple{bool(f.Open(W(dir.path()), CFile::modeRead, &error)), error.m_cause}),
              (std::tuple{false, int(CFileException::accessDenied)}));
    ExpectThrows<CFileException>(
        [&] { CFile thrown(missing, CFile::modeRead); },
        [&](CFileException* e) {
            EXPECT_TRUE(e->m_cause == CFileException::fileNotFound && e->m_strFileName == missing);
        });
    const CString path = W(dir.File("s.txt"));
    WriteFileBytes(dir.File("s.txt"), "x");
    CFile first;
    ASSERT_TRUE(first.Open(path, CFile::modeRead | CFile::shareDenyWrite));
    CFile reader, writer;
    EXPECT_TRUE(reader.Open(path, CFile::modeRead | CFile::shareDenyNone));
    EXPECT_EQ((std::tuple{bool(writer.Open(path, CFile::modeWrite | CFile::shareDenyNone, &error)),
                          error.m_cause}),
              (std::tuple{false, int(CFileException::sharingViolation)}));
    reader.Close();
    first.Close();
    // The default share mode is exclusive, as in MFC; a refused truncating open leaves the
    // file alone.
    CFile exclusive;
    ASSERT_TRUE(exclusive.Open(path, CFile::modeRead));
    CFile truncating;
    EXPECT_FALSE(
        truncating.Open(path, CFile::modeCreate | CFile::modeWrite | CFile::shareDenyNone));
    EXPECT_EQ(ReadFileBytes(dir.File("s.txt")), "x");
    exclusive.Close();
    EXPECT_TRUE(writer.Open(path, CFile::modeWrite));
}

TEST(CStdioFile, TextModeTranslatesLineEndsAndAnsiIsShiftJis) {
    TempDir dir;
    const CString path = W(dir.File("t.txt"));
    {
        CStdioFile f(path, CFile::modeCreate | CFile::modeWrite | CFile::typeText);
        f.WriteString(L"one\ntwo\r\nthree");
    }
    // As the Windows runtime: every LF becomes CR LF, even after a CR.
    EXPECT_EQ(ReadFileBytes(dir.File("t.txt")), "one\r\ntwo\r\r\nthree");
    WriteFileBytes(dir.File("t.txt"), "a\r\nb\rc\n\r\n");
    CStdioFile f(path, CFile::modeRead | CFile::typeText);
    CString line;
    for (const wchar_t* expected : {L"a", L"b\rc", L""}) {
        ASSERT_TRUE(f.ReadString(line));
        EXPECT_EQ(line, CString(expected));
    }
    EXPECT_FALSE(f.ReadString(line));
    // ANSI text is Shift-JIS.
    const CString jis = W(dir.File("j.txt"));
    CStdioFile(jis, CFile::modeCreate | CFile::modeWrite).WriteString(L"日本\n");
    EXPECT_EQ(ReadFileBytes(dir.File("j.txt")), "\x93\xfa\x96\x7b\r\n");
    CStdioFile g(jis, CFile::modeRead);
    EXPECT_EQ((std::tuple{bool(g.ReadString(line)), line}), (std::tuple{true, CString(L"日本")}));
}

TEST(CStdioFile, BinaryBlockReadsAcrossACarriageReturnAtTheBufferEdge) {
    TempDir dir;
    // A CR LF pair split by the stream's 64 KiB buffer still turns into one LF.
    std::string bytes(65535, 'x');
    bytes += "\r\nend";
    WriteFileBytes(dir.File("edge.txt"), bytes);
    CStdioFile f(W(dir.File("edge.txt")), CFile::modeRead | CFile::typeText);
    std::string got(70000, '\0');
    const UINT n = f.Read(&got[0], 70000);
    got.resize(n);
    EXPECT_EQ(got, std::string(65535, 'x') + "\nend");
}

TEST(EncodedStream, WritingWritesTheMarkAndCrLfAndReadingDetectsIt) {
    TempDir dir;
    ZcmStream* s = _wfsopen(W(dir.File("u16.txt")), L"wt, ccs=UTF-16LE", _SH_DENYNO);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->PutText(L"A\n\U0001F600", 3));
    EXPECT_EQ(ZcmStreamClose(s), 0);
    EXPECT_EQ(ReadFileBytes(dir.File("u16.txt")),
              "\xFF\xFE" + std::string("A\0\r\0\n\0\x3D\xD8\x00\xDE", 10));
    s = _wfsopen(W(dir.File("u8.txt")), L"w, ccs=UTF-8", _SH_DENYNO);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(s->PutText(L"é\n", 2));
    ZcmStreamClose(s);
    EXPECT_EQ(ReadFileBytes(dir.File("u8.txt")), "\xEF\xBB\xBF\xC3\xA9\r\n");
    // Appending to a marked file keeps its encoding and writes no second mark.
    s = _wfsopen(W(dir.File("u16.txt")), L"a, ccs=UTF-8", _SH_DENYNO);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetEncoding(), ZcmStream::utf16le);
    s->PutText(L"B", 1);
    ZcmStreamClose(s);
    EXPECT_EQ(ReadFileBytes(dir.File("u16.txt")).substr(12), std::string("B\0", 2));
    WriteFileBytes(dir.File("le.txt"), std::string("\xFF\xFEx\0\r\0\n\0y\0", 10));
    WriteFileBytes(dir.File("u8.txt"), "\xEF\xBB\xBFz\r\nw");
    std::wstring line;
    s = _wfsopen(W(dir.File("le.txt")), L"rt, ccs=UNICODE", _SH_SECURE);
    ASSERT_NE(s, nullptr);
    for (const wchar_t* expected : {L"x\n", L"y"}) {
        ASSERT_TRUE(s->GetLine(line));
        EXPECT_EQ(line, expected);
    }
    EXPECT_FALSE(s->GetLine(line));
    ZcmStreamClose(s);
    s = _wfsopen(W(dir.File("u8.txt")), L"r, ccs=UNICODE", _SH_SECURE);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetEncoding(), ZcmStream::utf8);
    ASSERT_TRUE(s->GetLine(line));
    EXPECT_EQ(line, L"z\n");
    ZcmStreamClose(s);
    // A cut UTF-16 file: the half unit becomes U+FFFD.
    WriteFileBytes(dir.File("cut.txt"), std::string("\xFF\xFEq\0r", 5));
    s = _wfsopen(W(dir.File("cut.txt")), L"r, ccs=UNICODE", _SH_DENYNO);
    ASSERT_TRUE(s->GetLine(line));
    EXPECT_EQ(line, L"q\xFFFD");
    ZcmStreamClose(s);
}

TEST(EncodedStream, BadModesSecureSharingAndSeekingBeforeAWrite) {
    TempDir dir;
    const std::pair<const wchar_t*, int> bad[] = {
        {L"q", _SH_DENYNO}, {L"w, ccs=EBCDIC", _SH_DENYNO}, {L"w", 0x99}};
    for (const auto& [mode, share] : bad)
        EXPECT_EQ(_wfsopen(W(dir.File("x")), mode, share), nullptr) << mode;
    ZcmStream* w = _wfsopen(W(dir.File("x")), L"w", _SH_SECURE);
    ASSERT_NE(w, nullptr);
    // Secure mode writes exclusively.
    EXPECT_EQ(_wfsopen(W(dir.File("x")), L"r", _SH_DENYNO), nullptr);
    ZcmStreamClose(w);
    ZcmStream* readers[] = {_wfsopen(W(dir.File("x")), L"r", _SH_SECURE),
                            _wfsopen(W(dir.File("x")), L"r", _SH_SECURE)};
    for (ZcmStream* r : readers) {
        ASSERT_NE(r, nullptr);
        ZcmStreamClose(r);
    }
    WriteFileBytes(dir.File("rw.bin"), "0123456789");
    ZcmStream* s = _wfsopen(W(dir.File("rw.bin")), L"r+b", _SH_DENYNO);
    ASSERT_NE(s, nullptr);
    char buf[4] = {};
    EXPECT_EQ((std::tuple{s->Read(buf, 4), s->Seek(-2, SEEK_CUR), s->Write("ab", 2), s->Tell(),
                          s->Read(buf, 2), std::string(buf, 2)}),
              (std::tuple{4u, 2, 2u, 4, 2u, "45"}));
    ZcmStreamClose(s);
    EXPECT_EQ(ReadFileBytes(dir.File("rw.bin")), "01ab456789");
}

// Names that are not UTF-8 keep every byte from CString to the system and back.
TEST(FileNames, BytesThatAreNotUtf8RoundTripThroughCString) {
    for (const std::string raw :
         {"\xE6\x9C\x88.txt", "caf\xE9.txt", "x\xFF.bmp", "a\x80.b", "c\xE3\x81", "d\xED\xA0\x80"})
        EXPECT_EQ(CString(ZcmPathToWide(raw.data(), raw.size())).ToUtf8(), raw);
    EXPECT_EQ(ZcmPathToWide("\xE6\x9C\x88", 3), L"\u6708");  // valid UTF-8 is plain text
    TempDir dir;
    const std::string latin1 = dir.File("caf\xE9.txt");
    {
        CFile f(CString(ZcmPathToWide(latin1.data(), latin1.size())),
                CFile::modeCreate | CFile::modeWrite);
        f.Write("latin", 5);
    }
    EXPECT_EQ(ReadFileBytes(latin1), "latin");
    CFileFind find;
    ASSERT_TRUE(find.FindFile(W(dir.File("*.txt"))));
    find.FindNextFile();
    EXPECT_EQ(find.GetFilePath().ToUtf8(), latin1);
    CStdioFile again;
    ASSERT_TRUE(again.Open(find.GetFilePath(), CFile::modeRead));
    CString line;
    EXPECT_TRUE(again.ReadString(line));
    EXPECT_EQ(line, L"latin");
}

// A pipe opened by name reads whole and can be stepped back in: its mark is found once.
TEST(EncodedStream, PipeReadsWholeThroughOneOpen) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    const std::string utf16 = "\xFF\xFE" + std::string("a\0\r\0\n\0b\0", 8);
    ASSERT_EQ(write(ends[1], utf16.data(), utf16.size()), 10);
    close(ends[1]);
    ZcmStream* s = _wfsopen(W("/dev/fd/" + std::to_string(ends[0])), L"r, ccs=UNICODE", _SH_DENYNO);
    close(ends[0]);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->GetEncoding(), ZcmStream::utf16le);
    std::wstring line, all;
    while (s->GetLine(line)) all += line + L"|";
    EXPECT_EQ((std::tuple{all, s->Seek(2, SEEK_SET), bool(s->GetLine(line)), line}),
              (std::tuple{L"a\n|b|", 2, true, L"a\n"}));
    ZcmStreamClose(s);
}

}  // namespace
