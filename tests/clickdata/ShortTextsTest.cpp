// SPDX-License-Identifier: LGPL-3.0-or-later
// Constellation, bare-sky and ADF texts, the recognition of ADF catalogues, and the
// camera field frames: angle of view, mosaic and field-of-view circle.
#include <gtest/gtest.h>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

class ShortTexts : public ::testing::Test {
protected:
    CCdStatus status;
    FakeHost host{{L"? Equatorial.Position.Constellation", L"Ori"},
                  {L"? Equatorial.position.RA", L"5.75"},
                  {L"? Equatorial.position.DEC", L"7.25"},
                  {L"? MyCat.A1.Name", L"A1"},
                  {L"? MyCat.A1.Title", L"二重星団"}};
    ClickDataProbe cd{status};
    ShortTexts() { AnswerOrion(host); }
};

TEST_F(ShortTexts, ConstellationWithoutAnAbbreviation) {
    // The full text and its queries are checked through GetText by the frame's tests.
    cd.SetObject(L"Constellation.Ori", CZntClickData::TYPE_CONSTELLATION);
    host.Answer(L"? Constellation.Ori.Abbreviation", L"");
    EXPECT_TRUE(TextAndQueries(cd.GetTextCons(&host, 1), L"オリオン ", host,
                               Ask(L"Constellation.Ori", {L".Name", L".Abbreviation"})));
}

TEST_F(ShortTexts, BareSkyNamesTheConstellationOfThePoint) {
    cd.SetObject(L"Equatorial", CZntClickData::TYPE_EQUATORIAL);
    EXPECT_TRUE(TextAndQueries(cd.GetTextEqt(&host, 0),
                               L"オリオン Ori\r\n赤経 05h45m00.0s  赤緯 +07ﾟ15'00\" (J2000)\r\n", host,
                               std::vector<CString>{L"? Equatorial.Position.Constellation",
                                                    L"? Constellation.Ori.Name",
                                                    L"? Constellation.Ori.Abbreviation"} +
                                   J2000Queries(L"Equatorial")));
}

TEST_F(ShortTexts, AdfObject) {
    cd.SetObject(L"MyCat.A1", CZntClickData::TYPE_ADFSYSTEM);
    EXPECT_TRUE(TextAndQueries(cd.GetTextAdf(&host, 1), L"A1 二重星団", host,
                               Ask(L"MyCat.A1", {L".Name", L".Title"})));
}

TEST_F(ShortTexts, AdfCatalogueListIsReadOnce) {
    AnswerObject(host, L"AdfSystem.#", {{L"1.File", L"c:\\adf\\mycat.adf"}, {L"1.ObjectName", L"MyCat"},
                                       {L"3.File", L"other.adf"}, {L"3.ObjectName", L"Other"}});
    EXPECT_EQ(cd.IsAdfsystem(&host, L"NoDot"), 0);
    EXPECT_TRUE(QueriesAre(host, {}));
    EXPECT_EQ(cd.IsAdfsystem(&host, L"mycat.A1"), 1);
    EXPECT_TRUE(QueriesAre(host, AdfFileQueries({1, 3})));
    EXPECT_EQ(cd.IsAdfsystem(&host, L"OTHER.x.y"), 1);
    EXPECT_EQ(cd.IsAdfsystem(&host, L"Third.x"), 0);
    EXPECT_TRUE(QueriesAre(host, {}));
    cd.ClearCache();  // the list outlives the cache
    EXPECT_EQ(cd.IsAdfsystem(&host, L"MyCat.B2"), 1);
    EXPECT_TRUE(QueriesAre(host, {}));
}

TEST_F(ShortTexts, AdfListIsKeptWholeOrNotAtAll) {
    host.Answer(L"? AdfSystem.#1.File", L"a.adf");
    host.Answer(L"? AdfSystem.#1.ObjectName", L"MyCat");
    host.Fail(L"? AdfSystem.#2.File");
    try {
        cd.IsAdfsystem(&host, L"MyCat.A1");
        FAIL() << "the host failure did not pass through";
    } catch (COleDispatchException* e) {
        e->Delete();
    }
    EXPECT_EQ(cd.AdfKinds().GetSize(), 0);
    host.ClearFailures();
    host.ClearLog();
    EXPECT_EQ(cd.IsAdfsystem(&host, L"MyCat.A1"), 1);
    EXPECT_TRUE(QueriesAre(host, AdfFileQueries({1})));
}

using FieldFrames = ClickDataTest;

TEST_F(FieldFrames, AngleOfView) {
    const CString frame = L"AngleOfView.Frame1";
    cd.SetObject(frame, CZntClickData::TYPE_ANGLEOFVIEW);
    AnswerObject(host, frame,
                 {{L".FocalLength", L"400"}, {L".HorizontalSize", L"23.5"}, {L".VerticalSize", L"15.6"},
                  {L".Name", L"フレーム1"}, {L".Camera", L"none"}, {L".Guider.HorizontalSize", L"4.8"},
                  {L".Guider.VerticalSize", L"3.6"}, {L".Guider.Distance", L"15"}, {L".Roll", L"-10"}});
    const std::vector<CString> head =
        Ask(frame, {L".FocalLength", L".HorizontalSize", L".VerticalSize", L".Name", L".Camera"});
    EXPECT_TRUE(TextAndQueries(cd.GetTextAngleOfField(&host, 0),
                               CString(L"フレーム1 カスタム (3.37ﾟ×2.23ﾟ)\r\n") + kNoPosition +
                                   L"焦点距離 400.0 mm 撮像エリア 23.5 × 15.6 mm\r\n"
                                   L"ガイドエリア 4.8 × 3.6 mm チップ間隔 15.0 mm\r\n回転角 350.0 度\r\n",
                               host,
                               head + J2000Queries(frame) +
                                   Ask(frame, {L".Guider.HorizontalSize", L".Guider.VerticalSize",
                                               L".Guider.Distance", L".Roll"})));

    // No guide sensor; a focal length of 0 gives right angles; a camera by its name.
    AnswerObject(host, frame, {{L".FocalLength", L"0"}, {L".Camera", L"EOS R6"}, {L".Guider.HorizontalSize", L"0"}});
    EXPECT_TRUE(TextAndQueries(cd.GetTextAngleOfField(&host, 0),
                               CString(L"フレーム1 EOS R6 (180.00ﾟ×180.00ﾟ)\r\n") + kNoPosition +
                                   L"焦点距離 0.0 mm 撮像エリア 23.5 × 15.6 mm\r\n回転角 350.0 度\r\n",
                               host, head + J2000Queries(frame) + Ask(frame, {L".Guider.HorizontalSize", L".Roll"})));
}

TEST_F(FieldFrames, Mosaic) {
    const CString path = L"MosaicOfField.3";
    cd.SetObject(path, CZntClickData::TYPE_MOSAICOFFIELD);
    AnswerObject(host, L"MosaicOfField",
                 {{L".Name", L"M31モザイク"}, {L".Camera", L"EOS R6"}, {L".FocalLength", L"300"},
                  {L".HorizontalSize", L"36"}, {L".VerticalSize", L"24"}, {L".Row", L"2"},
                  {L".Column", L"3"}, {L".Coordinate", L"EQUATORIALJ2000"}, {L".Overlap", L"0.155"},
                  {L".Roll", L"370"}});
    const std::vector<CString> head = Ask(L"MosaicOfField", {L".Name", L".Camera", L".FocalLength", L".HorizontalSize",
                                                             L".VerticalSize", L".Row", L".Column"});
    EXPECT_TRUE(TextAndQueries(cd.GetTextMosaicOfField(&host, 0),
                               CString(L"M31モザイク EOS R6  (6.87ﾟ×4.58ﾟ×2×3フレーム, No.3)\r\n") + kNoPosition +
                                   L"焦点距離 300.0 mm 撮像エリア 36.0 × 24.0 mm\r\n重なり 15 %, 赤道座標\r\n回転角 10.0 度\r\n",
                               host,
                               head + J2000Queries(path) + Ask(L"MosaicOfField", {L".Coordinate", L".Overlap", L".Roll"})));

    // The camera "None" is left out; without a frame number the whole path is the base.
    cd.SetObject(L"MosaicOfField", CZntClickData::TYPE_MOSAICOFFIELD);
    host.Answer(L"? MosaicOfField.Camera", L"NONE");
    EXPECT_TRUE(TextAndQueries(cd.GetTextMosaicOfField(&host, 1), L"M31モザイク  (6.87ﾟ×4.58ﾟ×2×3フレーム, No.)", host,
                               head));
    const struct { const wchar_t* coordinate; const wchar_t* overlap; const wchar_t* line; } kCases[] = {
        {L"horizon", L"0.5", L"重なり 50 %, 地平座標"},
        {L"Horizontal", L"0", L"重なり 0 %, スクリーン"},
        {L"Equ", L"-0.109", L"重なり -10 %, スクリーン"},
        {L"", L"1e300", L"重なり 0 %, スクリーン"},
    };
    for (const auto& c : kCases) {
        host.Answer(L"? MosaicOfField.Coordinate", c.coordinate);
        host.Answer(L"? MosaicOfField.Overlap", c.overlap);
        const CString text = cd.GetTextMosaicOfField(&host, 0);
        EXPECT_NE(text.Find(CString(L"\r\n") + c.line + L"\r\n"), -1) << text.ToUtf8();
    }
}

TEST_F(FieldFrames, FieldOfViewCircle) {
    const CString circle = L"FieldOfViewCircle.Telrad";
    cd.SetObject(circle, CZntClickData::TYPE_FIELDOFVIEW);
    AnswerObject(host, circle, {{L".Name", L"テルラド"}, {L".Angle", L"4"}});
    EXPECT_TRUE(TextAndQueries(cd.GetTextFiledOfView(&host, 0), CString(L"テルラド (4.00ﾟ)\r\n") + kNoPosition, host,
                               Ask(circle, {L".Name", L".Angle"}) + J2000Queries(circle)));
}

}  // namespace
