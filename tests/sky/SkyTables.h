// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// Tables of the sky's tests kept under tests/data: the host's answers to queries, and bounds
// by object with the worst figures measured when they were set.
#include <array>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/Accuracy.h"
#include "support/SkyClick.h"
#include "support/TestUtil.h"

// The fields of a row split on tabs, "" read as an empty field.
inline std::vector<std::string> TabFields(const std::string& row) {
    std::vector<std::string> fields;
    std::istringstream s(row);
    for (std::string f; std::getline(s, f, '\t');) fields.push_back(f == "\"\"" ? "" : f);
    return fields;
}

// Expects the host's answer to each query of a table: "query<TAB>answer" ("" for an empty
// answer), or "query<TAB>number<TAB>tolerance".
inline void ExpectAnswersIn(CSkyHost& host, const std::string& table) {
    for (const std::string& row : DataRows(table, {2, 3})) {
        const std::vector<std::string> f = TabFields(row);
        const CString answer = host.Execute(W(f[0]));
        if (f.size() == 2)
            EXPECT_EQ(answer, W(f[1])) << table << ": " << f[0];
        else
            EXPECT_NEAR(NumberOf(answer), std::stod(f[1]), std::stod(f[2]))
                << table << ": " << f[0];
    }
}

// Bounds by object from a table of rows "object, N bounds, the N figures measured" (a bound
// about twice its figure); nan: not compared.
template <size_t N>
std::map<std::string, std::array<double, N>> BoundsIn(const std::string& table) {
    std::map<std::string, std::array<double, N>> bounds;
    for (const std::string& row : DataRows(table, 1 + 2 * N)) {
        std::istringstream s(row);
        std::string object, field;
        s >> object;
        for (double& bound : bounds[object]) {
            s >> field;
            bound = std::strtod(field.c_str(), nullptr);
        }
    }
    return bounds;
}
