// SPDX-License-Identifier: LGPL-3.0-or-later
// Writing a catalogue table: rows sorted by declination band and right ascension, texts
// shared, keys sorted, every section on an 8-byte boundary.
#include "sky/catalogs/CatalogWriter.h"

#include "sky/Bytes.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <numeric>
#include <unordered_map>

#include "sky/catalogs/CatalogFile.h"

namespace sky {
namespace {

void Pad(std::string& out) { out.append((8 - out.size() % 8) % 8, '\0'); }

}  // namespace

CatalogWriter::CatalogWriter(uint32_t zones) : m_zones(zones == 0 ? 1 : zones) {
    m_columns.push_back({"ra", kF64, {}, {}});
    m_columns.push_back({"dec", kF64, {}, {}});
}

int CatalogWriter::AddColumn(const std::string& name, Type type) {
    Col c{name.substr(0, 15), type, {}, {}};
    const size_t rows = m_columns[0].numbers.size();
    if (type == kText)
        c.texts.resize(rows);
    else
        c.numbers.resize(rows, type == kI32 ? 0.0 : NAN);
    m_columns.push_back(std::move(c));
    return static_cast<int>(m_columns.size() - 1);
}

uint32_t CatalogWriter::AddRow(double ra, double dec) {
    for (Col& c : m_columns) {
        if (c.type == kText)
            c.texts.emplace_back();
        else
            c.numbers.push_back(c.type == kI32 ? 0.0 : NAN);
    }
    m_columns[0].numbers.back() = ra;
    m_columns[1].numbers.back() = dec;
    return static_cast<uint32_t>(m_columns[0].numbers.size() - 1);
}

void CatalogWriter::Set(uint32_t row, int column, double value) {
    m_columns.at(column).numbers.at(row) = value;
}

void CatalogWriter::SetText(uint32_t row, int column, const std::string& text) {
    m_columns.at(column).texts.at(row) = text;
}

void CatalogWriter::AddKey(uint32_t row, const std::string& key) {
    m_keys.emplace_back(CatalogFile::Key(key), row);
}

void CatalogWriter::OrderBy(int column) { m_orderBy = column; }

bool CatalogWriter::Write(const std::string& path, std::string* error) const {
    const std::vector<double>& ra = m_columns[0].numbers;
    const std::vector<double>& dec = m_columns[1].numbers;
    const uint32_t rows = static_cast<uint32_t>(ra.size());
    const auto band = [&](uint32_t r) {
        const int b = static_cast<int>((dec[r] + 90.0) * m_zones / 180.0);
        return static_cast<uint32_t>(std::clamp(b, 0, static_cast<int>(m_zones) - 1));
    };
    std::vector<uint32_t> order(rows);  // order[new] = old
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const uint32_t ba = band(a), bb = band(b);
        return ba != bb ? ba < bb : ra[a] < ra[b];
    });
    std::vector<uint32_t> where(rows);  // where[old] = new
    for (uint32_t i = 0; i < rows; ++i) where[order[i]] = i;

    std::string strings(1, '\0');
    std::unordered_map<std::string, uint32_t> seen{{"", 0}};
    const auto intern = [&](const std::string& text) {
        auto it = seen.find(text);
        if (it != seen.end()) return it->second;
        const uint32_t at = static_cast<uint32_t>(strings.size());
        strings += text;
        strings += '\0';
        seen.emplace(text, at);
        return at;
    };
    std::vector<Col> columns = m_columns;
    std::vector<uint32_t> byOrder;
    if (m_orderBy >= 0) {
        byOrder.resize(rows);
        std::iota(byOrder.begin(), byOrder.end(), 0u);
        const std::vector<double>& v = m_columns[m_orderBy].numbers;
        std::stable_sort(byOrder.begin(), byOrder.end(),
                         [&](uint32_t a, uint32_t b) { return v[order[a]] < v[order[b]]; });
        columns.push_back({"by" + m_columns[m_orderBy].name,
                           kI32,
                           std::vector<double>(byOrder.begin(), byOrder.end()),
                           {}});
        // Already in the sorted order: written as is below.
    }
    const size_t headerSize = 64 + 32 * columns.size();
    std::string body;
    std::vector<uint64_t> at;
    for (size_t c = 0; c < columns.size(); ++c) {
        at.push_back(headerSize + body.size());
        const Col& col = columns[c];
        const bool sorted = m_orderBy >= 0 && c == columns.size() - 1;
        for (uint32_t i = 0; i < rows; ++i) {
            const uint32_t r = sorted ? i : order[i];
            switch (col.type) {
                case kF64:
                    Put<double>(body, col.numbers[r]);
                    break;
                case kF32:
                    Put<float>(body, static_cast<float>(col.numbers[r]));
                    break;
                case kI32:
                    Put<int32_t>(body, static_cast<int32_t>(col.numbers[r]));
                    break;
                case kText:
                    Put<uint32_t>(body, intern(col.texts[r]));
                    break;
            }
        }
        Pad(body);
    }
    const uint64_t zonesAt = headerSize + body.size();
    std::vector<uint32_t> starts(m_zones + 1, 0);
    for (uint32_t r = 0; r < rows; ++r) ++starts[band(r) + 1];
    for (uint32_t z = 0; z < m_zones; ++z) starts[z + 1] += starts[z];
    for (uint32_t s : starts) Put<uint32_t>(body, s);
    Pad(body);
    const uint64_t keysAt = headerSize + body.size();
    std::vector<std::pair<std::string, uint32_t>> keys;
    keys.reserve(m_keys.size());
    for (const auto& k : m_keys)
        if (!k.first.empty() && k.second < rows) keys.emplace_back(k.first, where[k.second]);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    for (const auto& k : keys) {
        Put<uint32_t>(body, intern(k.first));
        Put<uint32_t>(body, k.second);
    }
    Pad(body);
    const uint64_t stringsAt = headerSize + body.size();
    body += strings;

    std::string head("ZCMCAT01", 8);
    Put<uint32_t>(head, rows);
    Put<uint32_t>(head, static_cast<uint32_t>(columns.size()));
    Put<uint32_t>(head, m_zones);
    Put<uint32_t>(head, static_cast<uint32_t>(keys.size()));
    Put<uint64_t>(head, zonesAt);
    Put<uint64_t>(head, keysAt);
    Put<uint64_t>(head, stringsAt);
    Put<uint64_t>(head, strings.size());
    Put<uint64_t>(head, headerSize + body.size());
    for (size_t c = 0; c < columns.size(); ++c) {
        char name[16] = {};
        std::memcpy(name, columns[c].name.data(), std::min<size_t>(15, columns[c].name.size()));
        head.append(name, 16);
        Put<uint32_t>(head, columns[c].type);
        Put<uint32_t>(head, columns[c].type == kF64 ? 8u : 4u);
        Put<uint64_t>(head, at[c]);
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(head.data(), static_cast<std::streamsize>(head.size()));
    out.write(body.data(), static_cast<std::streamsize>(body.size()));
    if (!out) {
        if (error) *error = path + ": cannot be written";
        return false;
    }
    return true;
}

}  // namespace sky
