#pragma once
// The companion server's settings and its command line.
#include <filesystem>
#include <string>
#include <vector>

struct ServerOptions {
    std::string host = "127.0.0.1";
    int port = 38580;  // 0: any free port
    int latencyMs = 0;  // delay before every answer
    bool logRequests = false;
    // An idle kept-alive connection is closed after this; stopping the
    // server waits for that too.
    int keepAliveSeconds = 5;
    std::string announcedVersion = defaultAnnouncedVersion();  // "Ver" of the configuration document
    int qrLifetimeSeconds = 180;                               // after this a QR login key answers 800
    std::filesystem::path cacheFolder = defaultCacheFolder();   // generated audio/video, session secret
    std::string signPrefix = defaultSignPrefix();              // of the service-cookie signature

    static std::string defaultAnnouncedVersion();
    static std::filesystem::path defaultCacheFolder();
    static std::string defaultSignPrefix();
};

struct ParsedOptions {
    ServerOptions options;
    bool showHelp = false;
    std::string error;  // not empty: the command line was wrong
};

// Reads the arguments after the program name.
ParsedOptions parseServerOptions(const std::vector<std::string>& arguments);
std::string serverUsage();
