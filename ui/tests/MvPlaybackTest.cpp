// The MV flow against the companion server: the prompt with the MV's
// address, the host window that comes and goes with it, the web player page
// address of the play bar, and the notice for an MV without an address.
#include "DemoCompanion.h"
#include "api/CloudApiClient.h"
#include "browse/MvAddress.h"
#include "ui/MvPlayback.h"
#include "ui/windows/MessageBoxWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

const std::string kDemoMv = "10900001";

std::string beforeSignature(const std::string& url) { return url.substr(0, url.find("&wsSecret")); }

class MvPlaybackTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { DemoCompanion::start(); }
    static void TearDownTestSuite() { DemoCompanion::stop(); }

    void SetUp() override {
        MessageBoxWindow::setUrlOpener([this](const QUrl& url) {
            opened.push_back(url.toString(QUrl::FullyEncoded).toStdString());
            return opens;
        });
    }
    void TearDown() override {
        if (QWidget* d = MessageBoxWindow::dialog()) delete d;
    }

    QString shownTitle() const {
        QWidget* d = MessageBoxWindow::dialog();
        return d ? d->findChild<QLabel*>("标签_提示框标题")->text() : QString();
    }
    // Asks for `mvId` and returns once its answer is on screen.
    void ask(void (MvPlayback::*how)(const std::string&), const std::string& mvId) {
        if (QWidget* d = MessageBoxWindow::dialog()) delete d;
        (flow.*how)(mvId);
        ASSERT_TRUE(QTest::qWaitFor([] { return MessageBoxWindow::dialog() != nullptr; }, 20000));
    }
    void press(const char* button) {
        MessageBoxWindow::dialog()->findChild<QPushButton*>(button)->click();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QApplication::processEvents();
    }

    ServiceHosts hosts = ServiceHosts::allAt(DemoCompanion::origin());
    CloudApiClient client{hosts};
    MvAddress address{client};
    MvPlayback flow{address, hosts};
    std::vector<std::string> opened;
    bool opens = true;  // whether the desktop manages to open what it is given
};

TEST_F(MvPlaybackTest, ThePromptOffersTheStreamAndItsHostWindowGoesWithIt) {
    const std::string stream = client.fetchMvUrl(kDemoMv);
    ASSERT_TRUE(stream.starts_with("http://"));

    ask(&MvPlayback::play, kDemoMv);
    EXPECT_EQ(shownTitle(), "即将使用浏览器打开");
    // A list's MV is offered as the bare stream address (signed anew each time).
    EXPECT_EQ(beforeSignature(flow.pendingMvUrl()), beforeSignature(stream));
    EXPECT_NE(flow.pendingMvUrl().find("&wsTime="), std::string::npos);
    QWidget* host = flow.hostWindow();
    ASSERT_NE(host, nullptr);
    EXPECT_TRUE(host->isVisible());
    EXPECT_EQ(host->size(), QSize(255, 231));
    EXPECT_EQ(host->windowTitle(), "Mivra音乐 MV播放器");

    press("按钮_取消");  // "不允许"
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(flow.hostWindow(), nullptr);

    ask(&MvPlayback::play, kDemoMv);  // asked again, asked again
    EXPECT_EQ(shownTitle(), "即将使用浏览器打开");
    ask(&MvPlayback::play, kDemoMv);
    int hostWindows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        hostWindows += w->objectName() == "MvHostWindow" && w->isVisible();
    EXPECT_EQ(hostWindows, 1) << "one host window at a time";

    press("按钮_确定");  // "允许"
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(beforeSignature(opened[0]), beforeSignature(stream));
    EXPECT_EQ(flow.hostWindow(), nullptr);
}

TEST_F(MvPlaybackTest, ThePlayBarOffersTheWebPlayerPageWithTheTimeKeyEscaped) {
    ask(&MvPlayback::playInWebPlayer, kDemoMv);
    const std::string& page = flow.pendingMvUrl();
    const std::string prefix =
        DemoCompanion::origin() + "/player/?url=" + DemoCompanion::origin() + "/media/mv/" + kDemoMv + ".mp4&wsSecret=";
    EXPECT_TRUE(page.starts_with(prefix)) << page;
    EXPECT_NE(page.find("%26wsTime="), std::string::npos) << page;
    EXPECT_EQ(page.find("&wsTime"), std::string::npos) << page;

    press("按钮_确定");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], page) << "handed over as it is, not encoded twice";
}

TEST_F(MvPlaybackTest, AnMvWithoutAnAddressGetsANoticeAndNoHostWindow) {
    ask(&MvPlayback::play, "999999");
    EXPECT_EQ(shownTitle(), "MV播放失败啦");
    EXPECT_EQ(flow.hostWindow(), nullptr);
    press("按钮_确定");
    EXPECT_TRUE(opened.empty());
}

TEST_F(MvPlaybackTest, AnotherNoticeOverThePromptTakesTheHostWindowAway) {
    ask(&MvPlayback::play, kDemoMv);
    ASSERT_NE(flow.hostWindow(), nullptr);
    MessageBoxWindow::show({.title = "播放失败啦", .confirmCaption = "接受事实"});
    EXPECT_EQ(flow.hostWindow(), nullptr);
    press("按钮_确定");
    EXPECT_TRUE(opened.empty());
}

}  // namespace
