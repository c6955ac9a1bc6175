// The relay in front of the demo catalogue's API-server routes: service paths
// go through unchanged, the maker's paths come from the upstream's
// song/url/v1 and login/qr/* routes or from the relay itself, and nothing
// reaches any host but the upstream.
#include "RecordingServer.h"
#include "ServerTestSupport.h"

namespace {

class RelayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(upstream.start());
        ServerOptions options = testServerOptions();
        options.upstream = upstream.origin();
        relay = std::make_unique<DemoServer>(options, [](const std::string&) {});
        ASSERT_TRUE(relay->start());
        client = std::make_unique<httplib::Client>(relay->origin());
        client->set_url_encode(false);
        direct = std::make_unique<httplib::Client>(upstream.origin());
        direct->set_url_encode(false);
    }

    Json relayJson(const std::string& target) {
        const httplib::Result result = client->Get(target);
        if (!result) return nullptr;
        EXPECT_EQ(result->status, 200) << target;
        return Json::parse(result->body, nullptr, false);
    }
    // The targets the upstream saw that start with `prefix`.
    std::vector<std::string> upstreamSaw(const std::string& prefix) const {
        std::vector<std::string> targets;
        for (const SeenRequest& seen : upstream.seenRequests())
            if (seen.target.starts_with(prefix)) targets.push_back(seen.target);
        return targets;
    }

    DemoServer upstream{testServerOptions(), [](const std::string&) {}};
    std::unique_ptr<DemoServer> relay;
    std::unique_ptr<httplib::Client> client;  // to the relay
    std::unique_ptr<httplib::Client> direct;  // to the upstream
};

TEST_F(RelayTest, AServicePathGoesThroughUnchangedAndItsAnswerComesBackAsItCame) {
    const std::string targets[] = {
        "/search?keywords=%E5%A4%8F&type=1&limit=3&offset=0",
        "/song/detail?ids=1900001001,1900001002",
        "/lyric?id=1900001001",
        "/top/playlist?limit=2&cat=%E5%85%A8%E9%83%A8",
        "/no/such/path?x=1",  // a 404 of the upstream stays one
    };
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        upstream.clearSeenRequests();
        const httplib::Result relayed = client->Get(target, {{"Cookie", "MUSIC_U=abc; os=pc"}});
        ASSERT_TRUE(relayed);
        const std::vector<SeenRequest> seen = upstream.seenRequests();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].method, "GET");
        EXPECT_EQ(seen[0].target, target);
        EXPECT_EQ(seen[0].header("Cookie"), "MUSIC_U=abc; os=pc");

        const httplib::Result asked = direct->Get(target, {{"Cookie", "MUSIC_U=abc; os=pc"}});
        ASSERT_TRUE(asked);
        EXPECT_EQ(relayed->status, asked->status);
        EXPECT_EQ(relayed->body, asked->body);
        EXPECT_EQ(relayed->get_header_value("Content-Type"), asked->get_header_value("Content-Type"));
    }

    upstream.clearSeenRequests();
    const httplib::Result posted =
        client->Post("/playlist/subscribe?t=1&id=1", "a=1", "application/x-www-form-urlencoded");
    ASSERT_TRUE(posted);
    const std::vector<SeenRequest> seen = upstream.seenRequests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "POST");
    EXPECT_EQ(seen[0].header("Content-Type"), "application/x-www-form-urlencoded");
}

TEST_F(RelayTest, TheSongUrlComesFromTheUpstreamInTheMakersShape) {
    const Json relayed = relayJson("/api/?type=apiSongUrlV1&id=1900001001");
    EXPECT_EQ(upstreamSaw("/song/url/v1"), std::vector<std::string>{"/song/url/v1?id=1900001001&level=exhigh"});
    const httplib::Result asked = direct->Get("/song/url/v1?id=1900001001&level=exhigh");
    ASSERT_TRUE(asked);
    const Json upstreamAnswer = Json::parse(asked->body);
    ASSERT_TRUE(relayed["data"][0]["url"].is_string());
    EXPECT_EQ(relayed["data"][0], upstreamAnswer["data"][0]);
    EXPECT_EQ(relayed["code"], 200);

    // A song without a stream keeps its null URL.
    EXPECT_TRUE(relayJson("/api/?type=apiSongUrlV1&id=1900001012")["data"][0]["url"].is_null());
}

TEST_F(RelayTest, ConfigurationUpdateLogHeartbeatAndQrPictureAreAnsweredLocally) {
    const Json config = relayJson("/api/config/config.json");
    EXPECT_EQ(config["data"]["Ver"], ServerOptions::defaultAnnouncedVersion());
    const std::string logUrl = config["urls"]["UpdateLog"];
    ASSERT_TRUE(logUrl.starts_with(relay->origin()));
    EXPECT_FALSE(relayJson(logUrl.substr(relay->origin().size()))["data"].empty());
    EXPECT_EQ(relayJson("/api/online.php")["code"], 200);
    const httplib::Result picture = client->Get("/lokpay/qrcode.php?size=256&text=http://example.org/scan/1");
    ASSERT_TRUE(picture);
    EXPECT_EQ(pictureDimensions(picture->body), std::make_pair(256, 256));
    // The web player page too, so MVs play through the relay.
    const httplib::Result player = client->Get("/player/?url=http://example.org/mv/1.mp4%26wsTime=1");
    ASSERT_TRUE(player);
    EXPECT_EQ(player->status, 200);
    EXPECT_NE(player->body.find("http://example.org/mv/1.mp4"), std::string::npos);
    EXPECT_TRUE(upstream.seenRequests().empty());
}

TEST_F(RelayTest, AQrLoginGoesThroughTheUpstreamAndItsCookieServesTheMakersPaths) {
    const std::string qrLogin = "/mivra/public/?type=apiCloudMusicQRCodeLogin&op=";
    EXPECT_EQ(relayJson("/api/?type=cloudMusicCookie&op=0")["cookie"], "");

    const std::string key = relayJson(qrLogin + "0")["data"]["unikey"];
    ASSERT_FALSE(key.empty());
    const std::string qrurl = relayJson(qrLogin + "1&key=" + key)["data"]["qrurl"];
    EXPECT_EQ(qrurl, upstream.origin() + "/demo/scan/" + key);
    EXPECT_EQ(relayJson(qrLogin + "2&key=" + key)["code"], 801);
    ASSERT_TRUE(direct->Get("/demo/scan/" + key));
    const Json confirming = relayJson(qrLogin + "2&key=" + key);
    EXPECT_EQ(confirming["code"], 802);
    EXPECT_FALSE(confirming.value("nickname", "").empty());
    const Json loggedIn = relayJson(qrLogin + "2&key=" + key);
    EXPECT_EQ(loggedIn["code"], 803);
    const std::string cookie = loggedIn["cookie"];
    ASSERT_FALSE(cookie.empty());
    EXPECT_EQ(upstreamSaw("/login/qr/key").size(), 1u);
    EXPECT_EQ(upstreamSaw("/login/qr/create?key=" + key).size(), 1u);
    EXPECT_EQ(upstreamSaw("/login/qr/check?key=" + key).size(), 3u);

    EXPECT_EQ(relayJson("/api/?type=cloudMusicCookie&op=0")["cookie"], cookie);
    upstream.clearSeenRequests();
    relayJson("/api/?type=apiSongUrlV1&id=1900001001");
    const std::vector<std::string> songUrl = upstreamSaw("/song/url/v1");
    ASSERT_EQ(songUrl.size(), 1u);
    const std::size_t token = cookie.find("MUSIC_U=");
    ASSERT_NE(token, std::string::npos);
    const std::string musicU = cookie.substr(token, cookie.find(';', token) - token);
    EXPECT_NE(songUrl[0].find("&cookie="), std::string::npos) << songUrl[0];
    EXPECT_NE(songUrl[0].find(encodeQueryValue(musicU)), std::string::npos) << songUrl[0];
}

// The program checks a stored login with user/account at start; the relay
// answers the maker's paths for that user from then on.
TEST_F(RelayTest, TheAccountCheckOfAStoredLoginServesTheMakersPaths) {
    relayJson("/user/account?cookie=MUSIC_U=stored");
    EXPECT_EQ(relayJson("/api/?type=cloudMusicCookie&op=0")["cookie"], "MUSIC_U=stored");
}

TEST_F(RelayTest, RefusesEveryTargetThatCouldReachAnotherHost) {
    RecordingServer elsewhere;
    const std::string other = elsewhere.url("");
    const std::string otherHost = other.substr(std::string("http://").size());
    const std::string targets[] = {
        other + "/search?keywords=a",             // absolute form
        "//" + otherHost + "/search?keywords=a",  // authority form
        "/../search?keywords=a",
        "/search/../../x",
        "/%2e%2e/search",
        "/./search",
        "/http:%2F%2F" + otherHost + "/search",  // an encoded origin in the path
        "/%2F%2F" + otherHost + "/search",
        "/search%3Fkeywords=a",
        "/search\\..\\x",
    };
    for (const std::string& target : targets) {
        SCOPED_TRACE(target);
        const httplib::Result result = client->Get(target);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->status, 400);
        EXPECT_EQ(Json::parse(result->body, nullptr, false).value("code", 0), 400);
    }
    EXPECT_TRUE(elsewhere.requests().empty());
    EXPECT_TRUE(upstream.seenRequests().empty());

    // A Host header naming another host changes nothing: the request goes to the upstream.
    const httplib::Result hostTrick = client->Get("/search?keywords=a&type=1", {{"Host", otherHost}});
    ASSERT_TRUE(hostTrick);
    EXPECT_EQ(hostTrick->status, 200);
    EXPECT_TRUE(elsewhere.requests().empty());
    EXPECT_EQ(upstreamSaw("/search").size(), 1u);
}

}  // namespace

namespace {

// The faults asked for on the command line work in front of the relay too.
TEST(RelayFaultTest, AFaultRuleAnswersBeforeTheRelayAsksTheUpstream) {
    DemoServer upstream(testServerOptions(), [](const std::string&) {});
    ASSERT_TRUE(upstream.start());
    ServerOptions options = testServerOptions();
    options.upstream = upstream.origin();
    options.faults.push_back(*parseFaultRule("http500@/search"));
    DemoServer relay(options, [](const std::string&) {});
    ASSERT_TRUE(relay.start());
    httplib::Client client(relay.origin());
    const httplib::Result search = client.Get("/search?keywords=a&type=1");
    ASSERT_TRUE(search);
    EXPECT_EQ(search->status, 500);
    const httplib::Result detail = client.Get("/song/detail?ids=1900001001");
    ASSERT_TRUE(detail);
    EXPECT_EQ(detail->status, 200);
    const std::vector<SeenRequest> seen = upstream.seenRequests();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].target, "/song/detail?ids=1900001001");
}

}  // namespace
