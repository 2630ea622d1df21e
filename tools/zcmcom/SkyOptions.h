// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The built-in sky's command-line options, shared by "click" and "sky".
#include <string>
#include <vector>

class CSkyHost;
namespace CLI {
class App;
class Option;
}  // namespace CLI

// Reads "YYYY-MM-DD[THH:MM[:SS[.s]]][Z|+HH:MM|-HH:MM|+HHMM]" (a blank may stand for the
// T). Without an offset the time is taken in zoneIfNone hours. false: not such a time.
bool ParseIsoTime(const std::string& text, double zoneIfNone, double* jdUt,
                  std::string* why = nullptr);
/// The message for a --at that is not read: why, when the date does not exist, else the form.
std::string BadAt(const std::string& at, const std::string& why);
// Reads "LON,LAT[,HEIGHT]" (degrees east, degrees north, metres). false: not valid.
bool ParseSite(const std::string& text, double* lon, double* lat, double* height);
// Reads --site: "LON,LAT[,HEIGHT]" or a town of data/tztowns.txt by its English or Japanese
// name ("Tokyo", "東京", "London,GB" for London in Great Britain); *zone gets the town's
// IANA zone (empty for numbers). Returns why the text is no site (an unknown or ambiguous
// town with the closest names or the candidates), else empty.
std::string ReadSite(const std::string& text, double* lon, double* lat, double* height,
                     std::string* zone = nullptr);
// Sets up the host: the site (ReadSite) and its IANA time zone (tz, else the town's, else
// the nearest town's that agrees with the world map), then the instant (the clock's now when at is
// empty; a time without an offset is the site's clock time). With trace, the zone used goes to
// standard error. Returns an error message, or empty on success.
std::string SetUpSkyHost(CSkyHost& host, const std::string& at, const std::string& site,
                         const std::string& tz, bool trace);
// Turns a name the built-in sky knows ("Sirius", "シリウス", "M42") into its object path;
// an object path it answers for stays. Returns -1 when path holds an object, else the
// exit status after the message (3: no such object).
int ResolveSkyObject(CSkyHost& host, std::string& path);
// The message and status (3) for a text that names no object of the built-in sky.
int UnknownSkyObject(double jdUt, const std::string& text);
// Adds MPC element files (MPCORB or CometEls.txt lines) for the sky's comets and minor
// planets, after those named in ZCMCOM_SKY_ELEMENTS. Returns -1 on success, else the exit
// status after the message (1: a file cannot be read; 2: a name with ':').
int UseElementFiles(const std::vector<std::string>& files);
// Declares --elements FILE (repeatable, one file each time) on the command.
CLI::Option* AddElementsOption(CLI::App& command, std::vector<std::string>& files);
