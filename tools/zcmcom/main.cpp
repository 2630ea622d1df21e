// zcmcom: command-line front end of the library.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Command.h"

namespace {

std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}

void PrintHelp(FILE* out) {
    fprintf(out, "usage: zcmcom COMMAND [ARGS...]\n\ncommands:\n");
    for (const auto& c : Commands()) fprintf(out, "  %-48s %s\n", c.usage, c.summary);
    fprintf(out, "  %-48s %s\n", "--help", "this list");
}

}  // namespace

CommandRegistration::CommandRegistration(const Command& command) { Registry().push_back(command); }

const std::vector<Command>& Commands() { return Registry(); }

int UsageError(const std::string& message) {
    fprintf(stderr, "zcmcom: %s\n", message.c_str());
    return 2;
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
    if (argc < 2) {
        PrintHelp(stderr);
        return 2;
    }
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(stdout);
        return 0;
    }
    for (const auto& c : Commands()) {
        if (name == c.name) {
            std::vector<std::string> args(argv + 2, argv + argc);
            return c.run(args);
        }
    }
    return UsageError("unknown command '" + name + "' (see zcmcom --help)");
}
