// SPDX-License-Identifier: LGPL-3.0-or-later
// The star texts: every star kind in full and compact form, the detail lines, distances,
// USNO-A2.0 words, GSC object types and the cross-identification list; variable stars,
// double-star components and exoplanets.
#include <gtest/gtest.h>

#include <random>

#include "platform/DebugOutput.h"
#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

const wchar_t* const kPosition3 = L"赤経 06h18m00.00s  赤緯 -20ﾟ30'00.0\" (J2000)\r\n";

class StarText : public ClickDataTest {
protected:
    // A star at 6h18m, -20.5 degrees, with the given answers (suffix, answer).
    void Star(const CString& path, std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> answers) {
        Object(path, CZntClickData::TYPE_STAR, {{L".position.RA", L"6.3"}, {L".position.DEC", L"-20.5"}});
        AnswerObject(host, path, answers);
    }
    // The host's local date: 1995-11-04 09:00 at UT+9 is JD 2450025.5.
    void Today(const wchar_t* day, const wchar_t* hour) {
        AnswerDate(host, {L"1995", L"11", day, hour, L"0", L"0", L"9"});
    }
    // The text after the position block.
    static CString Details(const CString& text) { return text.Mid(text.Find(L"(J2000)\r\n") + 9); }
    CString Details() { return Details(cd.GetTextStar(&host, 0)); }
};

// The queries of a catalogue star's title, in order.
std::vector<CString> TitleQueries(const CString& path) {
    return Ask(path, {L".numberofPlanets", L".FlamsteedNumber", L".BayerLetter",
                      L".Constellation.Abbreviation", L".JapaneseName", L".EnglishName",
                      L".JapaneseSubName", L".EnglishSubName"});
}

TEST_F(StarText, NamedStarInFullWithEveryDetail) {
    const CString path = L"Star.HIP.27989";
    Star(path, {{L".numberofPlanets", L"0"},
                {L".FlamsteedNumber", L"58"}, {L".BayerLetter", L"α"}, {L".Constellation.Abbreviation", L"Ori"},
                {L".JapaneseName", L"ベテルギウス"}, {L".EnglishName", L"Betelgeuse"},
                {L".Constellation.Name", L"オリオン"}, {L".HipparcosNumber", L"27989"}, {L".Magnitude", L"0.45"},
                {L".Propermotion.RA", L"27.54"}, {L".Propermotion.DEC", L"11.3"}, {L".pi", L"6.55"},
                {L".Magnitude.BT", L"2.9"}, {L".Magnitude.VT", L"*"}, {L".Magnitude.BV", L"1.5"},
                {L".SpectralType", L"M1-2Ia-Iab"}, {L".VariableName", L"alf Ori"},
                {L".CrossID", L"HD 39801|SAO 113271|HR 2061|HD 39801A"}});
    status.DispMag = status.StarDetails = 1;
    std::vector<CString> debug;
    const ZcmDebugOutputHandler old =
        ZcmSetDebugOutputHandler([&](LPCWSTR text) { debug.push_back(text); });
    const CString text = cd.GetTextStar(&host, 0);
    ZcmSetDebugOutputHandler(old);
    EXPECT_EQ(debug, std::vector<CString>{L"Star.HIP.27989\r\n"});
    EXPECT_TRUE(TextAndQueries(
        text,
        CString(L"恒星 58αOri (オリオン) ベテルギウス Betelgeuse\r\nHIP27989\r\n光度  0.45等\r\n") + kPosition3 +
            L"固有運動量μαcosδ 27.54 (mas/年)\r\n固有運動量μδ      11.30 (mas/年)\r\n"
            L"年周視差 6.55 (mas)\r\n距離 498 (光年)\r\nBT=2.900 B-V=1.500\r\n"
            L"スペクトル型 M1-2Ia-Iab\r\nGCVS識別名 alf Ori\r\n"
            L"\r\nカタログインデックス\r\nHD  39801\r\nHD  39801A\r\nHR  2061\r\nSAO 113271\r\n\r\n",
        host,
        TitleQueries(path) + Ask(path, {L".Constellation.Name", L".HipparcosNumber", L".Magnitude"}) +
            J2000Queries(path) +
            Ask(path, {L".Propermotion.RA", L".Propermotion.DEC", L".pi", L".Magnitude.BT",
                       L".Magnitude.VT", L".Magnitude.BV", L".SpectralType", L".VariableName",
                       L".CrossID"})));

    // Compact: the title alone, never the HIP number.
    EXPECT_TRUE(TextAndQueries(cd.GetTextStar(&host, 1), L"恒星 58αOri (オリオン) ベテルギウス Betelgeuse",
                               host, TitleQueries(path) + Ask(path, {L".Constellation.Name"})));
}

TEST_F(StarText, NamesSubNamesAndMissingValues) {
    const CString path = L"Star.HIP.1";
    // Only a Japanese sub-name: still a named star; no constellation name, no bracket.
    Star(path, {{L".JapaneseSubName", L"伴星"}, {L".Constellation.Abbreviation", L"Cen"},
                {L".Magnitude", L""}, {L".HipparcosNumber", L"*"}, {L".pi", L"*"}});
    status.DispMag = status.StarDetails = 1;
    EXPECT_EQ(cd.GetTextStar(&host, 0), CString(L"恒星 Cen(伴星) \r\n光度  0.00等\r\n") + kPosition3);
    // A "*" magnitude has no line; the English sub-name goes to the English name.
    AnswerObject(host, path, {{L".Magnitude", L"*"}, {L".JapaneseSubName", L""}, {L".EnglishName", L"Rigil"},
                              {L".EnglishSubName", L"A"}});
    status.StarDetails = 0;
    EXPECT_EQ(cd.GetTextStar(&host, 0), CString(L"恒星 Cen Rigil(A)\r\n") + kPosition3);
}

TEST_F(StarText, UnnamedStar) {
    const CString path = L"Star.HIP.12345";
    Star(path, {{L".Position.Constellation", L"Ori"}, {L".HipparcosNumber", L"12345"}});
    EXPECT_TRUE(TextAndQueries(cd.GetTextStar(&host, 1), L"恒星 (Ori) HIP12345", host,
                               TitleQueries(path) + Ask(path, {L".Position.Constellation", L".HipparcosNumber"})));
    // Full: the empty names leave one blank; the HIP number has a line of its own.
    EXPECT_EQ(cd.GetTextStar(&host, 0), CString(L"恒星 (Ori) \r\nHIP12345\r\n") + kPosition3);
    host.Answer(L"? Star.HIP.12345.HipparcosNumber", L"*");
    EXPECT_EQ(cd.GetTextStar(&host, 1), L"恒星 (Ori)");
}

TEST_F(StarText, StarWithPlanets) {
    // Any catalogue: the planet count decides, also for an extended-catalogue path.
    const CString path = L"Star.xno1234";
    Star(path, {{L".numberofPlanets", L"2"},
                {L".EnglishName", L"51 Peg"}, {L".Magnitude", L"5.49"}, {L".Propermotion.RA", L"*"},
                {L".Propermotion.DEC", L"60.9"}, {L".pi", L"65.1"}, {L".Magnitude.VT", L"4.50"},
                {L".SpectralType", L"G2IV"}});
    status.DispMag = status.StarDetails = 1;
    // The catalogue magnitudes give way to the absolute magnitude.
    EXPECT_EQ(cd.GetTextStar(&host, 0),
              CString(L"惑星のある恒星  51 Peg\r\n光度  5.49等\r\n惑星数 2\r\n") + kPosition3 +
                  L"固有運動量μδ      60.90 (mas/年)\r\n年周視差 65.10 (mas)\r\n距離 50.1 (光年)\r\n"
                  L"M_V=4.5\r\nスペクトル型 G2IV\r\n");
    for (const auto& vt : {std::make_pair(L"5", L"M_V=5\r\n"), std::make_pair(L"*", L""), std::make_pair(L"", L"")}) {
        host.Answer(L"? Star.xno1234.Magnitude.VT", vt.first);
        const CString text = cd.GetTextStar(&host, 0);
        EXPECT_EQ(text.Mid(text.Find(L"(光年)\r\n") + 6), CString(vt.second) + L"スペクトル型 G2IV\r\n")
            << CString(vt.first).ToUtf8();
    }
}

TEST_F(StarText, ExtendedCatalogueStars) {
    status.DispMag = status.StarDetails = 1;
    const CString path = L"Star.XNO.1";
    Star(path, {{L".Id", L"TYC 1234-567-1"},
                {L".Magnitude", L"10.5"}, {L".Magnitude.BT", L"11.25"}, {L".Magnitude.VT", L"10.5"},
                {L".Magnitude.BV", L""}, {L".VariableName", L"V123 Ori"}});
    EXPECT_TRUE(TextAndQueries(
        cd.GetTextStar(&host, 0),
        CString(L"恒星 TYC 1234-567-1\r\n光度 10.50等\r\n") + kPosition3 +
            L"BT=11.250 VT=10.500\r\nGCVS識別名 V123 Ori\r\n",
        host,
        Ask(path, {L".numberofPlanets", L".Id", L".Magnitude"}) + J2000Queries(path) +
            Ask(path, {L".Magnitude.BT", L".Magnitude.VT", L".Magnitude.BV", L".VariableName",
                       L".CrossID"})));
    // GSC: the object types in Japanese instead of the catalogue magnitudes.
    host.Answer(L"? Star.XNO.1.Id", L"GSC 0123 0456");
    host.Answer(L"? Star.XNO.1.Type", L"Star,Blend");
    EXPECT_EQ(Details(), L"天体種別 恒星,ブレンド\r\nGCVS識別名 V123 Ori\r\n");
}

TEST_F(StarText, UsnoWords) {
    // The finest position layout, the packed word decoded; no catalogue magnitudes.
    status.StarDetails = 1;
    Star(L"Star.XNO.2", {{L".Id", L"USNO-A2.0 1"}, {L".Magnitude.BT", L"11.25"}});
    const struct { const wchar_t* word; const wchar_t* lines; } kCases[] = {
        {L"1012123145", L"Bmag=12.3 Rmag=14.5\r\nACTflag=0 Mflag=1 Field=12\r\n"},
        {L"-1012123145", L"Bmag=12.3 Rmag=14.5\r\nACTflag=1 Mflag=1 Field=12\r\n"},
        {L"*", L""},
        {L"abc", L"Bmag=0.0 Rmag=0.0\r\nACTflag=0 Mflag=0 Field=0\r\n"},
        // Beyond 32 bits the word is clamped, and the most negative word keeps its magnitudes.
        {L"99999999999", L"Bmag=48.3 Rmag=64.7\r\nACTflag=0 Mflag=2 Field=147\r\n"},
        {L"-99999999999", L"Bmag=48.3 Rmag=64.8\r\nACTflag=1 Mflag=2 Field=147\r\n"},
    };
    for (const auto& c : kCases) {
        host.Answer(L"? Star.XNO.2.USNOA20Attr", c.word);
        EXPECT_EQ(cd.GetTextStar(&host, 0),
                  CString(L"恒星 USNO-A2.0 1\r\n赤経 06h18m00.000s  赤緯 -20ﾟ30'00.00\" (J2000)\r\n") + c.lines)
            << CString(c.word).ToUtf8();
    }
}

TEST_F(StarText, GscTypes) {
    cd.SetObject(L"Star.XNO.3", CZntClickData::TYPE_STAR);
    const std::pair<const wchar_t*, const wchar_t*> kCases[] = {
        {L"GALAXY,nonstar,artifact", L"銀河,非恒星状天体,人工天体"},
        {L"Xyz, Star,Galaxy", L"銀河"},  // pieces are not trimmed; unknown words add nothing
        {L",,,", L""},
    };
    for (const auto& c : kCases) {
        host.Answer(L"? Star.XNO.3.Type", c.first);
        EXPECT_TRUE(TextAndQueries(cd.GetGscTypeString(&host), c.second, host, {L"? Star.XNO.3.Type"}))
            << CString(c.first).ToUtf8();
    }
    EXPECT_EQ(ClickDataProbe::TranslateGscType(L"blend"), L"ブレンド");
    EXPECT_EQ(ClickDataProbe::TranslateGscType(L"Stars"), L"");
}

TEST_F(StarText, SupernovaAndNova) {
    const CString path = L"Star.Supernova.SN1987A";
    Star(path, {{L".JapaneseName", L"超新星1987A"},
                {L".EnglishName", L"SN 1987A"}, {L".Summary", L"大マゼラン雲に出現"}, {L".Propermotion.RA", L"1"},
                {L".SpectralType", L"II"}, {L".CrossID", L"SNR 1987A"}});
    status.StarDetails = 1;
    // Proper motion, parallax, catalogue magnitudes and spectral type belong to catalogue stars.
    EXPECT_EQ(cd.GetTextStar(&host, 0), CString(L"超新星 超新星1987A SN 1987A\r\n大マゼラン雲に出現\r\n") + kPosition3 +
                                            L"\r\nカタログインデックス\r\nSNR 1987A\r\n\r\n");
    const CString nova = L"Star.nova.V1500Cyg";
    Star(nova, {{L".EnglishName", L"V1500 Cyg"}});
    status.StarDetails = 0;
    EXPECT_EQ(cd.GetTextStar(&host, 0), CString(L"新星  V1500 Cyg\r\n") + kPosition3);
}

TEST_F(StarText, ParallaxAndDistance) {
    Star(L"Star.HIP.2", {{L".BayerLetter", L"β"}});
    status.StarDetails = 1;
    const std::pair<const wchar_t*, const wchar_t*> kCases[] = {
        {L"100", L"年周視差 100.00 (mas)\r\n距離 32.6 (光年)\r\n"},
        {L"0.1", L"年周視差 0.10 (mas)\r\n距離 3.3e+04 (光年)\r\n"},
        // No parallax line for what gives no distance.
        {L"0", L""}, {L"-3", L""}, {L"*", L""}, {L"", L""}, {L"inf", L""}, {L"nan", L""},
    };
    for (const auto& c : kCases) {
        host.Answer(L"? Star.HIP.2.pi", c.first);
        EXPECT_EQ(Details(), c.second) << CString(c.first).ToUtf8();
    }
    // The rounding steps of the distance text.
    const std::pair<double, const wchar_t*> kDistances[] = {
        {994.4, L"994"}, {995.0, L"1000"}, {3264.99, L"3260"}, {3265.0, L"3270"}, {123456.0, L"1.2e+05"}};
    for (const auto& d : kDistances) EXPECT_EQ(ClickDataProbe::GetDistanceString(d.first), d.second) << d.first;
}

TEST(StarCrossIds, GroupedSortedAndPadded) {
    // Pieces without a blank are left out; an empty key sorts first; values are trimmed and
    // their inner white space folded; the column follows the longest key of all pieces.
    EXPECT_EQ(ClickDataProbe::GetCrossIdList(L"GAIA|BD   +07  1055 |  12|TYC 1-2\t\t3|x"),
              L"    12\r\nBD  +07 1055\r\nTYC 1-2 3\r\n");
    EXPECT_EQ(ClickDataProbe::GetCrossIdList(L"|||"), L"");
    EXPECT_EQ(ClickDataProbe::GetCrossIdList(L"HD 1|"), L"HD 1\r\n");
    // Ordinal order of the keys: capitals before small letters.
    EXPECT_EQ(ClickDataProbe::GetCrossIdList(L"b 1|B 2|a 3"), L"B 2\r\na 3\r\nb 1\r\n");
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
        ASSERT_EQ(ClickDataProbe::GetCrossIdList(L"K " + CString(value)), L"K " + CString(folded) + L"\r\n")
            << "round " << round;
    }
}

const std::vector<CString> GcvsDetailQueries(const CString& path) {
    return Ask(path, {L".VariableType", L".SpectralType", L".Epoch", L".Year", L".Period", L".M_mD"});
}

TEST_F(StarText, VariableStarInFull) {
    const CString path = L"Star.GCVS.delCep";
    Star(path, {{L".Name", L"del Cep"},
                {L".HipparcosNumber", L"110991"}, {L".Magnitude.Maximum", L"3.48"},
                {L".Magnitude.Minimum", L"*"}, {L".VariableType", L"DCEP"}, {L".SpectralType", L"F5Iab-G1Ib"},
                {L".Epoch", L"2450000.00"}, {L".Year", L"*"}, {L".Period", L"10"}, {L".M_mD", L"30"},
                {L".OtherDesign", L"HR 8571"}});
    Today(L"4", L"9");
    status.DispMag = status.StarDetails = 1;
    EXPECT_TRUE(TextAndQueries(
        cd.GetTextStarGcvs(&host, 0),
        CString(L"変光星 del Cep\r\nHIP110991\r\n光度 極大 3.48等 極小 -.--等\r\n") + kPosition3 +
            L"変光星タイプ DCEP\r\nスペクトル型 F5Iab-G1Ib\r\n元期 2450000.0\r\n周期 10日\r\n"
            L"M-m/D 30 (3.0日)\r\n現在の状態 元期＋2周期＋5.50日\r\n別名 HR 8571\r\n",
        host,
        Ask(path, {L".Name", L".HipparcosNumber", L".Magnitude.Maximum", L".Magnitude.Minimum"}) +
            J2000Queries(path) + GcvsDetailQueries(path) + DateQueries() +
            Ask(path, {L".OtherDesign"})));

    // Before the epoch: a negative cycle count with the full-width minus sign.
    Today(L"4", L"21");
    host.Answer(L"? LST(Time.Month)", L"10");  // 1995-10-04 21:00, JD 2449995.0
    const CString text = cd.GetTextStarGcvs(&host, 0);
    EXPECT_NE(text.Find(L"\r\n現在の状態 元期－1周期＋5.00日\r\n"), -1) << text.ToUtf8();
}

TEST_F(StarText, VariableStarNumbersAsTheHostWroteThem) {
    const CString path = L"Star.GCVS.X";
    Star(path, {{L".Epoch", L"2450000"}, {L".Period", L"0.5623400"}, {L".M_mD", L"*"},
                {L".Year", L"1987"}, {L".Magnitude.Maximum", L""}, {L".Magnitude.Minimum", L"*"}});
    Today(L"4", L"9");
    status.DispMag = status.StarDetails = 1;
    const CString text = cd.GetTextStarGcvs(&host, 0);
    // The appearance year ends its line like every other line.
    EXPECT_EQ(Details(text),
              L"元期 2450000\r\n出現 1987年\r\n周期 0.56234日\r\n現在の状態 元期＋45周期＋0.19日\r\n");
    EXPECT_NE(text.Find(L"光度 極大 0.00等 極小 -.--等\r\n"), -1);
}

TEST_F(StarText, NoCurrentStateWithoutAUsablePeriodOrEpoch) {
    const CString path = L"Star.GCVS.Y";
    Star(path, {{L".Epoch", L"2450000.0"}, {L".M_mD", L"30"}, {L".Year", L"*"}});
    Today(L"4", L"9");
    status.StarDetails = 1;
    const struct { const wchar_t* period; const wchar_t* lines; bool asksDate; } kCases[] = {
        {L"0", L"周期 0日\r\nM-m/D 30 (0.0日)\r\n", false},
        {L"-3", L"周期 -3日\r\nM-m/D 30 (-0.9日)\r\n", false},
        {L"abc", L"周期 abc日\r\nM-m/D 30 (0.0日)\r\n", false},
        {L"nan", L"周期 nan日\r\nM-m/D 30 (nan日)\r\n", false},
        {L"*", L"M-m/D 30\r\n", false},
        // So short that the cycles since the epoch do not fit in an integer.
        {L"1e-9", L"周期 1e-9日\r\nM-m/D 30 (0.0日)\r\n", true},
    };
    for (const auto& c : kCases) {
        host.Answer(L"? Star.GCVS.Y.Period", c.period);
        host.ClearLog();
        const CString text = cd.GetTextStarGcvs(&host, 0);
        EXPECT_EQ(text.Mid(text.Find(L"元期 2450000.0\r\n") + 14), c.lines) << CString(c.period).ToUtf8();
        // Without a usable period the host's date is not even asked.
        EXPECT_TRUE(QueriesAre(host, Ask(path, {L".Name", L".HipparcosNumber"}) + J2000Queries(path) +
                                         GcvsDetailQueries(path) +
                                         (c.asksDate ? DateQueries() : std::vector<CString>{}) +
                                         Ask(path, {L".OtherDesign"})))
            << CString(c.period).ToUtf8();
    }
    // A "*" epoch has no line and no state.
    host.Answer(L"? Star.GCVS.Y.Period", L"10");
    host.Answer(L"? Star.GCVS.Y.Epoch", L"*");
    EXPECT_EQ(Details(cd.GetTextStarGcvs(&host, 0)), L"周期 10日\r\nM-m/D 30 (3.0日)\r\n");
}

TEST_F(StarText, DoubleStarComponent) {
    const CString path = L"Star.WDS.05353-0523.A";
    const CString parent = L"Star.WDS.05353-0523";
    Star(path, {{L".Name", L"θ1 Ori A"},
                {L".Magnitude", L"6.73"}, {L".ComponentName", L"A"}, {L".SpectralType", L"O7V"},
                {L".Propermotion.RA", L"0.0015"}, {L".Propermotion.DEC", L"*"}});
    AnswerObject(host, parent,
                 {{L".Components", L"ABCD"}, {L".Discoverer", L" STF 748 "}, {L".ObsCount", L"25"},
                  {L".FirstObs.Epoch", L"1826"}, {L".FirstObs.Theta", L"31"}, {L".FirstObs.Rho", L"8.86"},
                  {L".LastObs.Epoch", L"2016.2"}, {L".LastObs.Theta", L"*"}, {L".LastObs.Rho", L"abc"},
                  {L".BD", L"-05 1315"}});
    status.DispMag = status.StarDetails = 1;
    EXPECT_TRUE(TextAndQueries(
        cd.GetTextStarWds(&host, 0),
        CString(L"二重星 θ1 Ori A\r\n光度  6.73等\r\n") + kPosition3 +
            L"コンポーネント A(ABCD)\r\nスペクトル型 O7V\r\n発見者/番号 STF748\r\n観測数 25\r\n"
            L"最初の観測 1826年（位置角 31ﾟ 角距離 8.9 arcsec）\r\n"
            L"最後の観測 2016年（位置角 0ﾟ 角距離 0.0 arcsec）\r\n"
            L"固有運動量μαcosδ 1.50 (mas/年)\r\nBD番号 -05 1315\r\n",
        host,
        Ask(path, {L".Name", L".Magnitude"}) + J2000Queries(path) + Ask(parent, {L".Components"}) +
            Ask(path, {L".ComponentName", L".SpectralType"}) +
            Ask(parent, {L".Discoverer", L".ObsCount", L".FirstObs.Epoch", L".FirstObs.Theta",
                         L".FirstObs.Rho", L".LastObs.Epoch", L".LastObs.Theta", L".LastObs.Rho"}) +
            Ask(path, {L".Propermotion.RA", L".Propermotion.DEC"}) + Ask(parent, {L".BD"})));

    // The component line with one of its two parts; no observation count for "*".
    AnswerObject(host, parent, {{L".Components", L""}, {L".ObsCount", L"*"}});
    EXPECT_NE(cd.GetTextStarWds(&host, 0).Find(L"\r\nコンポーネント A\r\nスペクトル型 O7V\r\n発見者/番号 STF748\r\n最初の"), -1);
    AnswerObject(host, parent, {{L".Components", L"AB"}});
    host.Answer(L"? " + path + L".ComponentName", L"");
    EXPECT_NE(cd.GetTextStarWds(&host, 0).Find(L"\r\nコンポーネント (AB)\r\n"), -1);
    host.Answer(L"? " + parent + L".Components", L"");
    EXPECT_EQ(cd.GetTextStarWds(&host, 0).Find(L"コンポーネント"), -1);
}

TEST_F(StarText, DoubleStarWithoutAParentPath) {
    // No "." after the first character: only the component's own lines.
    for (const CString& path : {CString(L"WDS1"), CString(L".WDS1")}) {
        Star(path, {{L".Name", L"X"}, {L".SpectralType", L"K0"}, {L".Propermotion.DEC", L"-0.25"}});
        status.StarDetails = 1;
        EXPECT_TRUE(TextAndQueries(
            cd.GetTextStarWds(&host, 0),
            CString(L"二重星 X\r\n") + kPosition3 + L"スペクトル型 K0\r\n固有運動量μδ      -250.00 (mas/年)\r\n",
            host,
            Ask(path, {L".Name"}) + J2000Queries(path) +
                Ask(path, {L".SpectralType", L".Propermotion.RA", L".Propermotion.DEC"})));
    }
}

TEST_F(StarText, Exoplanet) {
    const CString path = L"Star.ExtraSolarPlanet.51Pegb";
    Star(path, {{L".Name", L"51 Peg b"},
                {L".OrbitalPeriod", L"4.230800"}, {L".SemiMajorAxis", L"0.0520"},
                {L".eccentricity", L"3.000"}});
    // No switch matters here.
    status.DispMag = 1;
    EXPECT_TRUE(TextAndQueries(cd.GetTextExoPlanet(&host, 0),
                               CString(L"系外惑星 51 Peg b\r\n") + kPosition3 +
                                   L"公転周期 4.2308日\r\n軌道長半径 0.052au\r\n離心率 3.\r\n",
                               host,
                               Ask(path, {L".Name"}) + J2000Queries(path) +
                                   Ask(path, {L".OrbitalPeriod", L".SemiMajorAxis", L".eccentricity"})));
    // Whole numbers stay as they are; empty answers still have their lines.
    AnswerObject(host, path, {{L".OrbitalPeriod", L"100"}, {L".SemiMajorAxis", L"365.250"}, {L".eccentricity", L""}});
    EXPECT_EQ(Details(cd.GetTextExoPlanet(&host, 0)), L"公転周期 100日\r\n軌道長半径 365.25au\r\n離心率 \r\n");
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
    EXPECT_TRUE(TextAndQueries(cd.GetText(&host, L"Star.HD209458.planet.b", 0), text, host, cacheKey));
    EXPECT_EQ(cd.Type(), CZntClickData::TYPE_STAR);
    // The object stays the caller's path, whether the text was built or cached.
    EXPECT_EQ(cd.GetDBSearchString(&host), L"Star.HD209458.planet.b");
    cd.ClearCache();
    cd.GetText(&host, L"Star.HD209458.planet.b", 0);
    EXPECT_EQ(cd.GetDBSearchString(&host), L"Star.HD209458.planet.b");
    EXPECT_EQ(cd.GetText(&host, L"Star.HD209458.Planet.b", 1), L"系外惑星 HD 209458 b");
}

}  // namespace
