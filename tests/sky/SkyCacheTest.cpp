// SPDX-License-Identifier: LGPL-3.0-or-later
// The built-in sky keeps places, instants and tabulated positions between queries: none may
// answer for another instant, site or body.
#include <gtest/gtest.h>

#include <functional>
#include <thread>
#include <vector>

#include "SkyTables.h"
#include "sky/SkyHost.h"

namespace {

constexpr double kJd = 2461381.0;

// The queries or bodies of one kind in the table.
std::vector<CString> Cached(const std::string& kind) {
    std::vector<CString> out;
    for (const std::string& row : DataRows("sky/cached.txt", 2))
        if (TabFields(row)[0] == kind) out.push_back(W(TabFields(row)[1]));
    return out;
}

std::vector<CString> AskAll(CSkyHost& host) {
    std::vector<CString> out;
    for (const CString& q : Cached("query")) out.push_back(host.Execute(q));
    return out;
}
// The answers of a host new to a thread of its own, so nothing kept by this thread helps.
std::vector<CString> Fresh(const std::function<void(CSkyHost&)>& set) {
    std::vector<CString> out;
    std::thread([&] {
        CSkyHost host(kJd);
        host.SetSite(139.745, 35.654, 40.0);
        set(host);
        out = AskAll(host);
    }).join();
    return out;
}

TEST(SkyCaches, AnswersFollowEachChangeOfInstantAndSite) {
    const struct {
        const char* what;
        std::function<void(CSkyHost&)> change;
        bool allDiffer;  // every answer above changes
    } kChanges[] = {
        {"instant", [](CSkyHost& h) { h.SetJd(kJd + 1.3); }, true},
        {"an instant a second later", [](CSkyHost& h) { h.SetJd(kJd + 1.0 / 86400.0); }, false},
        {"site", [](CSkyHost& h) { h.SetSite(-70.0, -30.0, 40.0); }, true},
        {"height", [](CSkyHost& h) { h.SetSite(139.745, 35.654, 3000.0); }, false},
    };
    for (const auto& c : kChanges) {
        CSkyHost host(kJd);
        host.SetSite(139.745, 35.654, 40.0);
        host.SetMark(5.5, -5.0);
        const std::vector<CString> before = AskAll(host);
        c.change(host);
        const std::vector<CString> after = AskAll(host);
        const std::vector<CString> fresh = Fresh([&](CSkyHost& h) {
            h.SetMark(5.5, -5.0);
            c.change(h);
        });
        int changed = 0;
        const std::vector<CString> queries = Cached("query");
        for (size_t i = 0; i < after.size(); ++i) {
            EXPECT_STREQ(after[i].GetString(), fresh[i].GetString())
                << c.what << ": " << queries[i].ToUtf8();
            EXPECT_FALSE(after[i].IsEmpty()) << queries[i].ToUtf8();
            changed += after[i] != before[i];
            if (c.allDiffer) {
                EXPECT_STRNE(after[i].GetString(), before[i].GetString())
                    << c.what << ": " << queries[i].ToUtf8();
            }
        }
        EXPECT_GT(changed, 0) << c.what;
    }
}

TEST(SkyCaches, EachBodyAnswersForItselfAndAbsurdInstantsSoundly) {
    CSkyHost host(kJd);
    for (const wchar_t* property : {L".position.RA", L".Jd.Rise"}) {
        std::vector<CString> seen;
        for (const CString& body : Cached("body")) {
            const CString answer = host.Execute(L"? " + body + property);
            for (const CString& other : seen) EXPECT_NE(answer, other) << body.ToUtf8() << property;
            seen.push_back(answer);
        }
    }
    // An instant so early that its year does not fit the clock's fields answers without
    // overflowing ...
    const CString sirius = host.Execute(L"? Star.HIP.32349.position.Altitude");
    host.Execute(L"Time.Jd = -1e91");
    EXPECT_EQ(host.Execute(L"? UT(Time)").Left(5), L"UT BC");
    host.Execute(L"? Solar.Planet.Earth.Satellite.Moon.Jd.Rise");
    host.Execute(L"? Solar.Planet.Mars.position.Altitude");
    // ... and leaves nothing behind that spoils later answers.
    host.SetJd(kJd);
    EXPECT_EQ(host.Execute(L"? Star.HIP.32349.position.Altitude"), sirius);
}

}  // namespace
