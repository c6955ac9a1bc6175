// The maker's start-up requests and the heartbeat against a recording server,
// and what is left when the server is down.
#include "PathAnswers.h"
#include "api/ServiceRequest.h"
#include "maintenance/MaintenanceRequests.h"
#include "maintenance/ServiceCookieSignature.h"

#include <gtest/gtest.h>

namespace {

// 2020-01-01 08:00:00.007 on a clock that runs in UTC+8.
constexpr std::int64_t kFixedLocalMs = 1577836800007LL + 8 * 3600 * 1000LL;

MaintenanceRequests requestsFor(const std::string& origin) {
    return MaintenanceRequests(ServiceHosts::allAt(origin), [] { return kFixedLocalMs; });
}

TEST(MaintenanceRequests, RemoteConfigReadsTheDocumentThenItsUpdateLog) {
    RecordingServer server;
    const std::string logUrl = server.url("/log/update.json");
    const std::string log = R"({"data":[{"title":"V1.1.5","content":"修复\\n改进"}]})";
    server.setHandler(answerByPath({
        {"/api/config/config.json",
         R"({"code":200,"data":{"Name":"Mivra Music","Ver":"Beta V1.1.5"},"urls":{"UpdateLog":")" + logUrl +
             R"(","Download":"http://example.com/get"}})"},
        {"/log/update.json", log},
    }));

    const RemoteConfig config = requestsFor(server.url("")).fetchRemoteConfig();
    EXPECT_TRUE(config.answered);
    EXPECT_EQ(config.name, "Mivra Music");
    EXPECT_EQ(config.version, "Beta V1.1.5");
    EXPECT_EQ(config.updateLogUrl, logUrl);
    EXPECT_EQ(config.updateLogText, log);
    EXPECT_EQ(config.downloadUrl, "http://example.com/get");

    const auto seen = server.requests();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].target, "/api/config/config.json");
    EXPECT_EQ(seen[1].target, "/log/update.json");
    for (const auto& request : seen) EXPECT_NE(request.header("User-Agent"), kBrowserUserAgent);
}

TEST(MaintenanceRequests, ServiceCookieRequestIsSignedWithTheSecondTimestamp) {
    RecordingServer server;
    server.setHandler(answerByPath({{"/api/", R"({"code":200,"cookie":"NMTID=00O; os=pc"})"}}));

    EXPECT_EQ(requestsFor(server.url("")).fetchServiceCookie(), "NMTID=00O; os=pc");

    const auto seen = server.requests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].target,
              "/api/?type=cloudMusicCookie&op=0&timestamp=1577836800&sign=" + serviceCookieSignature("1577836800"));
}

TEST(MaintenanceRequests, HeartbeatSendsTheBrowserAgent) {
    RecordingServer server;
    requestsFor(server.url("")).sendHeartbeat();

    const auto seen = server.requests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].target, "/api/online.php");
    EXPECT_EQ(seen[0].header("User-Agent"), kBrowserUserAgent);
}

TEST(MaintenanceRequests, ServerDownLeavesEverythingEmpty) {
    const MaintenanceRequests requests = requestsFor(closedOrigin());

    const RemoteConfig config = requests.fetchRemoteConfig();
    EXPECT_FALSE(config.answered);
    EXPECT_EQ(config.name, "");
    EXPECT_EQ(config.version, "");
    EXPECT_EQ(config.updateLogUrl, "");
    EXPECT_EQ(config.updateLogText, "");
    EXPECT_EQ(requests.fetchServiceCookie(), "");
    requests.sendHeartbeat();
}

TEST(MaintenanceRequests, AnAnswerThatIsNotJsonIsNotTakenForAConfiguration) {
    RecordingServer server;
    server.setHandler(answerByPath({{"/api/config/config.json", "<html>Service Unavailable</html>"}}));

    const RemoteConfig config = requestsFor(server.url("")).fetchRemoteConfig();
    EXPECT_FALSE(config.answered);
    EXPECT_EQ(config.version, "");
}

}  // namespace
