// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom observer --host FILE: the date and observer state read from a planetarium whose
// answers are listed in a file.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "Command.h"
#include "dateobs/DateObs.h"
#include "host/TableHost.h"
#include "platform/Afx.h"
#include "platform/EncodedStream.h"

namespace {

// The application's questions before a time lock is released (this program never edits
// the time, but every application that uses the date object provides them).
const ZcmStringResource kAppStrings[] = {
    {IDS_ZVDATEOBS_TURN_OFF_LOCK_KIND,
     L"The time is locked to a rising or setting. Release the lock?"},
    {IDS_ZVDATEOBS_TURN_OFF_LOCK, L"The time is locked. Release the lock?"},
};
const HMODULE kAppModule = AfxRegisterResourceModule(L"zcmcom", kAppStrings, 2, nullptr, 0, true);

// The planetarium of a host file. The real planetarium matches names without regard to
// case, and the date object asks "? UT(time)" as well as "? UT(Time)", so one line serves
// every spelling: the queries of the file and those sent are both folded to upper case.
class FileHost : public CTableHost {
public:
    BOOL Load(const char* path) {
        std::string table;
        if (!ZcmReadFile(path, table, kZcmMaxWholeBytes)) return FALSE;
        bool inQuery = true;  // before the first tab of a line
        for (char& c : table) {
            if (c == '\n')
                inQuery = true;
            else if (c == '\t')
                inQuery = false;
            else if (inQuery && c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        }
        LoadTable(table);
        return TRUE;
    }

    CString Execute(LPCTSTR command) override {
        const CString cmd(command ? command : L"");
        Record(cmd);
        return Lookup(Fold(cmd));
    }

private:
    static CString Fold(CString text) {
        for (int i = 0; i < text.GetLength(); ++i)
            if (text[i] >= L'a' && text[i] <= L'z')
                text.SetAt(i, static_cast<wchar_t>(text[i] - L'a' + L'A'));
        return text;
    }
};

CString Zone(double hours) {
    CString s;
    s.Format(L"%+.2f", hours);
    return s;
}

int RunObserver(const std::string& file) {
    (void)kAppModule;
    FileHost host;
    host.SetRecording(false);
    if (const std::string why = UnreadableFile(file); !why.empty())
        return Failure("cannot read host file '" + file + "': " + why);
    if (!host.Load(file.c_str()))
        return Failure("cannot read host file '" + file +
                       "': " + ZcmReadFileProblem(errno, kZcmMaxWholeBytes));
    CZVDateObs obs;
    obs.SetpCorZnt(&host);
    obs.UpdateByCorZnt();
    const tagADATE read = obs.GetADate();
    if (read.month < 1 || read.month > 12 || read.day < 1)
        fprintf(
            stderr,
            "zcmcom: no readable answer to \"? UT(time)\"; the times below are not the host's\n");

    int y, mo, d, h, mi, s;
    CString line;
    obs.GetUT(&y, &mo, &d, &h, &mi, &s, 0);
    line.Format(L"UT: %d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
    PrintLine(line);
    obs.GetLST(&y, &mo, &d, &h, &mi, &s);
    line.Format(L"Local time: %d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
    PrintLine(line);
    PrintLine(L"Zone: " + Zone(obs.GetTz()));
    const int body = obs.GetLocationObject();
    line.Format(L"Body: %d %s", body, obs.ObjNumToName(body));
    PrintLine(line);
    line.Format(L"Site: longitude %.6f latitude %.6f height %.1f m", obs.GetLongitude(),
                obs.GetLatitude(), obs.GetHeight());
    PrintLine(line);
    line.Format(L"Magnitude limit: %.1f", obs.GetMag());
    PrintLine(line);
    line.Format(L"Moon age: %.2f", obs.GetMoonAge());
    PrintLine(line);
    obs.GetST(&h, &mi, &s);
    line.Format(L"Sidereal time: %02d:%02d:%02d", h, mi, s);
    PrintLine(line);
    double jd, mjd;
    obs.GetJD(&jd);
    obs.GetMJD(&mjd);
    line.Format(L"JD: %.6f", jd);
    PrintLine(line);
    line.Format(L"MJD: %.6f", mjd);
    PrintLine(line);
    return 0;
}

CommandRun DefineObserver(CLI::App& cmd) {
    auto file = std::make_shared<std::string>();
    cmd.add_option("--host", *file, "the host file of \"query<TAB>answer\" lines")->required();
    return [file] { return RunObserver(*file); };
}

const CommandRegistration kObserver({"observer",
                                     "date, zone, site and magnitude limit read from a host file",
                                     DefineObserver});

}  // namespace
