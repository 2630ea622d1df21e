// SPDX-License-Identifier: LGPL-3.0-or-later
#include <signal.h>

#include <cstdio>
#include <cstdlib>

#include "cli/Zcm.h"
#include "net/NetTestUtil.h"

TEST(CliNet, UrlEncodePingAndBadArguments) {
    ExpectOutputs({{"urlencode 'a b-c'", "a+b%2dc\n"},
                   {"urlencode \xE3\x81\x82", "%e3%81%82\n"},
                   {"ping 127.0.0.1", "reply from 127.0.0.1\n"}});
    int status = -1;
    EXPECT_EQ(Zcm("ping ''", &status), "no reply from \n");
    EXPECT_EQ(status, 1);
    ExpectStatus(2, {"ping", "urlencode", "listen", "listen 70000", "listen 1 --seconds x",
                     "send 127.0.0.1 1", "send 127.0.0.1 x y", "send h 1 t --udp --reply"});
    ExpectStatus(1, {"send 127.0.0.1 1 x"});  // nothing listens on port 1 of the loopback
    // A port another socket listens on is refused, not reported as listening.
    int port = 0;
    const int holder = BindLoopback(SOCK_STREAM, &port);
    ASSERT_GE(holder, 0);
    EXPECT_EQ(Zcm("listen " + std::to_string(port) + " --seconds 1", &status), "");
    EXPECT_EQ(status, 1);
    close(holder);
}

TEST(CliNet, ListenEchoesWhatSendDelivers) {
    // The listener prints its process id (to stop it) and then its port. It ends by
    // itself after 20 seconds in any case.
    FILE* listener = popen(
        ("sh -c 'echo $$; exec " + std::string(ZCMCOM_CLI) + " listen 0 --seconds 20'").c_str(),
        "r");
    ASSERT_NE(listener, nullptr);
    char line[128] = {};
    ASSERT_NE(fgets(line, sizeof line, listener), nullptr);
    const int pid = atoi(line);
    ASSERT_NE(fgets(line, sizeof line, listener), nullptr);
    const std::string ready = line;
    ASSERT_EQ(ready.rfind("listening on port ", 0), 0u) << ready;
    const std::string port = ready.substr(18, ready.size() - 19);
    // The listener is TCP only: a datagram is sent but nobody prints it.
    ExpectOutputs({{"send 127.0.0.1 " + port + " hello --reply", "hello\n"},
                   {"send localhost " + port + " world", "sent 5 bytes\n"},
                   {"send 127.0.0.1 " + port + " lost --udp", "sent 4 bytes\n"}});
    std::string printed;
    for (int i = 0; i < 2 && fgets(line, sizeof line, listener); ++i) printed += line;
    EXPECT_EQ(printed, "hello\nworld\n");
    ASSERT_GT(pid, 1);
    kill(pid, SIGTERM);
    EXPECT_EQ(pclose(listener), 0);
}
