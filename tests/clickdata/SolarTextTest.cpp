// SPDX-License-Identifier: LGPL-3.0-or-later
// The parts of the solar-system text that the golden texts (tests/golden/click_texts.txt)
// do not show: the Moon's phases of the local day (with the real phase calculation), the
// orbital elements the host does not know, and dates of Julian Days that are no numbers.
#include <gtest/gtest.h>

#include <cmath>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

using SolarLines = ClickDataTest;

// A host whose local date is the given one (its clock at noon) in the given zone.
void AnswerNoon(FakeHost& host, const wchar_t* year, const wchar_t* month, const wchar_t* day,
                const CString& zone) {
    AnswerDate(host, {year, month, day, L"12", L"0", L"0", zone});
}

// The zone (hours) in which the full Moon of 4 December 2025 falls at the given number
// of seconds before the end of the local day.
CString ZoneForFullMoonBeforeMidnight(double secondsBefore) {
    tagADATE date = {2025, 12, 4, 12, 0, 0.0, 0.0};
    tagMOONPHASE phases[6];
    const int n = GetMoonPhases(&date, phases, 6);
    int full = 0;
    while (full < n && phases[full].phase != 2) ++full;
    EXPECT_LT(full, n);
    const double midnightUt = 2461014.5;  // end of 4 December, UT
    CString zone;
    zone.Format(L"%.12f", (midnightUt - secondsBefore / 86400.0 - phases[full].jd) * 24.0);
    return zone;
}

TEST_F(SolarLines, MoonPhasesOfTheLocalDay) {
    // 23:59:29 stays in its minute; 23:59:45 rounds to the day's end, shown as 24:00, as
    // the phase still belongs to this day.
    AnswerNoon(host, L"2025", L"12", L"4", ZoneForFullMoonBeforeMidnight(31.0));
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"満月 23:59\r\n");
    AnswerNoon(host, L"2025", L"12", L"4", ZoneForFullMoonBeforeMidnight(15.0));
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"満月 24:00\r\n");
    // 23:58:59.8: the seconds carry into the minute.
    AnswerNoon(host, L"2025", L"12", L"4", ZoneForFullMoonBeforeMidnight(60.2));
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"満月 23:59\r\n");
    // Last quarter of 11 December 2025, 20:51:38 UT: 05:52 on the 12th in Japan, 20:52
    // on the 11th in UT.
    AnswerNoon(host, L"2025", L"12", L"12", L"9");
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"下弦 05:52\r\n");
    AnswerNoon(host, L"2025", L"12", L"11", L"9");
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"");
    AnswerNoon(host, L"2025", L"12", L"11", L"0");
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"下弦 20:52\r\n");
    // A date the host cannot give.
    AnswerNoon(host, L"0", L"0", L"0", L"nan");
    EXPECT_EQ(cd.GetMoonPhaseLines(&host), L"");
}

TEST_F(SolarLines, OrbitalElementsTheHostDoesNotKnowAndDatesOfJulianDays) {
    // Placeholders (the minor-planet layout); no period line at all.
    cd.SetObject(L"Solar.Comet.2P", CZntClickData::TYPE_SOLAR);
    for (const wchar_t* suffix : {L".RevolutionPeriod", L".TimeOfPerihelionPassage",
                                  L".SemiMajorAxis", L".Eccentricity", L".PerihelionDistance"})
        host.Answer(L"? Solar.Comet.2P" + CString(suffix), L"*");
    EXPECT_EQ(cd.GetOrbitalElements(&host, 0), L"軌道長半径 -.------ au\r\n離心率 -.-\r\n");
    EXPECT_TRUE(QueriesAre(
        host, Ask(L"Solar.Comet.2P", {L".RevolutionPeriod", L".SemiMajorAxis", L".Eccentricity"})));
    EXPECT_EQ(cd.GetPerihelionPassage(&host), L"近日点通過時刻 ----年--月--.-----日 TT\r\n");
    EXPECT_EQ(cd.GetPerihelionDistance(&host), L"近日点距離 -.------ au\r\n");
    // Answers that read as no finite number show the placeholders too; an empty answer
    // reads as 0 (4713 BC for a date).
    AnswerObject(host, L"Solar.Comet.2P",
                 {{L".TimeOfPerihelionPassage", L"nan"},
                  {L".Eccentricity", L"inf"},
                  {L".RevolutionPeriod", L"-inf"}});
    EXPECT_EQ(cd.GetPerihelionPassage(&host), L"近日点通過時刻 ----年--月--.-----日 TT\r\n");
    EXPECT_EQ(cd.GetEccentricity(&host), L"離心率 -.-\r\n");
    EXPECT_EQ(cd.GetRevPeriod(&host), L"");
    host.Answer(L"? Solar.Comet.2P.TimeOfPerihelionPassage", L"");
    EXPECT_EQ(cd.GetPerihelionPassage(&host), L"近日点通過時刻 -4712年 1月1.50000日 TT\r\n");
    host.Answer(L"? Solar.Comet.2P.TimeOfPerihelionPassage", L"1e300");
    EXPECT_EQ(cd.GetPerihelionPassage(&host).Left(8), L"近日点通過時刻 ");
    // A Julian Day or zone that is no number gives no date; a huge Julian Day gives one
    // clamped to the calendar's ends.
    tagADATE d = {};
    for (const double bad : {NAN, INFINITY, -INFINITY}) {
        EXPECT_FALSE(ClickDataProbe::DateOfJd(bad, 0.0, 1.0, &d));
        EXPECT_FALSE(ClickDataProbe::DateOfJd(2451545.0, bad, 0.0, &d));
    }
    EXPECT_EQ(d.year, 0);
    EXPECT_TRUE(ClickDataProbe::DateOfJd(-1e300, 0.0, 1.0, &d));
    EXPECT_TRUE(ClickDataProbe::DateOfJd(1e300, 9.0, 1e-6, &d));
}

}  // namespace
