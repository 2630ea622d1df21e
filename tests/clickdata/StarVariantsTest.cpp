// Variable stars, double-star components and exoplanets, and how the frame routes stars.
#include <gtest/gtest.h>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

const wchar_t* const kPosition3 = L"赤経 06h18m00.00s  赤緯 -20ﾟ30'00.0\" (J2000)\r\n";

class StarVariants : public ClickDataTest {
protected:
    void Object(const CString& path, std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> answers) {
        ClickDataTest::Object(path, CZntClickData::TYPE_STAR, {{L".position.RA", L"6.3"}, {L".position.DEC", L"-20.5"}});
        AnswerObject(host, path, answers);
    }
    // The host's local date: 1995-11-04 09:00 at UT+9 is JD 2450025.5.
    void Today(const wchar_t* day, const wchar_t* hour) {
        AnswerDate(host, {L"1995", L"11", day, hour, L"0", L"0", L"9"});
    }
};

const std::vector<CString> GcvsDetailQueries(const CString& path) {
    return Ask(path, {L".VariableType", L".SpectralType", L".Epoch", L".Year", L".Period", L".M_mD"});
}

TEST_F(StarVariants, VariableStarInFull) {
    const CString path = L"Star.GCVS.delCep";
    Object(path, {{L".Name", L"del Cep"},
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

TEST_F(StarVariants, VariableStarNumbersAsTheHostWroteThem) {
    const CString path = L"Star.GCVS.X";
    Object(path, {{L".Epoch", L"2450000"}, {L".Period", L"0.5623400"}, {L".M_mD", L"*"},
                  {L".Year", L"1987"}, {L".Magnitude.Maximum", L""}, {L".Magnitude.Minimum", L"*"}});
    Today(L"4", L"9");
    status.DispMag = status.StarDetails = 1;
    const CString text = cd.GetTextStarGcvs(&host, 0);
    // The appearance year ends its line like every other line.
    EXPECT_EQ(text.Mid(text.Find(L"(J2000)\r\n") + 9),
              L"元期 2450000\r\n出現 1987年\r\n周期 0.56234日\r\n現在の状態 元期＋45周期＋0.19日\r\n");
    EXPECT_NE(text.Find(L"光度 極大 0.00等 極小 -.--等\r\n"), -1);
}

TEST_F(StarVariants, NoCurrentStateWithoutAUsablePeriodOrEpoch) {
    const CString path = L"Star.GCVS.Y";
    Object(path, {{L".Epoch", L"2450000.0"}, {L".M_mD", L"30"}, {L".Year", L"*"}});
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
    const CString text = cd.GetTextStarGcvs(&host, 0);
    EXPECT_EQ(text.Mid(text.Find(L"(J2000)\r\n") + 9), L"周期 10日\r\nM-m/D 30 (3.0日)\r\n");
}

TEST_F(StarVariants, DoubleStarComponent) {
    const CString path = L"Star.WDS.05353-0523.A";
    const CString parent = L"Star.WDS.05353-0523";
    Object(path, {{L".Name", L"θ1 Ori A"},
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

TEST_F(StarVariants, DoubleStarWithoutAParentPath) {
    // No "." after the first character: only the component's own lines.
    for (const CString& path : {CString(L"WDS1"), CString(L".WDS1")}) {
        Object(path, {{L".Name", L"X"}, {L".SpectralType", L"K0"}, {L".Propermotion.DEC", L"-0.25"}});
        status.StarDetails = 1;
        EXPECT_TRUE(TextAndQueries(
            cd.GetTextStarWds(&host, 0),
            CString(L"二重星 X\r\n") + kPosition3 + L"スペクトル型 K0\r\n固有運動量μδ      -250.00 (mas/年)\r\n",
            host,
            Ask(path, {L".Name"}) + J2000Queries(path) +
                Ask(path, {L".SpectralType", L".Propermotion.RA", L".Propermotion.DEC"})));
    }
}

TEST_F(StarVariants, Exoplanet) {
    const CString path = L"Star.ExtraSolarPlanet.51Pegb";
    Object(path, {{L".Name", L"51 Peg b"},
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
    const CString text = cd.GetTextExoPlanet(&host, 0);
    EXPECT_EQ(text.Mid(text.Find(L"(J2000)\r\n") + 9), L"公転周期 100日\r\n軌道長半径 365.25au\r\n離心率 \r\n");
}

// Through GetText: a star-planet path is answered by the exoplanet builder under its
// rewritten name.
using StarRouting = StarVariants;

TEST_F(StarRouting, StarPlanetPathsAreRewritten) {
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
