// SPDX-License-Identifier: LGPL-3.0-or-later
// The frame: classification, the cache and its keys, the dispatch, and host failures.
#include <gtest/gtest.h>

#include <functional>

#include "support/Accuracy.h"
#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

const std::vector<CString> kCacheQueries = {L"? time.jd",          L"? time.timezone",
                                            L"? location",         L"? location.solar.z",
                                            L"? location.solar.y", L"? location.solar.x"};
const std::vector<CString> kConsBuild = {
    L"? Constellation.Ori.Name", L"? Constellation.Ori.Abbreviation", L"? View.Projection",
    L"? Constellation.Ori.position.RA", L"? Constellation.Ori.position.DEC"};
const std::vector<CString> kMeasure = {L"? Measure.Visible"};
const wchar_t* const kConsFull = L"オリオン Ori\r\n赤経 05h30m00.0s  赤緯 +05ﾟ00'00\" (J2000)\r\n";

class Frame : public ::testing::Test {
protected:
    CCdStatus status;
    FakeHost host{{L"? time.jd", L"2461015.5"},
                  {L"? time.timezone", L"9"},
                  {L"? location", L"Location(\"Tokyo\", 139.7, 35.7)"},
                  {L"? location.solar.x", L"0.17"},
                  {L"? location.solar.y", L"-0.9"},
                  {L"? location.solar.z", L"-0.39"}};
    ClickDataProbe cd{status};
    Frame() { AnswerOrion(host); }

    // The full text while the host fails on query: the host's exception must come through.
    void ExpectHostFailure(const wchar_t* query) {
        SCOPED_TRACE(CString(query).ToUtf8());
        host.Fail(query);
        ExpectThrows<COleDispatchException>([&] { cd.GetText(&host, L"Constellation.Ori", 0); });
        host.ClearFailures();
        host.ClearLog();
    }
};

TEST_F(Frame, KindsInTheTypeTableAndCommentsExceptForUncataloguedStars) {
    // Comments, except for uncatalogued stars; an unknown kind counts as a star.
    const std::pair<const wchar_t*, int> kComments[] = {
        {L"", 0},           {L"Star.HIP.27989", 1}, {L"Star.NOMAD.1", 0},
        {L"star.xno.2", 0}, {L"Solar.NO.x", 1},     {L"Comet.NOx", 0}};
    for (const auto& c : kComments)
        EXPECT_EQ(cd.IsCommentEnable(&host, c.first), c.second) << CString(c.first).ToUtf8();
    const struct {
        const wchar_t* path;
        int type;
    } kCases[] = {
        {L"Star.HIP.1", 0},          {L"Constellation.Ori", 1},     {L"Equatorial", 2},
        {L"Solar.Planet.Mars", 3},   {L"DeepSkyObject.M.31", 4},    {L"deepsky.NGC.224", 4},
        {L"MagellanicCloud.LMC", 5}, {L"ArtificialSatellite.1", 6}, {L"DeepSkyImage.M42", 7},
        {L"Meteor.Leonids", 8},      {L"Adf.MyCat.1", 10},          {L"FieldOfViewCircle.1", 11},
        {L"AngleOfView.1", 12},      {L"MosaicOfField.1", 13},      {L"STAR(1, 2).x", 0},
    };
    for (const auto& c : kCases) {
        host.Answer(L"? ClickData.Object", c.path);
        CStkString out;
        EXPECT_EQ(cd.GetType(&host, &out, L"? ClickData.Object"), c.type)
            << CString(c.path).ToUtf8();
        EXPECT_EQ(out, CString(c.path));
    }
    EXPECT_EQ(cd.Type(), CZntClickData::TYPE_NONE);  // GetType leaves the frame's type alone
    host.ClearLog();
    host.Answer(L"? ClickData.Object", L"");
    CStkString out = L"kept";
    EXPECT_EQ(cd.GetType(&host, &out, L"? ClickData.Object"), -1);
    EXPECT_EQ(out, CString(L"kept"));
    host.Answer(L"? ClickData.Object", L"Comet.Halley");
    EXPECT_EQ(cd.GetType(&host, &out, L"? ClickData.Object"), -1);
    host.Answer(L"? AdfSystem.#7.File", L"c.adf");
    host.Answer(L"? AdfSystem.#7.ObjectName", L"comet");
    EXPECT_EQ(cd.GetType(&host, &out, L"? ClickData.Object"), CZntClickData::TYPE_ADFSYSTEM);
}

TEST_F(Frame, EveryKindReachesItsBuilder) {
    ASSERT_TRUE(host.LoadTableFile(ZCMCOM_TEST_DATA "/clickdata/frame_kinds_host.txt"));
    for (const auto& f : DataFields("clickdata/frame_kinds.txt", 2))
        EXPECT_EQ(cd.GetText(&host, W(f[0]), 1), W(f[1])) << f[0];
}

TEST_F(Frame, EmptyPathOrUnknownKindGivesNoTextAndClearsTheCache) {
    EXPECT_EQ(cd.GetText(&host, L"Constellation.Ori", 0), kConsFull);
    host.ClearLog();
    EXPECT_TRUE(TextAndQueries(cd.GetText(&host, L"", 0), L"", host, {}));
    EXPECT_TRUE(TextAndQueries(cd.GetText(&host, L"Constellation.Ori", 0), kConsFull, host,
                               kConsBuild + kCacheQueries + kMeasure));
    EXPECT_TRUE(
        TextAndQueries(cd.GetText(&host, L"Comet.Halley", 0), L"", host, AdfFileQueries({})));
    EXPECT_TRUE(
        TextAndQueries(cd.GetText(&host, L"Constellation.Ori", 1), L"オリオン Ori", host,
                       Ask(L"Constellation.Ori", {L".Name", L".Abbreviation"}) + kCacheQueries));
}

TEST_F(Frame, SecondCallsOnlyAskTheCacheKeysAndEachTextHasItsSlot) {
    cd.GetText(&host, L"Constellation.Ori", 0);
    host.ClearLog();
    EXPECT_TRUE(
        TextAndQueries(cd.GetText(&host, L"Constellation.Ori", 0), kConsFull, host, kCacheQueries));
    // Keys other than the solar position compare without regard to case.
    host.Answer(L"? location", L"LOCATION(\"TOKYO\", 139.7, 35.7)");
    EXPECT_TRUE(
        TextAndQueries(cd.GetText(&host, L"Constellation.Ori", 0), kConsFull, host, kCacheQueries));
    // The full and the compact texts have slots of their own.
    EXPECT_TRUE(TextAndQueries(
        cd.GetText(&host, L"Constellation.Ori", 1), L"オリオン Ori", host,
        kCacheQueries + Ask(L"Constellation.Ori", {L".Name", L".Abbreviation"}) + kCacheQueries));
    EXPECT_TRUE(
        TextAndQueries(cd.GetText(&host, L"Constellation.Ori", 0), kConsFull, host, kCacheQueries));
    EXPECT_TRUE(TextAndQueries(cd.GetText(&host, L"Constellation.Ori", 1), L"オリオン Ori", host,
                               kCacheQueries));
}

// A point of the bare sky changes with the click, not with the cache's keys: never cached.
TEST_F(Frame, SkyPointTextsAreNeverCachedAndNeedTheConstellationSwitch) {
    status.CnsInfo = TRUE;
    host.Answer(L"? Equatorial.Position.Constellation", L"Ori");
    EXPECT_EQ(cd.GetText(&host, L"Equatorial", 1), CString(L"オリオン Ori"));
    host.Answer(L"? Equatorial.Position.Constellation", L"Tau");
    host.Answer(L"? Constellation.Tau.Name", L"おうし");
    host.Answer(L"? Constellation.Tau.Abbreviation", L"Tau");
    EXPECT_EQ(cd.GetText(&host, L"Equatorial", 1), CString(L"おうし Tau"));
    host.Answer(L"? Measure.Visible", L"TRUE");
    host.Answer(L"? Measure.Connecting", L"TRUE");
    status.CnsInfo = 0;
    EXPECT_EQ(cd.GetText(&host, L"Equatorial", 1), L"");
    cd.ClearCache();
    const CString full = cd.GetText(&host, L"Equatorial", 0);
    EXPECT_EQ(full.Left(4), CString(L"赤経差 "));
    EXPECT_EQ(full.Find(L"(J2000)"), -1);
}

TEST_F(Frame, EachKeyInvalidatesTheCache) {
    const struct {
        const wchar_t* query;
        const wchar_t* answer;
        size_t asked;  // cache queries asked before the mismatch shows
    } kKeys[] = {
        {L"? time.jd", L"2461015.6", 1},
        {L"? time.timezone", L"0", 2},
        {L"? location", L"Location(\"Sapporo\", 141.3, 43.1)", 3},
        {L"? location.solar.z", L"-0.38", 6},
        {L"? location.solar.x", L"0.18", 6},
    };
    for (const auto& key : kKeys) {
        cd.GetText(&host, L"Constellation.Ori", 0);
        host.ClearLog();
        host.Answer(key.query, key.answer);
        const std::vector<CString> asked(kCacheQueries.begin(), kCacheQueries.begin() + key.asked);
        EXPECT_TRUE(TextAndQueries(cd.GetText(&host, L"Constellation.Ori", 0), kConsFull, host,
                                   asked + kConsBuild + kCacheQueries + kMeasure))
            << CString(key.query).ToUtf8();
    }
    // The solar position compares exactly.
    cd.GetText(&host, L"Constellation.Ori", 0);
    host.Answer(L"? location.solar.y", L"-0.90");
    host.ClearLog();
    cd.GetText(&host, L"Constellation.Ori", 0);
    EXPECT_EQ(host.QueryCount(), 6 + 5 + 6 + 1);
    // Another object: no host query before the rebuild.
    host.ClearLog();
    host.Answer(L"? Constellation.Tau.Name", L"おうし");
    host.Answer(L"? Constellation.Tau.Abbreviation", L"Tau");
    EXPECT_EQ(cd.GetText(&host, L"Constellation.Tau", 1), L"おうし Tau");
    EXPECT_EQ(host.Queries().front(), CString(L"? Constellation.Tau.Name"));
}

TEST_F(Frame, ClearCacheAndOriginNorthForceARebuild) {
    cd.GetText(&host, L"Constellation.Ori", 0);
    for (const auto& invalidate : {std::function<void()>([&] { cd.ClearCache(); }),
                                   std::function<void()>([&] { cd.SetOriginNorth(1); })}) {
        invalidate();
        host.ClearLog();
        cd.GetText(&host, L"Constellation.Ori", 0);
        EXPECT_EQ(host.QueryCount(), 5 + 6 + 1);
    }
    // Status and option setters keep the cache: the caller clears it.
    cd.SetExtraOption(1);
    cd.SetNotEarth(1);
    host.ClearLog();
    cd.GetText(&host, L"Constellation.Ori", 0);
    EXPECT_EQ(host.QueryCount(), 6);
}

TEST_F(Frame, TextsOfFramesAreNeverReused) {
    host.Answer(L"? Measure.Visible", L"TRUE");
    host.Answer(L"? Measure.Connecting", L"TRUE");
    for (const wchar_t* path :
         {L"AngleOfView.Main", L"mosaicoffield.1", L"FieldOfViewCircle.2", L"Star.XNO.123"}) {
        host.ClearLog();
        const CString first = cd.GetText(&host, path, 0);
        const int built = host.QueryCount();
        host.ClearLog();
        const CString text = cd.GetText(&host, path, 0);
        EXPECT_EQ(text, first);
        EXPECT_NE(text.Find(L"赤経差 "), -1);
        // Rebuilt at once, with no key comparison: as many queries as the first time.
        EXPECT_EQ(host.QueryCount(), built) << CString(path).ToUtf8();
    }
}

TEST_F(Frame, HostFailurePassesThroughLeavesNoKeyAndTheNextCallAsksAgain) {
    // Before anything is cached: no key is left.
    ExpectHostFailure(L"? time.jd");
    EXPECT_TRUE(TextAndQueries(cd.GetText(&host, L"Constellation.Ori", 0), kConsFull, host,
                               kConsBuild + kCacheQueries + kMeasure));
    // Fails in the builder, in the cache key, and in the measuring line.
    cd.ClearCache();
    for (const wchar_t* failing :
         {L"? Constellation.Ori.Abbreviation", L"? location.solar.y", L"? Measure.Visible"}) {
        cd.GetText(&host, L"Constellation.Ori", 1);  // cached compact text, empty full slot
        ExpectHostFailure(failing);
        EXPECT_TRUE(
            TextAndQueries(cd.GetText(&host, L"Constellation.Ori", 1), L"オリオン Ori", host,
                           Ask(L"Constellation.Ori", {L".Name", L".Abbreviation"}) + kCacheQueries))
            << CString(failing).ToUtf8();
    }
}

TEST_F(Frame, OddPathsAndAnswers) {
    // A 10 000-character star path, a path of 50 dots, a huge kind.
    const CString longStar = L"Star." + CString(L'x', 9995);
    EXPECT_EQ(cd.GetText(&host, longStar, 0),
              L"恒星 () \r\n赤経 00h00m00.00s  赤緯 +00ﾟ00'00.0\" (J2000)\r\n");
    EXPECT_EQ(cd.Type(), CZntClickData::TYPE_STAR);
    EXPECT_EQ(cd.GetText(&host, CString(L'.', 50), 0), L"");
    EXPECT_EQ(cd.GetText(&host, L"Constellation" + CString(L'.', 50), 1), L" ");
    EXPECT_EQ(cd.GetText(&host, CString(L'K', 10000) + L".x", 0), L"");
    EXPECT_EQ(cd.IsCommentEnable(&host, CString(L'.', 50)), 1);
    // Without a host or settings nothing crashes.
    CZntClickData bare;
    EXPECT_EQ(bare.GetText(nullptr, L"Constellation.Ori", 0),
              L" \r\n赤経 00h00m00.0s  赤緯 +00ﾟ00'00\" (J2000)\r\n");
    CStkString out;
    EXPECT_EQ(bare.GetType(nullptr, &out, L"? x"), -1);
}

}  // namespace
