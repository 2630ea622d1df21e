// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The accuracy tests' reference tables and the largest error over their rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// How many fields the rows of a table hold (split on commas in a .csv, else on tabs where a
// row has them, else on white space): one count, or several for a table of several kinds of
// row; with ThenText, at least the count, the rest being free text.
struct Columns {
    Columns(size_t count) : counts{count} {}
    Columns(std::initializer_list<size_t> some) : counts(some) {}
    Columns& ThenText() { return text = true, *this; }
    std::vector<size_t> counts;
    bool text = false;
};

// The data lines of a table under tests/data, comment and blank lines left out. A table
// that cannot be read or holds no rows fails, and so does each row with another number of
// fields, named by file and line and left out.
inline std::vector<std::string> DataRows(const std::string& table, const Columns& columns) {
    const std::string path = std::string(ZCMCOM_TEST_DATA) + "/" + table;
    const bool csv = table.size() > 4 && table.compare(table.size() - 4, 4, ".csv") == 0;
    std::ifstream in(path);
    EXPECT_TRUE(in.good()) << path << ": cannot be read";
    std::vector<std::string> rows;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        const char separator = csv ? ',' : line.find('\t') != std::string::npos ? '\t' : ' ';
        size_t fields = 1 + std::count(line.begin(), line.end(), separator);
        if (separator == ' ') {
            std::istringstream s(line);
            fields = 0;
            for (std::string f; s >> f;) ++fields;
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

// The same rows split at tabs into their text fields (an empty field kept as "").
inline std::vector<std::vector<std::string>> DataFields(const std::string& table,
                                                        const Columns& columns) {
    std::vector<std::vector<std::string>> out;
    for (const std::string& row : DataRows(table, columns)) {
        std::istringstream s(row + "\t");
        out.emplace_back();
        for (std::string field; std::getline(s, field, '\t');) out.back().push_back(field);
    }
    return out;
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

// The same for one column of a table of bounds by object; NAN: not compared.
template <size_t N>
void ExpectEach(const std::map<std::string, WorstError>& worst,
                const std::map<std::string, std::array<double, N>>& table, size_t column,
                const std::string& what, const char* unit = "", double scale = 1) {
    std::map<std::string, double> bounds;
    for (const auto& [object, row] : table)
        if (!std::isnan(row[column])) bounds[object] = row[column];
    ExpectEach(worst, bounds, what, unit, scale);
}

// The angle between two directions given in degrees (right ascension, declination), arc seconds.
inline double SeparationArcsec(double ra1, double dec1, double ra2, double dec2) {
    const double k = M_PI / 180, c1 = std::cos(dec1 * k), c2 = std::cos(dec2 * k);
    const double u[3] = {c1 * std::cos(ra1 * k), c1 * std::sin(ra1 * k), std::sin(dec1 * k)};
    const double v[3] = {c2 * std::cos(ra2 * k), c2 * std::sin(ra2 * k), std::sin(dec2 * k)};
    const double cross =
        std::hypot(u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]);
    return std::atan2(cross, u[0] * v[0] + u[1] * v[1] + u[2] * v[2]) / k * 3600;
}
