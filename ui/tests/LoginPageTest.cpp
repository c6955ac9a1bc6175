// The QR login page against a scripted account host: what the page does
// with each poll answer, an expiry on and away from the page, a poll tick
// during a running poll, and the QR code drawn here when the QR image host
// fails.
#include "api/CloudApiClient.h"
#include "browse/Account.h"
#include "ui/pages/LoginPage.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/QrCodePicture.h"
#include "ui/windows/MainWindow.h"

#include "RecordingServer.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <mutex>
#include <thread>

namespace {

constexpr int kWaitMs = 5000;
constexpr const char* kLoginUrl = "http://login.example/qr?codekey=k&x=1";

class LoginPageTest : public ::testing::Test {
protected:
    LoginPageTest() {
        accountHost.setHandler([this](const RecordedRequest& request) { return answer(request); });
        window.setCatalogue(&client);
        follow(account);
    }

    // The page shows `shown`'s QR login; its logins land in `logins`.
    void follow(Account& shown) {
        window.setAccount(&shown);
        QObject::connect(&shown, &Account::qrPolled, [this, &shown](QrLoginState state) {
            if (state == QrLoginState::LoggedIn) logins.push_back(shown.cookie());
        });
    }
    // Opens the page and waits for its code.
    void start() {
        QSignalSpy offered(window.account(), &Account::qrOffered);
        page().startQrLogin();
        ASSERT_TRUE(offered.wait(kWaitMs));
    }
    // One poll, and what the page made of it.
    void poll() {
        QSignalSpy polled(&account, &Account::qrPolled);
        account.pollQrLogin();
        ASSERT_TRUE(polled.wait(kWaitMs));
    }

    CannedReply answer(const RecordedRequest& request) {
        const std::lock_guard lock(mutex);
        if (request.target.find("op=0") != std::string::npos) return json(keyAnswer);
        if (request.target.find("op=1") != std::string::npos)
            return json(std::string(R"({"data":{"qrurl":")") + kLoginUrl + R"("}})");
        if (request.target.find("op=2") != std::string::npos) {
            std::this_thread::sleep_for(pollDelay);
            return pollAnswer;
        }
        return {};  // the QR image path: "ok", which is not a picture
    }
    static CannedReply json(std::string body) { return {200, std::move(body), "application/json", {}}; }
    void setPollAnswer(CannedReply reply, std::chrono::milliseconds delay = {}) {
        const std::lock_guard lock(mutex);
        pollAnswer = std::move(reply);
        pollDelay = delay;
    }
    void setKeyAnswer(std::string body) {
        const std::lock_guard lock(mutex);
        keyAnswer = std::move(body);
    }
    size_t requestsWith(const std::string& part) const {
        size_t count = 0;
        for (const RecordedRequest& r : accountHost.requests()) count += r.target.find(part) != std::string::npos;
        return count;
    }
    LoginPage& page() { return *static_cast<LoginPage*>(window.page(Pages::kLogin)); }

    RecordingServer accountHost;
    std::mutex mutex;
    std::string keyAnswer = R"({"data":{"unikey":"k"}})";
    CannedReply pollAnswer = json(R"({"code":801})");
    std::chrono::milliseconds pollDelay{0};
    // Every host at the scripted server; the QR image host answers text.
    ServiceHosts hosts = ServiceHosts::allAt(accountHost.url(""));
    CloudApiClient client{hosts};
    QTemporaryDir folder;
    Account account{client, AppSettings(folder.filePath("config.ini").toStdString()), ""};
    MainWindow window;
    std::vector<std::string> logins;
};

// An answer that is not a real login leaves the page polling as it was.
TEST_F(LoginPageTest, AnAnswerThatIsNoLoginKeepsWaiting) {
    struct Case {
        const char* what;
        CannedReply reply;
    };
    const Case cases[] = {
        {"a server error", {500, "", "text/plain", {}}},
        {"no JSON", json("<html>busy</html>")},
        {"no code", json(R"({"message":"later"})")},
        {"logged in without a cookie", json(R"({"code":803,"cookie":""})")},
    };
    start();
    ASSERT_TRUE(account.pollTimer().isActive());
    for (const Case& c : cases) {
        setPollAnswer(c.reply);
        poll();
        EXPECT_TRUE(account.pollTimer().isActive()) << c.what;
        EXPECT_EQ(page().status()->text(), "等待扫码") << c.what;
        EXPECT_EQ(account.qrKey(), "k") << c.what;
        EXPECT_TRUE(logins.empty()) << c.what;
    }
    setPollAnswer(json(R"({"code":803,"cookie":"MUSIC_U=abc"})"));
    poll();
    EXPECT_EQ(logins, std::vector<std::string>{"MUSIC_U=abc"});
    EXPECT_FALSE(account.pollTimer().isActive());
    EXPECT_EQ(page().status()->text(), "登录成功");
}

TEST_F(LoginPageTest, AnExpiredCodeIsRenewedOnlyWhileThePageIsShown) {
    start();
    setPollAnswer(json(R"({"code":800})"));
    QSignalSpy offered(&account, &Account::qrOffered);
    poll();
    ASSERT_TRUE(offered.wait(kWaitMs));
    EXPECT_EQ(requestsWith("op=0"), 2u) << "a new key on the login page";
    EXPECT_TRUE(account.pollTimer().isActive());

    window.showPage(Pages::kHome);
    poll();
    EXPECT_EQ(requestsWith("op=0"), 2u) << "no new key away from the page";
    EXPECT_FALSE(account.pollTimer().isActive());
    EXPECT_EQ(window.currentPage(), Pages::kHome) << "the page is not brought back";
}

TEST_F(LoginPageTest, ATickDuringARunningPollIsSkipped) {
    start();
    setPollAnswer(json(R"({"code":801})"), std::chrono::milliseconds(600));
    QTimer::singleShot(100, &account, [this] { account.pollQrLogin(); });
    poll();
    EXPECT_EQ(requestsWith("op=2"), 1u);
}

TEST_F(LoginPageTest, WithoutAKeyThereIsNoPictureAndAClickTriesAgain) {
    setKeyAnswer("{}");
    start();
    EXPECT_TRUE(page().qrPicture()->picture().isNull());
    EXPECT_FALSE(account.pollTimer().isActive());
    EXPECT_EQ(requestsWith("op=1"), 0u);

    setKeyAnswer(R"({"data":{"unikey":"k"}})");
    QSignalSpy offered(&account, &Account::qrOffered);
    QTest::mouseClick(page().qrPicture(), Qt::LeftButton);
    ASSERT_TRUE(offered.wait(kWaitMs));
    EXPECT_EQ(requestsWith("op=0"), 2u);
    EXPECT_FALSE(page().qrPicture()->picture().isNull());
    EXPECT_TRUE(account.pollTimer().isActive());
}

// Whether the QR image host is down or answers with text, the page shows
// the code of the login URL drawn here.
TEST_F(LoginPageTest, TheQrCodeIsDrawnHereWhenTheImageHostGivesNoPicture) {
    const QImage expected = drawQrCode(kLoginUrl, LoginPage::kQrSize);
    ASSERT_EQ(expected.size(), QSize(256, 256));
    ASSERT_TRUE(expected.pixelColor(128, 128) == Qt::black || expected.pixelColor(128, 128) == Qt::white);
    ASSERT_NE(expected, drawQrCode("http://login.example/qr?codekey=other", LoginPage::kQrSize));

    for (const std::string& qrOrigin : {hosts.qrOrigin, std::string("http://127.0.0.1:1")}) {
        ServiceHosts withQrHost = hosts;
        withQrHost.qrOrigin = qrOrigin;
        const CloudApiClient otherClient(withQrHost);
        Account other{otherClient, AppSettings(folder.filePath("other.ini").toStdString()), ""};
        follow(other);
        start();
        EXPECT_EQ(page().qrPicture()->picture().convertToFormat(expected.format()), expected) << qrOrigin;
        EXPECT_TRUE(other.pollTimer().isActive()) << qrOrigin;
        window.setAccount(&account);
    }
}

}  // namespace
