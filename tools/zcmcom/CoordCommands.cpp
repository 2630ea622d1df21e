// zcmcom coord / radec: the coordinate formatters and the parser.
#include <cstdio>
#include <cstring>

#include "Command.h"
#include "format/CoordFormat.h"

namespace {

int RunCoord(const std::vector<std::string>& args) {
    if (args.size() != 3) return UsageError("usage: coord ra|dec|lon|radeg|decdeg|londeg VALUE PRECISION");
    using F = const wchar_t* (*)(double, int);
    static const struct {
        const char* kind;
        F format;
    } kKinds[] = {
        {"ra", CCommonCoordFormat::CoordFormatRA},
        {"dec", CCommonCoordFormat::CoordFormatDecl},
        {"lat", CCommonCoordFormat::CoordFormatLatitude},
        {"lon", CCommonCoordFormat::CoordFormatLongitude},
        {"radeg", CCommonCoordFormat::CoordFormatRADeg},
        {"decdeg", CCommonCoordFormat::CoordFormatDeclDeg},
        {"latdeg", CCommonCoordFormat::CoordFormatLatitudeDeg},
        {"londeg", CCommonCoordFormat::CoordFormatLongitudeDeg},
    };
    F format = nullptr;
    for (const auto& k : kKinds)
        if (args[0] == k.kind) format = k.format;
    if (!format) return UsageError("unknown coordinate kind '" + args[0] + "'");
    double value;
    if (!ParseDouble(args[1], value)) return UsageError("not a number: '" + args[1] + "'");
    int precision;
    if (!ParseInt(args[2], precision) || precision < -4 || precision > 4 || precision == 0)
        return UsageError("precision must be 1 to 4, or -1 to -4 for the placeholder");
    PrintLine(format(value, precision));
    return 0;
}

int RunRaDec(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("usage: radec TEXT");
    int raH, raM, decPlus = 0, decD, decM;
    double raS, decS;
    const CString text(args[0].c_str());
    if (!CCommonCoordFormat::Str2RADec(text, raH, raM, raS, decPlus, decD, decM, decS)) {
        fprintf(stderr, "zcmcom: empty text\n");
        return 1;
    }
    CString out;
    out.Format(L"%d %d %g %d %d %d %g", raH, raM, raS, decPlus, decD, decM, decS);
    PrintLine(out);
    return 0;
}

const CommandRegistration kCoord({"coord", "coord ra|dec|lat|lon|radeg|decdeg|latdeg|londeg VALUE PREC",
                                  "print a coordinate text (PREC 1..4, negative: placeholder)",
                                  RunCoord});
const CommandRegistration kRaDec({"radec", "radec TEXT",
                                  "read RA and Dec: raH raM raS decPlus decD decM decS",
                                  RunRaDec});

}  // namespace
