// SPDX-License-Identifier: LGPL-3.0-or-later
// zcmcom serve: the built-in sky as a chart in the web browser (see docs/browser.md).
#include <CLI/CLI.hpp>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <memory>
#include <pthread.h>
#include <thread>
#include <unistd.h>

#include "Command.h"
#include "FrameOptions.h"
#include "SkyOptions.h"
#include "serve/ChartServer.h"

namespace {

struct ServeArgs {
    int port = 8080;
    std::string at, site, tz, bind = "127.0.0.1";
    HostOptions frames;  // --point, --frame, --mosaic, --fov, --roll as click takes them
};

int RunServe(const ServeArgs& a) {
    // The site, its zone and the instant as the click command reads them.
    CSkyHost probe;
    if (const std::string why = SetUpSkyHost(probe, a.at, a.site, a.tz, false); !why.empty())
        return UsageError(why);
    serve::StartOptions start;
    start.jd = probe.GetJd();
    if (!a.site.empty()) {
        start.hasSite = true;
        ParseDouble(probe.Execute(L"? Location.Longitude").ToUtf8(), start.lon);
        ParseDouble(probe.Execute(L"? Location.Latitude").ToUtf8(), start.lat);
        ParseDouble(probe.Execute(L"? Location.Altitude").ToUtf8(), start.height);
        double lon = 0, lat = 0, height = 0;
        std::string zone;
        if (ReadSite(a.site, &lon, &lat, &height, &zone).empty() && !zone.empty())
            start.town = a.site;
    }
    start.zone = probe.GetZoneName().ToUtf8();
    // The camera's frames, set on the sky as click sets them.
    const HostOptions& f = a.frames;
    double ra = 0, dec = 0;
    if (const std::string bad = ReadPoint(f, &ra, &dec); !bad.empty()) return UsageError(bad);
    if (!f.frame.empty() || !f.mosaic.empty() || !f.fov.empty()) {
        if (const std::string bad = SetUpFrames(f, ra, dec, probe); !bad.empty())
            return UsageError(bad);
        start.camera = serve::CameraFrames(probe, !f.mosaic.empty());
    }
    if (a.port < 0 || a.port > 65535) return UsageError("--port: 0 to 65535");
    if (a.bind != "127.0.0.1")
        fprintf(stderr,
                "zcmcom: warning: listening on %s; anyone who reaches it can change the chart's "
                "settings\n",
                a.bind.c_str());

    // SIGINT and SIGTERM go to one thread that stops the server; every other thread,
    // the server's pool included, is made with them blocked.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &stops, nullptr);

    serve::ChartState state(start);
    serve::ChartServer server(state, serve::FindWebFolder());
    const int port = server.Bind(a.bind, a.port);
    if (port < 0) return Failure("cannot listen on " + a.bind + ":" + std::to_string(a.port));
    printf("serving http://%s:%d/\n",
           a.bind.find(':') == std::string::npos ? a.bind.c_str() : ("[" + a.bind + "]").c_str(),
           port);
    fflush(stdout);
    std::atomic<bool> done{false};
    std::thread waiter([&] {
        int signal = 0;
        sigwait(&stops, &signal);
        // A signal that came before the server listened stops it as soon as it does.
        while (!done) {
            server.Stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    const bool served = server.Listen();
    done = true;
    kill(getpid(), SIGUSR1);  // wakes the waiter when the server ended on its own
    waiter.join();
    return served ? 0 : Failure("the server stopped with an error");
}

CommandRun DefineServe(CLI::App& cmd) {
    auto a = std::make_shared<ServeArgs>();
    cmd.add_option("--port", a->port, "TCP port (0: any free port)")->capture_default_str();
    cmd.add_option("--at", a->at,
                   "the starting instant, ISO 8601 (no offset: the site's zone); default now");
    cmd.add_option("--site", a->site,
                   "LON,LAT[,HEIGHT] (degrees east, north, metres) or a town: Tokyo, London,GB");
    cmd.add_option("--tz", a->tz,
                   "the site's IANA time zone (default: the town's, else the nearest town's that "
                   "agrees with the map)")
        ->type_name("AREA/CITY");
    cmd.add_option("--point", a->frames.point,
                   "RA_H,DEC: the centre of the camera's frames (J2000)")
        ->type_name("RA_H,DEC");
    AddFrameOptions(cmd, a->frames);
    cmd.add_option("--bind", a->bind, "the address to listen on (warns for any but 127.0.0.1)")
        ->capture_default_str();
    return [a] { return RunServe(*a); };
}

const CommandRegistration kServe({"serve", "serve the built-in sky as a chart for the web browser",
                                  DefineServe});

}  // namespace
