// SPDX-License-Identifier: LGPL-3.0-or-later
// Bad arguments and failures, each with its exit status and a one-line "zcmcom: " message
// that says why.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <utility>

#include "cli/Zcm.h"
#include "net/NetTestUtil.h"
#include "support/Accuracy.h"

namespace {

// Each fault of tests/data/cli/exit_status.txt and each one docs/command-line.md shows.
TEST(CliExitStatus, EveryFaultHasItsStatusAndReason) {
    TempDir dir;
    WriteFileBytes(dir.File("in.txt"), "line\n");
    WriteFileBytes(dir.File("variables.zct"), std::string(4096, 'x'));  // a damaged table
    // Inputs no reader may wait on or read whole: a FIFO without a writer, a 1 GB hole.
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
    WriteFileBytes(dir.File("big"), "");
    ASSERT_EQ(truncate(dir.File("big").c_str(), 1L << 30), 0);
    ASSERT_EQ(symlink("/dev/zero", dir.File("zero").c_str()), 0);
    const std::pair<std::string, std::string> kNames[] = {{"{IN}", dir.File("in.txt")},
                                                          {"{DIR}", dir.path()},
                                                          {"{ENOENT}", strerror(ENOENT)},
                                                          {"{ENOSPC}", strerror(ENOSPC)},
                                                          {"{EFBIG}", strerror(EFBIG)}};
    std::vector<std::string> rows = DataRows("cli/exit_status.txt", 5);
    // The failures docs/command-line.md shows: "| `zcmcom ARGS [> OUT]` | STATUS | `TEXT` |".
    std::istringstream docs(
        ReadFileBytes(std::string(ZCMCOM_SOURCE_DIR) + "/docs/command-line.md"));
    size_t documented = 0;
    for (std::string line; std::getline(docs, line);) {
        if (line.rfind("| `zcmcom ", 0) != 0) continue;
        const size_t end = line.find("` | "), text = line.find('`', end + 4);
        std::string args = line.substr(10, end - 10), out = "/dev/null";
        if (const size_t to = args.find(" > "); to != std::string::npos)
            out = args.substr(to + 3), args.resize(to);
        rows.push_back("\t" + args + "\t" + out + "\t" + line.substr(end + 4, 1) + "\t" +
                       line.substr(text + 1, line.rfind('`') - text - 1));
        ++documented;
    }
    EXPECT_GE(documented, 20u);
    for (std::string row : rows) {
        for (const auto& [name, text] : kNames)
            for (size_t at; (at = row.find(name)) != std::string::npos;)
                row.replace(at, name.size(), text);
        std::istringstream s(row);
        std::string env, args, out, status, reason;
        for (std::string* f : {&env, &args, &out, &status, &reason}) std::getline(s, *f, '\t');
        int got = -1;
        const std::string err =
            RunCommand(std::string("cd ") + ZCMCOM_SOURCE_DIR + " && " + env + " timeout 60 " +
                           ZCMCOM_CLI + " " + args + " 2>&1 >" + out,
                       &got);
        EXPECT_EQ(got, std::stoi(status)) << args;
        EXPECT_EQ(err.rfind("zcmcom: ", 0), 0u) << args << ": " << err;
        EXPECT_EQ(err.find('\n'), err.size() - 1) << args << ": " << err;
        EXPECT_NE(err.find(reason), std::string::npos) << args << ": " << err;
    }
}

TEST(CliExitStatus, ASilentServerEndsTheWaitForAReplyWithAMessage) {
    int port = 0;  // a loopback port that takes the connection and never answers
    const int fd = BindLoopback(SOCK_STREAM, &port);
    ASSERT_GE(fd, 0);
    int status = -1;
    const std::string err =
        Zcm("send 127.0.0.1 " + std::to_string(port) + " hello --reply --wait 1", &status, "&1");
    close(fd);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err, "zcmcom: no reply before the time-out (--wait)\n");
}

}  // namespace
