#pragma once
// The built-in sky's command-line options, shared by "click" and "sky".
#include <string>
#include <vector>

class CSkyHost;

// Reads "YYYY-MM-DD[THH:MM[:SS[.s]]][Z|+HH:MM|-HH:MM|+HHMM]" (a blank may stand for the
// T). Without an offset the time is taken in zoneIfNone hours. false: not such a time.
bool ParseIsoTime(const std::string& text, double zoneIfNone, double* jdUt);
// Reads "LON,LAT[,HEIGHT]" (degrees east, degrees north, metres). false: not valid.
bool ParseSite(const std::string& text, double* lon, double* lat, double* height);
// Sets up the host: the site and its time zone from the world map, then the instant
// (the clock's now when at is empty). Returns an error message, or empty on success.
std::string SetUpSkyHost(CSkyHost& host, const std::string& at, const std::string& site);
// Adds MPC element files (MPCORB or CometEls.txt lines) for the sky's comets and minor
// planets, after those named in ZCMCOM_SKY_ELEMENTS. Returns an error message for a file
// that cannot be read, or empty.
std::string UseElementFiles(const std::vector<std::string>& files);
