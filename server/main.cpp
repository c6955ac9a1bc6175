// mivra-server: serves the demo catalogue, or relays to an API server, until
// it is interrupted.
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <thread>

#include "base/ProductInfo.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "server/media/MediaLibrary.h"

namespace {

// SIGINT and SIGTERM write a byte here; the main thread waits for it. (A
// handler works whichever thread the signal lands on.)
int stopPipe[2] = {-1, -1};

extern "C" void onStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = write(stopPipe[1], &byte, 1);
}

void waitForStopSignal() {
    if (pipe(stopPipe) != 0) return;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    char byte = 0;
    while (read(stopPipe[0], &byte, 1) < 0 && errno == EINTR) {
    }
}

}  // namespace

int main(int argc, char** argv) {
    const ParsedOptions parsed = parseServerOptions({argv + 1, argv + argc});
    if (!parsed.error.empty()) {
        std::cerr << "mivra-server: " << parsed.error << "\n\n" << serverUsage();
        return 2;
    }
    if (parsed.showHelp) {
        std::cout << serverUsage();
        return 0;
    }
    if (parsed.showVersion) {
        std::cout << "mivra-server " << kVersionNumber << "\n";
        return 0;
    }

    HttpClient::globalInit();
    DemoServer server(parsed.options, [](const std::string& line) { std::cout << line << std::endl; });
    if (!server.start()) {
        std::cerr << "mivra-server: cannot listen on " << parsed.options.host << ":" << parsed.options.port << "\n";
        return 1;
    }
    if (!parsed.options.upstream.empty()) {
        std::cout << "mivra-server: relaying " << parsed.options.upstream << " at " << server.baseUrl() << std::endl;
        waitForStopSignal();
        std::cout << "mivra-server: stopping" << std::endl;
        return 0;
    }
    std::cout << "mivra-server: serving the demo catalogue at " << server.baseUrl() << std::endl;

    // The audio and video are made while the server already answers; a
    // request for one of them waits until its file is ready.
    std::jthread preparing([&server, &parsed](std::stop_token stop) {
        std::cout << "mivra-server: preparing audio and video in " << parsed.options.cacheFolder.string() << std::endl;
        if (!server.media().prepareAll(stop) && !stop.stop_requested()) {
            std::cerr << "mivra-server: some audio or video could not be made (is the ffmpeg command installed?)\n";
        }
    });

    waitForStopSignal();
    std::cout << "mivra-server: stopping" << std::endl;
    preparing.request_stop();
    server.stop();
    preparing.join();
    return 0;
}
