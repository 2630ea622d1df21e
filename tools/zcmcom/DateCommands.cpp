// zcmcom date / eos: the date helpers and the camera model names.
#include "Command.h"
#include "format/CommonEOS.h"
#include "format/DateFmt.h"

namespace {

int RunDate(const std::vector<std::string>& args) {
    const char* usage = "usage: date parse TEXT | date dow YEAR MONTH DAY | date days YEAR MONTH";
    if (args.empty()) return UsageError(usage);
    const std::string& what = args[0];
    CString out;
    if (what == "parse" && args.size() == 2) {
        int y, m, d, h, mi, s;
        CCommonDateFmt::ParseDate(CString(args[1].c_str()), &y, &m, &d, &h, &mi, &s);
        out.Format(L"%d %d %d %d %d %d", y, m, d, h, mi, s);
    } else if (what == "dow" && args.size() == 4) {
        tagADATE date{};
        if (!ParseInt(args[1], date.year) || !ParseInt(args[2], date.month) ||
            !ParseInt(args[3], date.day))
            return UsageError("YEAR, MONTH and DAY must be whole numbers");
        static const wchar_t* const kNames[] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                                L"Thursday", L"Friday", L"Saturday"};
        const int dow = CCommonDateFmt::GetDayOfWeek(date);
        if (dow < 0) {
            fprintf(stderr, "zcmcom: no weekday for that date\n");
            return 1;
        }
        out.Format(L"%d %s", dow, kNames[dow]);
    } else if (what == "days" && args.size() == 3) {
        int year, month;
        if (!ParseInt(args[1], year) || !ParseInt(args[2], month))
            return UsageError("YEAR and MONTH must be whole numbers");
        out.Format(L"%d", CCommonDateFmt::GetDayOfMonth(year, month));
    } else {
        return UsageError(usage);
    }
    PrintLine(out);
    return 0;
}

int RunEos(const std::vector<std::string>& args) {
    if (args.size() != 1) return UsageError("usage: eos NAME");
    PrintLine(CCommonEOS::ModelEtoJ(CString(args[0].c_str())));
    return 0;
}

const CommandRegistration kDate({"date", "date parse TEXT | dow Y M D | days Y M",
                                 "parse \"Www EEy/m/d h:m:s\"; weekday (0 Sunday); days in a month",
                                 RunDate});
const CommandRegistration kEos({"eos", "eos NAME",
                                "Japanese-market name of an EOS camera model", RunEos});

}  // namespace
