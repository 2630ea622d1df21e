// SPDX-License-Identifier: LGPL-3.0-or-later
// Readers of the Minor Planet Center's element files: MPCORB one-line records of minor
// planets and the comet lines of CometEls.txt, with the MPC's packed numbers, dates and
// provisional designations.

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "platform/EncodedStream.h"
#include "sky/bodies/SmallBody.h"

namespace sky {
namespace {

constexpr double kGauss = 0.01720209895;

// Columns from..to, counted from 1 as the format's tables count them; blanks trimmed.
std::string Field(const std::string& line, size_t from, size_t to) {
    if (line.size() < from) return std::string();
    std::string s = line.substr(from - 1, to - from + 1);
    const size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return std::string();
    const size_t b = s.find_last_not_of(' ');
    return s.substr(a, b - a + 1);
}

// A finite number that is the whole field.
bool Number(const std::string& field, double* out) {
    if (field.empty()) return false;
    char* end = nullptr;
    const double v = std::strtod(field.c_str(), &end);
    if (*end != '\0' || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

bool AllDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
}

// 0-9, A-Z, a-z as 0..61, the digits of the packed forms; -1 otherwise.
int Base62(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    if (c >= 'a' && c <= 'z') return c - 'a' + 36;
    return -1;
}

int Century(char c) { return c == 'I' ? 1800 : c == 'J' ? 1900 : c == 'K' ? 2000 : -1; }

// Julian Day of a calendar date at 0h plus the day's fraction (Gregorian from 1582-10-15).
double CalendarJd(int y, int m, double d) {
    if (m <= 2) {
        --y;
        m += 12;
    }
    const bool gregorian = y > 1582 || (y == 1582 && (m > 10 || (m == 10 && d >= 15)));
    const int a = y / 100;
    const int b = gregorian ? 2 - a + a / 4 : 0;
    return std::floor(365.25 * (y + 4716)) + std::floor(30.6001 * (m + 1)) + d + b - 1524.5;
}

bool CalendarOk(int y, int m, double d) {
    return y > -5000 && y < 10000 && m >= 1 && m <= 12 && d >= 0 && d < 33;
}

std::string Trimmed(const std::string& s) { return Field(s, 1, s.size()); }

// "C/1995 O1 (Hale-Bopp)", "1P/Halley", "73P-B/Schwassmann-Wachmann": designation and name.
void SplitCometName(const std::string& text, SmallBody* b) {
    const size_t slash = text.find('/');
    if (slash != std::string::npos && slash > 0 &&
        std::isdigit(static_cast<unsigned char>(text[0]))) {
        b->designation = text.substr(0, slash);
        b->name = Trimmed(text.substr(slash + 1));
        return;
    }
    const size_t open = text.find(" (");
    if (open != std::string::npos && text.back() == ')') {
        b->designation = Trimmed(text.substr(0, open));
        b->name = Trimmed(text.substr(open + 2, text.size() - open - 3));
    } else {
        b->designation = text;
    }
}

bool Fail(std::string* why, const char* reason) {
    if (why) *why = reason;
    return false;
}

bool ParseComet(const std::string& line, SmallBody* out, std::string* why) {
    SmallBody b;
    b.comet = true;
    double year = 0, month = 0, day = 0;
    if (!Number(Field(line, 15, 18), &year) || !Number(Field(line, 20, 21), &month) ||
        !Number(Field(line, 23, 29), &day) ||
        !CalendarOk(static_cast<int>(year), static_cast<int>(month), day))
        return Fail(why, "bad perihelion date");
    b.perihelion = CalendarJd(static_cast<int>(year), static_cast<int>(month), day);
    const struct {
        size_t from, to;
        double* v;
    } fields[] = {
        {31, 39, &b.q}, {42, 49, &b.e}, {52, 59, &b.w}, {62, 69, &b.node}, {72, 79, &b.i}};
    for (const auto& f : fields)
        if (!Number(Field(line, f.from, f.to), f.v)) return Fail(why, "bad orbital element");
    if (!(b.q > 0.0 && b.q < 1e5 && b.e >= 0.0 && b.e < 1e3)) return Fail(why, "not an orbit");
    const std::string epoch = Field(line, 82, 89);
    if (!epoch.empty()) {
        if (epoch.size() != 8 || !AllDigits(epoch)) return Fail(why, "bad epoch");
        const int ey = std::atoi(epoch.substr(0, 4).c_str()),
                  em = std::atoi(epoch.substr(4, 2).c_str());
        const int ed = std::atoi(epoch.substr(6, 2).c_str());
        if (!CalendarOk(ey, em, ed)) return Fail(why, "bad epoch");
        b.epoch = CalendarJd(ey, em, ed);
    }
    double v = 0.0;
    if (Number(Field(line, 92, 95), &v)) b.H = v;
    if (Number(Field(line, 97, 100), &v)) b.G = v;
    const std::string number = Field(line, 1, 4);
    if (AllDigits(number)) b.number = std::atol(number.c_str());
    const char type = line[4];
    const std::string name = Field(line, 103, 158);
    if (!name.empty()) {
        SplitCometName(name, &b);
    } else if (b.number > 0) {
        b.designation = std::to_string(b.number) + type;
    } else {
        const std::string provisional = UnpackDesignation(Field(line, 6, 12));
        if (provisional.empty()) return Fail(why, "no designation");
        b.designation = std::string(1, type) + "/" + provisional;
    }
    b.id = b.number > 0 && !b.name.empty() ? b.designation + "/" + b.name : b.designation;
    *out = b;
    return true;
}

bool ParseMinorPlanet(const std::string& line, SmallBody* out, std::string* why) {
    if (line.size() < 103) return Fail(why, "line too short");
    SmallBody b;
    const std::string packed = Field(line, 1, 7);
    const double epoch = UnpackEpoch(Field(line, 21, 25));
    if (!std::isfinite(epoch)) return Fail(why, "bad epoch");
    double M = 0, a = 0;
    const struct {
        size_t from, to;
        double* v;
    } fields[] = {{27, 35, &M},   {38, 46, &b.w}, {49, 57, &b.node},
                  {60, 68, &b.i}, {71, 79, &b.e}, {93, 103, &a}};
    for (const auto& f : fields)
        if (!Number(Field(line, f.from, f.to), f.v)) return Fail(why, "bad orbital element");
    if (!(a > 0.0 && a < 1e5 && b.e >= 0.0 && b.e < 1.0)) return Fail(why, "not an orbit");
    b.q = a * (1.0 - b.e);
    b.epoch = epoch;
    // The nearest perihelion to the epoch, by the mean motion of a.
    const double n = kGauss / (a * std::sqrt(a)) * 180.0 / M_PI;
    b.perihelion = epoch - std::remainder(M, 360.0) / n;
    double v = 0.0;
    if (Number(Field(line, 9, 13), &v)) b.H = v;
    b.G = Number(Field(line, 15, 19), &v) ? v : 0.15;
    // The readable designation: "(4) Vesta", "(543354) 2014 AN55", "2022 OU15".
    const std::string readable = Field(line, 167, 194);
    b.number = packed.size() == 5 ? UnpackNumber(packed) : 0;
    if (b.number == 0) {
        b.designation = UnpackDesignation(packed);
        if (b.designation.empty()) return Fail(why, "bad designation");
        if (!readable.empty() && readable[0] != '(') b.designation = readable;
    } else if (readable.size() > 2 && readable[0] == '(') {
        const size_t close = readable.find(')');
        const std::string rest =
            close == std::string::npos ? std::string() : Trimmed(readable.substr(close + 1));
        // A numbered body without a name keeps its provisional designation there.
        const bool provisional = rest.size() > 5 && AllDigits(rest.substr(0, 4)) && rest[4] == ' ';
        (provisional ? b.designation : b.name) = rest;
    }
    b.id = b.number > 0 ? std::to_string(b.number) : b.designation;
    *out = b;
    return true;
}

bool IsCometLine(std::string_view line) {
    return line.size() >= 79 && AllDigits(line.substr(14, 4)) && line[18] == ' ' &&
           std::string("CPDXIA").find(line[4]) != std::string::npos;
}

}  // namespace

double UnpackEpoch(const std::string& p) {
    if (p.size() != 5 || Century(p[0]) < 0 || !AllDigits(p.substr(1, 2))) return NAN;
    const int month = Base62(p[3]), day = Base62(p[4]);
    if (month < 1 || month > 12 || day < 1 || day > 31) return NAN;
    return CalendarJd(Century(p[0]) + std::atoi(p.substr(1, 2).c_str()), month, day);
}

long UnpackNumber(const std::string& p) {
    if (p.size() != 5) return 0;
    if (p[0] == '~') {  // 620000 and beyond: four base-62 digits
        long v = 0;
        for (int k = 1; k < 5; ++k) {
            const int d = Base62(p[k]);
            if (d < 0) return 0;
            v = v * 62 + d;
        }
        return 620000 + v;
    }
    const int head = Base62(p[0]);
    if (head < 0 || !AllDigits(p.substr(1))) return 0;
    const long v = head * 10000L + std::atol(p.substr(1).c_str());
    return v > 0 ? v : 0;
}

std::string UnpackDesignation(const std::string& p) {
    if (p.size() != 7) return std::string();
    // Survey designations: "PLS2040" is 2040 P-L, "T1S3138" is 3138 T-1.
    if ((p.compare(0, 3, "PLS") == 0 ||
         (p[0] == 'T' && p[1] >= '1' && p[1] <= '3' && p[2] == 'S')) &&
        AllDigits(p.substr(3)))
        return p.substr(3) + (p[0] == 'P' ? " P-L" : std::string(" T-") + p[1]);
    const int century = Century(p[0]);
    const char half = p[3];
    const int cycleHigh = Base62(p[4]);
    if (century < 0 || !AllDigits(p.substr(1, 2)) || half < 'A' || half > 'Y' || half == 'I' ||
        cycleHigh < 0 || !std::isdigit(static_cast<unsigned char>(p[5])))
        return std::string();
    const int cycle = cycleHigh * 10 + (p[5] - '0');
    const std::string year = std::to_string(century + std::atoi(p.substr(1, 2).c_str()));
    const char last = p[6];
    if (last == '0') return year + " " + half + std::to_string(cycle);  // a comet's: "1995 O1"
    if (last >= 'a' && last <= 'z')                                     // a comet's fragment
        return year + " " + half + std::to_string(cycle) + "-" +
               static_cast<char>(last - 'a' + 'A');
    if (last < 'A' || last > 'Z' || last == 'I') return std::string();
    return year + " " + half + last + (cycle > 0 ? std::to_string(cycle) : std::string());
}

bool ParseElementsLine(const std::string& line, SmallBody* out, std::string* why) {
    if (line.size() > 400) return Fail(why, "line too long");
    return IsCometLine(line) ? ParseComet(line, out, why) : ParseMinorPlanet(line, out, why);
}

int ReadElementsFile(const std::string& path, std::vector<SmallBody>& out,
                     std::vector<std::string>* problems, ElementsOnly only) {
    std::string read;
    if (!ZcmReadFile(path.c_str(), read, kMaxElementsFileBytes)) {
        if (problems)
            problems->push_back(
                path + ": cannot be read: " + ZcmReadFileProblem(errno, kMaxElementsFileBytes));
        return -1;
    }
    // Read, not mapped: a file cut short under a mapping would end the process.
    const std::string_view text(read);
    // The lines, in place: a large file is not copied again.
    std::vector<std::pair<size_t, size_t>> lines;
    size_t header = 0;  // lines up to MPCORB.DAT's row of dashes are its preamble
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const size_t next = end + 1;
        if (end > at && text[end - 1] == '\r') --end;
        lines.emplace_back(at, end - at);
        const size_t n = end - at;
        if (header == 0 && lines.size() <= 100 && n >= 20 && text.find_first_not_of('-', at) >= end)
            header = lines.size();
        at = next;
    }
    int added = 0;
    for (size_t k = header; k < lines.size(); ++k) {
        if (only != ElementsOnly::kAll &&
            IsCometLine(text.substr(lines[k].first, lines[k].second)) !=
                (only == ElementsOnly::kComets))
            continue;
        const std::string line(text.substr(lines[k].first, lines[k].second));
        if (line.find_first_not_of(" \t") == std::string::npos) continue;
        SmallBody b;
        std::string why;
        if (ParseElementsLine(line, &b, &why)) {
            out.push_back(std::move(b));
            ++added;
        } else if (problems) {
            problems->push_back(path + ":" + std::to_string(k + 1) + ": " + why);
        }
    }
    return added;
}

}  // namespace sky
