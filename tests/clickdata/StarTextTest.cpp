// SPDX-License-Identifier: LGPL-3.0-or-later
// The parts of the star and deep-sky texts that the golden texts
// (tests/golden/click_texts.txt) do not show: the debug line, GSC object types, distances,
// the cross-identification list, runs of blanks far longer than any catalogue has, and
// star-planet paths through GetText.
#include <gtest/gtest.h>

#include <random>

#include "platform/DebugOutput.h"
#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

using StarText = ClickDataTest;

TEST_F(StarText, GscTypesAndTheObjectPathInTheDebugOutput) {
    cd.SetObject(L"Star.XNO.3", CZntClickData::TYPE_STAR);
    const std::pair<const wchar_t*, const wchar_t*> kCases[] = {
        {L"GALAXY,nonstar,artifact", L"銀河,非恒星状天体,人工天体"},
        {L"Xyz, Star,Galaxy", L"銀河"},  // pieces are not trimmed; unknown words add nothing
        {L",,,", L""},
    };
    for (const auto& c : kCases) {
        host.Answer(L"? Star.XNO.3.Type", c.first);
        EXPECT_TRUE(
            TextAndQueries(cd.GetGscTypeString(&host), c.second, host, {L"? Star.XNO.3.Type"}))
            << CString(c.first).ToUtf8();
    }
    EXPECT_EQ(ClickDataProbe::TranslateGscType(L"blend"), L"ブレンド");
    EXPECT_EQ(ClickDataProbe::TranslateGscType(L"Stars"), L"");
    cd.SetObject(L"Star.HIP.27989", CZntClickData::TYPE_STAR);  // written to the debug output
    std::vector<CString> debug;
    const ZcmDebugOutputHandler old =
        ZcmSetDebugOutputHandler([&](LPCWSTR text) { debug.push_back(text); });
    cd.GetTextStar(&host, 0);
    ZcmSetDebugOutputHandler(old);
    EXPECT_EQ(debug, std::vector<CString>{L"Star.HIP.27989\r\n"});
}

TEST(StarLines, CrossIdsGroupedSortedAndPaddedAndDistanceRoundingSteps) {
    // Pieces without a blank are left out; an empty key sorts first; values are trimmed and
    // their inner white space folded; the column follows the longest key of all pieces.
    EXPECT_EQ(ClickDataProbe::GetCrossIdList(L"GAIA|BD   +07  1055 |  12|TYC 1-2\t\t3|x"),
              L"    12\r\nBD  +07 1055\r\nTYC 1-2 3\r\n");
    EXPECT_EQ(ClickDataProbe::GetCrossIdList(L"|||"), L"");
    EXPECT_EQ(ClickDataProbe::GetCrossIdList(L"HD 1|"), L"HD 1\r\n");
    // Ordinal order of the keys: capitals before small letters.
    EXPECT_EQ(ClickDataProbe::GetCrossIdList(L"b 1|B 2|a 3"), L"B 2\r\na 3\r\nb 1\r\n");
    const std::pair<double, const wchar_t*> kDistances[] = {{994.4, L"994"},
                                                            {995.0, L"1000"},
                                                            {3264.99, L"3260"},
                                                            {3265.0, L"3270"},
                                                            {123456.0, L"1.2e+05"}};
    for (const auto& d : kDistances)
        EXPECT_EQ(ClickDataProbe::GetDistanceString(d.first), d.second) << d.first;
}

TEST(StarCrossIds, LongListsAndLongBlankRuns) {
    // Thousands of pieces.
    CString answer;
    for (int i = 0; i < 5000; ++i) answer.AppendFormat(i ? L"|C%d %d" : L"C%d %d", i % 7, i);
    const CString list = ClickDataProbe::GetCrossIdList(answer);
    EXPECT_EQ(list.Left(10), L"C0 0\r\nC0 7");
    int lines = 0;
    for (int at = list.Find(L"\r\n"); at >= 0; at = list.Find(L"\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, 5000);

    // A run of blanks far longer than the expression matcher's recursion could take.
    const CString huge = L"K a" + CString(L' ', 200000) + CString(L'\t', 1000) + L"b";
    EXPECT_EQ(ClickDataProbe::GetCrossIdList(huge), L"K a b\r\n");

    // Runs of every length at every offset fold the same as a plain scan would.
    std::mt19937 random(7);
    for (int round = 0; round < 60; ++round) {
        std::wstring value = L"v", folded = L"v";
        for (int i = 0, pieces = 1 + static_cast<int>(random() % 20); i < pieces; ++i) {
            const size_t blanks = random() % 600;
            value.append(blanks, random() % 2 ? L' ' : L'\t');
            if (blanks) folded += L' ';
            const size_t xs = 1 + random() % 300;
            value.append(xs, L'x');
            folded.append(xs, L'x');
        }
        ASSERT_EQ(ClickDataProbe::GetCrossIdList(L"K " + CString(value)),
                  L"K " + CString(folded) + L"\r\n")
            << "round " << round;
    }
}

TEST_F(StarText, DeepSkyDesignationsWithLongRunsOfBlanks) {
    const CString path = L"DeepSkyObject.X.1";
    Object(path, CZntClickData::TYPE_DEEPSKY, {{L".Type.Name", L"T"}});
    host.Answer(L"? " + path + L".CatalogNumber", L"NGC" + CString(L' ', 100000) + L"1");
    host.Answer(L"? " + path + L".SubCatalogNumber.Strings", CString(L' ', 99999) + L"UGC 2");
    EXPECT_EQ(cd.GetTextDeepSky(&host, 1), L"NGC 1 (UGC 2) T");
}

// Through GetText: a star-planet path is answered by the exoplanet builder under its
// rewritten name.
TEST_F(StarText, StarPlanetPathsAreRewritten) {
    const CString rewritten = L"star.ExtraSolarPlanet.HD209458b";
    host.Answer(L"? " + rewritten + L".Name", L"HD 209458 b");
    host.Answer(L"? time.jd", L"2461015.5");
    const std::vector<CString> cacheKey = {L"? time.jd",          L"? time.timezone",
                                           L"? location",         L"? location.solar.z",
                                           L"? location.solar.y", L"? location.solar.x"};
    const CString text = cd.GetText(&host, L"Star.HD209458.planet.b", 0);
    EXPECT_TRUE(TextAndQueries(
        text,
        L"系外惑星 HD 209458 b\r\n赤経 00h00m00.00s  赤緯 +00ﾟ00'00.0\" (J2000)\r\n公転周期 日\r\n"
        L"軌道長半径 au\r\n離心率 \r\n",
        host,
        Ask(rewritten, {L".Name"}) + J2000Queries(rewritten) +
            Ask(rewritten, {L".OrbitalPeriod", L".SemiMajorAxis", L".eccentricity"}) + cacheKey +
            std::vector<CString>{L"? Measure.Visible"}));
    // The cache is keyed by the path the caller gave.
    EXPECT_TRUE(
        TextAndQueries(cd.GetText(&host, L"Star.HD209458.planet.b", 0), text, host, cacheKey));
    EXPECT_EQ(cd.Type(), CZntClickData::TYPE_STAR);
    // The object stays the caller's path, whether the text was built or cached.
    EXPECT_EQ(cd.GetDBSearchString(&host), L"Star.HD209458.planet.b");
    cd.ClearCache();
    cd.GetText(&host, L"Star.HD209458.planet.b", 0);
    EXPECT_EQ(cd.GetDBSearchString(&host), L"Star.HD209458.planet.b");
    EXPECT_EQ(cd.GetText(&host, L"Star.HD209458.Planet.b", 1), L"系外惑星 HD 209458 b");
}

}  // namespace
