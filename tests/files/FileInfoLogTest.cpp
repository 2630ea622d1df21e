// CFileInfo on built PE files, good and damaged; CCommonLogFile's time stamp line.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "files/FileInfo.h"
#include "files/LogFile.h"
#include "support/PeBuilder.h"
#include "support/TestUtil.h"

namespace {

CString W(const std::string& s) { return CString(s.c_str()); }

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
    EXPECT_EQ(ja.wLanguage, 0x0411);
    EXPECT_EQ(ja.wCodePage, 0x04B0);
    EXPECT_EQ(ja.strCompanyName, CString(L"オルヴァナ"));
    EXPECT_EQ(ja.strFileDescription, CString(L"Camera control"));
    EXPECT_EQ(ja.strFileVersion, CString(L"3.1.4.1"));
    EXPECT_EQ(ja.strInternalName, CString(L"zentacam"));
    EXPECT_EQ(ja.strLegalCopyright, CString(L"(C) 2024"));
    EXPECT_EQ(ja.strOriginalFilename, CString(L"zentacam.exe"));
    EXPECT_EQ(ja.strProductName, CString(L"Zentacam \U0001F52D"));  // a surrogate pair joined
    EXPECT_EQ(ja.strProductVersion, CString(L"3.1"));
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

class HomeGuard {
public:
    HomeGuard() {
        for (const char* n : {"HOME", "XDG_CONFIG_HOME", "XDG_DESKTOP_DIR", "TZ"}) {
            const char* v = getenv(n);
            m_saved.push_back({n, v ? v : "", v != nullptr});
        }
    }
    ~HomeGuard() {
        for (const auto& s : m_saved) s.had ? setenv(s.name, s.value.c_str(), 1) : unsetenv(s.name);
        tzset();
    }

private:
    struct Saved {
        const char* name;
        std::string value;
        bool had;
    };
    std::vector<Saved> m_saved;
};

TEST(CCommonLogFile, AppendsAfterATimeStampLine) {
    HomeGuard guard;
    TempDir dir;
    setenv("HOME", dir.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.File("cfg").c_str(), 1);
    unsetenv("XDG_DESKTOP_DIR");
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

TEST(CCommonLogFile, NoDesktopMeansNothingWritten) {
    HomeGuard guard;
    TempDir dir;
    setenv("HOME", dir.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.File("cfg").c_str(), 1);
    unsetenv("XDG_DESKTOP_DIR");
    CCommonLogFile log(CTime(1700000000LL));  // the desktop folder is missing and not created
    log.WriteString(L"lost");
    struct stat st;
    EXPECT_NE(stat(dir.File("Desktop").c_str(), &st), 0);
    // An invalid time throws, as formatting it does.
    mkdir(dir.File("Desktop").c_str(), 0755);
    try {
        CCommonLogFile bad(CTime(-1));
        FAIL() << "no exception";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
}

}  // namespace
