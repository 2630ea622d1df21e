// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Testing click-data builders: ClickDataProbe opens CZntClickData's protected members, and
// TextAndQueries checks a builder's text together with the exact queries it sent.
//
//     FakeHost host{{L"? Constellation.Ori.Name", L"オリオン"}};
//     ClickDataProbe cd(status);
//     cd.SetObject(L"Constellation.Ori", CZntClickData::TYPE_CONSTELLATION);
//     const CString text = cd.GetTextCons(&host, 1);
//     EXPECT_TRUE(TextAndQueries(text, L"オリオン ", host,
//                                {L"? Constellation.Ori.Name", L"?
//                                Constellation.Ori.Abbreviation"}));
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "clickdata/ZntClickData.h"
#include "support/FakeHost.h"

class ClickDataProbe : public CZntClickData {
public:
    explicit ClickDataProbe(CCdStatus& status) { SetStatus(&status); }

    // The state GetText sets up before it calls a builder.
    void SetObject(const CString& path, int type) {
        m_Object = path;
        m_nType = type;
    }
    int Type() const { return m_nType; }
    const CStringArray& AdfKinds() const { return m_astrWork; }

    // Stars and deep-sky objects.
    using CZntClickData::GetCrossIdList;
    using CZntClickData::GetDistanceString;
    using CZntClickData::GetGscTypeString;
    using CZntClickData::GetTextDeepSky;
    using CZntClickData::GetTextDeepSkyImage;
    using CZntClickData::GetTextExoPlanet;
    using CZntClickData::GetTextMagellan;
    using CZntClickData::GetTextStar;
    using CZntClickData::GetTextStarGcvs;
    using CZntClickData::GetTextStarWds;
    using CZntClickData::TranslateGscType;
    using CZntClickData::TrimDecimals;
    // Shared with the frame and the other builders.
    using CZntClickData::FormatHms;
    using CZntClickData::FormatLati;
    using CZntClickData::FormatLong;
    using CZntClickData::GetDailyMotion;
    using CZntClickData::GetEclipseTime;
    using CZntClickData::GetJdSunLambda;
    using CZntClickData::GetMeasureString;
    using CZntClickData::GetPeriodString;
    using CZntClickData::GetPosString;
    using CZntClickData::GetSolarElongation;
    using CZntClickData::GetTextAdf;
    using CZntClickData::GetTextCons;
    using CZntClickData::GetTextEqt;
    using CZntClickData::GetTimeString;
    using CZntClickData::IsAdfsystem;
    // Solar system, satellites, meteors, field frames.
    using CZntClickData::DateOfJd;
    using CZntClickData::GetEccentricity;
    using CZntClickData::GetMoonPhaseLines;
    using CZntClickData::GetOrbitalElements;
    using CZntClickData::GetPerihelionDistance;
    using CZntClickData::GetPerihelionPassage;
    using CZntClickData::GetRevPeriod;
    using CZntClickData::GetSolarEclipse;
    using CZntClickData::GetTextAngleOfField;
    using CZntClickData::GetTextFiledOfView;
    using CZntClickData::GetTextMeteor;
    using CZntClickData::GetTextMosaicOfField;
    using CZntClickData::GetTextSatellite;
    using CZntClickData::GetTextSolar;
    // The lines added later.
    using CZntClickData::GetLaterLines;
};

// Success when text equals expectedText and the host's queries (commands starting with
// "? ") are exactly expectedQueries, in order; the failure message shows both sides. The
// host's log is cleared afterwards, so the next check starts fresh.
::testing::AssertionResult TextAndQueries(const CString& text, const CString& expectedText,
                                          FakeHost& host,
                                          const std::vector<CString>& expectedQueries);
// Only the queries.
::testing::AssertionResult QueriesAre(FakeHost& host, const std::vector<CString>& expected);

// "? " + prefix + suffix for each suffix, e.g. Ask(L"Solar.Sun", {L".position.RA"}).
std::vector<CString> Ask(const CString& prefix, std::initializer_list<const wchar_t*> suffixes);
// Concatenates query lists.
std::vector<CString> operator+(std::vector<CString> a, const std::vector<CString>& b);

// Answers "? " + prefix + suffix for each (suffix, answer) pair.
void AnswerObject(FakeHost& host, const CString& prefix,
                  std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> answers);
// "? AdfSystem.#n.File" for n = 1..40, each followed by its ".ObjectName" for the loaded n.
std::vector<CString> AdfFileQueries(std::initializer_list<int> loaded);

// Constellation.Ori: "オリオン", abbreviation "Ori", at 5h30m +5ﾟ.
void AnswerOrion(FakeHost& host);

// The host's local date: year, month, day, hour, minute, second, zone.
void AnswerDate(FakeHost& host, const std::array<const wchar_t*, 7>& values);

// A builder under test with its switches and its host.
class ClickDataTest : public ::testing::Test {
protected:
    CCdStatus status;
    FakeHost host;
    ClickDataProbe cd{status};

    // Makes path the clicked object of the given type and answers (suffix, answer) for it.
    void Object(const CString& path, int type,
                std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> answers = {}) {
        cd.SetObject(path, type);
        AnswerObject(host, path, answers);
    }
};

// The queries of a position block that shows only its first line (the default switches).
std::vector<CString> J2000Queries(const CString& prefix);
