#pragma once
// The companion server's settings and its command line.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "server/faults/FaultPlan.h"

struct ServerOptions {
    std::string host = "127.0.0.1";
    int port = 38580;   // 0: any free port
    int latencyMs = 0;  // delay before every answer
    bool logRequests = false;
    // An idle kept-alive connection is closed after this; stopping the
    // server waits for that too.
    int keepAliveSeconds = 5;
    std::string announcedVersion = defaultAnnouncedVersion();  // "Ver" of the configuration document
    int qrLifetimeSeconds = 180;                               // after this a QR login key answers 800
    std::filesystem::path cacheFolder = defaultCacheFolder();  // generated audio/video, session secret
    std::string signPrefix = defaultSignPrefix();              // of the service-cookie signature
    // Answering badly on purpose: these rules, and this share of the other
    // requests with a fault picked from `chaosSeed`.
    std::vector<FaultRule> faults;
    double chaosRate = 0;
    std::uint64_t chaosSeed = 1;
    // Not empty: relay to this API server ("http://host:port") instead of
    // serving the demo catalogue.
    std::string upstream;
    int upstreamTimeoutSeconds = 30;  // each phase of an upstream exchange
    // The 16-character secret key of the weapi requests this server can
    // read (the program sends it when MIVRA_WEAPI_KEY names it); weapi
    // requests sealed with another key are answered as unreadable.
    std::string weapiKey = kDemoWeapiKey;

    static constexpr const char* kDemoWeapiKey = "MivraDemoWeapiK1";

    FaultPlan faultPlan() const { return FaultPlan(faults, chaosRate, chaosSeed); }

    static std::string defaultAnnouncedVersion();
    static std::filesystem::path defaultCacheFolder();
    static std::string defaultSignPrefix();
};

struct ParsedOptions {
    ServerOptions options;
    bool showHelp = false;
    bool showVersion = false;
    std::string error;  // not empty: the command line was wrong
};

// Reads the arguments after the program name.
ParsedOptions parseServerOptions(const std::vector<std::string>& arguments);
std::string serverUsage();
