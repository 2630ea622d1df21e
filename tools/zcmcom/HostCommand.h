// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// What the commands that ask a host file about an object path share (zcmcom click, cdf):
// their options, a host that answers from the file and can show every command it gets,
// and the output of the library's text.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "Command.h"
#include "clickdata/CdStatus.h"
#include "host/TableHost.h"

// A host that, with trace on, shows each command on standard error as it is sent.
template <class Host>
class Tracing : public Host {
public:
    using Host::Host;
    bool trace = false;
    CString Execute(LPCTSTR command) override {
        if (trace) fprintf(stderr, "%s\n", CString(command).ToUtf8().c_str());
        return Host::Execute(command);
    }
};

// The file's host.
using TracingHost = Tracing<CTableHost>;

struct HostOptions {
    int compact = 0;
    bool trace = false;
    // default, init, camera or registry; empty: the saved settings when there are any,
    // else init.
    std::string settings;
    std::string file;
    std::string path;
    // The built-in sky's options (click without --host).
    std::string at, site, point, tz;
    // Framing aids centred on --point: "CAMERA,FOCAL" or "WxH,FOCAL" (mm),
    // "ROWSxCOLUMNS[,OVERLAP]", a circle's diameter and the roll (degrees).
    std::string frame, mosaic, fov, roll;
    std::vector<std::string> elements;  // --elements FILE, any number
    std::vector<std::string> tle;  // element files for the sky's satellites (--tle, repeatable)
    // A running Stellarium as the host (click --stellarium [URL]).
    bool useStellarium = false;
    std::string stellarium;
};

// The URL "--stellarium" means when given alone.
constexpr const char* kDefaultStellariumUrl = "http://127.0.0.1:8090";

class CStellariumHost;
// Checks --stellarium's URL (http:// only), --at, --site and --tz before Stellarium is asked.
// Returns -1 when they are good, else the exit status after the message.
int CheckStellariumOptions(const HostOptions& options);
// What to do when Stellarium at url has not answered once: start it with its remote control,
// or name the address it listens on.
std::string StellariumAdvice(const std::string& url);
// Puts Stellarium at the asked site (--site, else its own) and instant (--at as a Julian Day
// of UT, else the one it shows), its clock stopped, and the texts in the site's zone (--tz,
// else the map's). Returns the line that reports them; a failing Stellarium raises the host
// exception.
std::string PinStellarium(CStellariumHost& host, const HostOptions& options);

// Declares [--compact] [--settings S] [--trace] --host FILE PATH on the command (--compact
// only where allowCompact). Where allowSky, --host may be left out and --at, --site,
// --point, --tz, --tle and --elements (MPC element files, repeatable) are taken for the
// built-in sky instead (and refused beside --host).
void DefineHostOptions(CLI::App& command, HostOptions& options, bool allowCompact, bool allowSky);
// Sets the switches. Returns -1 on success, else the exit status after the message.
int ApplySettings(const HostOptions& options, CCdStatus& status);
// Sets the switches and loads the host file. Returns -1 on success, else the exit status.
int PrepareHost(const HostOptions& options, CCdStatus& status, TracingHost& host);
// Runs the library call; a host failure becomes a message and status 1. Returns -1 when the
// call succeeded and text holds its result.
// advice, when not empty at the failure, follows the message ("...; start Stellarium ...").
int CallLibrary(const std::function<CString()>& call, CString& text,
                const std::string& advice = std::string());
// The text as the library made it (CR LF line ends); a last line without a line end gets a
// line feed, so the shell's prompt starts on a line of its own.
void WriteText(const CString& text);
