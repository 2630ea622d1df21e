#include "host/StkString.h"
#include "support/FakeHost.h"
#include "support/TestUtil.h"

namespace {

const tagNAMETABLE kKinds[] = {
    {L"Star", 1}, {L"DeepSky", 2}, {L"Solar", 3}, {L"Constellation", 4}, {L"Star2", 1},
    {nullptr, 0}};

}  // namespace

TEST(StkStr, NumbersHonourTheNoValueMarks) {
    EXPECT_DOUBLE_EQ(CStkStr(L"*").atof(5.0), 5.0);
    EXPECT_DOUBLE_EQ(CStkStr(L"").atof(5.0), 5.0);
    EXPECT_DOUBLE_EQ(CStkStr(L"abc").atof(5.0), 0.0);
    EXPECT_DOUBLE_EQ(CStkStr(L" 12.5 mag").atof(5.0), 12.5);
    EXPECT_EQ(CStkStr(L"*").atoi(-1), -1);
    EXPECT_EQ(CStkStr(L"-42x").atoi(0), -42);
    EXPECT_EQ(CStkStr(L"+3").IsNum(), 1);
    EXPECT_EQ(CStkStr(L".5").IsNum(), 0);
    EXPECT_EQ(CStkStr(L"").IsNum(), 0);
}

TEST(StkStr, TruthValuesAndLineStyles) {
    for (const wchar_t* t : {L"TRUE", L"true", L"On", L"1"}) {
        EXPECT_EQ(CStkStr(t).IsTrue(), 1) << t;
        EXPECT_EQ(CStkStr(t).IsFalse(), 0) << t;
    }
    for (const wchar_t* t : {L"FALSE", L"off", L"0"}) EXPECT_EQ(CStkStr(t).IsFalse(), 1) << t;
    EXPECT_EQ(CStkStr(L"yes").IsBool(), 0);
    EXPECT_EQ(CStkStr(L"10").IsTrue(), 0);
    EXPECT_EQ(CStkStr(L"dashdotdot").LineStyle(), 4);
    EXPECT_EQ(CStkStr(L"DASH").LineStyle(), 1);
    EXPECT_EQ(CStkStr(L"wavy").LineStyle(), -1);
    EXPECT_EQ(CStkStr(L"wavy").IsLineStyle(), 0);
}

TEST(StkStr, ChannelNeedsHashAndNumber) {
    EXPECT_EQ(CStkStr(L"#12").Channel(), 12);
    EXPECT_EQ(CStkStr(L"#-3").Channel(), -3);
    EXPECT_EQ(CStkStr(L"#a").Channel(), -1);
    EXPECT_EQ(CStkStr(L"#*").Channel(), -1);
    EXPECT_EQ(CStkStr(L"#").Channel(), -1);
    EXPECT_EQ(CStkStr(L"12").Channel(), -1);
}

TEST(StkStr, AngularSpeedUnits) {
    EXPECT_DOUBLE_EQ(CStkStr(L"2 RPM").DPS(), 12.0);
    EXPECT_DOUBLE_EQ(CStkStr(L"30dpm").DPS(), 0.5);
    EXPECT_DOUBLE_EQ(CStkStr(L"-3 RPM").DPS(), -3.0);
    EXPECT_DOUBLE_EQ(CStkStr(L"4 DPS").DPS(), 4.0);
    EXPECT_DOUBLE_EQ(CStkStr(L"7").DPS(), 7.0);
    EXPECT_DOUBLE_EQ(CStkStr(L"*").DPS(), -1.0);
    EXPECT_DOUBLE_EQ(CStkStr(L"").DPS(), -1.0);
}

TEST(StkStr, YearsWithEraMarkers) {
    EXPECT_EQ(CStkStr(L"100 B.C.").Year(0), -99);
    EXPECT_EQ(CStkStr(L"1 bc").Year(0), 0);
    EXPECT_EQ(CStkStr(L"B.C. 45").Year(0), -44);
    EXPECT_EQ(CStkStr(L"2024 A.D.").Year(0), 2024);
    EXPECT_EQ(CStkStr(L"AD 800").Year(0), 800);
    EXPECT_EQ(CStkStr(L"1582").Year(0), 1582);
    EXPECT_EQ(CStkStr(L"-500").Year(0), -500);
    EXPECT_EQ(CStkStr(L"*").Year(77), 77);
    EXPECT_EQ(CStkStr(L"99999999999 BC").Year(0), -2147483646);  // saturated, no overflow
    EXPECT_EQ(CStkStr(L"-99999999999999999999 BC").Year(0), 2147483647);
}

TEST(StkStr, TableSearchUsesTheNameBeforeTheArguments) {
    int v = -1;
    EXPECT_EQ(CStkStr(L"deepsky(12, 3)").TableSearch(kKinds, &v), 1);
    EXPECT_EQ(v, 2);
    v = -1;
    EXPECT_EQ(CStkStr(L"Sta").TableSearch(kKinds, &v), 0);
    EXPECT_EQ(v, -1);
    EXPECT_EQ(CStkStr(L"").TableSearch(kKinds, &v), 0);
    // a key longer than the comparison buffers matches nothing, even a long equal name
    std::wstring longName(5000, L'A');
    const tagNAMETABLE longTable[] = {{longName.c_str(), 9}, {nullptr, 0}};
    EXPECT_EQ(CStkStr(longName.c_str()).TableSearch(longTable, &v), 0);
    std::wstring atLimit(4095, L'b');
    const tagNAMETABLE limitTable[] = {{atLimit.c_str(), 8}, {nullptr, 0}};
    EXPECT_EQ(CStkStr((atLimit + L"(x)").c_str()).TableSearch(limitTable, &v), 1);
    EXPECT_EQ(v, 8);
}

TEST(StkStr, TableValueSearchTakesTheFirstRow) {
    CStkStr s(L"keep");
    EXPECT_EQ(s.TableValueSearch(kKinds, 1), 1);
    EXPECT_EQ(s, CString(L"Star"));
    EXPECT_EQ(s.TableValueSearch(kKinds, 99), 0);
    EXPECT_EQ(s, CString(L"Star"));
    const tagNAMETABLE empty[] = {{nullptr, 0}};
    EXPECT_EQ(s.TableValueSearch(empty, 0), 0);
}

TEST(ZntProperty, DottedPathsKeepTenPieces) {
    CZntProperty p(L"a.b.c.d.e.f.g.h.i.j.k");
    EXPECT_EQ(p.GetParam(9), CString(L"j"));
    EXPECT_EQ(p.GetParam(0), CString(L"a"));
    CZntProperty q(L"Star. GCVS .\tdel Cep\t");
    EXPECT_EQ(q.GetParam(1), CString(L"GCVS"));
    EXPECT_EQ(q.GetParam(2), CString(L"del Cep"));
    EXPECT_EQ(q.IsEmpty(3), 1);
    CZntProperty r(L"a..b.");
    EXPECT_EQ(r.IsEmpty(1), 1);
    EXPECT_EQ(r.GetParam(2), CString(L"b"));
    EXPECT_EQ(r.IsEmpty(3), 1);
}

TEST(ZntProperty, CallFormsKeepNestedCallsAndQuotedCommas) {
    CZntProperty p(L"Func( 12.5 , Inner(1, 2), \"a, b\" ) trailing");
    EXPECT_EQ(p.GetParam(0), CString(L"Func"));
    EXPECT_EQ(p.GetParam(1), CString(L"12.5"));
    EXPECT_EQ(p.GetParam(2), CString(L"Inner(1, 2)"));
    EXPECT_EQ(p.GetParam(3), CString(L"a, b"));
    EXPECT_EQ(p.IsEmpty(4), 1);

    CZntProperty loc(L"Location(\"Tokyo\", 139.7, 35.7)");
    EXPECT_EQ(loc.GetParam(1), CString(L"Tokyo"));
    EXPECT_DOUBLE_EQ(loc.atof(2, 0), 139.7);
    EXPECT_DOUBLE_EQ(loc.atof(3, 0), 35.7);

    CZntProperty open(L"F(1, (2, 3");  // no closing parenthesis: arguments run to the end
    EXPECT_EQ(open.GetParam(2), CString(L"(2, 3"));
    CZntProperty quote(L"F(\"unterminated, x");
    EXPECT_EQ(quote.GetParam(1), CString(L"unterminated, x"));

    CZntProperty many(L"F(1,2,3,4,5,6,7,8,9,10,11)");
    EXPECT_EQ(many.GetParam(9), CString(L"9"));
}

TEST(ZntProperty, IndexOutsideTheListTouchesNothing) {
    CZntProperty p(L"Solar.Planet.Mars");
    EXPECT_EQ(p.GetParam(10), CString());
    EXPECT_EQ(p.Same(-1, L""), 0);
    EXPECT_EQ(p.IsEmpty(10), 0);
    EXPECT_EQ(p.Channel(11), -1);
    EXPECT_EQ(p.atoi(10, 7), 7);
    EXPECT_DOUBLE_EQ(p.atof(-5, 1.5), 1.5);
    EXPECT_EQ(p.Year(12, 3), 3);
    EXPECT_EQ(p.GetAt(10, 0), L'\0');
    EXPECT_EQ(p.Mid(10, 0), CString());
    int v = 0;
    EXPECT_EQ(p.TableSearch(10, kKinds, &v), 0);
    EXPECT_EQ(p.GetMaxParam(), 10);
}

TEST(ZntProperty, GetAtAndMidBounds) {
    CZntProperty p(L"Solar.Planet");
    EXPECT_EQ(p.GetAt(1, 0), L'P');
    EXPECT_EQ(p.GetAt(1, 6), L'\0');
    EXPECT_EQ(p.Mid(1, 3), CString(L"net"));
    EXPECT_EQ(p.Mid(1, 60), CString());
    EXPECT_EQ(p.Mid(1, -2), CString(L"Planet"));
    try {
        p.GetAt(1, 7);
        FAIL() << "no exception";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
    try {
        p.GetAt(0, -1);
        FAIL() << "no exception";
    } catch (CInvalidArgException* e) {
        e->Delete();
    }
}

TEST(ZntProperty, ShiftBothWays) {
    CZntProperty p(L"0.1.2.3.4.5.6.7.8.9");
    p.Shift(2);
    EXPECT_EQ(p.IsEmpty(0), 1);
    EXPECT_EQ(p.IsEmpty(1), 1);
    EXPECT_EQ(p.GetParam(2), CString(L"0"));
    EXPECT_EQ(p.GetParam(9), CString(L"7"));
    p.Shift(-3);
    EXPECT_EQ(p.GetParam(0), CString(L"1"));
    EXPECT_EQ(p.GetParam(6), CString(L"7"));
    EXPECT_EQ(p.IsEmpty(7), 1);
    EXPECT_EQ(p.IsEmpty(9), 1);
    p.Shift(0);
    EXPECT_EQ(p.GetParam(0), CString(L"1"));
    p.Shift(-2147483647 - 1);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(p.IsEmpty(i), 1);
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
    EXPECT_EQ(kind.TableSearchP(0, kKinds, &v), 1);
    EXPECT_EQ(v, 2);
    EXPECT_EQ(kind.TableValueSearchP(0, kKinds, 3), 1);
    EXPECT_EQ(kind.GetParamP(0), CString(L"Solar"));
}

TEST(FakeHost, AnswersFromItsTableAndRecordsEveryCommand) {
    FakeHost host{{L"? time.jd", L"2461015.5"}};
    host.LoadTable("# comment\n? Location\tLocation(\"Tokyo\", 139.7, 35.7)\r\nbad line\n");
    host.Fail(L"? Broken");
    EXPECT_EQ(host.Execute(L"? time.jd"), CString(L"2461015.5"));
    EXPECT_EQ(host.Execute(L"? TIME.JD"), CString());  // exact match only
    EXPECT_EQ(CStkString(host.Execute(L"? Location")).GetParamP(1), CString(L"Tokyo"));
    host.Execute(L"Show Sky");
    try {
        host.Execute(L"? Broken");
        FAIL();
    } catch (COleDispatchException* e) {
        e->Delete();
    }
    EXPECT_EQ(host.Commands().size(), 5u);
    EXPECT_EQ(host.QueryCount(), 4);
    EXPECT_EQ(host.Commands()[3], CString(L"Show Sky"));
}

TEST(CorZnt, BareHostRaisesTheAutomationException) {
    CCorZnt host;
    try {
        host.Execute(L"? time.jd");
        FAIL();
    } catch (COleDispatchException* e) {
        e->Delete();
    }
}
