#include "format/DataExchange.h"

#include "support/TestUtil.h"

namespace {

constexpr int kId = 1001;

// A dialog with one edit box showing `text` (limit already right unless told otherwise)
// and a selection, exchanged once in one direction.
class Box {
public:
    explicit Box(const wchar_t* text, unsigned limit = 10) : edit(dlg.AddEdit(kId)) {
        edit.SetLimitText(limit);
        edit.SetWindowText(text);
        edit.SetSel(1, 2);
    }
    CString Text() const {
        CString t;
        edit.GetWindowText(t);
        return t;
    }
    CDataExchange Save() { return CDataExchange(&dlg, TRUE); }
    CDataExchange Load() { return CDataExchange(&dlg, FALSE); }
    void ExpectSelectionKept() const {
        int s, e;
        edit.GetSel(s, e);
        const int len = edit.GetWindowTextLength();
        EXPECT_EQ(std::min(1, len), s);
        EXPECT_EQ(std::min(2, len), e);
        EXPECT_GE(edit.GetScrollRequests(), 1);
    }
    CDialog dlg;
    CEdit& edit;
};

TEST(NumberCleaner, KeepsOnlyWhatBelongsInANumber) {
    struct Case {
        const wchar_t* in;
        BOOL point, sign;
        const wchar_t* out;
        BOOL changed;
    } cases[] = {
        {L"", TRUE, TRUE, L"", FALSE},          {L"5", FALSE, FALSE, L"5", FALSE},
        {L"-", FALSE, TRUE, L"-", FALSE},       {L"-", FALSE, FALSE, L"", TRUE},
        {L".", TRUE, FALSE, L".", FALSE},       {L"x", TRUE, TRUE, L"", TRUE},
        {L"1a2", FALSE, FALSE, L"12", TRUE},    {L"-5", FALSE, FALSE, L"5", TRUE},
        {L"0005", FALSE, FALSE, L"05", TRUE},   {L"000.5", TRUE, FALSE, L"0.5", TRUE},
        {L"1.2.3", TRUE, FALSE, L"1.23", TRUE}, {L"+1-2", FALSE, TRUE, L"+12", TRUE},
        {L".5.", TRUE, TRUE, L".5", TRUE},      {L"12.5", FALSE, TRUE, L"125", TRUE},
        {L"-0.25", TRUE, TRUE, L"-0.25", FALSE},
    };
    for (const auto& c : cases) {
        CString t(c.in);
        EXPECT_EQ(c.changed, CleanNumberText(t, c.point, c.sign)) << CString(c.in).ToUtf8();
        EXPECT_EQ(CString(c.out), t) << CString(c.in).ToUtf8();
    }
}

TEST(NumberCleaner, LongTextsAreCleanedWhole) {
    // Longer than any fixed buffer: every digit survives, the junk between them goes.
    CString text;
    for (int i = 0; i < 522; ++i) text += i % 2 ? L'x' : static_cast<wchar_t>(L'1' + i % 9);
    ASSERT_EQ(522, text.GetLength());
    CString typed = text + text;  // 1044 characters, the longest a floating box reads
    EXPECT_TRUE(CleanNumberText(typed, TRUE, TRUE));
    EXPECT_EQ(522, typed.GetLength());
    EXPECT_EQ(-1, typed.Find(L'x'));

    // A floating box reads 1044 characters and cleans all of them; what lies beyond is
    // not read.
    CString junk;
    for (int i = 0; i < 521; ++i) junk += L"2x";
    Box box(L"");
    box.edit.SetWindowText(L"1." + junk + L"9");
    double v = 0;
    auto dx = box.Save();
    DDX_Double(&dx, kId, v, FALSE, 10);
    EXPECT_EQ(L"1." + CString(L'2', 521), box.Text());
    EXPECT_NEAR(1.2222222222, v, 1e-9);
}

TEST(DdxInt, SavingCleansTheBox) {
    Box box(L"1a2");
    int v = 0;
    auto dx = box.Save();
    DDX_Int(&dx, kId, v, FALSE, 10);
    EXPECT_EQ(12, v);
    EXPECT_EQ(CString(L"12"), box.Text());
    box.ExpectSelectionKept();

    Box neg(L"-5");
    auto dx2 = neg.Save();
    DDX_Int(&dx2, kId, v, FALSE, 10);
    EXPECT_EQ(5, v);
    EXPECT_EQ(CString(L"5"), neg.Text());
    neg.edit.SetWindowText(L"-5");
    DDX_Int(&dx2, kId, v, TRUE, 10);
    EXPECT_EQ(-5, v);
    // Beyond the range of an int: the nearest int.
    neg.edit.SetWindowText(L"99999999999");
    DDX_Int(&dx2, kId, v, TRUE, 10);
    EXPECT_EQ(2147483647, v);
}

TEST(DdxInt, LoadingKeepsATextThatAlreadyStandsForTheValue) {
    Box box(L"007");
    int v = 7;
    auto dx = box.Load();
    DDX_Int(&dx, kId, v, FALSE, 10);
    EXPECT_EQ(CString(L"07"), box.Text());
    box.ExpectSelectionKept();
    v = 8;
    DDX_Int(&dx, kId, v, FALSE, 10);
    EXPECT_EQ(CString(L"8"), box.Text());
    v = -3;  // not allowed: shown and kept as 0
    DDX_Int(&dx, kId, v, FALSE, 10);
    EXPECT_EQ(0, v);
    EXPECT_EQ(CString(L"0"), box.Text());
    v = -3;
    DDX_Int(&dx, kId, v, TRUE, 10);
    EXPECT_EQ(CString(L"-3"), box.Text());
}

TEST(DdxInt, AWrongLimitResetsTheBox) {
    Box box(L"123", 5);
    int v = 0;
    auto dx = box.Save();
    DDX_Int(&dx, kId, v, FALSE, 8);
    EXPECT_EQ(8u, box.edit.GetLimitText());
    EXPECT_EQ(0, v);
    EXPECT_EQ(CString(L"0"), box.Text());
    // A missing control is left alone.
    DDX_Int(&dx, kId + 1, v, FALSE, 8);
    DDX_Int(nullptr, kId, v, FALSE, 8);
}

TEST(DdxUint, WholeUnsignedRange) {
    Box box(L"4000000000");
    unsigned v = 0;
    auto dx = box.Save();
    DDX_Uint(&dx, kId, v, 10);
    EXPECT_EQ(4000000000u, v);
    box.edit.SetWindowText(L"-12");
    DDX_Uint(&dx, kId, v, 10);
    EXPECT_EQ(12u, v);
    auto load = box.Load();
    box.edit.SetSel(1, 2);
    v = 3000000000u;
    DDX_Uint(&load, kId, v, 10);
    EXPECT_EQ(CString(L"3000000000"), box.Text());
    box.ExpectSelectionKept();
}

TEST(DdxDouble, SavingAndLoading) {
    Box box(L"1.2.3");
    double v = 0;
    auto save = box.Save();
    DDX_Double(&save, kId, v, FALSE, 10);
    EXPECT_DOUBLE_EQ(1.23, v);
    EXPECT_EQ(CString(L"1.23"), box.Text());
    box.ExpectSelectionKept();

    auto load = box.Load();
    v = 2.5;
    DDX_Double(&load, kId, v, FALSE, 10);
    EXPECT_EQ(CString(L"2.5"), box.Text());
    v = 3.0;
    DDX_Double(&load, kId, v, FALSE, 10);
    EXPECT_EQ(CString(L"3"), box.Text());
    v = 1200.0;  // zeros before the point stay
    DDX_Double(&load, kId, v, FALSE, 10);
    EXPECT_EQ(CString(L"1200"), box.Text());
    box.edit.SetWindowText(L"0003.50");
    v = 3.5;
    DDX_Double(&load, kId, v, FALSE, 10);
    EXPECT_EQ(CString(L"03.50"), box.Text());
    v = -1.5;
    DDX_Double(&load, kId, v, FALSE, 10);
    EXPECT_EQ(0.0, v);
    EXPECT_EQ(CString(L"0"), box.Text());
}

TEST(DdxDoubleFmt, FormatsWithoutCleaning) {
    Box box(L"1.5x", 5);
    double v = 0;
    auto save = box.Save();
    DDX_DoubleFmt(&save, kId, v, L"%.2f", 12);
    EXPECT_EQ(12u, box.edit.GetLimitText());
    EXPECT_DOUBLE_EQ(1.5, v);
    EXPECT_EQ(CString(L"1.5x"), box.Text());  // the text is never cleaned
    box.ExpectSelectionKept();
    auto load = box.Load();
    v = 2.0 / 3.0;
    DDX_DoubleFmt(&load, kId, v, L"%.3f deg", 12);
    EXPECT_EQ(CString(L"0.667 deg"), box.Text());
    // A format that does not take one double is not trusted with it.
    DDX_DoubleFmt(&load, kId, v, L"%s", 12);
    EXPECT_EQ(CString(L"0.666667"), box.Text());
    DDX_DoubleFmt(&load, kId, v, nullptr, 12);
    EXPECT_EQ(CString(L"0.666667"), box.Text());
    DDX_DoubleFmt(&load, kId, v, L"%f %f", 12);
    EXPECT_EQ(CString(L"0.666667"), box.Text());
    DDX_DoubleFmt(&load, kId, v, L"100%% %.1f", 12);
    EXPECT_EQ(CString(L"100% 0.7"), box.Text());
}

TEST(DdxSignificantDigit, CutsToTheDecimals) {
    Box box(L"3.14159", 4);
    double v = 0;
    auto save = box.Save();
    DDX_Double_SignificantDigit(&save, kId, v, FALSE, 2);
    EXPECT_DOUBLE_EQ(3.14, v);
    EXPECT_EQ(CString(L"3.14"), box.Text());
    EXPECT_EQ(4u, box.edit.GetLimitText());  // the limit is not touched
    box.ExpectSelectionKept();
    box.edit.SetWindowText(L"-2.5");
    DDX_Double_SignificantDigit(&save, kId, v, FALSE, 2);
    EXPECT_EQ(2.5, v);
    DDX_Double_SignificantDigit(&save, kId, v, TRUE, 0);
    EXPECT_EQ(CString(L"2."), box.Text());
    EXPECT_EQ(2.0, v);

    auto load = box.Load();
    v = 1.0;
    DDX_Double_SignificantDigit(&load, kId, v, FALSE, 3);
    EXPECT_EQ(CString(L"1"), box.Text());
    v = 1.23456;
    DDX_Double_SignificantDigit(&load, kId, v, FALSE, 3);
    EXPECT_EQ(CString(L"1.235"), box.Text());
    box.edit.SetWindowText(L"01.5");
    v = 1.5;
    DDX_Double_SignificantDigit(&load, kId, v, FALSE, 3);
    EXPECT_EQ(CString(L"01.5"), box.Text());
    v = 1e-300;  // an absurd number of decimals is bounded, not a crash
    DDX_Double_SignificantDigit(&load, kId, v, FALSE, 4000000000u);
    EXPECT_EQ(0, box.Text().Find(L"0.000"));
}

}  // namespace
