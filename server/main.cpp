// mivra-server: serves the demo catalogue until it is interrupted.
#include <signal.h>

#include <iostream>
#include <mutex>

#include "server/DemoServer.h"
#include "server/media/MediaLibrary.h"

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

    // Interrupts are taken by sigwait below; blocked before any thread starts
    // so no worker thread receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    DemoServer server(parsed.options, [](const std::string& line) { std::cout << line << std::endl; });
    if (!server.start()) {
        std::cerr << "mivra-server: cannot listen on " << parsed.options.host << ":" << parsed.options.port << "\n";
        return 1;
    }
    std::cout << "mivra-server: serving the demo catalogue at " << server.baseUrl() << std::endl;

    std::cout << "mivra-server: preparing audio and video in " << parsed.options.cacheFolder.string() << std::endl;
    if (!server.media().prepareAll()) {
        std::cerr << "mivra-server: some audio or video could not be made (is the ffmpeg command installed?)\n";
    }

    int received = 0;
    sigwait(&stopSignals, &received);
    std::cout << "mivra-server: stopping" << std::endl;
    server.stop();
    return 0;
}
