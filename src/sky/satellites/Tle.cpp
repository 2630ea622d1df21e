// SPDX-License-Identifier: LGPL-3.0-or-later
// The two-line element reader.
#include "sky/satellites/Tle.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "platform/EncodedStream.h"

namespace sky {
namespace {

// Columns are 1-based and inclusive, as the format is written down.
std::string_view Cols(std::string_view line, size_t first, size_t last) {
    if (line.size() < first) return std::string_view();
    return line.substr(first - 1, std::min(line.size(), last) - (first - 1));
}

std::string_view Trim(std::string_view s) {
    const size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string_view::npos) return std::string_view();
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

// A decimal field; blanks around it allowed, nothing else. An empty field is 0 when
// blankIsZero (fields the old sets leave empty).
bool Number(std::string_view field, double* v, bool blankIsZero = false) {
    const std::string_view t = Trim(field);
    if (t.empty()) {
        *v = 0.0;
        return blankIsZero;
    }
    char text[32];
    if (t.size() >= sizeof text) return false;
    for (size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+')) return false;
        text[i] = c;
    }
    text[t.size()] = 0;
    char* end = nullptr;
    *v = std::strtod(text, &end);
    return end && *end == 0 && std::isfinite(*v);
}

// A field with an implied leading decimal point and a power of ten: " 12345-3" is
// 0.12345e-3; the sign of the mantissa may stand first.
bool Exponential(std::string_view field, double* v) {
    std::string_view t = Trim(field);
    if (t.empty()) {
        *v = 0.0;
        return true;
    }
    double sign = 1.0;
    if (t[0] == '-' || t[0] == '+') {
        sign = t[0] == '-' ? -1.0 : 1.0;
        t.remove_prefix(1);
    }
    const size_t e = t.find_first_of("+-");
    const std::string_view mant = e == std::string_view::npos ? t : t.substr(0, e);
    const std::string_view expo = e == std::string_view::npos ? "0" : t.substr(e);
    if (mant.empty() || mant.size() > 8 || expo.size() > 3) return false;
    for (char c : mant)
        if (c < '0' || c > '9') return false;
    double m = 0.0, x = 0.0;
    if (!Number("0." + std::string(mant), &m) || !Number(expo, &x)) return false;
    *v = sign * m * std::pow(10.0, x);
    return true;
}

// The catalogue number: five digits, or a letter and four digits for numbers from 100000
// on (A = 10, ..., Z = 33, I and O left out).
int CatalogueNumber(std::string_view field) {
    const std::string_view t = Trim(field);
    if (t.empty() || t.size() > 5) return -1;
    int value = 0;
    size_t i = 0;
    if (t.size() == 5 && t[0] >= 'A' && t[0] <= 'Z') {
        if (t[0] == 'I' || t[0] == 'O') return -1;
        int k = t[0] - 'A' + 10;
        if (t[0] > 'I') --k;
        if (t[0] > 'O') --k;
        value = k;
        i = 1;
    }
    for (; i < t.size(); ++i) {
        if (t[i] < '0' || t[i] > '9') return -1;
        value = value * 10 + (t[i] - '0');
    }
    return value;
}

bool Fail(std::string* error, const char* reason) {
    if (error) *error = reason;
    return false;
}

}  // namespace

double TleEpochJd(int year2, double dayOfYear) {
    const int year = year2 < 57 ? 2000 + year2 : 1900 + year2;
    // Julian Day of January 0.0 of the year (the Gregorian calendar throughout).
    const int y = year - 1;
    const double jan0 = 1721424.5 + 365.0 * y + y / 4 - y / 100 + y / 400;
    return jan0 + dayOfYear;
}

namespace {

int Checksum(std::string_view line) {
    int sum = 0;
    for (size_t i = 0; i < line.size() && i < 68; ++i) {
        if (line[i] >= '0' && line[i] <= '9') sum += line[i] - '0';
        if (line[i] == '-') ++sum;
    }
    return sum % 10;
}

bool ParseTleLines(std::string_view l1, std::string_view l2, Elements* out, std::string* error,
                   bool strict) {
    if (l1.size() < 64 || l1[0] != '1' || l1[1] != ' ')
        return Fail(error, "line 1 is not a TLE line");
    if (l2.size() < 63 || l2[0] != '2' || l2[1] != ' ')
        return Fail(error, "line 2 is not a TLE line");
    if (strict) {
        if (l1.size() < 69 || l2.size() < 69) return Fail(error, "line shorter than 69 columns");
        if (l1[68] - '0' != Checksum(l1)) return Fail(error, "checksum of line 1 does not match");
        if (l2[68] - '0' != Checksum(l2)) return Fail(error, "checksum of line 2 does not match");
    }
    Elements e;
    e.number = CatalogueNumber(Cols(l1, 3, 7));
    if (e.number < 0 || CatalogueNumber(Cols(l2, 3, 7)) != e.number)
        return Fail(error, "catalogue numbers missing or different on the two lines");
    e.designator = Trim(Cols(l1, 10, 17));
    double year = 0.0, day = 0.0, rev = 0.0;
    const std::string_view yearField = Trim(Cols(l1, 19, 20));
    if (yearField.size() != 2 || !Number(yearField, &year) || !Number(Cols(l1, 21, 32), &day) ||
        day < 1.0 || day >= 367.0)
        return Fail(error, "bad epoch");
    e.epochJd = TleEpochJd(static_cast<int>(year), day);
    if (!Number(Cols(l1, 34, 43), &e.ndot, true) || !Exponential(Cols(l1, 45, 52), &e.nddot) ||
        !Exponential(Cols(l1, 54, 61), &e.bstar))
        return Fail(error, "bad drag terms");
    double ecc = 0.0;
    const std::string_view eccField = Trim(Cols(l2, 27, 33));
    if (!Number(Cols(l2, 9, 16), &e.inclination) || !Number(Cols(l2, 18, 25), &e.node) ||
        eccField.empty() || eccField.find_first_not_of("0123456789") != std::string_view::npos ||
        !Number(eccField, &ecc) || !Number(Cols(l2, 35, 42), &e.perigee) ||
        !Number(Cols(l2, 44, 51), &e.meanAnomaly) || !Number(Cols(l2, 53, 63), &e.meanMotion) ||
        !Number(Cols(l2, 64, 68), &rev, true))
        return Fail(error, "bad orbital elements");
    e.eccentricity = ecc / std::pow(10.0, static_cast<double>(eccField.size()));
    e.revolution = static_cast<int>(rev);
    if (strict) {
        if (!(e.meanMotion > 0.0 && e.meanMotion <= 20.0))
            return Fail(error, "mean motion out of range");
        if (e.inclination < 0.0 || e.inclination > 180.0 || e.node < 0.0 || e.node >= 360.0 ||
            e.perigee < 0.0 || e.perigee >= 360.0 || e.meanAnomaly < 0.0 || e.meanAnomaly >= 360.0)
            return Fail(error, "angle out of range");
    }
    *out = e;
    return true;
}

}  // namespace

int TleChecksum(const std::string& line) { return Checksum(line); }

bool ParseTle(const std::string& l1, const std::string& l2, Elements* out, std::string* error,
              bool strict) {
    return ParseTleLines(l1, l2, out, error, strict);
}

namespace {

// The sets of a text, read in place: the line at hand and the one after it, each without
// the blanks and carriage returns that end it.
int AddLines(TleCatalog& catalog, std::string_view text, const std::string& file, int only) {
    size_t at = 0;
    const auto next = [&](std::string_view* line) {
        if (at >= text.size()) return false;
        size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        *line = text.substr(at, end - at);
        while (!line->empty() &&
               (line->back() == '\r' || line->back() == ' ' || line->back() == '\t'))
            line->remove_suffix(1);
        at = end + 1;
        return true;
    };
    auto& problems = catalog.problems;
    auto& sets = catalog.sets;
    int count = 0;
    std::string_view name, l, ahead;
    bool more = next(&ahead);
    for (size_t i = 0; more; ++i) {
        l = ahead;
        more = next(&ahead);
        if (l.empty() || l[0] == '#') continue;
        const bool isLine1 = l.size() > 1 && l[0] == '1' && l[1] == ' ';
        const bool isLine2 = l.size() > 1 && l[0] == '2' && l[1] == ' ';
        if (isLine2) {
            problems.push_back({file, static_cast<int>(i + 1), "line 2 without a line 1"});
            name = std::string_view();
            continue;
        }
        if (!isLine1) {
            // A name line; the "0 " some sources put before it is not part of the name.
            name = Trim(l.compare(0, 2, "0 ") == 0 ? l.substr(2) : l);
            continue;
        }
        if (!more || ahead.compare(0, 2, "2 ") != 0) {
            problems.push_back({file, static_cast<int>(i + 1), "line 1 without a line 2"});
            name = std::string_view();
            continue;
        }
        if (only >= 0 && CatalogueNumber(Cols(l, 3, 7)) != only) {
            name = std::string_view();
            ++i;
            more = next(&ahead);
            continue;
        }
        Elements e;
        std::string reason;
        if (!ParseTleLines(l, ahead, &e, &reason, true)) {
            const bool second = reason.find("line 2") != std::string::npos;
            problems.push_back({file, static_cast<int>(i + (second ? 2 : 1)), reason});
        } else {
            e.name = name;
            e.file = file;
            std::vector<Elements>& every = catalog.all[e.number];
            const auto it = sets.find(e.number);
            if (it == sets.end())
                sets.emplace(e.number, e);
            else if (it->second.epochJd < e.epochJd)
                it->second = e;
            every.push_back(std::move(e));
            ++count;
        }
        name = std::string_view();
        ++i;
        more = next(&ahead);
    }
    return count;
}

}  // namespace

int TleCatalog::AddText(const std::string& text, const std::string& file, int only) {
    return AddLines(*this, text, file, only);
}

bool TleCatalog::AddFile(const std::string& path, int only) {
    // Read, not mapped: a file cut short under a mapping would end the process.
    std::string text;
    if (!ZcmReadFile(path.c_str(), text, kMaxTleFileBytes)) {
        problems.push_back(
            {path, 0, "cannot be read: " + ZcmReadFileProblem(errno, kMaxTleFileBytes)});
        return false;
    }
    AddText(text, path, only);
    return true;
}

}  // namespace sky
