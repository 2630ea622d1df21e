// SPDX-License-Identifier: LGPL-3.0-or-later
// Deep-sky objects in both layouts, the Magellanic Clouds and deep-sky photographs.
#include <gtest/gtest.h>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

const wchar_t* const kPosition2 = L"赤経 05h15m00.0s  赤緯 -69ﾟ30'00\" (J2000)\r\n";

class DeepSky : public ClickDataTest {
protected:
    void Object(const CString& path, int type,
                std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> answers) {
        ClickDataTest::Object(path, type, {{L".position.RA", L"5.25"}, {L".position.DEC", L"-69.5"}});
        AnswerObject(host, path, answers);
    }
};

const std::vector<CString> PgcQueries(const CString& path) {
    return Ask(path, {L".Vhelio", L".AliasName", L".Type", L".PA", L".LogD25", L".LogR25", L".BT"});
}

TEST_F(DeepSky, PgcGalaxy) {
    const CString path = L"DeepSkyObject.PGC2557";
    Object(path, CZntClickData::TYPE_DEEPSKY,
           {{L".Vhelio", L"-300"}, {L".AliasName", L"M31   "}, {L".Type", L"Sb  "}, {L".PA", L"35"},
            {L".LogD25", L"3.25"}, {L".LogR25", L"*"}, {L".BT", L"4.36"}});
    status.DispMag = status.PgcDetails = 1;
    EXPECT_TRUE(TextAndQueries(cd.GetTextDeepSky(&host, 0),
                               CString(L"PGC2557 (M31)\r\n光度 4.36等 長径 3.25'\r\n") + kPosition2 +
                                   L"長径の位置角 35度\r\nハッブル分類 Sb\r\n日心視線速度 -300(km/s)\r\n",
                               host, PgcQueries(path) + J2000Queries(path)));

    // No alias, no magnitude or diameters: no parentheses and no empty line. A "*" keeps a
    // detail out; an empty angle or velocity still prints.
    AnswerObject(host, path,
                 {{L".AliasName", L"  "}, {L".BT", L""}, {L".LogD25", L"*"}, {L".LogR25", L""},
                  {L".PA", L""}, {L".Type", L"*"}, {L".Vhelio", L""}});
    EXPECT_EQ(cd.GetTextDeepSky(&host, 0),
              CString(L"PGC2557\r\n") + kPosition2 + L"長径の位置角 0度\r\n日心視線速度 (km/s)\r\n");
    AnswerObject(host, path, {{L".PA", L"*"}, {L".Vhelio", L"*"}, {L".LogR25", L"1.5"}});
    EXPECT_EQ(cd.GetTextDeepSky(&host, 0), CString(L"PGC2557\r\n短径 1.50'\r\n") + kPosition2);
}

TEST_F(DeepSky, WhichPathsArePgcGalaxies) {
    // The number is what follows the first 17 characters; a bare prefix has none.
    for (const auto& c : {std::make_pair(L"deepskyobject.pgc", L"PGC"),
                          std::make_pair(L"DEEPSKYOBJECT.Pgc12.x", L"PGC12.x"),
                          std::make_pair(L"DeepSkyObject(PGC", L"PGC")}) {
        cd.SetObject(c.first, CZntClickData::TYPE_DEEPSKY);
        EXPECT_TRUE(TextAndQueries(cd.GetTextDeepSky(&host, 1), c.second, host, PgcQueries(c.first)))
            << CString(c.first).ToUtf8();
    }
    // Another kind, or another catalogue: the general layout.
    for (const wchar_t* path : {L"DeepSky.PGC1", L"DeepSkyObject.PG1", L"DeepSkyObject"}) {
        cd.SetObject(path, CZntClickData::TYPE_DEEPSKY);
        EXPECT_EQ(cd.GetTextDeepSky(&host, 1), L" ") << CString(path).ToUtf8();
    }
}

TEST_F(DeepSky, GeneralLayout) {
    const CString path = L"DeepSkyObject.M.31";
    Object(path, CZntClickData::TYPE_DEEPSKY,
           {{L".CatalogNumber", L"M    31"},
            {L".SubCatalogNumber.Strings", L"M 31, NGC  224, UGC 454"},
            {L".Type.Name", L"渦巻銀河"},
            {L".Name", L"アンドロメダ銀河"},
            {L".Magnitude", L"3.44"},
            {L".Size", L"190'x60'"}});
    status.DispMag = 1;
    EXPECT_TRUE(TextAndQueries(cd.GetTextDeepSky(&host, 0),
                               CString(L"アンドロメダ銀河 M 31 (NGC 224, UGC 454) 渦巻銀河\r\n光度  3.4等 視直径 190'x60'\r\n") +
                                   kPosition2,
                               host,
                               Ask(path, {L".CatalogNumber", L".SubCatalogNumber.Strings", L".Type.Name", L".Name",
                                          L".Magnitude", L".Size"}) + J2000Queries(path)));

    const struct {
        const wchar_t* catalogue;
        const wchar_t* others;
        const wchar_t* typeName;
        const wchar_t* name;
        const wchar_t* line;
    } kCases[] = {
        // The list held only the designation itself: no parentheses.
        {L"M 31", L"M 31", L"渦巻銀河", L"", L"M 31 渦巻銀河"},
        // No type name: the line ends in a blank.
        {L"NGC 7000", L"", L"", L"", L"NGC 7000 "},
        // A designation in the middle of the list leaves ", ," behind, which closes up.
        {L"M 42", L"NGC 1976, M 42, LBN 974 ", L"散光星雲", L"オリオン大星雲",
         L"オリオン大星雲 M 42 (NGC 1976, LBN 974) 散光星雲"},
        // No designation: nothing is taken out of the list.
        {L"", L", IC 434,", L"暗黒星雲", L"", L" (IC 434) 暗黒星雲"},
    };
    for (const auto& c : kCases) {
        AnswerObject(host, path, {{L".CatalogNumber", c.catalogue}, {L".SubCatalogNumber.Strings", c.others},
                                  {L".Type.Name", c.typeName}, {L".Name", c.name}});
        EXPECT_EQ(cd.GetTextDeepSky(&host, 1), c.line) << CString(c.catalogue).ToUtf8();
    }

    // Magnitude and size: "*" leaves its piece out; an empty magnitude prints 0.0.
    AnswerObject(host, path, {{L".Magnitude", L"*"}, {L".Size", L"*"}});
    EXPECT_EQ(cd.GetTextDeepSky(&host, 0), CString(L" (IC 434) 暗黒星雲\r\n") + kPosition2);
    host.Answer(L"? " + path + L".Magnitude", L"");
    EXPECT_EQ(cd.GetTextDeepSky(&host, 0), CString(L" (IC 434) 暗黒星雲\r\n光度  0.0等\r\n") + kPosition2);
    AnswerObject(host, path, {{L".Magnitude", L"*"}, {L".Size", L"5'"}});
    EXPECT_EQ(cd.GetTextDeepSky(&host, 0), CString(L" (IC 434) 暗黒星雲\r\n視直径 5'\r\n") + kPosition2);
}

TEST_F(DeepSky, LongRunsOfBlanks) {
    const CString path = L"DeepSkyObject.X.1";
    Object(path, CZntClickData::TYPE_DEEPSKY, {{L".Type.Name", L"T"}});
    host.Answer(L"? " + path + L".CatalogNumber", L"NGC" + CString(L' ', 100000) + L"1");
    host.Answer(L"? " + path + L".SubCatalogNumber.Strings", CString(L' ', 99999) + L"UGC 2");
    EXPECT_EQ(cd.GetTextDeepSky(&host, 1), L"NGC 1 (UGC 2) T");
}

TEST_F(DeepSky, MagellanicCloud) {
    const CString path = L"MagellanicCloud.Large";
    Object(path, CZntClickData::TYPE_MAGELLAN, {{L".Name", L"大マゼラン雲"}});
    // An empty line closes the text.
    EXPECT_TRUE(TextAndQueries(cd.GetTextMagellan(&host, 0), CString(L"大マゼラン雲\r\n") + kPosition2 + L"\r\n",
                               host, Ask(path, {L".Name"}) + J2000Queries(path)));
    EXPECT_TRUE(TextAndQueries(cd.GetTextMagellan(&host, 1), L"大マゼラン雲", host, Ask(path, {L".Name"})));
}

TEST_F(DeepSky, ImageOnTheChart) {
    const CString path = L"DeepSkyImage.1";
    Object(path, CZntClickData::TYPE_DEEPSKYIMAGE,
           {{L".File", L"C:\\images\\M42_view.bmp"}, {L".Angle.Y", L"1.5"}, {L".Angle.X", L"2.25"},
            {L".Roll", L"-12.5"}});
    EXPECT_TRUE(TextAndQueries(cd.GetTextDeepSkyImage(&host, 0),
                               CString(L"画像 M42\r\n画角 2.250ﾟ × 1.500ﾟ\r\n回転角 -12.500ﾟ\r\n") + kPosition2,
                               host,
                               Ask(path, {L".File", L".Angle.Y", L".Angle.X", L".Roll"}) +
                                   J2000Queries(path)));
    EXPECT_TRUE(TextAndQueries(cd.GetTextDeepSkyImage(&host, 1), L"画像 M42", host, Ask(path, {L".File"})));

    const std::pair<const wchar_t*, const wchar_t*> kNames[] = {
        {L"_view.bmp", L"_view.bmp"},                // the suffix must follow a name
        {L"x_view.bmp", L"x"},
        {L"a_view.bmp_view.bmp", L"a_view.bmp_view.bmp"},  // only the first occurrence counts
        {L"M42_VIEW.BMP", L"M42_VIEW.BMP"},          // case counts
        {L"D:\\a\\b\\", L""},
        {L"/home/user/images/M8_view.bmp", L"M8"},   // a Linux path
        {L"", L""},
    };
    for (const auto& n : kNames) {
        host.Answer(L"? " + path + L".File", n.first);
        EXPECT_EQ(cd.GetTextDeepSkyImage(&host, 1), L"画像 " + CString(n.second)) << CString(n.first).ToUtf8();
    }
    // Angles the host does not know print as zero.
    AnswerObject(host, path, {{L".Angle.X", L"*"}, {L".Angle.Y", L""}, {L".Roll", L"abc"}});
    EXPECT_EQ(cd.GetTextDeepSkyImage(&host, 0), CString(L"画像 \r\n画角 0.000ﾟ × 0.000ﾟ\r\n回転角 0.000ﾟ\r\n") + kPosition2);
}

}  // namespace
