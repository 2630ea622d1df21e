#pragma once
// What the commands that ask a host file about an object path share (zcmcom click, cdf):
// their options, a host that answers from the file and can show every command it gets,
// and the output of the library's text.
#include <functional>
#include <string>
#include <vector>

#include "clickdata/CdStatus.h"
#include "host/TableHost.h"

// The file's host; with trace on, each command goes to standard error as it is sent.
class TracingHost : public CTableHost {
public:
    bool trace = false;
    CString Execute(LPCTSTR command) override;
};

struct HostOptions {
    int compact = 0;
    bool trace = false;
    std::string settings = "default";  // default, init, camera or registry
    std::string file;
    std::string path;
};

// Reads [--compact] [--settings S] [--trace] --host FILE PATH (--compact only where
// allowCompact). Returns -1 when they are fine, else the exit status after the message.
int ParseHostOptions(const std::vector<std::string>& args, const char* usage, bool allowCompact,
                     HostOptions& options);
// Sets the switches and loads the host file. Returns -1 on success, else the exit status.
int PrepareHost(const HostOptions& options, CCdStatus& status, TracingHost& host);
// Runs the library call; a host failure becomes a message and status 1. Returns -1 when the
// call succeeded and text holds its result.
int CallLibrary(const std::function<CString()>& call, CString& text);
// The text as the library made it (CR LF line ends); a last line without a line end gets a
// line feed, so the shell's prompt starts on a line of its own.
void WriteText(const CString& text);
