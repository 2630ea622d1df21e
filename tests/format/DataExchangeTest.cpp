// SPDX-License-Identifier: LGPL-3.0-or-later
#include "format/DataExchange.h"

#include <functional>
#include <tuple>

#include "support/Accuracy.h"
#include "support/TestUtil.h"

namespace {

constexpr int kId = 1001;

// A dialog with one edit box (character limit `limit`) showing `text`.
struct Box {
    explicit Box(const wchar_t* text, unsigned limit = 10) : edit(dlg.AddEdit(kId)) {
        edit.SetLimitText(limit);
        edit.SetWindowText(text);
    }
    CString Text() const {
        CString t;
        edit.GetWindowText(t);
        return t;
    }
    CDialog dlg;
    CEdit& edit;
};

// One exchange: the box text first (nullptr: as the last step left it), the variable, the
// flag (allow negative) and count (characters or decimals) passed on, and what the box and
// the variable hold afterwards.
struct Step {
    const wchar_t* text;
    double value;
    BOOL flag;
    unsigned count;
    const wchar_t* wantText;
    double wantValue;
};
using Ddx = std::function<void(CDataExchange*, double&, BOOL, unsigned)>;

const Ddx kInt = [](CDataExchange* dx, double& v, BOOL neg, unsigned n) {
    int i = static_cast<int>(v);
    DDX_Int(dx, kId, i, neg, n);
    v = i;
};
const Ddx kUint = [](CDataExchange* dx, double& v, BOOL, unsigned n) {
    unsigned u = static_cast<unsigned>(v);
    DDX_Uint(dx, kId, u, n);
    v = u;
};
const Ddx kDouble = [](CDataExchange* dx, double& v, BOOL neg, unsigned n) {
    DDX_Double(dx, kId, v, neg, n);
};
const Ddx kDigits = [](CDataExchange* dx, double& v, BOOL neg, unsigned n) {
    DDX_Double_SignificantDigit(dx, kId, v, neg, n);
};

// Runs the steps in one direction on one box; every step keeps the selection (1, 2).
void Exchange(BOOL save, const Ddx& ddx, std::initializer_list<Step> steps) {
    Box box(L"");
    CDataExchange dx(&box.dlg, save);
    for (const Step& s : steps) {
        if (s.text) box.edit.SetWindowText(s.text);
        box.edit.SetSel(1, 2);
        int first, last, first0, last0;
        box.edit.GetSel(first0, last0);
        const int scrolls = box.edit.GetScrollRequests();
        double v = s.value;
        ddx(&dx, v, s.flag, s.count);
        const std::string what = CString(s.wantText).ToUtf8();
        EXPECT_EQ(CString(s.wantText), box.Text()) << what;
        EXPECT_DOUBLE_EQ(s.wantValue, v) << what;
        box.edit.GetSel(first, last);
        const int len = box.edit.GetWindowTextLength();
        EXPECT_EQ(std::min(first0, len), first) << what;
        EXPECT_EQ(std::min(last0, len), last) << what;
        EXPECT_GT(box.edit.GetScrollRequests(), scrolls) << what;
    }
}

}  // namespace

TEST(NumberCleaner, KeepsOnlyWhatBelongsInANumberInTextsOfAnyLength) {
    for (const auto& f : DataFields("format/number_cleaner.txt", 5)) {
        CString t = W(f[0]);
        EXPECT_EQ(std::stoi(f[4]), CleanNumberText(t, std::stoi(f[1]), std::stoi(f[2]))) << f[0];
        EXPECT_EQ(W(f[3]), t) << f[0];
    }
    // Longer than any fixed buffer: every digit survives, the junk between them goes.
    CString text, junk;
    for (int i = 0; i < 1044; ++i) text += i % 2 ? L'x' : static_cast<wchar_t>(L'1' + i % 9);
    EXPECT_EQ(
        (std::tuple{bool(CleanNumberText(text, TRUE, TRUE)), text.GetLength(), text.Find(L'x')}),
        (std::tuple{true, 522, -1}));
    // A floating box reads 1044 characters and cleans all of them; what lies beyond is not read.
    for (int i = 0; i < 521; ++i) junk += L"2x";
    Exchange(TRUE, kDouble,
             {{L"1." + junk + L"9", 0, FALSE, 10, L"1." + CString(L'2', 521), 1.2222222222222222}});
}

TEST(DdxInt, SavingCleansLoadingShowsAWrongLimitResetsAMissingControlIsLeftAlone) {
    Exchange(TRUE, kInt,
             {{L"1a2", 0, FALSE, 10, L"12", 12},
              {L"-5", 0, FALSE, 10, L"5", 5},
              {L"-5", 0, TRUE, 10, L"-5", -5},
              {L"99999999999", 0, TRUE, 10, L"99999999999", 2147483647}});  // clamped
    Exchange(FALSE, kInt,
             {{L"007", 7, FALSE, 10, L"07", 7},
              {nullptr, 8, FALSE, 10, L"8", 8},
              {nullptr, -3, FALSE, 10, L"0", 0},  // not allowed: shown and kept as 0
              {nullptr, -3, TRUE, 10, L"-3", -3}});
    // the whole unsigned range
    Exchange(TRUE, kUint,
             {{L"4000000000", 0, FALSE, 10, L"4000000000", 4000000000.0},
              {L"-12", 0, FALSE, 10, L"12", 12}});
    Exchange(FALSE, kUint, {{nullptr, 3000000000.0, FALSE, 10, L"3000000000", 3000000000.0}});
    // A wrong limit resets the box; a missing control is left alone.
    Box box(L"123", 5);
    int v = 0;
    CDataExchange dx(&box.dlg, TRUE);
    DDX_Int(&dx, kId, v, FALSE, 8);
    EXPECT_EQ((std::tuple{box.edit.GetLimitText(), v, box.Text()}),
              (std::tuple{8u, 0, CString(L"0")}));
    DDX_Int(&dx, kId + 1, v, FALSE, 8);
    DDX_Int(nullptr, kId, v, FALSE, 8);
}

TEST(DdxDouble, SavingLoadingCuttingToTheDecimalsAndFormattingWithoutCleaning) {
    Exchange(TRUE, kDouble, {{L"1.2.3", 0, FALSE, 10, L"1.23", 1.23}});
    Exchange(FALSE, kDouble,
             {{nullptr, 2.5, FALSE, 10, L"2.5", 2.5},
              {nullptr, 3.0, FALSE, 10, L"3", 3.0},
              {nullptr, 1200.0, FALSE, 10, L"1200", 1200.0},  // zeros before the point
              {L"0003.50", 3.5, FALSE, 10, L"03.50", 3.5},
              {nullptr, -1.5, FALSE, 10, L"0", 0.0}});
    Exchange(TRUE, kDigits,
             {{L"3.14159", 0, FALSE, 2, L"3.14", 3.14},
              {L"-2.5", 0, FALSE, 2, L"2.5", 2.5},
              {nullptr, 0, TRUE, 0, L"2.", 2.0}});
    Exchange(FALSE, kDigits,
             {{nullptr, 1.0, FALSE, 3, L"1", 1.0},
              {nullptr, 1.23456, FALSE, 3, L"1.235", 1.23456},
              {L"01.5", 1.5, FALSE, 3, L"01.5", 1.5}});
    // The limit is not touched; an absurd number of decimals is bounded, not a crash.
    Box box(L"", 4);
    CDataExchange load(&box.dlg, FALSE);
    double v = 1e-300;
    DDX_Double_SignificantDigit(&load, kId, v, FALSE, 4000000000u);
    EXPECT_EQ((std::tuple{box.Text().Find(L"0.000"), box.edit.GetLimitText()}),
              (std::tuple{0, 4u}));
    // With a format: the text is never cleaned.
    Box fmt(L"1.5x", 5);
    fmt.edit.SetSel(1, 2);
    double w = 0;
    CDataExchange save(&fmt.dlg, TRUE), show(&fmt.dlg, FALSE);
    DDX_DoubleFmt(&save, kId, w, L"%.2f", 12);
    EXPECT_EQ((std::tuple{fmt.edit.GetLimitText(), w, fmt.Text()}),
              (std::tuple{12u, 1.5, CString(L"1.5x")}));
    int first, last;
    fmt.edit.GetSel(first, last);
    EXPECT_EQ(std::make_pair(1, 2), std::make_pair(first, last));
    // A format that does not take one double is not trusted with it.
    w = 2.0 / 3.0;
    const std::pair<const wchar_t*, const wchar_t*> formats[] = {{L"%.3f deg", L"0.667 deg"},
                                                                 {L"%s", L"0.666667"},
                                                                 {nullptr, L"0.666667"},
                                                                 {L"%f %f", L"0.666667"},
                                                                 {L"100%% %.1f", L"100% 0.7"}};
    for (const auto& [format, want] : formats) {
        DDX_DoubleFmt(&show, kId, w, format, 12);
        EXPECT_EQ(CString(want), fmt.Text());
    }
}
