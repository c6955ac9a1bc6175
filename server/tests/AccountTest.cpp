// QR login, the account cookie, and the account's playlists and subscriptions.
#include <thread>

#include "ServerTestSupport.h"
#include "server/account/QrLoginBook.h"
#include "server/account/SessionCookies.h"
#include "server/catalogue/DemoBuilders.h"

namespace {

using namespace std::chrono_literals;

// The cookie as the client puts it into a URL: unchanged, with only the
// characters a URL cannot hold (the spaces) escaped by the HTTP engine.
std::string asTheClientSendsIt(const std::string& cookie) {
    std::string sent;
    for (char c : cookie) sent += c == ' ' ? std::string("%20") : std::string(1, c);
    return sent;
}

struct FakeClock {
    std::chrono::steady_clock::time_point now{};
    QrLoginBook::Clock function() {
        return [this] { return now; };
    }
};

}  // namespace

TEST(QrLoginBookTest, KeyGoesFromWaitingToScannedToLoggedInOnce) {
    FakeClock clock;
    QrLoginBook book(60s, clock.function());
    const std::string key = book.createKey();
    EXPECT_EQ(book.poll(key), QrPollState::WaitingScan);
    EXPECT_EQ(book.poll(key), QrPollState::WaitingScan);
    EXPECT_TRUE(book.markScanned(key));
    EXPECT_EQ(book.poll(key), QrPollState::WaitingConfirm);
    EXPECT_EQ(book.poll(key), QrPollState::Authorized);
    EXPECT_EQ(book.poll(key), QrPollState::Expired);  // used up
    EXPECT_FALSE(book.markScanned(key));
    EXPECT_EQ(book.poll("no-such-key"), QrPollState::Expired);
}

TEST(QrLoginBookTest, KeysExpireAfterTheirLifetime) {
    FakeClock clock;
    QrLoginBook book(60s, clock.function());
    const std::string waiting = book.createKey();
    const std::string scanned = book.createKey();
    EXPECT_NE(waiting, scanned);
    EXPECT_TRUE(book.markScanned(scanned));
    clock.now += 59s;
    EXPECT_EQ(book.poll(waiting), QrPollState::WaitingScan);
    clock.now += 1s;
    EXPECT_EQ(book.poll(waiting), QrPollState::Expired);
    EXPECT_EQ(book.poll(scanned), QrPollState::Expired);
    EXPECT_TRUE(book.markScanned(book.createKey()));  // a new key works again
}

TEST(SessionCookiesTest, RecognisesOnlyCookiesItSigned) {
    const SessionCookies sessions("secret-one-0123456789");
    const std::string cookie = sessions.issue(demo::kDemoUser, 1700000000);
    for (const char* part : {" ", "=", "/", ";"}) EXPECT_NE(cookie.find(part), std::string::npos) << part;
    EXPECT_EQ(sessions.userOf(cookie), demo::kDemoUser);

    EXPECT_EQ(SessionCookies("secret-two-0123456789").userOf(cookie), std::nullopt);
    std::string tampered = cookie;
    tampered[tampered.find("MUSIC_U=") + 10] ^= 1;
    EXPECT_EQ(sessions.userOf(tampered), std::nullopt);
    for (const std::string other : {"", "MUSIC_U=", "MUSIC_U=00; Path=/", "os=pc"}) {
        EXPECT_EQ(sessions.userOf(other), std::nullopt) << other;
    }
}

class AccountTest : public ServerTest {
protected:
    Json poll(const std::string& key) {
        return getJson("/mivra/public/?type=apiCloudMusicQRCodeLogin&op=2&key=" + key);
    }

    // Runs the QR login as the app does and returns the cookie.
    std::string logIn() {
        const std::string key = getJson("/mivra/public/?type=apiCloudMusicQRCodeLogin&op=0")["data"]["unikey"];
        const std::string qrurl =
            getJson("/mivra/public/?type=apiCloudMusicQRCodeLogin&op=1&key=" + key)["data"]["qrurl"];
        EXPECT_TRUE(qrurl.starts_with(server->origin()));
        EXPECT_EQ(poll(key)["code"], 801);
        auto scanned = get(qrurl.substr(server->origin().size()));
        EXPECT_TRUE(scanned && scanned->status == 200);
        EXPECT_EQ(poll(key)["code"], 802);
        const Json loggedIn = poll(key);
        EXPECT_EQ(loggedIn["code"], 803);
        return loggedIn.value("cookie", "");
    }
};

TEST_F(AccountTest, QrLoginGivesACookieThatOpensTheAccount) {
    const std::string cookie = logIn();
    for (const char* part : {" ", "=", "/", ";"}) EXPECT_NE(cookie.find(part), std::string::npos) << part;
    const Json account = getJson("/user/account?cookie=" + asTheClientSendsIt(cookie));
    EXPECT_EQ(account["profile"]["userId"], demo::kDemoUser);
    EXPECT_EQ(account["profile"]["nickname"], "Mivra演示用户");
    EXPECT_TRUE(account["profile"]["avatarUrl"].is_string());
    EXPECT_EQ(account["account"]["id"], demo::kDemoUser);
}

TEST_F(AccountTest, LogPrintsTheScanLinkAndTheDemoPageTakesTheKeyEitherWay) {
    const std::string key = getJson("/mivra/public/?type=apiCloudMusicQRCodeLogin&op=0")["data"]["unikey"];
    const auto lines = logLines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(server->origin() + "/demo/scan/" + key) != std::string::npos;
    }));
    auto scanned = get("/demo/scan?key=" + key);
    ASSERT_TRUE(scanned);
    EXPECT_EQ(scanned->status, 200);
    EXPECT_EQ(poll(key)["code"], 802);
    auto unknown = get("/demo/scan?key=0000");
    ASSERT_TRUE(unknown);
    EXPECT_EQ(unknown->status, 404);
}

class ShortLivedQrTest : public AccountTest {
protected:
    void SetUp() override {
        options.qrLifetimeSeconds = 1;
        AccountTest::SetUp();
    }
};

TEST_F(ShortLivedQrTest, ExpiredKeyAnswers800) {
    const std::string key = getJson("/mivra/public/?type=apiCloudMusicQRCodeLogin&op=0")["data"]["unikey"];
    std::this_thread::sleep_for(std::chrono::milliseconds(1100));
    const Json answer = poll(key);
    EXPECT_EQ(answer["code"], 800);
    EXPECT_EQ(answer["cookie"], "");
}

TEST_F(AccountTest, SubscribeNeedsTheCookieAndShowsInTheUserPlaylists) {
    const std::string cookie = asTheClientSendsIt(logIn());
    const std::string playlist = std::to_string(demo::kSummerSoundsPlaylist);
    const std::string uid = std::to_string(demo::kDemoUser);

    EXPECT_EQ(getJson("/playlist/subscribe?t=1&id=" + playlist + "&cookie=")["code"], 301);
    EXPECT_EQ(getJson("/playlist/subscribe?t=1&id=" + playlist + "&cookie=" + cookie)["code"], 200);
    Json lists = getJson("/user/playlist?uid=" + uid + "&timestamp=1&cookie=" + cookie)["playlist"];
    ASSERT_EQ(lists.size(), 4u);
    EXPECT_EQ(lists[3]["id"], demo::kSummerSoundsPlaylist);
    EXPECT_EQ(lists[3]["subscribed"], true);
    EXPECT_EQ(getJson("/playlist/detail?id=" + playlist + "&cookie=" + cookie)["playlist"]["subscribed"], true);

    EXPECT_EQ(getJson("/playlist/subscribe?t=2&id=" + playlist + "&cookie=" + cookie)["code"], 200);
    EXPECT_EQ(getJson("/user/playlist?uid=" + uid + "&timestamp=1&cookie=" + cookie)["playlist"].size(), 3u);
    EXPECT_EQ(getJson("/playlist/detail?id=" + playlist + "&cookie=" + cookie)["playlist"]["subscribed"], false);

    EXPECT_EQ(getJson("/playlist/subscribe?t=3&id=" + playlist + "&cookie=" + cookie)["code"], 400);
    EXPECT_EQ(getJson("/playlist/subscribe?t=1&id=1&cookie=" + cookie)["code"], 404);
    EXPECT_EQ(getJson("/playlist/subscribe?t=1&id=7100000002&cookie=" + cookie)["code"], 501);
}
