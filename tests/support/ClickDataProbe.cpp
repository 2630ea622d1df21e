// SPDX-License-Identifier: LGPL-3.0-or-later
#include "support/ClickDataProbe.h"

#include <algorithm>
#include <sstream>

namespace {

std::string Show(const CString& s) {
    std::string out = "\"";
    for (const char c : s.ToUtf8()) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n\n ";
        else
            out += c;
    }
    return out + "\"";
}

std::string ShowList(const std::vector<CString>& list) {
    std::ostringstream os;
    for (size_t i = 0; i < list.size(); ++i) os << "  " << i << ": " << list[i].ToUtf8() << "\n";
    return os.str();
}

}  // namespace

::testing::AssertionResult QueriesAre(FakeHost& host, const std::vector<CString>& expected) {
    const std::vector<CString> actual = host.Queries();
    host.ClearLog();
    if (actual == expected) return ::testing::AssertionSuccess();
    size_t i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i]) ++i;
    return ::testing::AssertionFailure() << "queries differ from #" << i << "\nexpected:\n"
                                         << ShowList(expected) << "actual:\n"
                                         << ShowList(actual);
}

::testing::AssertionResult TextAndQueries(const CString& text, const CString& expectedText,
                                          FakeHost& host,
                                          const std::vector<CString>& expectedQueries) {
    ::testing::AssertionResult queries = QueriesAre(host, expectedQueries);
    if (text != expectedText)
        return ::testing::AssertionFailure() << "text differs\nexpected: " << Show(expectedText)
                                             << "\nactual:   " << Show(text) << "\n"
                                             << (queries ? "" : queries.message());
    return queries;
}

std::vector<CString> Ask(const CString& prefix, std::initializer_list<const wchar_t*> suffixes) {
    std::vector<CString> out;
    for (const wchar_t* s : suffixes) out.push_back(L"? " + prefix + s);
    return out;
}

std::vector<CString> operator+(std::vector<CString> a, const std::vector<CString>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

void AnswerObject(FakeHost& host, const CString& prefix,
                  std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> answers) {
    for (const auto& a : answers) host.Answer(L"? " + prefix + a.first, a.second);
}

std::vector<CString> J2000Queries(const CString& prefix) {
    return std::vector<CString>{L"? View.Projection"} +
           Ask(prefix, {L".position.RA", L".position.DEC"});
}

void AnswerOrion(FakeHost& host) {
    AnswerObject(host, L"Constellation.Ori",
                 {{L".Name", L"オリオン"},
                  {L".Abbreviation", L"Ori"},
                  {L".position.RA", L"5.5"},
                  {L".position.DEC", L"5"}});
}

void AnswerDate(FakeHost& host, const std::array<const wchar_t*, 7>& values) {
    const wchar_t* const kQueries[] = {
        L"? LST(Time.Year)",   L"? LST(Time.Month)",  L"? LST(Time.Day)", L"? LST(Time.Hour)",
        L"? LST(Time.Minute)", L"? LST(Time.Second)", L"? Time.Timezone"};
    for (size_t i = 0; i < values.size(); ++i) host.Answer(kQueries[i], values[i]);
}

std::vector<CString> AdfFileQueries(std::initializer_list<int> loaded) {
    std::vector<CString> q;
    for (int n = 1; n <= 40; ++n) {
        CString s;
        s.Format(L"? AdfSystem.#%d.File", n);
        q.push_back(s);
        if (std::find(loaded.begin(), loaded.end(), n) != loaded.end()) {
            s.Format(L"? AdfSystem.#%d.ObjectName", n);
            q.push_back(s);
        }
    }
    return q;
}
