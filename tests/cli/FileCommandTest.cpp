// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom cameras and zcmcom textfile.
#include <cerrno>
#include <cstring>

#include "cli/Zcm.h"

namespace {

TEST(CliCameras, ListsMakersAndTheirCameras) {
    int status = -1;
    const std::string out = Zcm("cameras " ZCMCOM_SOURCE_DIR "/data", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out.rfind("(サイズ選択) (", 0), 0u);
    for (const char* part : {"\nCanon (", "  EOS 6D ", "5472 x  3648 px"})
        EXPECT_NE(out.find(part), std::string::npos) << part;
    // Without a folder, from anywhere: found like every data file.
    EXPECT_EQ(RunCommand(std::string("cd / && ") + ZCMCOM_CLI + " cameras", &status), out);
    TempDir empty;  // the database's Japanese message, the system's reason in the user's language
    EXPECT_NE(Zcm("cameras " + empty.path(), &status, "&1")
                  .find(std::string("zcmccd.txt (") + strerror(ENOENT) + ")\n"),
              std::string::npos);
    EXPECT_EQ(status, 1);
    ExpectStatus(2, {"cameras a b"});
}

TEST(CliTextFile, ConvertsThroughEveryEncodingAndBack) {
    TempDir dir;
    const std::string text = "\xE6\x97\xA5\xE6\x9C\xAC\nline two\n\n";  // "日本", "line two", ""
    WriteFileBytes(dir.File("src.txt"), "\xEF\xBB\xBF" + text);
    int status = -1;
    EXPECT_EQ(Zcm("textfile info " + dir.File("src.txt"), &status), "encoding: UTF-8\nlines: 3\n");
    std::string previous = dir.File("src.txt");
    for (const char* enc : {"utf16be", "sjis", "utf16le", "utf8"}) {
        const std::string next = dir.File(std::string("to_") + enc + ".txt");
        Zcm("textfile convert " + previous + " " + next + " " + enc, &status);
        ASSERT_EQ(status, 0) << enc;
        EXPECT_EQ(Zcm("textfile cat " + next, &status), text) << enc;
        previous = next;
    }
    EXPECT_EQ(ReadFileBytes(dir.File("to_sjis.txt")), "\x93\xfa\x96\x7b\r\nline two\r\n\r\n");
    EXPECT_EQ(ReadFileBytes(dir.File("to_utf16be.txt")).substr(0, 4),
              std::string("\xFE\xFF\x65\xE5", 4));
    EXPECT_EQ(Zcm("textfile info " + dir.File("to_utf16be.txt"), &status),
              "encoding: UTF-16BE\nlines: 3\n");
    ExpectStatus(1, {"textfile cat /nonexistent/missing"});
    ExpectStatus(2, {"textfile convert a b ebcdic"});
}

// Pipes and FIFOs read whole (the encoding is sniffed once); input without line ends or
// too large to hold fails with a message instead of growing without end; names that are
// not UTF-8 are kept.
TEST(CliTextFile, PipesFifosEndlessInputAndNamesThatAreNotUtf8) {
    TempDir dir;
    const std::string d = dir.path() + "/", z = std::string("timeout 20 ") + ZCMCOM_CLI + " ";
    const std::string host = std::string(ZCMCOM_SOURCE_DIR) + "/examples/hosts/equatorial.txt";
    int status = -1;
    RunCommand("mkfifo " + d + "f1 " + d + "f2 && truncate -s 17M " + d + "zeros", &status);
    ASSERT_EQ(status, 0);
    const std::string clicked = Zcm("click --host " + host + " Equatorial", &status);
    const struct {
        std::string command, out;
        int status;
    } cases[] = {
        {"printf 'line1\\nline2\\nline3\\n' | " + z + "textfile cat /dev/stdin",
         "line1\nline2\nline3\n", 0},
        {"printf '\\357\\273\\277u8\\r\\nx\\n' | " + z + "textfile cat /dev/stdin", "u8\nx\n", 0},
        {"(printf 'a\\nb\\n' > " + d + "f1 &); " + z + "textfile cat " + d + "f1", "a\nb\n", 0},
        {"(cat " + host + " > " + d + "f2 &); " + z + "click --host " + d + "f2 Equatorial",
         clicked, 0},
        {z + "textfile info " + d + "zeros 2>&1", d + "zeros (" + strerror(EFBIG) + ")", 1},
        {z + "textfile info /dev/zero 2>&1", std::string("/dev/zero (") + strerror(EFBIG) + ")", 1},
        {"head -c 65M /dev/zero | " + z + "click --host /dev/stdin Equatorial 2>&1",
         "larger than 64 MB", 1},
        // a Latin-1 file name, through two commands
        {"cd " + d + " && n=$(printf 'caf\\351.txt') && printf 'hi\\n' > \"$n\" && " + z +
             "textfile convert \"$n\" \"o$n\" utf8 && " + z + "textfile cat \"o$n\"",
         "hi\n", 0},
    };
    for (const auto& c : cases) {
        const std::string out = RunCommand(c.command, &status);
        EXPECT_EQ(status, c.status) << c.command;
        if (c.status == 0)
            EXPECT_EQ(out, c.out) << c.command;
        else
            EXPECT_NE(out.find(c.out), std::string::npos) << c.command << " printed " << out;
    }
}

}  // namespace
