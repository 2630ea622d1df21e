// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom: command-line front end of the library.
#include <CLI/CLI.hpp>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

#include "Command.h"

namespace {

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

// The innermost subcommand the command line chose ("date dow"), empty for none.
std::string ChosenCommand(const CLI::App& app) {
    std::string name;
    for (const CLI::App* at = &app; !at->get_subcommands().empty();) {
        at = at->get_subcommands().front();
        name += (name.empty() ? "" : " ") + at->get_name();
    }
    return name;
}

// Every parse error in one style: one line on standard error, status 2; help on standard
// output, status 0.
int ReportParseError(const CLI::App& app, const CLI::ParseError& e) {
    if (dynamic_cast<const CLI::CallForVersion*>(&e)) {
        std::cout << e.what() << "\n";
        return 0;
    }
    if (e.get_exit_code() == 0) {
        std::cout << app.help();
        return 0;
    }
    const std::string command = ChosenCommand(app);
    std::string message = e.what();
    for (char& c : message)
        if (c == '\n') c = ' ';
    return UsageError((command.empty() ? "" : command + ": ") + message + " (see zcmcom " +
                      (command.empty() ? "" : command + " ") + "--help)");
}

// A program whose output could not be written has failed, whatever it printed before.
int Finish(int status) {
    if (fflush(stdout) != 0 || ferror(stdout)) {
        const int error = errno;
        fprintf(stderr, "zcmcom: cannot write to standard output: %s\n",
                error ? strerror(error) : "write error");
        return status ? status : 1;
    }
    return status;
}

// The groups of --help, in their order, with their commands in theirs. A command not listed
// here goes to "More", before "Help".
const char* const kGroups[][2] = {
    {"Sky", "click find sky passes follow update serve observer cdf coord radec"},
    {"Time", "date tz tzmap"},
    {"Files", "textfile apps"},
    {"Network", "ping listen send urlencode"},
    {"Camera", "eos cameras"},
};
constexpr size_t kGroupCount = sizeof kGroups / sizeof kGroups[0];

// Where a command is listed: its group's number (kGroupCount: More), its place there.
std::pair<size_t, size_t> Place(const std::string& command) {
    for (size_t g = 0; g < kGroupCount; ++g) {
        const std::string names = std::string(" ") + kGroups[g][1] + " ";
        const size_t at = names.find(" " + command + " ");
        if (at != std::string::npos) return {g, at};
    }
    return {kGroupCount, 0};
}

}  // namespace

CommandRegistration::CommandRegistration(const Command& command) { Registry().push_back(command); }

const std::vector<Command>& Commands() { return Registry(); }

std::string Printable(const std::string& text) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto hex = [](std::string& out, unsigned char c) {
        char s[8];
        snprintf(s, sizeof s, "\\x%02X", c);
        out += s;
    };
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool c1 =
            byte(i) == 0xC2 && i + 1 < text.size() && byte(i + 1) >= 0x80 && byte(i + 1) <= 0x9F;
        if (c1) {
            hex(out, byte(i));
            hex(out, byte(++i));
        } else if (byte(i) < 0x20 || byte(i) == 0x7F) {
            hex(out, byte(i));
        } else {
            out += text[i];
        }
    }
    return out;
}

int UsageError(const std::string& message) {
    fprintf(stderr, "zcmcom: %s\n", Printable(message).c_str());
    return 2;
}

int Failure(const std::string& message) {
    fprintf(stderr, "zcmcom: %s\n", Printable(message).c_str());
    return 1;
}

int UnknownObjectError(const std::string& message) {
    fprintf(stderr, "zcmcom: %s\n", Printable(message).c_str());
    return 3;
}

// Asks without opening: opening a pipe or a FIFO to try it would take its writer.
std::string UnreadableFile(const std::string& path, size_t limit) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || access(path.c_str(), R_OK) != 0) return strerror(errno);
    if (S_ISDIR(info.st_mode)) return "is a folder";
    if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode)) return ZcmReadFileProblem(ENODEV, limit);
    if (S_ISREG(info.st_mode) && static_cast<unsigned long long>(info.st_size) > limit)
        return ZcmReadFileProblem(EFBIG, limit);
    return std::string();
}

void PrintLine(const CString& text) {
    const std::string utf8 = text.ToUtf8();
    fwrite(utf8.data(), 1, utf8.size(), stdout);
    fputc('\n', stdout);
}

bool ParseDouble(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = strtod(text.c_str(), &end);
    return end && *end == 0 && errno != ERANGE;
}

bool ParseFinite(const std::string& text, double& value) {
    return ParseDouble(text, value) && std::isfinite(value);
}

bool ParseWithin(const std::string& text, double lo, double hi, double& value) {
    return ParseFinite(text, value) && value >= lo && value <= hi;
}

CLI::Validator Within(double lo, double hi) {
    char range[80];
    snprintf(range, sizeof range, "a number from %g to %g", lo, hi);
    return CLI::Validator(
        [lo, hi, wanted = std::string(range)](std::string& text) {
            double v;
            return ParseWithin(text, lo, hi, v) ? std::string() : "'" + text + "' is not " + wanted;
        },
        range);
}

bool ParseInt(const std::string& text, int& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long v = strtol(text.c_str(), &end, 10);
    if (!end || *end != 0 || errno == ERANGE || v < -2147483647L - 1 || v > 2147483647L)
        return false;
    value = static_cast<int>(v);
    return true;
}

int main(int argc, char** argv) {
    // Past a file-size limit (ulimit -f) a write fails with EFBIG and is reported, rather
    // than the process being killed without a word.
    signal(SIGXFSZ, SIG_IGN);
    CLI::App app("zcmcom: the command-line front end of the ZCMCOM library", "zcmcom");
    app.require_subcommand(1);
    app.set_version_flag("--version", "zcmcom " ZCMCOM_VERSION);
    std::vector<std::pair<CLI::App*, CommandRun>> runs;
    std::vector<Command> commands = Commands();
    std::stable_sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) {
        return Place(a.name) < Place(b.name);
    });
    for (const auto& c : commands) {
        CLI::App* sub = app.add_subcommand(c.name, c.summary);
        const size_t g = Place(c.name).first;
        sub->group(g < kGroupCount ? kGroups[g][0] : "More");
        runs.emplace_back(sub, c.define(*sub));
    }
    // "zcmcom help [COMMAND]" is answered before parsing; listed here, it is never chosen.
    app.add_subcommand("help", "this overview, or with COMMAND the command's help")->group("Help");
    // (after the subcommands, which would inherit it)
    app.footer(
        "zcmcom COMMAND --help shows a command's options. Exit status: 0 done, 1 failed, "
        "2 bad arguments, 3 unknown object.");
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << app.help();
        return 2;
    }
    if (args[0] == "help") {  // "zcmcom help [COMMAND]" is "zcmcom [COMMAND] --help"
        args.erase(args.begin());
        args.push_back("--help");
    }
    if (!args[0].empty() && args[0][0] != '-' &&
        std::none_of(runs.begin(), runs.end(),
                     [&](const auto& r) { return r.first->get_name() == args[0]; }))
        return UsageError("unknown command '" + args[0] + "' (see zcmcom --help)");
    try {
        std::reverse(args.begin(), args.end());  // CLI11 takes the arguments last first
        app.parse(args);
    } catch (const CLI::ParseError& e) {
        return Finish(ReportParseError(app, e));
    }
    for (auto& [sub, run] : runs)
        if (sub->parsed()) return Finish(run());
    return Finish(UsageError("no command (see zcmcom --help)"));
}
