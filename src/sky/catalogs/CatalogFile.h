// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
/// @file
/// One catalogue table of the sky (stars, variables, doubles, exoplanets, deep sky), read in
/// place from a memory-mapped file written by tools/catalogs/zct.py: typed columns, rows
/// sorted by declination band and right ascension, and a sorted key index of designations
/// and names. Opening checks every offset once, so later reads need no checks; nothing is
/// copied, so memory grows only with the pages a lookup touches. A file cut short or
/// rewritten while mapped is noticed (Changed) and never brings the process down: a page
/// past its new end reads as zeros (internal).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Export.h"

namespace sky {

/// One catalogue table, mapped read-only; see the notes above. Reads are const and may run
/// from several threads at once.
class ZCMCOM_API CatalogFile {
public:
    /// An empty table, for Open.
    CatalogFile() = default;
    /// Unmaps the file.
    ~CatalogFile();
    CatalogFile(const CatalogFile&) = delete;
    CatalogFile& operator=(const CatalogFile&) = delete;

    /// Maps and checks the file; false with *error ("<file>: offset N: what is wrong") when
    /// it is missing, truncated or damaged. A failed open leaves the table empty.
    bool Open(const std::string& path, std::string* error);
    /// Whether the mapped file was changed in place since Open (its size or time differ, or a
    /// read found a page past its end); with *error saying so in Open's form. Tables are
    /// replaced by rename, which leaves the mapped file as it was.
    bool Changed(std::string* error) const;
    /// Whether a read found a page past the file's end (it was cut short while mapped; the
    /// read gave zeros): the cheap part of Changed, with no system call.
    bool Faulted() const;
    /// Checks a table held in memory (the bytes must outlive the table); for tests and fuzzing.
    bool OpenBytes(const void* data, size_t size, const std::string& name, std::string* error);

    /// The number of rows.
    uint32_t Rows() const { return m_rows; }
    /// The column of that name, or -1.
    int Column(const char* name) const;
    /// Values of a column; NaN, 0 or "" when the column is -1 or of another type. Text is
    /// UTF-8, valid as long as the table is open.
    /// @{
    double Number(int column, uint32_t row) const;
    int32_t Integer(int column, uint32_t row) const;
    const char* Text(int column, uint32_t row) const;
    /// @}

    /// Rows whose key (lower case, blanks removed) is exactly key.
    std::vector<uint32_t> Find(const std::string& key) const;
    /// The row whose i32 column holds value, by the column "by" + name that lists the rows in
    /// that column's order; -1 when none does.
    int64_t FindNumber(const char* column, int32_t value) const;
    /// Every row within radius degrees of (ra, dec), J2000 degrees, by declination band and
    /// bisection in right ascension.
    void Near(double ra, double dec, double radius,
              const std::function<void(uint32_t)>& visit) const;

    /// Canonical form of a key: lower case ASCII, blanks removed (UTF-8 kept as it is).
    static std::string Key(const std::string& text);

private:
    struct ColumnInfo {
        char name[17];
        uint32_t type;
        const unsigned char* data;
    };
    bool Fail(const std::string& name, uint64_t offset, const char* what, std::string* error);
    void Reset();

    void* m_map = nullptr;
    size_t m_mapSize = 0;
    int m_fd = -1, m_guard = -1;  // the file, kept open to watch it; its slot of the guard
    std::string m_path;
    int64_t m_mtimeNs = 0;
    const unsigned char* m_base = nullptr;
    uint32_t m_rows = 0, m_zones = 0, m_keys = 0;
    const uint32_t* m_zoneStart = nullptr;
    const unsigned char* m_keyTable = nullptr;
    const char* m_strings = nullptr;
    uint64_t m_stringsSize = 0;
    std::vector<ColumnInfo> m_columns;
    int m_ra = -1, m_dec = -1;
};

}  // namespace sky
