// SPDX-License-Identifier: LGPL-3.0-or-later
#pragma once
// The subcommands of the zcmcom program. Each source file registers its own family with a
// static CommandRegistration: a name, a summary and a function that declares the
// subcommand's options and arguments on its CLI11 app and returns what runs it once the
// command line is parsed. main builds the parser from the registrations and reports every
// parse error the same way.
#include <functional>
#include <string>
#include <vector>

#include "platform/EncodedStream.h"
#include "platform/String.h"

#include <CLI/CLI.hpp>

// Runs the parsed subcommand; returns the exit status.
using CommandRun = std::function<int()>;

struct Command {
    const char* name;
    const char* summary;
    // Adds the options and arguments to the subcommand; the runner reads what they hold.
    CommandRun (*define)(CLI::App& command);
};

struct CommandRegistration {
    explicit CommandRegistration(const Command& command);
};

const std::vector<Command>& Commands();

// Exit status and message for bad arguments: one line on standard error, status 2.
int UsageError(const std::string& message);
// A failure that is not the arguments' fault: "zcmcom: message" on standard error, status 1.
int Failure(const std::string& message);
// An object name that names nothing: "zcmcom: message" on standard error, status 3.
int UnknownObjectError(const std::string& message);
// Why a file named on the command line cannot be read ("is a folder", not a regular file or
// pipe, larger than limit, the system's reason), or empty when it can. Such a file is a
// failure (status 1), whichever option names it.
std::string UnreadableFile(const std::string& path, size_t limit = kZcmMaxWholeBytes);
// Writes wide text to standard output as UTF-8, followed by a line end.
void PrintLine(const CString& text);
// Parses a whole decimal number; false when the text is not one ("nan" and "inf" are
// numbers here; ParseFinite refuses them).
// A file name from the command line, kept byte for byte even when it is not UTF-8.
inline CString PathArgument(const std::string& arg) {
    return CString(ZcmPathToWide(arg.data(), arg.size()));
}
bool ParseDouble(const std::string& text, double& value);
bool ParseFinite(const std::string& text, double& value);
bool ParseInt(const std::string& text, int& value);
// A finite number from lo to hi (both included); false for anything else.
bool ParseWithin(const std::string& text, double lo, double hi, double& value);
// CLI11 check of the same: CLI::Range lets NaN through.
CLI::Validator Within(double lo, double hi);
// A text as it may be shown in a message: control characters (C0, DEL and, in UTF-8, C1)
// become \xNN, so a name pasted from a file or a page cannot drive the terminal.
std::string Printable(const std::string& text);
