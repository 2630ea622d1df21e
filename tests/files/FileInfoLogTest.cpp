// CFileInfo on built PE files, good and damaged; CCommonLogFile's time stamp line.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "files/FileInfo.h"
#include "files/LogFile.h"
#include "support/PeBuilder.h"
#include "support/TestUtil.h"
#include "FilesTestUtil.h"

namespace {

const std::vector<PeLanguage> kLanguages = {
    {0x0411, 0x04B0,
     {{"CompanyName", "オルヴァナ"},
      {"FileDescription", "Camera control"},
      {"FileVersion", "3.1.4.1"},
      {"InternalName", "zentacam"},
      {"LegalCopyright", "(C) 2024"},
      {"OriginalFilename", "zentacam.exe"},
      {"ProductName", "Zentacam \U0001F52D"},
      {"ProductVersion", "3.1"}}},
    {0x0409, 0x04E4, {{"CompanyName", "Orvana"}}},
};

TEST(CFileInfo, VersionRecordsOfAPeFile) {
    TempDir dir;
    WriteFileBytes(dir.File("app.exe"), BuildPe(BuildVersionInfo(kLanguages)));
    tagFileInfo info;
    ASSERT_EQ(CFileInfo::GetFileInfo(W(dir.File("app.exe")), &info), 1);
    EXPECT_EQ(info.strFileName, CString(L"app.exe"));
    EXPECT_GT(info.ullSize, 0u);
    EXPECT_TRUE(info.byAttribute & 0x20);
    ASSERT_EQ(info.aVersion.GetSize(), 2);
    const tagFileVersion& ja = info.aVersion[0];
    EXPECT_EQ(std::make_pair(ja.wLanguage, ja.wCodePage), std::make_pair(WORD(0x0411), WORD(0x04B0)));
    // In the order of the table above; the product name joins a surrogate pair.
    const CString got[] = {ja.strCompanyName,    ja.strFileDescription,  ja.strFileVersion, ja.strInternalName,
                           ja.strLegalCopyright, ja.strOriginalFilename, ja.strProductName, ja.strProductVersion};
    for (size_t i = 0; i < kLanguages[0].strings.size(); ++i)
        EXPECT_EQ(got[i].ToUtf8(), kLanguages[0].strings[i].second) << kLanguages[0].strings[i].first;
    // A language with one string: the rest stay empty.
    EXPECT_EQ(info.aVersion[1].strCompanyName, CString(L"Orvana"));
    EXPECT_TRUE(info.aVersion[1].strProductName.IsEmpty());
}

TEST(CFileInfo, FilesWithoutAVersionGiveZero) {
    TempDir dir;
    tagFileInfo info;
    EXPECT_EQ(CFileInfo::GetFileInfo(L"", &info), 0);
    EXPECT_EQ(CFileInfo::GetFileInfo(W(dir.File("none")), &info), 0);
    WriteFileBytes(dir.File("text.txt"), "just text");
    EXPECT_EQ(CFileInfo::GetFileInfo(W(dir.File("text.txt")), nullptr), 0);
    EXPECT_EQ(CFileInfo::GetFileInfo(W(dir.File("text.txt")), &info), 0);
    EXPECT_EQ(info.ullSize, 9u);  // the status is read before the resource
}

TEST(CFileInfo, DamagedPeFilesGiveZeroWithoutCrashing) {
    TempDir dir;
    const std::string good = BuildPe(BuildVersionInfo(kLanguages));
    struct Damage {
        const char* name;
        size_t offset;
        unsigned value;
    } damages[] = {
        {"lfanew far away", kPeLfanew, 0x7FFFFFF0u},
        {"type entry loops to the root", kPeLevel1Entry + 4, 0x80000000u},
        {"name entry loops to itself", kPeLevel2Entry + 4, 0x80000018u},
        {"language entry is a directory", kPeLevel3Entry + 4, 0x80000000u},
        {"subdirectory beyond the section", kPeLevel1Entry + 4, 0x8FFFFFF0u},
        {"data beyond the file", kPeDataEntry, 0x7FFF0000u},
        {"huge data size", kPeDataEntry + 4, 0xFFFFFFF0u},
    };
    for (const auto& d : damages) {
        std::string bytes = good;
        PutU32(bytes, d.offset, d.value);
        WriteFileBytes(dir.File("bad.dll"), bytes);
        tagFileInfo info;
        EXPECT_EQ(CFileInfo::GetFileInfo(W(dir.File("bad.dll")), &info), 0) << d.name;
    }
    // Counts far beyond the section, and no version type among the real entries.
    std::string many = good;
    PutU32(many, kPeResourceStart + 12, 0xFFFFFFFFu);
    PutU32(many, kPeLevel1Entry, 99);
    WriteFileBytes(dir.File("many.dll"), many);
    tagFileInfo manyInfo;
    EXPECT_EQ(CFileInfo::GetFileInfo(W(dir.File("many.dll")), &manyInfo), 0);
    // Cut short anywhere.
    for (size_t cut : {size_t(2), size_t(0x40), size_t(0x150), size_t(0x210), good.size() / 2}) {
        WriteFileBytes(dir.File("cut.dll"), good.substr(0, cut));
        tagFileInfo info;
        EXPECT_EQ(CFileInfo::GetFileInfo(W(dir.File("cut.dll")), &info), 0) << cut;
    }
    // A version block whose nodes claim impossible lengths: readable, strings empty.
    std::string vi = BuildVersionInfo(kLanguages);
    vi[0x5C] = '\x02';  // the first child's length below its header
    vi[0x5D] = '\0';
    WriteFileBytes(dir.File("odd.dll"), BuildPe(vi));
    tagFileInfo info;
    EXPECT_EQ(CFileInfo::GetFileInfo(W(dir.File("odd.dll")), &info), 1);
}

// A home folder in a temporary folder, with no desktop folder configured.
class LogFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("HOME", dir.path().c_str(), 1);
        setenv("XDG_CONFIG_HOME", dir.File("cfg").c_str(), 1);
        unsetenv("XDG_DESKTOP_DIR");
    }
    EnvGuard guard{"HOME", "XDG_CONFIG_HOME", "XDG_DESKTOP_DIR", "TZ"};
    TempDir dir;
};

TEST_F(LogFileTest, AppendsAfterATimeStampLine) {
    setenv("TZ", "JST-9", 1);
    tzset();
    mkdir(dir.File("Desktop").c_str(), 0755);
    EXPECT_EQ(CCommonLogFile::GetLogPath(), W(dir.File("Desktop/zcam_a.log")));
    {
        CCommonLogFile log(CTime(1700000000LL));  // 2023-11-15 07:13:20 in Japan
        log.WriteString(L"接続しました\n");
    }
    {
        CCommonLogFile log(CTime(1700000060LL));
        log.WriteString(L"second");
    }
    // Text mode, Shift-JIS, appended.
    EXPECT_EQ(ReadFileBytes(dir.File("Desktop/zcam_a.log")),
              "2023/11/15 07:13:20\r\n\x90\xda\x91\xb1\x82\xb5\x82\xdc\x82\xb5\x82\xbd\r\n"
              "2023/11/15 07:14:20\r\nsecond");
}

TEST_F(LogFileTest, NoDesktopMeansNothingWritten) {
    CCommonLogFile log(CTime(1700000000LL));  // the desktop folder is missing and not created
    log.WriteString(L"lost");
    struct stat st;
    EXPECT_NE(stat(dir.File("Desktop").c_str(), &st), 0);
    // An invalid time throws, as formatting it does.
    mkdir(dir.File("Desktop").c_str(), 0755);
    ExpectThrows<CInvalidArgException>([] { CCommonLogFile bad(CTime(-1)); });
}

}  // namespace
