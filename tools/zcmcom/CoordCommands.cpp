// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom coord / radec: the coordinate formatters and the parser.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <iterator>
#include <memory>

#include "Command.h"
#include "format/CoordFormat.h"

namespace {

struct CoordArgs {
    std::string kind, value, precision;
};

int RunCoord(const CoordArgs& a) {
    using F = const wchar_t* (*)(double, int);
    static const struct {
        const char* kind;
        F format;
        double limit;  // the values taken: -limit to limit (hours for ra, else degrees)
    } kKinds[] = {
        {"ra", CCommonCoordFormat::CoordFormatRA, 24},
        {"dec", CCommonCoordFormat::CoordFormatDecl, 90},
        {"lat", CCommonCoordFormat::CoordFormatLatitude, 90},
        {"lon", CCommonCoordFormat::CoordFormatLongitude, 360},
        {"radeg", CCommonCoordFormat::CoordFormatRADeg, 24},
        {"decdeg", CCommonCoordFormat::CoordFormatDeclDeg, 90},
        {"latdeg", CCommonCoordFormat::CoordFormatLatitudeDeg, 90},
        {"londeg", CCommonCoordFormat::CoordFormatLongitudeDeg, 360},
    };
    const auto* kind = std::find_if(std::begin(kKinds), std::end(kKinds),
                                    [&](const auto& k) { return a.kind == k.kind; });
    if (kind == std::end(kKinds)) return UsageError("unknown coordinate kind '" + a.kind + "'");
    const F format = kind->format;
    double value;  // NaN is a value here: it prints the placeholder
    if (!ParseDouble(a.value, value)) return UsageError("not a number: '" + a.value + "'");
    if (!std::isnan(value) && !(std::fabs(value) <= kind->limit))
        return UsageError(a.kind + " must be from " + std::to_string(-int(kind->limit)) + " to " +
                          std::to_string(int(kind->limit)) +
                          (kind->limit == 24 ? " hours" : " degrees") + ": '" + a.value + "'");
    int precision;
    if (!ParseInt(a.precision, precision) || precision < -4 || precision > 4 || precision == 0)
        return UsageError("precision must be 1 to 4, or -1 to -4 for the placeholder");
    PrintLine(format(value, precision));
    return 0;
}

CommandRun DefineCoord(CLI::App& cmd) {
    auto a = std::make_shared<CoordArgs>();
    cmd.add_option("KIND", a->kind, "ra, dec, lat, lon, radeg, decdeg, latdeg or londeg")
        ->required();
    cmd.add_option("VALUE", a->value, "hours for ra, else degrees")->required();
    cmd.add_option("PREC", a->precision, "1 to 4; negative: the placeholder text")->required();
    return [a] { return RunCoord(*a); };
}

int RunRaDec(const std::string& text) {
    // The reader takes any text; one without a digit holds no coordinates.
    bool digit = false;
    for (const char c : text) digit = digit || std::isdigit(static_cast<unsigned char>(c));
    int raH, raM, decPlus = 0, decD, decM;
    double raS, decS;
    if (!digit || !CCommonCoordFormat::Str2RADec(CString(text.c_str()), raH, raM, raS, decPlus,
                                                 decD, decM, decS))
        return UsageError("no right ascension and declination in '" + text + "'");
    CString out;
    out.Format(L"%d %d %g %d %d %d %g", raH, raM, raS, decPlus, decD, decM, decS);
    PrintLine(out);
    return 0;
}

CommandRun DefineRaDec(CLI::App& cmd) {
    auto text = std::make_shared<std::string>();
    cmd.add_option("TEXT", *text, "RA and Dec in any usual notation")->required();
    return [text] { return RunRaDec(*text); };
}

const CommandRegistration kCoord({"coord",
                                  "print a coordinate text (PREC 1..4, negative: placeholder)",
                                  DefineCoord});
const CommandRegistration kRaDec({"radec", "read RA and Dec: raH raM raS decPlus decD decM decS",
                                  DefineRaDec});

}  // namespace
