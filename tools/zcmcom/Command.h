#pragma once
// The subcommands of the zcmcom program. Each source file registers its own with a
// static CommandRegistration; main dispatches on the first argument.
#include <string>
#include <vector>

#include "platform/String.h"

struct Command {
    const char* name;
    const char* usage;  // one line: "coord ra|dec|... VALUE PRECISION"
    const char* summary;
    // Runs with the arguments after the subcommand's name; returns the exit status.
    int (*run)(const std::vector<std::string>& args);
};

struct CommandRegistration {
    explicit CommandRegistration(const Command& command);
};

const std::vector<Command>& Commands();

// Exit status and message for bad arguments: one line on standard error, status 2.
int UsageError(const std::string& message);
// Writes wide text to standard output as UTF-8, followed by a line end.
void PrintLine(const CString& text);
// A file name from the command line, kept byte for byte even when it is not UTF-8.
inline CString PathArgument(const std::string& arg) { return CString(ZcmPathToWide(arg.data(), arg.size())); }
// Parses a whole decimal number; false when the text is not one.
bool ParseDouble(const std::string& text, double& value);
bool ParseInt(const std::string& text, int& value);
