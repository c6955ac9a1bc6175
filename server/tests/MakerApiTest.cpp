// The maker's paths: the signed service cookie, the configuration document
// with its announced version, the update log, the download page and the
// heartbeat.
#include "ServerTestSupport.h"
#include "server/Md5.h"

class MakerApiTest : public ServerTest {};

TEST_F(MakerApiTest, ServiceCookieNeedsTheSignatureOfPrefixAndTenDigitTime) {
    struct Case {
        std::string timestamp;
        std::string sign;
        bool accepted;
    };
    const Case cases[] = {
        {"1577836800", md5Hex("m1577836800"), true},
        {"1234567890", md5Hex("m1234567890"), true},
        {"1577836800", md5Hex("x1577836800"), false},        // other prefix
        {"1577836800", md5Hex("m1577836801"), false},        // other time
        {"1577836800007", md5Hex("m1577836800007"), false},  // 13 digits
        {"157783680", md5Hex("m157783680"), false},          // 9 digits
        {"1577836800", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timestamp + " " + c.sign);
        const Json answer = getJson("/api/?type=cloudMusicCookie&op=0&timestamp=" + c.timestamp + "&sign=" + c.sign);
        if (c.accepted) {
            EXPECT_EQ(answer["code"], 200);
            EXPECT_TRUE(answer.value("cookie", "").starts_with("MUSIC_U="));
        } else {
            EXPECT_EQ(answer["code"], 403);
            EXPECT_FALSE(answer.contains("cookie"));
        }
    }
}

TEST_F(MakerApiTest, UpdateLogContentMarksLineBreaksWithBackslashN) {
    const std::string url = getJson("/api/config/config.json")["urls"]["UpdateLog"];
    const Json log = getJson(url.substr(server->origin().size()));
    ASSERT_GE(log["data"].size(), 1u);
    const std::string content = log["data"][0]["content"];
    EXPECT_NE(content.find("\\n"), std::string::npos);
    EXPECT_EQ(content.find('\n'), std::string::npos);
    EXPECT_TRUE(log["data"][0]["title"].is_string());
}

TEST_F(MakerApiTest, DownloadPageIsAnHttpAddressTheServerAnswers) {
    const std::string url = getJson("/api/config/config.json")["urls"]["Download"];
    ASSERT_TRUE(url.starts_with(server->origin() + "/"));
    const auto page = get(url.substr(server->origin().size()));
    ASSERT_TRUE(page);
    EXPECT_EQ(page->status, 200);
    EXPECT_NE(page->body.find("Beta V1.1.4"), std::string::npos);
}

TEST_F(MakerApiTest, HeartbeatCountsTheClientOnce) {
    EXPECT_EQ(getJson("/api/online.php")["online"], 1);
    EXPECT_EQ(getJson("/api/online.php")["online"], 1);
}

class AnnouncingServerTest : public ServerTest {
protected:
    void SetUp() override {
        options.announcedVersion = "Beta V1.2.0";
        options.signPrefix = "q";
        ServerTest::SetUp();
    }
};

TEST_F(AnnouncingServerTest, AnnouncesTheVersionAndSignsWithThePrefixItWasGiven) {
    EXPECT_EQ(getJson("/api/config/config.json")["data"]["Ver"], "Beta V1.2.0");
    EXPECT_EQ(getJson("/api/?type=cloudMusicCookie&op=0&timestamp=1577836800&sign=" + md5Hex("q1577836800"))["code"],
              200);
    EXPECT_EQ(getJson("/api/?type=cloudMusicCookie&op=0&timestamp=1577836800&sign=" + md5Hex("m1577836800"))["code"],
              403);
}

TEST(Md5Test, KnownDigests) {
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex("m1577836800"), md5Hex(std::string("m") + "1577836800"));
    EXPECT_EQ(md5Hex("The quick brown fox jumps over the lazy dog"), "9e107d9d372bb6826bd81d3542a419d6");
}
