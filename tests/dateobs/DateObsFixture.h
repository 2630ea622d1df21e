// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Shared set-up of the date and observer tests: a planetarium in a standard state (15 March
// 2024 12:00:00 UT, Tokyo), a main window that records its messages, and the application's
// question texts with a scripted answer.
#include <tuple>
#include <utility>
#include <vector>

#include "dateobs/DateObs.h"
#include "platform/Afx.h"
#include "support/FakeHost.h"
#include "support/TestUtil.h"

using Texts = std::vector<CString>;
// A message as (number, wParam, lParam).
using Msg = std::tuple<UINT, WPARAM, LPARAM>;

class RecordingMainWnd : public CWnd {
public:
    std::vector<Msg> messages;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.emplace_back(message, wParam, lParam);
        return 0;
    }
};

// Opens the protected state to the tests.
class TestDateObs : public CZVDateObs {
public:
    using CZVDateObs::GetCurrentLocation;
    using CZVDateObs::IsDateInRange;
    using CZVDateObs::IsEqualMag;
    using CZVDateObs::m_aLocation;
    using CZVDateObs::m_Date;
    using CZVDateObs::m_dTz;
    using CZVDateObs::m_nForceUpdate;
    using CZVDateObs::m_nLocationObject;
    using CZVDateObs::m_nSpecialTime;
};

inline tagADATE MakeDate(int y, int mo, int d, int h, int mi, double s, double tz = 0.0) {
    return tagADATE{y, mo, d, h, mi, s, tz};
}

class DateObsTest : public ::testing::Test {
protected:
    static constexpr const wchar_t* kAskKind = L"Release the rise/set lock?";
    static constexpr const wchar_t* kAsk = L"Release the time lock?";

    static void SetUpTestSuite() {
        static const ZcmStringResource kAppStrings[] = {
            {IDS_ZVDATEOBS_TURN_OFF_LOCK_KIND, kAskKind}, {IDS_ZVDATEOBS_TURN_OFF_LOCK, kAsk}};
        static const HMODULE app =
            AfxRegisterResourceModule(L"test.exe", kAppStrings, 2, nullptr, 0, true);
        (void)app;
    }
    void SetUp() override {
        AfxGetThread()->m_pMainWnd = &wnd;
        boxes.answer = IDNO;
        AnswerTime(L"UT  AD2024/03/15 12:00:00");
        host.Answer(L"? Time.Timezone", L"9");
        host.Answer(L"? Solar.Moon.Age", L"5.25");
        AnswerSite(L"Location(\"Tokyo\", 139.7, 35.7)", L"139.7", L"35.7", L"40");
        host.Answer(L"? Star.AutoMagnitudeLimit.Minimum", L"6.5");
    }
    void TearDown() override { AfxGetThread()->m_pMainWnd = nullptr; }
    void AnswerTime(const wchar_t* answer) {  // both spellings the object sends
        host.Answer(L"? UT(time)", answer);
        host.Answer(L"? UT(Time)", answer);
    }
    void AnswerSite(const wchar_t* location, const wchar_t* lon, const wchar_t* lat,
                    const wchar_t* height) {
        host.Answer(L"? Location", location);
        host.Answer(L"? Location.Longitude", lon);
        host.Answer(L"? Location.Latitude", lat);
        host.Answer(L"? Location.Altitude", height);
    }
    // Attaches, refreshes once, and forgets what that sent.
    void Attach() {
        obs.SetpCorZnt(&host);
        obs.UpdateByCorZnt();
        host.ClearLog();
        wnd.messages.clear();
    }
    // Back to the standard time with nothing marked for the next refresh.
    void Reset() {
        obs.m_Date = MakeDate(2024, 3, 15, 12, 0, 0);
        obs.m_nForceUpdate = 0;
    }
    std::vector<Msg> TakeMessages() { return std::exchange(wnd.messages, {}); }
    Texts TakeCommands() {
        Texts c = host.Commands();
        host.ClearLog();
        return c;
    }

    FakeHost host;
    RecordingMainWnd wnd;
    TestDateObs obs;
    MessageBoxRecorder boxes;  // the questions asked
};

// The same, attached to the planetarium from the start.
class AttachedTest : public DateObsTest {
protected:
    void SetUp() override {
        DateObsTest::SetUp();
        Attach();
    }
};

inline Msg Updated(int mask) { return Msg{0x725, 0, mask}; }
inline std::vector<Msg> UpdatedIf(int mask) {
    return mask ? std::vector<Msg>{Updated(mask)} : std::vector<Msg>{};
}
