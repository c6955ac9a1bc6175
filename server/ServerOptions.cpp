#include "server/ServerOptions.h"

#include <charconv>
#include <cstdlib>

#include "base/ProductInfo.h"
#include "server/relay/UpstreamOrigin.h"

std::string ServerOptions::defaultAnnouncedVersion() { return kProductVersion; }

std::filesystem::path ServerOptions::defaultCacheFolder() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache) {
        return std::filesystem::path(cache) / "mivra-server";
    }
    if (const char* home = std::getenv("HOME"); home && *home) {
        return std::filesystem::path(home) / ".cache" / "mivra-server";
    }
    return std::filesystem::temp_directory_path() / "mivra-server-cache";
}

std::string ServerOptions::defaultSignPrefix() { return MIVRA_SIGN_PREFIX; }

namespace {

bool readInt(const std::string& text, int min, int max, int& out) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max) return false;
    out = value;
    return true;
}

bool readRate(const std::string& text, double& out) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !(value >= 0 && value <= 1)) return false;
    out = value;
    return true;
}

bool readSeed(const std::string& text, std::uint64_t& out) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

ParsedOptions parseServerOptions(const std::vector<std::string>& arguments) {
    ParsedOptions parsed;
    ServerOptions& options = parsed.options;
    bool announced = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::string value;
        bool hasValue = false;
        if (const std::size_t equals = name.find('='); name.starts_with("--") && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }
        auto takeValue = [&]() {
            if (hasValue) return true;
            if (i + 1 >= arguments.size()) return false;
            value = arguments[++i];
            return true;
        };
        auto fail = [&](const std::string& why) {
            parsed.error = why;
            return parsed;
        };

        if (name == "--help" || name == "-h") {
            parsed.showHelp = true;
        } else if (name == "--version") {
            parsed.showVersion = true;
        } else if (name == "--log") {
            options.logRequests = true;
        } else if (name == "--port") {
            if (!takeValue() || !readInt(value, 0, 65535, options.port))
                return fail("--port needs a number from 0 to 65535");
        } else if (name == "--host") {
            if (!takeValue() || value.empty()) return fail("--host needs an address");
            options.host = value;
        } else if (name == "--latency") {
            if (!takeValue() || !readInt(value, 0, 600000, options.latencyMs))
                return fail("--latency needs milliseconds from 0 to 600000");
        } else if (name == "--announce") {
            if (!takeValue()) return fail("--announce needs a version text");
            options.announcedVersion = value;
            announced = true;
        } else if (name == "--qr-expiry") {
            if (!takeValue() || !readInt(value, 1, 86400, options.qrLifetimeSeconds))
                return fail("--qr-expiry needs seconds from 1 to 86400");
        } else if (name == "--cache") {
            if (!takeValue() || value.empty()) return fail("--cache needs a folder");
            options.cacheFolder = value;
        } else if (name == "--fault") {
            std::optional<FaultRule> rule = takeValue() ? parseFaultRule(value) : std::nullopt;
            if (!rule)
                return fail(
                    "--fault needs MODE[@PATH-PREFIX]: reset, stall, drip, garbage, http500, cutjson, huge or "
                    "slow[:MS]");
            options.faults.push_back(std::move(*rule));
        } else if (name == "--chaos") {
            if (!takeValue() || !readRate(value, options.chaosRate))
                return fail("--chaos needs a share of requests from 0 to 1");
        } else if (name == "--seed") {
            if (!takeValue() || !readSeed(value, options.chaosSeed)) return fail("--seed needs a whole number");
        } else if (name == "--upstream") {
            const std::optional<UpstreamOrigin> origin = takeValue() ? UpstreamOrigin::parse(value) : std::nullopt;
            if (!origin) return fail("--upstream needs an http(s) origin such as http://127.0.0.1:3000");
            options.upstream = origin->text();
        } else if (name == "--upstream-timeout") {
            if (!takeValue() || !readInt(value, 1, 600, options.upstreamTimeoutSeconds))
                return fail("--upstream-timeout needs seconds from 1 to 600");
        } else if (name == "--weapi-key") {
            if (!takeValue() || value.size() != 16) return fail("--weapi-key needs a key of 16 characters");
            options.weapiKey = value;
        } else if (name == "--sign-prefix") {
            if (!takeValue() || value.size() != 1) return fail("--sign-prefix needs exactly one character");
            options.signPrefix = value;
        } else {
            return fail("unknown option " + arguments[i]);
        }
    }
    // The relay announces the program's own version, so that it never makes
    // the program update.
    if (announced && !options.upstream.empty()) {
        parsed.error = "--announce cannot be used with --upstream";
    }
    return parsed;
}

std::string serverUsage() {
    return "Usage: mivra-server [options]\n"
           "Serves the demo catalogue on the service's and the maker's HTTP paths, or relays\n"
           "them to a self-hosted API server.\n"
           "  --port N            port to listen on (default 38580; 0: any free port)\n"
           "  --host ADDRESS      address to listen on (default 127.0.0.1)\n"
           "  --latency MS        delay every answer by MS milliseconds\n"
           "  --log               print one line per request\n"
           "  --announce VERSION  version the configuration document announces (default " +
           ServerOptions::defaultAnnouncedVersion() +
           ")\n"
           "  --qr-expiry S       seconds until a QR login key expires (default 180)\n"
           "  --cache FOLDER      where generated audio and video are kept (default " +
           ServerOptions::defaultCacheFolder().string() +
           ")\n"
           "  --sign-prefix C     prefix character of the service-cookie signature (default \"" +
           ServerOptions::defaultSignPrefix() +
           "\")\n"
           "  --weapi-key KEY     the 16-character secret key of the weapi requests it reads (default " +
           std::string(ServerOptions::kDemoWeapiKey) +
           ")\n"
           "  --fault MODE[@PATH] answer badly on purpose (repeatable; PATH: a path prefix such as /search):\n"
           "                      reset, stall, drip (a byte a second), garbage, http500, cutjson,\n"
           "                      huge (64 MB), slow[:MS] (a random delay up to MS, default 2000)\n"
           "  --chaos RATE        give that share (0 to 1) of the other requests a random fault\n"
           "  --seed N            seed of --chaos, so a run can be repeated (default 1)\n"
           "  --upstream URL      relay to the API server at URL (such as http://127.0.0.1:3000)\n"
           "                      instead of serving the demo catalogue\n"
           "  --upstream-timeout S  seconds each phase of an upstream exchange may last (default 30)\n"
           "  --version           print the version and end\n";
}
