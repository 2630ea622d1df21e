// SPDX-License-Identifier: LGPL-3.0-or-later
// The later click-text lines against the table-driven host, case by case from
// tests/golden/later_lines.txt, and where GetText puts them.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "support/ClickDataProbe.h"
#include "support/TestUtil.h"

namespace {

const std::map<std::string, int CCdStatus::*> kSwitches = {
    {"DispConstellation", &CCdStatus::DispConstellation},
    {"DispAirmass", &CCdStatus::DispAirmass},
    {"DispSiderealTime", &CCdStatus::DispSiderealTime},
    {"DispLightTime", &CCdStatus::DispLightTime},
    {"DispPhaseAngle", &CCdStatus::DispPhaseAngle},
    {"DispParallacticAngle", &CCdStatus::DispParallacticAngle},
    {"DispSunMoonAltitude", &CCdStatus::DispSunMoonAltitude},
    {"DispTimeToEvents", &CCdStatus::DispTimeToEvents},
    {"DispObservingWindow", &CCdStatus::DispObservingWindow},
    {"DispVariableForecast", &CCdStatus::DispVariableForecast},
    {"DispFieldRatio", &CCdStatus::DispFieldRatio},
    {"DispProvenance", &CCdStatus::DispProvenance},
};

struct Case {
    std::string name, path, switches, table, expected;
    int type = 0;
};

std::string Trim(const std::string& s) {
    const size_t a = s.find_first_not_of(' '), b = s.find_last_not_of(' ');
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::vector<Case> ReadCases() {
    std::ifstream in(std::string(ZCMCOM_SOURCE_DIR) + "/tests/golden/later_lines.txt");
    std::vector<Case> cases;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("## ", 0) == 0) {
            std::vector<std::string> f;
            std::istringstream s(line.substr(3));
            for (std::string part; std::getline(s, part, '|');) f.push_back(Trim(part));
            cases.push_back({f.at(0), f.at(1), f.at(3), "", "", std::stoi(f.at(2))});
        } else if (line.rfind("> ", 0) == 0) {
            cases.back().expected += line.substr(2) + "\r\n";
        } else if (line.rfind("? ", 0) == 0) {
            cases.back().table += line + "\n";
        }
    }
    return cases;
}

TEST(LaterLines, EachLineAgainstTheGoldenTexts) {
    const std::vector<Case> cases = ReadCases();
    ASSERT_EQ(cases.size(), 36u);
    for (const Case& c : cases) {
        CCdStatus status;
        if (c.switches == "all") {
            status.InitAll();
        } else {
            std::istringstream s(c.switches);
            for (std::string name; std::getline(s, name, ',');) status.*kSwitches.at(name) = 1;
        }
        FakeHost host;
        host.LoadTable(c.table);
        ClickDataProbe cd(status);
        cd.SetObject(CString(ZcmUtf8ToWide(c.path.data(), c.path.size()).c_str()), c.type);
        EXPECT_EQ(cd.GetLaterLines(&host).ToUtf8(), c.expected) << c.name;
    }
}

TEST(LaterLines, FollowTodaysTextAndTheMeasuringLineAndAreCached) {
    CCdStatus status;
    status.DispSiderealTime = 1;
    FakeHost host{{L"? Equatorial.position.RA", L"5.5"}, {L"? Time.SiderealTime", L"2.3355833"}};
    CZntClickData cd;
    cd.SetStatus(&status);
    const CString text = cd.GetText(&host, L"Equatorial", 0);
    EXPECT_EQ(text.Right(17), L"\r\n恒星時 02h20m08s\r\n");
    host.Answer(L"? Time.SiderealTime", L"3");
    EXPECT_EQ(cd.GetText(&host, L"Equatorial", 0), text);  // same instant and place: the cache
    EXPECT_EQ(cd.GetText(&host, L"Equatorial", 1).Find(L"恒星時"), -1);  // not in the one-line form
}

}  // namespace
