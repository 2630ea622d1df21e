// SPDX-License-Identifier: LGPL-3.0-or-later
#include "host/StkString.h"

#include <climits>

#include "host/CorZnt.h"
#include "support/TestUtil.h"

namespace {

const tagNAMETABLE kKinds[] = {{L"Star", 1},          {L"DeepSky", 2}, {L"Solar", 3},
                               {L"Constellation", 4}, {L"Star2", 1},   {nullptr, 0}};

// Each row: a text and what `read` gives for it.
template <typename F, typename Rows>
void ExpectEach(F read, const Rows& rows) {
    for (const auto& [text, want] : rows)
        EXPECT_EQ(read(CStkStr(text)), want) << CString(text).ToUtf8();
}
template <typename T, typename F>
void ExpectEach(F read, std::initializer_list<std::pair<const wchar_t*, T>> rows) {
    ExpectEach<F, decltype(rows)>(read, rows);
}

// Each row: a parameter index and its text; an empty text means IsEmpty must say so.
void ExpectParams(const CZntProperty& p,
                  std::initializer_list<std::pair<int, const wchar_t*>> rows) {
    for (const auto& [i, text] : rows) {
        if (*text)
            EXPECT_EQ(p.GetParam(i), CString(text)) << i;
        else
            EXPECT_EQ(p.IsEmpty(i), 1) << i;
    }
}

}  // namespace

TEST(StkStr, EveryReaderHonoursTheNoValueMarks) {
    ExpectEach<double>([](const CStkStr& s) { return s.atof(5.0); },
                       {{L"*", 5.0}, {L"", 5.0}, {L"abc", 0.0}, {L" 12.5 mag", 12.5}});
    ExpectEach<int>([](const CStkStr& s) { return s.atoi(-1); }, {{L"*", -1}, {L"-42x", -42}});
    ExpectEach<int>([](const CStkStr& s) { return s.IsNum(); }, {{L"+3", 1}, {L".5", 0}, {L"", 0}});
    const std::pair<const wchar_t*, int> truth[] = {{L"TRUE", 10}, {L"true", 10}, {L"On", 10},
                                                    {L"1", 10},    {L"FALSE", 1}, {L"off", 1},
                                                    {L"0", 1},     {L"10", 0}};
    ExpectEach([](const CStkStr& s) { return s.IsTrue() * 10 + s.IsFalse(); }, truth);
    EXPECT_EQ(CStkStr(L"yes").IsBool(), 0);
    ExpectEach<int>([](const CStkStr& s) { return s.LineStyle(); },
                    {{L"dashdotdot", 4}, {L"DASH", 1}, {L"wavy", -1}});
    EXPECT_EQ(CStkStr(L"wavy").IsLineStyle(), 0);
    ExpectEach<int>(
        [](const CStkStr& s) { return s.Channel(); },
        {{L"#12", 12}, {L"#-3", -3}, {L"#a", -1}, {L"#*", -1}, {L"#", -1}, {L"12", -1}});
    const std::pair<const wchar_t*, double> speeds[] = {
        {L"2 RPM", 12.0}, {L"30dpm", 0.5}, {L"-3 RPM", -3.0}, {L"4 DPS", 4.0},
        {L"7", 7.0},      {L"*", -1.0},    {L"", -1.0}};
    ExpectEach([](const CStkStr& s) { return s.DPS(); }, speeds);
    const std::pair<const wchar_t*, int> years[] = {
        {L"100 B.C.", -99}, {L"1 bc", 0},    {L"B.C. 45", -44}, {L"2024 A.D.", 2024},
        {L"AD 800", 800},   {L"1582", 1582}, {L"-500", -500},   {L"*", 77}};
    const auto year = [](const CStkStr& s) { return s.Year(77); };
    ExpectEach(year, years);
    // saturated, no overflow
    ExpectEach<int>(year,
                    {{L"99999999999 BC", -2147483646}, {L"-99999999999999999999 BC", INT_MAX}});
}

TEST(StkStr, TableSearchUsesTheNameBeforeTheArguments) {
    int v = -1;
    EXPECT_EQ(CStkStr(L"deepsky(12, 3)").TableSearch(kKinds, &v), 1);
    EXPECT_EQ(v, 2);
    v = -1;
    EXPECT_EQ((std::tuple{CStkStr(L"Sta").TableSearch(kKinds, &v),
                          CStkStr(L"").TableSearch(kKinds, &v), v}),
              (std::tuple{0, 0, -1}));
    // a key longer than the comparison buffers matches nothing, even a long equal name
    const std::wstring longName(5000, L'A'), atLimit(4095, L'b');
    const tagNAMETABLE longTable[] = {{longName.c_str(), 9}, {atLimit.c_str(), 8}, {nullptr, 0}};
    EXPECT_EQ(CStkStr(longName.c_str()).TableSearch(longTable, &v), 0);
    EXPECT_EQ(CStkStr((atLimit + L"(x)").c_str()).TableSearch(longTable, &v), 1);
    EXPECT_EQ(v, 8);
    // the value search takes the first row and leaves the text alone when none matches
    CStkStr s(L"keep");
    EXPECT_EQ((std::tuple{s.TableValueSearch(kKinds, 1), s.TableValueSearch(kKinds, 99), s}),
              (std::tuple{1, 0, CString(L"Star")}));
    const tagNAMETABLE empty[] = {{nullptr, 0}};
    EXPECT_EQ(s.TableValueSearch(empty, 0), 0);
}

TEST(ZntProperty, DottedPathsAndCallFormsKeepTenPiecesThatShiftBothWays) {
    ExpectParams(CZntProperty(L"a.b.c.d.e.f.g.h.i.j.k"), {{0, L"a"}, {9, L"j"}});
    ExpectParams(CZntProperty(L"Star. GCVS .\tdel Cep\t"),
                 {{1, L"GCVS"}, {2, L"del Cep"}, {3, L""}});
    ExpectParams(CZntProperty(L"a..b."), {{1, L""}, {2, L"b"}, {3, L""}});
    // call forms keep nested calls and quoted commas
    ExpectParams(CZntProperty(L"Func( 12.5 , Inner(1, 2), \"a, b\" ) trailing"),
                 {{0, L"Func"}, {1, L"12.5"}, {2, L"Inner(1, 2)"}, {3, L"a, b"}, {4, L""}});
    CZntProperty loc(L"Location(\"Tokyo\", 139.7, 35.7)");
    EXPECT_EQ(loc.GetParam(1), CString(L"Tokyo"));
    EXPECT_DOUBLE_EQ(loc.atof(2, 0), 139.7);
    EXPECT_DOUBLE_EQ(loc.atof(3, 0), 35.7);
    // no closing parenthesis or quote: the arguments run to the end
    ExpectParams(CZntProperty(L"F(1, (2, 3"), {{2, L"(2, 3"}});
    ExpectParams(CZntProperty(L"F(\"unterminated, x"), {{1, L"unterminated, x"}});
    ExpectParams(CZntProperty(L"F(1,2,3,4,5,6,7,8,9,10,11)"), {{9, L"9"}});
    CZntProperty p(L"0.1.2.3.4.5.6.7.8.9");
    p.Shift(2);
    ExpectParams(p, {{0, L""}, {1, L""}, {2, L"0"}, {9, L"7"}});
    p.Shift(-3);
    ExpectParams(p, {{0, L"1"}, {6, L"7"}, {7, L""}, {9, L""}});
    p.Shift(0);
    ExpectParams(p, {{0, L"1"}});
    p.Shift(-2147483647 - 1);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(p.IsEmpty(i), 1);
}

TEST(ZntProperty, IndexOrPositionOutsideTheListTouchesNothing) {
    CZntProperty p(L"Solar.Planet.Mars");
    EXPECT_EQ(
        (std::tuple{p.GetParam(10), p.Same(-1, L""), p.IsEmpty(10), p.Channel(11), p.atoi(10, 7)}),
        (std::tuple{CString(), 0, 0, -1, 7}));
    EXPECT_DOUBLE_EQ(p.atof(-5, 1.5), 1.5);
    EXPECT_EQ((std::tuple{p.Year(12, 3), p.GetAt(10, 0), p.Mid(10, 0)}),
              (std::tuple{3, L'\0', CString()}));
    int v = 0;
    EXPECT_EQ(p.TableSearch(10, kKinds, &v), 0);
    EXPECT_EQ(p.GetMaxParam(), 10);
    // inside a parameter: the terminator at its end, an exception beyond
    EXPECT_EQ((std::tuple{p.GetAt(1, 0), p.GetAt(1, 6), p.Mid(1, 3), p.Mid(1, 60), p.Mid(1, -2)}),
              (std::tuple{L'P', L'\0', CString(L"net"), CString(), CString(L"Planet")}));
    ExpectThrows<CInvalidArgException>([&] { p.GetAt(1, 7); });
    ExpectThrows<CInvalidArgException>([&] { p.GetAt(0, -1); });
}

TEST(StkString, SplitsOnFirstIndexedReadAndAgainAfterAssignment) {
    CStkString s(L"Solar.Planet.Mars");
    EXPECT_EQ(s.SameP(2, L"mars"), 1);
    EXPECT_EQ(s.Same(L"solar.planet.mars"), 1);  // the whole text stays readable
    s = L"Star.Hip.32349";
    EXPECT_EQ(s.atoiP(2, 0), 32349);
    s = CStkStr(L"Location(\"Here\", 1, 2)");
    EXPECT_EQ(s.GetParamP(1), CString(L"Here"));
    CStkString copy(s);
    EXPECT_EQ(copy.atofP(3, 0), 2.0);
    copy.ShiftP(1);
    EXPECT_EQ(copy.GetParamP(2), CString(L"Here"));
    EXPECT_EQ(s.GetParamP(1), CString(L"Here"));  // the copy's shift is its own
    EXPECT_EQ(copy.GetMaxParamP(), 10);
    int v = 0;
    CStkString kind(L"DeepSky.NGC.224");
    EXPECT_EQ((std::tuple{kind.TableSearchP(0, kKinds, &v), v, kind.TableValueSearchP(0, kKinds, 3),
                          kind.GetParamP(0)}),
              (std::tuple{1, 2, 1, CString(L"Solar")}));
}

TEST(CorZnt, ABareHostRaisesTheAutomationException) {
    ExpectThrows<COleDispatchException>([] { CCorZnt().Execute(L"? time.jd"); });
}
