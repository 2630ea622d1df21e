// zcmcom cameras and zcmcom textfile.
#include "cli/Zcm.h"

namespace {

TEST(CliCameras, ListsMakersAndTheirCameras) {
    int status = -1;
    const std::string out = Zcm("cameras " ZCMCOM_SOURCE_DIR "/data", &status);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(out.rfind("(\xE3\x82\xB5\xE3\x82\xA4\xE3\x82\xBA\xE9\x81\xB8\xE6\x8A\x9E) (", 0), 0u);  // "(サイズ選択) ("
    EXPECT_NE(out.find("\nCanon ("), std::string::npos);
    EXPECT_NE(out.find("  EOS 6D "), std::string::npos);
    EXPECT_NE(out.find("5472 x  3648 px"), std::string::npos);
    // Without a folder, from anywhere: found like every data file.
    EXPECT_EQ(RunCommand(std::string("cd / && ") + ZCMCOM_CLI + " cameras", &status), out);
    TempDir empty;  // the database's Japanese message, the system's reason in English
    EXPECT_NE(Zcm("cameras " + empty.path(), &status, "&1").find("zcmccd.txt (No such file or directory)\n"),
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
    EXPECT_EQ(ReadFileBytes(dir.File("to_utf16be.txt")).substr(0, 4), std::string("\xFE\xFF\x65\xE5", 4));
    EXPECT_EQ(Zcm("textfile info " + dir.File("to_utf16be.txt"), &status), "encoding: UTF-16BE\nlines: 3\n");
    ExpectStatus(1, {"textfile cat /nonexistent/missing"});
    ExpectStatus(2, {"textfile convert a b ebcdic"});
}

}  // namespace
