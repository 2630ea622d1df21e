// SPDX-License-Identifier: LGPL-3.0-or-later
#include "SatelliteOptions.h"

#include <CLI/CLI.hpp>

#include <strings.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "Command.h"
#include "sky/satellites/SatelliteCatalog.h"
#include "zvacl/zvacl.h"

CLI::Option* AddTleOption(CLI::App& cmd, std::vector<std::string>& files) {
    return cmd
        .add_option("--tle", files,
                    "two- or three-line element FILE for the satellites (repeatable; "
                    "the newest elements of a satellite win)")
        ->type_name("FILE")
        ->allow_extra_args(false);
}

int UseTleFiles(const std::vector<std::string>& files) {
    if (files.empty()) return -1;
    for (const std::string& f : files)
        if (const std::string why = UnreadableFile(f, sky::kMaxTleFileBytes); !why.empty())
            return Failure("cannot read TLE file '" + f + "': " + why);
    sky::SetTleFiles(files);
    ReportTleProblems(sky::Satellites()->tle);
    // A file that passed the look above may still fail to read (a FIFO without a writer).
    for (const sky::TleProblem& p : sky::Satellites()->tle.problems)
        if (p.line == 0 && std::find(files.begin(), files.end(), p.file) != files.end()) return 1;
    return -1;
}

void ReportTleProblems(const sky::TleCatalog& catalog) {
    for (const sky::TleProblem& p : catalog.problems)
        std::fprintf(stderr, "zcmcom: %s:%d: %s (skipped)\n", Printable(p.file).c_str(), p.line,
                     p.reason.c_str());
}

std::string DateTimeText(double jd, double zone) {
    tagADATE d{};
    JdToDate2(jd + zone / 24.0 + 0.5 / 86400.0, &d);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day,
                  d.hour, d.minute, static_cast<int>(d.second));
    return text;
}

void WarnIfOld(const sky::Elements& e, double jdUtc) {
    const double age = jdUtc - e.epochJd;
    if (std::fabs(age) <= 14.0) return;
    std::fprintf(
        stderr,
        "zcmcom: warning: the elements of %s (%d) are %.0f days %s the time asked (epoch %s UTC); "
        "predictions drift with age: give newer ones with --tle\n",
        e.name.c_str(), e.number, std::fabs(age), age > 0 ? "older than" : "newer than",
        DateTimeText(e.epochJd, 0.0).c_str());
}

void WarnIfOldPath(const std::string& path, double jdUtc) {
    static const char kPrefix[] = "ArtificialSatellite.";
    if (strncasecmp(path.c_str(), kPrefix, sizeof kPrefix - 1) != 0) return;
    const std::string number = path.substr(sizeof kPrefix - 1);
    if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) return;
    if (number.size() > 9) return;
    const int n = std::atoi(number.c_str());
    if (const sky::Elements* e = sky::SatelliteNumbered(n)->At(n, jdUtc)) WarnIfOld(*e, jdUtc);
}
