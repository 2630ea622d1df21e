// Date and time edits: spans, set dates, calendar corrections, era swaps, range, time locks.
#include <climits>
#include <cmath>

#include "DateObsFixture.h"

class DateEditTest : public DateObsTest {
protected:
    void SetUp() override {
        DateObsTest::SetUp();
        Attach();  // 15 March 2024 12:00:00 UT, user zone +9
    }
    Texts Set(tagADATE date) {
        obs.UpdateDateByUI(&date);
        return TakeCommands();
    }
    Texts Move(tagSPAN span) {
        obs.UpdateDateByUI(&span, 0);
        return TakeCommands();
    }
    // The edit was dropped: nothing sent, nothing stored, nothing marked.
    void ExpectDropped(const std::string& what) {
        EXPECT_TRUE(TakeCommands().empty()) << what;
        EXPECT_EQ(GetJd(&obs.m_Date), 2460385.0) << what;
        EXPECT_EQ(obs.m_nForceUpdate, 0) << what;
    }
};

TEST_F(DateEditTest, SpansCountInTheUserZone) {
    EXPECT_EQ(Move({0, 0, 1, 0, 0, 0.0}), Texts{L"Time = UT(2024, 3, 16, 12, 0, 0); Show Sky"});
    EXPECT_EQ(obs.GetADate().day, 16);
    EXPECT_EQ(obs.m_nForceUpdate, 5);
    obs.UpdateByCorZnt();  // reports date and magnitude although the host reads as before
    EXPECT_EQ(TakeMessages(), std::vector<Msg>{Msg(0x725, 0, 5)});
    EXPECT_EQ(obs.GetADate().day, 15);
    TakeCommands();

    // 31 January 20:00 UT is 1 February 05:00 at +9; a month on, 1 March 05:00 there.
    obs.m_Date = MakeDate(2024, 1, 31, 20, 0, 0);
    EXPECT_EQ(Move({0, 1, 0, 0, 0, 30.7}), Texts{L"Time = UT(2024, 2, 29, 20, 0, 30); Show Sky"});
    obs.m_Date = MakeDate(2024, 3, 15, 12, 0, 0);
    obs.m_nForceUpdate = 0;

    const tagSPAN dropped[] = {
        {INT_MAX, 0, 0, 0, 0, 0.0}, {0, INT_MIN, 0, 0, 0, 0.0}, {0, 0, INT_MAX, 0, 0, 0.0}, {0, 0, 0, INT_MIN, 0, 0.0},
        {0, 0, 0, 0, 0, 1e300},     {0, 0, 0, 0, 0, NAN},       {200000, 0, 0, 0, 0, 0.0},
    };
    for (const tagSPAN& span : dropped) {
        Move(span);
        ExpectDropped(std::to_string(span.years) + "y " + std::to_string(span.seconds) + "s");
    }
    // The largest count of minutes is some 4083 years: long, but inside the range.
    EXPECT_EQ(Move({0, 0, 0, 0, INT_MAX, 0.0}), Texts{L"Time = UT(6107, 4, 8, 14, 7, 0); Show Sky"});
}

TEST_F(DateEditTest, SetDatesAndCalendarCorrections) {
    EXPECT_EQ(Set(MakeDate(2024, 3, 20, 21, 15, 30.6, 9.0)), Texts{L"Time = UT(2024, 3, 20, 12, 15, 31); Show Sky"});
    EXPECT_NEAR(obs.GetADate().second, 30.6, 1e-9);
    EXPECT_EQ(obs.m_nForceUpdate, 5);
    EXPECT_EQ(Set(MakeDate(2024, 0, 0, 12, 0, 0)), Texts{L"Time = UT(2024, 1, 1, 12, 0, 0); Show Sky"});

    const int cases[][4] = {
        {2023, 2, 31, 28}, {2024, 2, 29, 29}, {1500, 2, 29, 29}, {1700, 2, 29, 28},  {1900, 2, 30, 28},
        {2000, 2, 30, 29}, {2024, 4, 31, 30}, {-4, 2, 29, 29},   {-1, 2, 29, 28},    {1582, 10, 4, 4},
        {1582, 10, 5, 4},  {1582, 10, 7, 4},  {1582, 10, 9, 4},  {1582, 10, 10, 15}, {1582, 10, 12, 15},
        {1582, 10, 14, 15}, {1582, 10, 15, 15}, {1583, 2, 29, 28},
    };
    for (const auto& c : cases) {
        CString expected;
        expected.Format(L"Time = UT(%d, %d, %d, 12, 0, 0); Show Sky", c[0], c[1], c[3]);
        EXPECT_EQ(Set(MakeDate(c[0], c[1], c[2], 12, 0, 0)), Texts{expected});
    }

    // Records that are no date are dropped by both setters.
    obs.m_Date = MakeDate(2024, 3, 15, 12, 0, 0);
    obs.m_nForceUpdate = 0;
    const tagADATE bad[] = {
        MakeDate(2024, 13, 1, 12, 0, 0), MakeDate(2024, -1, 1, 12, 0, 0), MakeDate(2024, 3, -2, 12, 0, 0),
        MakeDate(INT_MAX, 1, 1, 0, 0, 0), MakeDate(INT_MIN, 1, 1, 0, 0, 0), MakeDate(2024, 3, 1, 0, 0, NAN),
        MakeDate(2024, 3, 1, 0, 0, 0, INFINITY),
    };
    for (tagADATE t : bad) {
        tagADATE copy = t;
        obs.UpdateDateByUI(&copy);
        obs.UpdateDateByUI(&copy, 1, 10);
        ExpectDropped(std::to_string(t.year) + "-" + std::to_string(t.month) + "-" + std::to_string(t.day));
    }
    obs.UpdateDateByUI(static_cast<tagADATE*>(nullptr));
    obs.UpdateDateByUI(static_cast<tagADATE*>(nullptr), 0, 0);
    obs.UpdateDateByUI(static_cast<tagSPAN*>(nullptr), 0);
    ExpectDropped("null");
}

TEST_F(DateEditTest, RangeAndEraSwap) {
    // From 1 January 99999 BC (year -99998) to 1 January 100000, both at 0h UT.
    const tagADATE inside[] = {MakeDate(100000, 1, 1, 0, 0, 0), MakeDate(-99998, 1, 1, 0, 0, 0),
                               MakeDate(100000, 1, 1, 9, 0, 0, 9.0)};
    const tagADATE outside[] = {MakeDate(100000, 1, 1, 0, 0, 1), MakeDate(-99999, 12, 31, 23, 59, 59),
                                MakeDate(100000, 1, 1, 9, 0, 0, 8.0)};
    for (tagADATE t : inside) EXPECT_EQ(obs.IsDateInRange(&t), 1) << t.year;
    for (tagADATE t : outside) EXPECT_EQ(obs.IsDateInRange(&t), 0) << t.year;
    EXPECT_EQ(Set(MakeDate(100000, 1, 1, 0, 0, 0)).size(), 1u);
    EXPECT_TRUE(Move({0, 0, 0, 0, 0, 1.0}).empty());
    obs.SwapADBCByUI();  // year -99999 lies before the first day
    EXPECT_TRUE(TakeCommands().empty());

    // 31 December 2023 20:00 UT is 1 January 2024 05:00 at +9; the swap gives 1 January of
    // year -2023 at 05:00 there, which is the evening before in UT.
    obs.m_Date = MakeDate(2023, 12, 31, 20, 0, 0);
    obs.SwapADBCByUI();
    EXPECT_EQ(TakeCommands(), Texts{L"Time = UT(-2024, 12, 31, 20, 0, 0); Show Sky"});
    obs.SwapADBCByUI();
    EXPECT_EQ(TakeCommands(), Texts{L"Time = UT(2023, 12, 31, 20, 0, 0); Show Sky"});
    obs.m_Date = MakeDate(INT_MAX, 1, 1, 0, 0, 0);  // an absurd host year is not swapped
    obs.SwapADBCByUI();
    EXPECT_TRUE(TakeCommands().empty());
}

TEST_F(DateEditTest, LockKinds) {
    const wchar_t* const locks[] = {
        L"Show Sky",
        L"Time.Lock = TRUE; Time.Lock.Rise = TRUE; Time.Lock.Offset.ByTheMinute = TRUE; Time.Lock.Offset = -30; Show Sky",
        L"Time.Lock = TRUE; Time.Lock.Set = TRUE; Time.Lock.Offset.ByTheMinute = TRUE; Time.Lock.Offset = -30; Show Sky",
        L"Time.Lock = TRUE; Time.Lock.Rise = TRUE; Time.Lock.Offset.ByTheDegree = TRUE; Time.Lock.Offset = -30; Show Sky",
        L"Time.Lock = TRUE; Time.Lock.Set = TRUE; Time.Lock.Offset.ByTheDegree = TRUE; Time.Lock.Offset = -30; Show Sky",
    };
    for (int kind = -1; kind <= 5; ++kind) {
        obs.m_nForceUpdate = 0;
        tagADATE t = MakeDate(2024, 3, 20, 12, 0, 59.9, 9.0);
        obs.UpdateDateByUI(&t, kind, -30);
        const CString lock = kind >= 0 && kind <= 4 ? CString(locks[kind]) : CString();
        EXPECT_EQ(TakeCommands(), (Texts{L"Time.Lock = FALSE; Time = UT(2024, 3, 20, 3, 0, 59)", lock})) << kind;
        EXPECT_EQ(obs.m_nForceUpdate, 5);
        EXPECT_EQ(obs.IsTimeLocked(), 0);  // the caller records the lock itself
    }
}

TEST_F(DateEditTest, TimeLockQuestion) {
    obs.SetTimeLocked(1);
    // Another day at the same time of day: no question.
    EXPECT_EQ(Set(MakeDate(2024, 3, 18, 21, 0, 0, 9.0)), Texts{L"Time = UT(2024, 3, 18, 12, 0, 0); Show Sky"});
    EXPECT_EQ(Move({0, 0, 1, 0, 0, 0.0}).size(), 1u);
    obs.SwapADBCByUI();
    EXPECT_EQ(TakeCommands().size(), 1u);
    EXPECT_TRUE(boxes.empty());

    // Another minute: asked, and declined.
    obs.m_Date = MakeDate(2024, 3, 15, 12, 0, 0);
    obs.m_nForceUpdate = 0;
    Set(MakeDate(2024, 3, 15, 21, 1, 0, 9.0));
    Move({0, 0, 0, 0, 1, 0.0});
    tagADATE locked = MakeDate(2024, 3, 15, 6, 0, 0);
    obs.UpdateDateByUI(&locked, 1, 5);
    ExpectDropped("declined");
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0], std::make_pair(CString(kAsk), static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION)));
    EXPECT_EQ(std::make_tuple(obs.IsTimeLocked(), obs.m_nSpecialTime), std::make_tuple(1, 0));
    EXPECT_EQ(obs.TurnOffSpecialTime(1, &locked), 0);
    EXPECT_EQ(obs.TurnOffSpecialTime(1, nullptr), 0);  // no record to compare: asked
    EXPECT_EQ(boxes.back().first, CString(kAskKind));

    // Accepted: the lock goes first.
    boxAnswer = IDYES;
    EXPECT_EQ(Set(MakeDate(2024, 3, 15, 21, 1, 0, 9.0)),
              (Texts{L"Time.Lock = FALSE; Show Zentar", L"Time = UT(2024, 3, 15, 12, 1, 0); Show Sky"}));
    EXPECT_EQ(std::make_tuple(obs.IsTimeLocked(), obs.m_nSpecialTime, boxes.size()), std::make_tuple(0, 0, size_t(6)));

    // While the question is open, the caller's own edit does not ask again.
    obs.SetTimeLocked(1);
    AfxSetMessageBoxHandler([&](LPCTSTR text, UINT type) {
        boxes.emplace_back(CString(text), type);
        tagADATE inner = MakeDate(2024, 3, 15, 14, 0, 0);
        obs.UpdateDateByUI(&inner);
        return IDNO;
    });
    EXPECT_EQ(Set(MakeDate(2024, 3, 15, 13, 0, 0)), Texts{L"Time = UT(2024, 3, 15, 14, 0, 0); Show Sky"});
    EXPECT_EQ(boxes.size(), 7u);
    // Without an application handler the framework answers no.
    AfxSetMessageBoxHandler(nullptr);
    EXPECT_TRUE(Set(MakeDate(2024, 3, 15, 13, 0, 0)).empty());
    obs.InitFlg();
    EXPECT_EQ(obs.IsTimeLocked(), 0);
}
