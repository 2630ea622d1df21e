// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The satellite side of the zcmcom commands: user TLE files (--tle), the sets they skip
// and the warning about old elements, all on standard error.
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
}  // namespace CLI
namespace sky {
struct Elements;
struct TleCatalog;
}  // namespace sky

// Declares --tle FILE (repeatable, one file each time) on the command.
CLI::Option* AddTleOption(CLI::App& command, std::vector<std::string>& files);
// Hands the files to the built-in sky; every file must be readable. Reports the sets they
// skip. Returns -1 on success, else the exit status after the message.
int UseTleFiles(const std::vector<std::string>& files);
// "zcmcom: FILE:LINE: REASON (skipped)" for each set a reader skipped.
void ReportTleProblems(const sky::TleCatalog& catalog);
// A warning line when the elements are more than 14 days from the instant.
void WarnIfOld(const sky::Elements& elements, double jdUtc);
// The same for an object path "ArtificialSatellite.<number>" of the built-in sky.
void WarnIfOldPath(const std::string& path, double jdUtc);
// "YYYY-MM-DD HH:MM:SS" of a Julian Day in the given zone (hours).
std::string DateTimeText(double jd, double zone);
