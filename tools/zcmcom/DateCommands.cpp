// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom date / eos: the date helpers and the camera model names.
#include <CLI/CLI.hpp>
#include <memory>

#include "Command.h"
#include "format/CommonEOS.h"
#include "format/DateFmt.h"

namespace {

struct DateArgs {
    std::string text, year, month, day;
};

int RunParse(const DateArgs& a) {
    int y, m, d, h, mi, s;
    CCommonDateFmt::ParseDate(CString(a.text.c_str()), &y, &m, &d, &h, &mi, &s);
    // The reader stops at the first mismatch; a text it read no month from is no date.
    if (m < 1) return UsageError("not a date: '" + a.text + "' (Www EEyyyy/m/d h:m:s)");
    CString out;
    out.Format(L"%d %d %d %d %d %d", y, m, d, h, mi, s);
    PrintLine(out);
    return 0;
}

// Reads the year and the month (1 to 12); false after the message.
bool YearMonth(const DateArgs& a, int& year, int& month) {
    if (!ParseInt(a.year, year) || !ParseInt(a.month, month)) {
        UsageError("YEAR and MONTH must be whole numbers");
        return false;
    }
    if (month < 1 || month > 12) {
        UsageError("MONTH must be 1 to 12");
        return false;
    }
    return true;
}

int RunDow(const DateArgs& a) {
    tagADATE date{};
    if (!YearMonth(a, date.year, date.month)) return 2;
    if (!ParseInt(a.day, date.day)) return UsageError("YEAR, MONTH and DAY must be whole numbers");
    if (date.day < 1 || date.day > CCommonDateFmt::GetDayOfMonth(date.year, date.month))
        return UsageError("no such day in that month");
    static const wchar_t* const kNames[] = {L"Sunday",   L"Monday", L"Tuesday", L"Wednesday",
                                            L"Thursday", L"Friday", L"Saturday"};
    const int dow = CCommonDateFmt::GetDayOfWeek(date);
    if (dow < 0) return UsageError("no weekday for that date");
    CString out;
    out.Format(L"%d %s", dow, kNames[dow]);
    PrintLine(out);
    return 0;
}

int RunDays(const DateArgs& a) {
    int year, month;
    if (!YearMonth(a, year, month)) return 2;
    CString out;
    out.Format(L"%d", CCommonDateFmt::GetDayOfMonth(year, month));
    PrintLine(out);
    return 0;
}

CommandRun DefineDate(CLI::App& cmd) {
    auto a = std::make_shared<DateArgs>();
    cmd.require_subcommand(1);
    auto* parse = cmd.add_subcommand(
        "parse", "read \"Www EEy/m/d h:m:s\": year month day hour minute second");
    parse->add_option("TEXT", a->text, "the date text")->required();
    auto* dow = cmd.add_subcommand("dow", "weekday of a date (0 Sunday)");
    auto* days = cmd.add_subcommand("days", "days in a month");
    for (CLI::App* sub : {dow, days}) {
        sub->add_option("YEAR", a->year, "astronomical year (0 is 1 BC)")->required();
        sub->add_option("MONTH", a->month, "1 to 12")->required();
    }
    dow->add_option("DAY", a->day, "day of the month")->required();
    return [a, parse, dow] {
        return parse->parsed() ? RunParse(*a) : dow->parsed() ? RunDow(*a) : RunDays(*a);
    };
}

CommandRun DefineEos(CLI::App& cmd) {
    auto name = std::make_shared<std::string>();
    cmd.add_option("NAME", *name, "the model's international name")->required();
    return [name] {
        PrintLine(CCommonEOS::ModelEtoJ(CString(name->c_str())));
        return 0;
    };
}

const CommandRegistration kDate({"date",
                                 "parse \"Www EEy/m/d h:m:s\"; weekday (0 Sunday); days in a month",
                                 DefineDate});
const CommandRegistration kEos({"eos", "Japanese-market name of an EOS camera model", DefineEos});

}  // namespace
