// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// Writes a catalogue table in the form CatalogFile reads (the same layout as
/// tools/catalogs/zct.py writes): for tables made at run time, such as a user's own
/// catalogue or a synthetic one for measurements (internal).
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/Export.h"

namespace sky {

/// Builds a table in memory, then writes it.
class ZCMCOM_API CatalogWriter {
public:
    /// Column types: 64- and 32-bit floating point, 32-bit integer, UTF-8 text.
    enum Type : uint32_t { kF64 = 1, kF32 = 2, kI32 = 3, kText = 4 };
    /// zones: declination bands of 180/zones degrees each.
    explicit CatalogWriter(uint32_t zones = 180);
    /// A column after ra and dec (which every table has); returns its number.
    int AddColumn(const std::string& name, Type type);
    /// A new row at (ra, dec), J2000 degrees; returns its number until Write sorts them.
    uint32_t AddRow(double ra, double dec);
    /// Sets a value of a number or of a text column.
    /// @{
    void Set(uint32_t row, int column, double value);
    void SetText(uint32_t row, int column, const std::string& text);
    /// @}
    /// A designation or name the row is found by (stored in canonical form).
    void AddKey(uint32_t row, const std::string& key);
    /// An i32 column whose rows are also listed in its order, as "by" + name, for FindNumber.
    void OrderBy(int column);
    /// Sorts the rows by declination band and right ascension and writes the table to path;
    /// false with *error when the file cannot be written.
    bool Write(const std::string& path, std::string* error) const;

private:
    struct Col {
        std::string name;
        Type type;
        std::vector<double> numbers;
        std::vector<std::string> texts;
    };
    uint32_t m_zones;
    std::vector<Col> m_columns;  ///< ra and dec first
    std::vector<std::pair<std::string, uint32_t>> m_keys;
    int m_orderBy = -1;
};

}  // namespace sky
