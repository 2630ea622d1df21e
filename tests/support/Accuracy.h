// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The accuracy tests' reference tables and the largest error over their rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// How the rows of a table split into fields (on commas in a .csv, else on white space, or
// on the separator given) and how many fields a row holds: one count, or several for a table
// of several kinds of row; with ThenText, at least the count, the rest being free text.
struct Columns {
    Columns(size_t count) : counts{count} {}
    Columns(std::initializer_list<size_t> some) : counts(some) {}
    Columns& SplitOn(char c) { return separator = c, *this; }
    Columns& ThenText() { return text = true, *this; }
    std::vector<size_t> counts;
    char separator = 0;
    bool text = false;
};

// The data lines of a table under tests/data, comment and blank lines left out. A table
// that cannot be read or holds no rows fails, and so does each row with another number of
// fields, named by file and line and left out.
inline std::vector<std::string> DataRows(const std::string& table, const Columns& columns) {
    const std::string path = std::string(ZCMCOM_TEST_DATA) + "/" + table;
    const char separator = columns.separator ? columns.separator
                           : table.size() > 4 && table.compare(table.size() - 4, 4, ".csv") == 0
                               ? ','
                               : ' ';
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path << ": cannot be read";
    std::vector<std::string> rows;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        size_t fields = 0;
        if (separator == ' ') {
            std::istringstream s(line);
            for (std::string f; s >> f;) ++fields;
        } else {
            fields = 1 + std::count(line.begin(), line.end(), separator);
        }
        const auto& c = columns.counts;
        if (std::find(c.begin(), c.end(), fields) != c.end() ||
            (columns.text && fields >= c.front())) {
            rows.push_back(line);
        } else {
            ADD_FAILURE_AT(path.c_str(), number)
                << table << " line " << number << ": " << fields << " fields, not " << c.front();
        }
    }
    EXPECT_FALSE(rows.empty()) << path << ": no data rows";
    return rows;
}

// The same with any number of fields, for a caller that does not yet give its count.
inline std::vector<std::string> DataRows(const std::string& table) {
    return DataRows(table, Columns(1).ThenText());
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

// Expects each object's worst error within its own bound: an object of the bounds without
// rows fails, and so do rows of an object without a bound.
inline void ExpectEach(const std::map<std::string, WorstError>& worst,
                       const std::map<std::string, double>& bounds, const std::string& what,
                       const char* unit = "", double scale = 1) {
    for (const auto& [object, w] : worst)
        EXPECT_TRUE(bounds.count(object)) << what << ": no bound for " << object;
    for (const auto& [object, bound] : bounds) {
        const auto w = worst.find(object);
        (w == worst.end() ? WorstError() : w->second)
            .Expect(object + " " + what, bound, unit, scale);
    }
}
