// SPDX-License-Identifier: LGPL-3.0-or-later
// The click-text builders against the table-driven host, case by case from golden files
// (scripts/update-golden.sh rewrites their expected texts and queries), and where GetText
// puts the later lines.
//
// "## name | object path | click type | switches | builder [number]" opens a case: the
// switches are CCdStatus field names joined by "," ("Name=value" for a value other than 1,
// "all" for InitAll, "init" for Init, "NotEarth" and "OriginNorth" for the observer,
// "ExtraOption" for the application's option); the
// builder is "later" when left out; the number is its compact flag or precision.
// "query<TAB>answer" lines are the host's table; "> " lines the expected text, each ended by
// CR LF (">" alone: an empty line), and "= " a last line without one; "< " lines the exact
// queries sent, in order ("<" alone: none). A case without "<" lines leaves them unchecked.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <map>
#include <sstream>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

// A table by name of the pairs given.
template <class Value, class... Pairs>
std::map<std::string, Value> Table(Pairs... pairs) {
    return {std::pair<const std::string, Value>(pairs)...};
}

// The switches a case may set, by field name.
#define ZCM_FIELD(name) std::pair(#name, &CCdStatus::name)
const auto kSwitches = Table<int CCdStatus::*>(
    ZCM_FIELD(AltSpan), ZCM_FIELD(AltCenter), ZCM_FIELD(AltMag), ZCM_FIELD(Precision),
    ZCM_FIELD(IgnoreErase), ZCM_FIELD(DispPopup), ZCM_FIELD(CnsInfo), ZCM_FIELD(StarDetails),
    ZCM_FIELD(DispMag), ZCM_FIELD(DispEqt2000), ZCM_FIELD(DispEqtDateApp), ZCM_FIELD(DispEqt1950),
    ZCM_FIELD(DispEclDateMean), ZCM_FIELD(DispEclDateApp), ZCM_FIELD(DispEcl2000),
    ZCM_FIELD(DispGal), ZCM_FIELD(DispHrz), ZCM_FIELD(DispHrzOrgSouth), ZCM_FIELD(DispRiseSet),
    ZCM_FIELD(DispAzmth), ZCM_FIELD(DispHourAngle), ZCM_FIELD(DispDeltaEqt), ZCM_FIELD(DispDistR),
    ZCM_FIELD(SolarOrbitDetails), ZCM_FIELD(PlanetPhysicalTable), ZCM_FIELD(PgcDetails),
    ZCM_FIELD(DispNameOnBar), ZCM_FIELD(DispComment), ZCM_FIELD(TransparentOnInactive),
    ZCM_FIELD(RaInDegrees), ZCM_FIELD(UserFlag1), ZCM_FIELD(UserFlag2), ZCM_FIELD(UserFlag3),
    ZCM_FIELD(DispConstellation), ZCM_FIELD(DispAirmass), ZCM_FIELD(DispSiderealTime),
    ZCM_FIELD(DispLightTime), ZCM_FIELD(DispPhaseAngle), ZCM_FIELD(DispParallacticAngle),
    ZCM_FIELD(DispSunMoonAltitude), ZCM_FIELD(DispTimeToEvents), ZCM_FIELD(DispObservingWindow),
    ZCM_FIELD(DispVariableForecast), ZCM_FIELD(DispFieldRatio), ZCM_FIELD(DispProvenance));
#undef ZCM_FIELD

using Builder = std::function<CString(ClickDataProbe&, FakeHost&, int)>;
#define ZCM_BUILDER(name, call) \
    std::pair(name, [](ClickDataProbe& cd, FakeHost& h, int c) { return cd.call(&h, c); })
#define ZCM_PLAIN(name, call) \
    std::pair(name, [](ClickDataProbe& cd, FakeHost& h, int) { return cd.call(&h); })
const auto kBuilders = Table<Builder>(
    ZCM_BUILDER("star", GetTextStar), ZCM_BUILDER("gcvs", GetTextStarGcvs),
    ZCM_BUILDER("wds", GetTextStarWds), ZCM_BUILDER("exo", GetTextExoPlanet),
    ZCM_BUILDER("solar", GetTextSolar), ZCM_BUILDER("deepsky", GetTextDeepSky),
    ZCM_BUILDER("magellan", GetTextMagellan), ZCM_BUILDER("image", GetTextDeepSkyImage),
    ZCM_BUILDER("satellite", GetTextSatellite), ZCM_BUILDER("meteor", GetTextMeteor),
    ZCM_BUILDER("cons", GetTextCons), ZCM_BUILDER("eqt", GetTextEqt),
    ZCM_BUILDER("adf", GetTextAdf), ZCM_BUILDER("angle", GetTextAngleOfField),
    ZCM_BUILDER("mosaic", GetTextMosaicOfField), ZCM_BUILDER("fov", GetTextFiledOfView),
    ZCM_BUILDER("pos", GetPosString), ZCM_PLAIN("eclipse", GetSolarEclipse),
    ZCM_PLAIN("later", GetLaterLines), ZCM_PLAIN("measure", GetMeasureString),
    ZCM_PLAIN("motion", GetDailyMotion), ZCM_PLAIN("elongation", GetSolarElongation));
#undef ZCM_PLAIN
#undef ZCM_BUILDER

struct Case {
    std::string name, path, switches, builder = "later", table, expected, queries;
    std::vector<std::string> head;  // the lines kept when the file is rewritten
    int type = 0, compact = 0;
    bool checkQueries = false;
};

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::vector<Case> ReadCases(const std::string& file, std::vector<std::string>& preamble,
                            std::vector<std::string>& trailer) {
    std::ifstream in(file);
    std::vector<Case> cases;
    std::vector<std::string> between;  // comments after a case's output: before the next case
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("## ", 0) == 0) {
            std::vector<std::string> f;
            std::istringstream s(line.substr(3));
            for (std::string part; std::getline(s, part, '|');) f.push_back(Trim(part));
            Case c;
            c.name = f.at(0), c.path = f.at(1), c.switches = f.at(3);
            c.type = std::stoi(f.at(2));
            if (f.size() > 4) std::istringstream(f[4]) >> c.builder >> c.compact;
            c.head.swap(between);
            cases.push_back(c);
        } else if (cases.empty()) {
            preamble.push_back(line);
            continue;
        }
        Case& c = cases.back();
        if (line.rfind(">", 0) == 0) {
            c.expected += line.substr(std::min<size_t>(2, line.size())) + "\r\n";
        } else if (line.rfind("= ", 0) == 0) {
            c.expected += line.substr(2);
        } else if (line.rfind("<", 0) == 0) {
            c.checkQueries = true;
            if (line.size() > 2) c.queries += line.substr(2) + "\n";
        } else if (line.rfind("? ", 0) == 0) {
            c.table += line + "\n";
            c.head.push_back(line);
        } else {
            (c.expected.empty() && !c.checkQueries ? c.head : between).push_back(line);
        }
    }
    trailer.swap(between);
    return cases;
}

// Each line of text as "> " (ended by CR LF) or "= " (the unended rest).
std::string GoldenLines(const std::string& text) {
    std::string out;
    size_t at = 0;
    for (size_t end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        out += end == at ? ">\n" : "> " + text.substr(at, end - at) + "\n";
    return at < text.size() ? out + "= " + text.substr(at) + "\n" : out;
}

void CheckGoldenFile(const char* name, size_t count) {
    const std::string file = std::string(ZCMCOM_SOURCE_DIR) + "/tests/golden/" + name;
    std::vector<std::string> preamble, trailer;
    const std::vector<Case> cases = ReadCases(file, preamble, trailer);
    ASSERT_EQ(cases.size(), count) << file;
    std::ostringstream rewritten;
    for (const std::string& line : preamble) rewritten << line << "\n";
    for (const Case& c : cases) {
        CCdStatus status;
        ClickDataProbe cd(status);
        std::istringstream s(c.switches);
        for (std::string sw; std::getline(s, sw, ',');) {
            const size_t eq = sw.find('=');
            if (sw == "all")
                status.InitAll();
            else if (sw == "init")
                status.Init();
            else if (sw == "NotEarth")
                cd.SetNotEarth(1);
            else if (sw == "OriginNorth")
                cd.SetOriginNorth(1);
            else if (sw == "ExtraOption")
                cd.SetExtraOption(1);
            else
                status.*kSwitches.at(sw.substr(0, eq)) =
                    eq == std::string::npos ? 1 : std::stoi(sw.substr(eq + 1));
        }
        FakeHost host;
        host.LoadTable(c.table);
        cd.SetObject(CString(c.path.c_str()), c.type);
        const std::string text = kBuilders.at(c.builder)(cd, host, c.compact).ToUtf8();
        std::string queries;
        for (const CString& q : host.Queries()) queries += q.ToUtf8() + "\n";
        EXPECT_EQ(text, c.expected) << c.name;
        if (c.checkQueries) {
            EXPECT_EQ(queries, c.queries) << c.name;
        }
        for (const std::string& line : c.head) rewritten << line << "\n";
        rewritten << GoldenLines(text);
        if (c.checkQueries) {
            std::istringstream q(queries);
            rewritten << (queries.empty() ? "<\n" : "");
            for (std::string line; std::getline(q, line);) rewritten << "< " << line << "\n";
        }
    }
    for (const std::string& line : trailer) rewritten << line << "\n";
    UpdateGolden(file, rewritten.str());
}

TEST(GoldenTexts, LaterLines) { CheckGoldenFile("later_lines.txt", 36); }
TEST(GoldenTexts, ObjectTexts) { CheckGoldenFile("click_texts.txt", 199); }

TEST(LaterLines, FollowTodaysTextAndTheMeasuringLineAndAreCached) {
    CCdStatus status;
    status.DispSiderealTime = 1;
    FakeHost host{{L"? Equatorial.position.RA", L"5.5"}, {L"? Time.SiderealTime", L"2.3355833"}};
    CZntClickData cd;
    cd.SetStatus(&status);
    const CString text = cd.GetText(&host, L"Equatorial", 0);
    EXPECT_EQ(text.Right(17), L"\r\n恒星時 02h20m08s\r\n");
    const CString cons = cd.GetText(&host, L"Constellation.Ori", 0);
    EXPECT_EQ(cons.Right(17), text.Right(17));
    host.Answer(L"? Time.SiderealTime", L"3");
    EXPECT_EQ(cd.GetText(&host, L"Constellation.Ori", 0),
              cons);  // same instant and place: the cache
    EXPECT_EQ(cd.GetText(&host, L"Equatorial", 0).Right(17),
              L"\r\n恒星時 03h00m00s\r\n");                              // a sky point: anew
    EXPECT_EQ(cd.GetText(&host, L"Equatorial", 1).Find(L"恒星時"), -1);  // not in the one-line form
}

}  // namespace
