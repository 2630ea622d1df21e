// Constellation, bare-sky and ADF texts, and the recognition of ADF catalogues.
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

TEST_F(ShortTexts, Constellation) {
    cd.SetObject(L"Constellation.Ori", CZntClickData::TYPE_CONSTELLATION);
    EXPECT_TRUE(TextAndQueries(cd.GetTextCons(&host, 0),
                               L"オリオン Ori\r\n赤経 05h30m00.0s  赤緯 +05ﾟ00'00\" (J2000)\r\n", host,
                               Ask(L"Constellation.Ori", {L".Name", L".Abbreviation"}) +
                                   J2000Queries(L"Constellation.Ori")));
    // Compact: the name line alone, without a line end; a missing abbreviation leaves the blank.
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

}  // namespace
