#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/TestUtil.h"

namespace {

std::string Cli(const std::string& args, int* status) {
    return RunCommand(std::string(ZCMCOM_CLI) + " " + args + " 2>/dev/null", status);
}

}  // namespace

TEST(CliNet, UrlEncodeAndPing) {
    int status = -1;
    EXPECT_EQ(Cli("urlencode 'a b-c'", &status), "a+b%2dc\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Cli("urlencode \xE3\x81\x82", &status), "%e3%81%82\n");
    EXPECT_EQ(Cli("ping 127.0.0.1", &status), "reply from 127.0.0.1\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Cli("ping ''", &status), "no reply from \n");
    EXPECT_EQ(status, 1);
    for (const char* args : {"ping", "urlencode", "listen", "listen 70000", "listen 1 --seconds x",
                             "send 127.0.0.1 1", "send 127.0.0.1 x y", "send h 1 t --udp --reply"}) {
        Cli(args, &status);
        EXPECT_EQ(status, 2) << args;
    }
}

TEST(CliNet, ListenEchoesWhatSendDelivers) {
    // The listener prints its process id (to stop it) and then its port. It ends by
    // itself after 20 seconds in any case.
    FILE* listener = popen(("sh -c 'echo $$; exec " + std::string(ZCMCOM_CLI) +
                            " listen 0 --seconds 20'")
                               .c_str(),
                           "r");
    ASSERT_NE(listener, nullptr);
    char line[128] = {};
    ASSERT_NE(fgets(line, sizeof line, listener), nullptr);
    const int pid = atoi(line);
    ASSERT_NE(fgets(line, sizeof line, listener), nullptr);
    const std::string ready = line;
    ASSERT_EQ(ready.rfind("listening on port ", 0), 0u) << ready;
    const std::string port = ready.substr(18, ready.size() - 19);

    int status = -1;
    EXPECT_EQ(Cli("send 127.0.0.1 " + port + " hello --reply", &status), "hello\n");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Cli("send localhost " + port + " world", &status), "sent 5 bytes\n");
    EXPECT_EQ(status, 0);
    // The listener is TCP only: a datagram is sent but nobody prints it.
    EXPECT_EQ(Cli("send 127.0.0.1 " + port + " lost --udp", &status), "sent 4 bytes\n");
    EXPECT_EQ(status, 0);

    std::string printed;
    for (int i = 0; i < 2 && fgets(line, sizeof line, listener); ++i) printed += line;
    EXPECT_EQ(printed, "hello\nworld\n");
    ASSERT_GT(pid, 1);
    kill(pid, SIGTERM);
    EXPECT_EQ(pclose(listener), 0);
}

TEST(CliNet, SendToAClosedPortFails) {
    int status = -1;
    // Port 1 on the loopback: nothing listens there in a test environment.
    Cli("send 127.0.0.1 1 x", &status);
    EXPECT_EQ(status, 1);
}
