#pragma once
// The companion server with its demo catalogue, started once for a whole
// test suite, and the demo songs the play tests use. Tests that include this
// link the server library.
#include "api/CloudApiClient.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace DemoSongs {
inline const std::string kSummerLetter = "1900001001";  // 夏日来信 by 林夏, 33 s, has an MV
inline const std::string kWindyStreet = "1900001002";   // 风吹过的街 by 林夏, 24 s, no MV
inline const std::string kGoodNight = "1900001003";     // 晚安，城市 by 林夏
inline const std::string kNoStream = "1900001012";      // 无人知晓: the service has no stream for it
inline const std::string kUnlicensed = "1900001017";    // 遗失的旋律: streams, but the availability check says no
inline constexpr int kSummerLetterClip = 3;             // its recording among the demo's audio clips
}  // namespace DemoSongs

class DemoCompanion {
public:
    // From a suite's SetUpTestSuite.
    static void start(const ServerOptions& options = DemoServer::testOptions()) {
        HttpClient::globalInit();
        server() = std::make_unique<DemoServer>(options);
        ASSERT_TRUE(server()->start());
    }
    // From the suite's TearDownTestSuite.
    static void stop() { server().reset(); }
    static std::string origin() { return server()->origin(); }
    // The demo account's cookie, logged in through `client` (on the
    // companion's gateway) by the QR flow, the scan done as the phone would.
    static std::string logIn(const CloudApiClient& client) {
        const std::string key = client.qrCreateKey();
        HttpRequest scan;
        scan.url = client.qrCreateUrl(key);
        HttpClient::fetchService(scan);
        client.qrPoll(key);
        return client.qrPoll(key).cookie;
    }

private:
    static std::unique_ptr<DemoServer>& server() {
        static std::unique_ptr<DemoServer> running;
        return running;
    }
};
