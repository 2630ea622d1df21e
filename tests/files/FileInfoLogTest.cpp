// SPDX-License-Identifier: LGPL-3.0-or-later
// CFileInfo on built PE files, good and damaged; CCommonLogFile's time stamp line.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

#include "files/FileInfo.h"
#include "files/LogFile.h"
#include "support/PeBuilder.h"
#include "support/TestUtil.h"

namespace {

const std::vector<PeLanguage> kLanguages = {
    {0x0411,
     0x04B0,
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

int InfoOf(const TempDir& dir, const std::string& bytes, tagFileInfo* info) {
    WriteFileBytes(dir.File("app.dll"), bytes);
    return CFileInfo::GetFileInfo(W(dir.File("app.dll")), info);
}

TEST(CFileInfo, VersionRecordsOfAPeFileAndZeroForDamagedOnes) {
    TempDir dir;
    tagFileInfo info;
    ASSERT_EQ(InfoOf(dir, BuildPe(BuildVersionInfo(kLanguages)), &info), 1);
    EXPECT_EQ(info.strFileName, CString(L"app.dll"));
    ASSERT_EQ(info.aVersion.GetSize(), 2);
    const tagFileVersion& ja = info.aVersion[0];
    EXPECT_EQ(std::make_pair(ja.wLanguage, ja.wCodePage),
              std::make_pair(WORD(0x0411), WORD(0x04B0)));
    // In the order of the table above; the product name joins a surrogate pair.
    const CString got[] = {ja.strCompanyName,  ja.strFileDescription, ja.strFileVersion,
                           ja.strInternalName, ja.strLegalCopyright,  ja.strOriginalFilename,
                           ja.strProductName,  ja.strProductVersion};
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(got[i].ToUtf8(), kLanguages[0].strings[i].second)
            << kLanguages[0].strings[i].first;
    // Strings not in the block stay empty.
    EXPECT_EQ(info.aVersion[1].strCompanyName + L"|" + info.aVersion[1].strProductName,
              CString(L"Orvana|"));
    // No version resource: 0, but the status is read first.
    EXPECT_EQ((std::tuple{CFileInfo::GetFileInfo(W(dir.File("none")), &info),
                          InfoOf(dir, "just text", nullptr), InfoOf(dir, "just text", &info),
                          info.ullSize}),
              (std::tuple{0, 0, 0, 9ull}));
    // Damaged files give 0 without crashing.
    const std::string good = BuildPe(BuildVersionInfo(kLanguages));
    const struct {
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
        EXPECT_EQ(InfoOf(dir, bytes, &info), 0) << d.name;
    }
    // Counts far beyond the section, and no version type among the real entries.
    std::string many = good;
    PutU32(many, kPeResourceStart + 12, 0xFFFFFFFFu);
    PutU32(many, kPeLevel1Entry, 99);
    EXPECT_EQ(InfoOf(dir, many, &info), 0);
    for (size_t cut : {size_t(2), size_t(0x40), size_t(0x150), size_t(0x210), good.size() / 2})
        EXPECT_EQ(InfoOf(dir, good.substr(0, cut), &info), 0) << cut;
    // A version block whose nodes claim impossible lengths: readable, strings empty.
    std::string vi = BuildVersionInfo(kLanguages);
    vi[0x5C] = '\x02';  // the first child's length below its header
    vi[0x5D] = '\0';
    EXPECT_EQ(InfoOf(dir, BuildPe(vi), &info), 1);
}

TEST(CCommonLogFile, AppendsAfterATimeStampLineOnlyOnAnExistingDesktop) {
    EnvGuard guard{"HOME", "XDG_CONFIG_HOME", "XDG_DESKTOP_DIR", "TZ"};
    TempDir dir;
    setenv("HOME", dir.path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", dir.File("cfg").c_str(), 1);
    unsetenv("XDG_DESKTOP_DIR");
    setenv("TZ", "JST-9", 1);
    tzset();
    CCommonLogFile(CTime(1700000000LL))
        .WriteString(L"lost");  // the desktop is missing and not created
    struct stat st;
    EXPECT_NE(stat(dir.File("Desktop").c_str(), &st), 0);
    mkdir(dir.File("Desktop").c_str(), 0755);
    EXPECT_EQ(CCommonLogFile::GetLogPath(), W(dir.File("Desktop/zcam_a.log")));
    CCommonLogFile(CTime(1700000000LL))
        .WriteString(L"接続しました\n");  // 2023-11-15 07:13:20 in Japan
    CCommonLogFile(CTime(1700000060LL)).WriteString(L"second");
    // Text mode, Shift-JIS, appended.
    EXPECT_EQ(ReadFileBytes(dir.File("Desktop/zcam_a.log")),
              "2023/11/15 07:13:20\r\n\x90\xda\x91\xb1\x82\xb5\x82\xdc\x82\xb5\x82\xbd\r\n"
              "2023/11/15 07:14:20\r\nsecond");
    // An invalid time throws, as formatting it does.
    ExpectThrows<CInvalidArgException>([] { CCommonLogFile bad(CTime(-1)); });
}

}  // namespace
