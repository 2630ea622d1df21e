// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The accuracy tests' reference tables and the largest error over their rows.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

// The data lines of a table under tests/data, comment and blank lines left out; a table
// that cannot be read is a failure.
inline std::vector<std::string> DataRows(const std::string& table) {
    std::ifstream in(std::string(ZCMCOM_TEST_DATA) + "/" + table);
    EXPECT_TRUE(in.good()) << table;
    std::vector<std::string> rows;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') rows.push_back(line);
    return rows;
}

// The largest error of an accuracy test. A row without an answer (NaN or infinite, as a
// missing or "*" answer reads) is a failure of its own, never hidden by the next good
// row, and a test that compared no rows fails.
class WorstError {
public:
    // One row's error (signed, compared by magnitude) and its name, or its number (a
    // Julian Day, a year) spelt out only when the row is kept.
    void Add(double error, const std::string& row) {
        Take(error, [&] { return row; });
    }
    void Add(double error, double row) {
        Take(error, [row] {
            char s[32];
            return std::string(s, std::snprintf(s, sizeof s, "%.10g", row));
        });
    }

    // Prints the figure (scaled into unit), expects rows, all answered, the worst within bound.
    void Expect(const std::string& what, double bound, const char* unit = "",
                double scale = 1) const {
        std::printf("[ measured ] %-44s %11.4g %-6s over %8d rows, worst at %s\n", what.c_str(),
                    m_value * scale, unit, m_rows, m_row.c_str());
        EXPECT_GT(m_rows, 0) << what << ": no rows compared";
        EXPECT_EQ(m_unanswered, 0) << what << ": rows without an answer, the first " << m_first;
        EXPECT_LT(std::fabs(m_value), bound) << what << ", worst at " << m_row;
    }

private:
    template <class Name>
    void Take(double error, Name name) {
        if (!std::isfinite(error)) {
            if (m_unanswered++ == 0) m_first = name();
        } else if (std::fabs(error) > std::fabs(m_value) || m_row.empty()) {
            m_value = error, m_row = name();
        }
        ++m_rows;
    }

    double m_value = 0;
    int m_rows = 0, m_unanswered = 0;
    std::string m_row, m_first;
};
