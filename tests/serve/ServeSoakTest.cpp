// SPDX-License-Identifier: LGPL-3.0-or-later
// Many clients at once against one server (run under ThreadSanitizer too), and the program
// stopping cleanly on a signal.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>

#include "ServeFixture.h"

// Under the sanitizers resident memory says nothing (AddressSanitizer keeps freed blocks in
// quarantine, ThreadSanitizer keeps history); there LeakSanitizer checks for leaks instead.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZCM_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ZCM_SANITIZED 1
#endif
#endif

namespace {

#ifdef ZCM_SANITIZED
constexpr bool kMemoryMeasured = false;
#else
constexpr bool kMemoryMeasured = true;
#endif

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long kb = 0;
    while (status >> key)
        if (key == "VmRSS:" && status >> kb) break;
    return kb;
}

}  // namespace

// 50 clients of 200 requests each, reading and changing the state at once: every answer is
// whole, and memory stays flat once the server is warm.
TEST_F(ServeTest, FiftyClientsAtOnce) {
    const char* const kReads[] = {"/api/time", "/api/site", "/api/switches",
                                  "/api/click?path=Solar.Sun", "/api/sky?w=200&h=200"};
    std::atomic<int> failures{0};
    auto round = [&](int requests) {
        std::vector<std::thread> clients;
        for (int c = 0; c < 50; ++c)
            clients.emplace_back([&, c] {
                httplib::Client http("127.0.0.1", port);
                http.set_keep_alive(true);
                // A busy machine may keep a client waiting: slowness is no failure here.
                http.set_read_timeout(120);
                http.set_write_timeout(120);
                for (int r = 0; r < requests; ++r) {
                    auto res = r == 7 && c % 10 == 0
                                   ? http.Post("/api/time",
                                               c % 20 ? R"({"step":"+1m"})" : R"({"step":"-1m"})",
                                               "application/json")
                               : r == 9 && c % 10 == 5
                                   ? http.Post("/api/switches",
                                               c % 20 == 5 ? R"({"name":"DispGal","on":false})"
                                                           : R"({"name":"DispGal","on":true})",
                                               "application/json")
                                   : http.Get(kReads[(r * 7 + c) % (r % 40 == 3 ? 5 : 4)]);
                    if (!res || res->status != 200 ||
                        nlohmann::json::parse(res->body, nullptr, false).is_discarded()) {
                        if (!failures++)
                            ADD_FAILURE() << "client " << c << " request " << r << ": "
                                          << (res ? std::to_string(res->status) + " " + res->body
                                                  : httplib::to_string(res.error()));
                    }
                }
            });
        for (auto& t : clients) t.join();
    };
    round(40);
    const long warm = ResidentKb();
    round(160);
    EXPECT_EQ(failures, 0);
    if (kMemoryMeasured) {
        EXPECT_LT(ResidentKb() - warm, 32 * 1024) << "resident memory grew from " << warm << " kB";
    }
}

// SIGINT and SIGTERM end "zcmcom serve" with status 0 after it has served a page.
TEST(ServeProgram, StopsCleanlyOnSignal) {
    for (int signal : {SIGINT, SIGTERM}) {
        TempRegistry registry;
        const std::string out = registry.dir().File("out.txt");
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            if (!freopen(out.c_str(), "w", stdout)) _exit(127);
            execl(ZCMCOM_CLI, ZCMCOM_CLI, "serve", "--port", "0", "--at", "2026-12-07T21:00",
                  nullptr);
            _exit(127);
        }
        std::string line;
        for (int i = 0; i < 6000 && line.find("serving http://127.0.0.1:") == std::string::npos;
             ++i) {
            usleep(10000);
            line = ReadFileBytes(out);
        }
        ASSERT_NE(line.find("serving http://127.0.0.1:"), std::string::npos) << line;
        httplib::Client http("127.0.0.1", std::atoi(line.c_str() + line.rfind(':') + 1));
        auto page = http.Get("/");
        ASSERT_TRUE(page);
        EXPECT_EQ(page->status, 200);
        kill(pid, signal);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "signal " << signal << " status " << status;
    }
}

// Debian's cpp-httplib is prebuilt: ThreadSanitizer sees its memory accesses but not the
// ordering inside it (the guards of its function-local statics, for one), so what it
// reports from within that library is left out (tests/serve/tsan.supp). Our code and the
// state it guards stay checked.
#if defined(__SANITIZE_THREAD__)
#define ZCM_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ZCM_TSAN 1
#endif
#endif
#ifdef ZCM_TSAN
extern "C" __attribute__((visibility("default"))) const char* __tsan_default_options() {
    return "suppressions=" ZCMCOM_TSAN_SUPPRESSIONS;
}
#endif
