// The QR login page against a scripted account host: what the page does
// with each poll answer, an expiry on and away from the page, a poll tick
// during a running poll, and the QR code drawn here when the QR image host
// fails.
#include "api/CloudApiClient.h"
#include "ui/windows/MainWindow.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/QrCodePicture.h"
#include "ui/pages/LoginPage.h"

#include "RecordingServer.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

namespace {

constexpr const char* kLoginUrl = "http://login.example/qr?codekey=k&x=1";

class LoginPageTest : public ::testing::Test {
protected:
    LoginPageTest() {
        account.setHandler([this](const RecordedRequest& request) { return answer(request); });
        window.setCatalogue(&client);
        QObject::connect(&page(), &LoginPage::loggedIn, [this](const std::string& cookie) { logins.push_back(cookie); });
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
        for (const RecordedRequest& r : account.requests()) count += r.target.find(part) != std::string::npos;
        return count;
    }
    LoginPage& page() { return *static_cast<LoginPage*>(window.page(Pages::kLogin)); }

    RecordingServer account;
    std::mutex mutex;
    std::string keyAnswer = R"({"data":{"unikey":"k"}})";
    CannedReply pollAnswer = json(R"({"code":801})");
    std::chrono::milliseconds pollDelay{0};
    // Every host at the scripted server; the QR image host answers text.
    ServiceHosts hosts = ServiceHosts::allAt(account.url(""));
    CloudApiClient client{hosts};
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
    page().startQrLogin();
    ASSERT_TRUE(page().pollTimer().isActive());
    for (const Case& c : cases) {
        setPollAnswer(c.reply);
        page().pollQrLogin();
        EXPECT_TRUE(page().pollTimer().isActive()) << c.what;
        EXPECT_EQ(page().status()->text(), "等待扫码") << c.what;
        EXPECT_EQ(page().qrKey(), "k") << c.what;
        EXPECT_TRUE(logins.empty()) << c.what;
    }
    setPollAnswer(json(R"({"code":803,"cookie":"MUSIC_U=abc"})"));
    page().pollQrLogin();
    EXPECT_EQ(logins, std::vector<std::string>{"MUSIC_U=abc"});
    EXPECT_FALSE(page().pollTimer().isActive());
    EXPECT_EQ(page().status()->text(), "登录成功");
}

TEST_F(LoginPageTest, AnExpiredCodeIsRenewedOnlyWhileThePageIsShown) {
    page().startQrLogin();
    setPollAnswer(json(R"({"code":800})"));
    page().pollQrLogin();
    EXPECT_EQ(requestsWith("op=0"), 2u) << "a new key on the login page";
    EXPECT_TRUE(page().pollTimer().isActive());

    window.showPage(Pages::kHome);
    page().pollQrLogin();
    EXPECT_EQ(requestsWith("op=0"), 2u) << "no new key away from the page";
    EXPECT_FALSE(page().pollTimer().isActive());
    EXPECT_EQ(window.currentPage(), Pages::kHome) << "the page is not brought back";
}

TEST_F(LoginPageTest, ATickDuringARunningPollIsSkipped) {
    page().startQrLogin();
    setPollAnswer(json(R"({"code":801})"), std::chrono::milliseconds(600));
    QTimer::singleShot(100, &page(), [this] { page().pollQrLogin(); });
    page().pollQrLogin();
    EXPECT_EQ(requestsWith("op=2"), 1u);
}

TEST_F(LoginPageTest, WithoutAKeyThereIsNoPictureAndAClickTriesAgain) {
    setKeyAnswer("{}");
    page().startQrLogin();
    EXPECT_TRUE(page().qrPicture()->picture().isNull());
    EXPECT_FALSE(page().pollTimer().isActive());
    EXPECT_EQ(requestsWith("op=1"), 0u);

    setKeyAnswer(R"({"data":{"unikey":"k"}})");
    QTest::mouseClick(page().qrPicture(), Qt::LeftButton);
    EXPECT_EQ(requestsWith("op=0"), 2u);
    EXPECT_FALSE(page().qrPicture()->picture().isNull());
    EXPECT_TRUE(page().pollTimer().isActive());
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
        window.setCatalogue(&otherClient);
        page().startQrLogin();
        EXPECT_EQ(page().qrPicture()->picture().convertToFormat(expected.format()), expected) << qrOrigin;
        EXPECT_TRUE(page().pollTimer().isActive()) << qrOrigin;
        window.setCatalogue(&client);
    }
}

}  // namespace
