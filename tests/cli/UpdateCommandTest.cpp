// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom update against a server on 127.0.0.1: what ends up in the user's data folder and
// what the messages say, for a good update, an unchanged file and every kind of failure.
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "cli/Zcm.h"

namespace {

const std::string kData = ZCMCOM_TEST_DATA;

class FixtureServer {
public:
    FixtureServer() {
        const std::string good = ReadFileBytes(kData + "/satellites/reference.tle");
        m_http.Get("/good.tle", [good](const httplib::Request& req, httplib::Response& res) {
            if (req.get_header_value("If-None-Match") == "\"v1\"") {
                res.status = 304;
                return;
            }
            res.set_header("ETag", "\"v1\"");
            res.set_content(good, "text/plain");
        });
        // Half of the promised length, then the connection closes.
        m_http.Get("/truncated.tle", [good](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(good.size(), "text/plain",
                                     [good](size_t offset, size_t, httplib::DataSink& sink) {
                                         if (offset > 0) return false;
                                         sink.write(good.data(), good.size() / 2);
                                         return true;
                                     });
        });
        m_http.Get("/garbage.tle", [](const httplib::Request&, httplib::Response& res) {
            res.set_content(std::string(2000, 'x') + "\n<html>no such page</html>\n", "text/html");
        });
        // One good set among damaged ones.
        m_http.Get("/damaged.tle", [good](const httplib::Request&, httplib::Response& res) {
            std::string text = good.substr(0, good.find("\n1 ", good.find("\n2 ")) + 1);
            for (int k = 0; k < 5; ++k) text += "1 99999U 98067A   22170.5 bad\n2 99999 bad\n";
            res.set_content(text, "text/plain");
        });
        // A few bytes, then nothing until the client gives up (or the test ends).
        m_http.Get("/stall.tle", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content_provider(
                100000, "text/plain", [this](size_t offset, size_t, httplib::DataSink& sink) {
                    if (offset == 0) return sink.write("ISS (ZARYA)\n", 12);
                    for (int k = 0; k < 400 && !m_stop; ++k)
                        std::this_thread::sleep_for(std::chrono::milliseconds(50));
                    return false;
                });
        });
        m_http.Get("/loop", [](const httplib::Request&, httplib::Response& res) {
            res.set_redirect("/loop");
        });
        m_http.Get("/mpcorb.gz", [](const httplib::Request&, httplib::Response& res) {
            int status = -1;
            res.set_content(RunCommand("head -c 20000 " ZCMCOM_SOURCE_DIR "/data/mpcorb.txt | "
                                       "head -n -1 | sed 's/(4) Vesta/(4) Vestoid/' | gzip -c",
                                       &status),
                            "application/gzip");
        });
        m_port = m_http.bind_to_any_port("127.0.0.1");
        m_thread = std::thread([this] { m_http.listen_after_bind(); });
    }
    ~FixtureServer() {
        m_stop = true;
        m_http.stop();
        m_thread.join();
    }
    std::string Url(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(m_port) + path;
    }

private:
    httplib::Server m_http;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    int m_port = 0;
};

// zcmcom update ARGS with the data folder in home; standard output and error together.
std::string Update(const TempDir& home, const std::string& args, int* status) {
    return RunCommand(
        "XDG_DATA_HOME=" + home.path() + " " + ZCMCOM_CLI + " update " + args + " 2>&1", status);
}

TEST(CliUpdate, EachOutcomeLeavesTheRightFilesAndSaysWhatHappened) {
    FixtureServer server;
    const std::string old = ReadFileBytes(kData + "/satellites/molniya.tle");
    const struct {
        const char* name;
        const char* args;
        int status;
        const char* message;
        bool replaced;  // the old copy gave way to the new file
    } cases[] = {
        {"a good update", "satellites --from /good.tle", 0, "satellites: 10 records in", true},
        {"not modified", "satellites --from /good.tle", 0, "not modified since the last update",
         false},
        {"404", "satellites --from /none.tle", 1, "the server answered HTTP 404", false},
        {"truncated", "satellites --from /truncated.tle", 1, "transfer closed", false},
        {"garbage", "satellites --from /garbage.tle", 1,
         "refused the download: no satellites in it", false},
        {"damaged", "satellites --from /damaged.tle", 1, "5 of 6 records are bad (line 5:", false},
        {"stall", "satellites --timeout 1 --from /stall.tle", 1, "too slow", false},
        {"redirect loop", "satellites --from /loop", 1, "redirects followed", false},
        {"gzip", "minor-planets --from /mpcorb.gz", 0, "minor-planets: 112 records in", true},
    };
    for (const auto& c : cases) {
        TempDir home;
        const std::string folder = home.File("zcmcom"), copy = folder + "/satellites.tle";
        std::filesystem::create_directories(folder);
        WriteFileBytes(copy, old);
        std::string args = c.args;
        const size_t from = args.find("/");
        args.replace(from, std::string::npos, server.Url(args.substr(from)));
        int status = -1;
        std::string before = old;
        if (std::string(c.name) == "not modified") {
            Update(home, args, &status);
            before = ReadFileBytes(copy);
        }
        const std::string out = Update(home, args, &status);
        EXPECT_EQ(status, c.status) << c.name << "\n" << out;
        EXPECT_NE(out.find(c.message), std::string::npos) << c.name << "\n" << out;
        const bool satellites = args.rfind("satellites", 0) == 0;
        EXPECT_EQ(ReadFileBytes(copy) != before, c.replaced && satellites) << c.name;
        if (c.status != 0) {
            EXPECT_NE(out.find("the copy of satellites.tle is kept"), std::string::npos) << out;
        }
        // Nothing half-written is left behind.
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos)
                << c.name << ": " << entry.path();
        if (!satellites) {
            EXPECT_TRUE(std::filesystem::exists(folder + "/mpcorb.tab")) << c.name;
            const std::string listed = Update(home, "--status", &status);
            EXPECT_NE(listed.find("from " + server.Url("/mpcorb.gz")), std::string::npos) << listed;
            // A name only the update knows, through the table.
            const std::string text =
                RunCommand("XDG_DATA_HOME=" + home.path() + " " + ZCMCOM_CLI +
                               " click Vestoid --settings all --at 2024-03-01T00:00:00Z 2>&1",
                           &status);
            EXPECT_NE(text.find("出典 mpcorb.tab (updated) 元期 2022-08-09"), std::string::npos)
                << text;
        }
    }
}

TEST(CliUpdate, RefusesBadArguments) {
    ExpectStatus(2, {"update planets", "update all --from http://127.0.0.1:9/x",
                     "update satellites --timeout 0"});
}

}  // namespace
