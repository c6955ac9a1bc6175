// The server's command line.
#include <gtest/gtest.h>

#include "server/ServerOptions.h"

TEST(ServerOptionsTest, DefaultsServeTheAppOnItsPort) {
    const ParsedOptions parsed = parseServerOptions({});
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.options.host, "127.0.0.1");
    EXPECT_EQ(parsed.options.port, 38580);
    EXPECT_EQ(parsed.options.latencyMs, 0);
    EXPECT_FALSE(parsed.options.logRequests);
    EXPECT_EQ(parsed.options.announcedVersion, "Beta V1.1.4");
    EXPECT_EQ(parsed.options.signPrefix, "m");
}

TEST(ServerOptionsTest, ReadsEveryOptionInBothForms) {
    const ParsedOptions parsed =
        parseServerOptions({"--port", "0", "--host=0.0.0.0", "--latency", "250", "--log", "--announce=Beta V9",
                            "--qr-expiry", "5", "--cache", "/tmp/c", "--sign-prefix=z"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.options.port, 0);
    EXPECT_EQ(parsed.options.host, "0.0.0.0");
    EXPECT_EQ(parsed.options.latencyMs, 250);
    EXPECT_TRUE(parsed.options.logRequests);
    EXPECT_EQ(parsed.options.announcedVersion, "Beta V9");
    EXPECT_EQ(parsed.options.qrLifetimeSeconds, 5);
    EXPECT_EQ(parsed.options.cacheFolder, "/tmp/c");
    EXPECT_EQ(parsed.options.signPrefix, "z");
    EXPECT_TRUE(parseServerOptions({"--help"}).showHelp);
}

TEST(ServerOptionsTest, RefusesWrongValues) {
    const std::vector<std::vector<std::string>> wrong = {
        {"--port"},
        {"--port", "70000"},
        {"--port", "12ab"},
        {"--latency", "-1"},
        {"--qr-expiry", "0"},
        {"--sign-prefix", "mm"},
        {"--host="},
        {"--verbose"},
        {"extra"},
        {"--fault", "explode"},
        {"--fault"},
        {"--chaos", "1.5"},
        {"--chaos", "-0.1"},
        {"--seed", "x"},
    };
    for (const auto& arguments : wrong) {
        EXPECT_FALSE(parseServerOptions(arguments).error.empty()) << arguments.front();
    }
}

TEST(ServerOptionsTest, FaultRulesChaosAndSeed) {
    const ParsedOptions parsed =
        parseServerOptions({"--fault", "stall@/search", "--fault=slow:300", "--chaos", "0.25", "--seed=42"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    ASSERT_EQ(parsed.options.faults.size(), 2u);
    EXPECT_EQ(parsed.options.faults[0].mode, FaultMode::Stall);
    EXPECT_EQ(parsed.options.faults[0].pathPrefix, "/search");
    EXPECT_EQ(parsed.options.faults[1].mode, FaultMode::Slow);
    EXPECT_EQ(parsed.options.faults[1].slowMaxMs, 300);
    EXPECT_EQ(parsed.options.chaosRate, 0.25);
    EXPECT_EQ(parsed.options.chaosSeed, 42u);
    EXPECT_TRUE(parsed.options.faultPlan().active());
    EXPECT_FALSE(parseServerOptions({}).options.faultPlan().active());
}

TEST(ServerOptionsTest, UpstreamNamesAnOriginToRelayTo) {
    const ParsedOptions parsed = parseServerOptions({"--upstream", "http://LocalHost:3000/", "--upstream-timeout=5"});
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    EXPECT_EQ(parsed.options.upstream, "http://localhost:3000");
    EXPECT_EQ(parsed.options.upstreamTimeoutSeconds, 5);
    EXPECT_EQ(parseServerOptions({"--upstream=https://api.example.org"}).options.upstream,
              "https://api.example.org:443");
    EXPECT_EQ(parseServerOptions({"--upstream=http://[::1]:3000"}).options.upstream, "http://[::1]:3000");
    EXPECT_TRUE(parseServerOptions({}).options.upstream.empty());
}

TEST(ServerOptionsTest, RefusesAnUpstreamThatIsNotABareOrigin) {
    const std::vector<std::vector<std::string>> wrong = {
        {"--upstream"},
        {"--upstream", "127.0.0.1:3000"},
        {"--upstream", "ftp://127.0.0.1:3000"},
        {"--upstream", "http://127.0.0.1:3000/api"},
        {"--upstream", "http://127.0.0.1:3000?x=1"},
        {"--upstream", "http://user@127.0.0.1:3000"},
        {"--upstream", "http://"},
        {"--upstream", "http://127.0.0.1:99999"},
        {"--upstream-timeout", "0"},
        // The relay announces the program's own version.
        {"--upstream", "http://127.0.0.1:3000", "--announce", "Beta V9"},
    };
    for (const auto& arguments : wrong) {
        EXPECT_FALSE(parseServerOptions(arguments).error.empty()) << arguments.back();
    }
}
