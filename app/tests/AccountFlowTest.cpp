// The account side of the program end to end against the companion server:
// a QR login through the demo scan link, the library it fills, the cookie
// that brings the login back on the next start, log-out, and the settings
// page shown from a stored file and writing what the user changes, the ways
// into it, and the library following the playlists the user subscribes.
#include "QrLoginSteps.h"
#include "api/CloudApiClient.h"
#include "app/Application.h"
#include "app/tests/StartedApplication.h"
#include "base/AppSettings.h"
#include "base/FirstRunSetup.h"
#include "browse/Account.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "server/catalogue/DemoBuilders.h"
#include "ui/QtTranslations.h"
#include "ui/lists/IconList.h"
#include "ui/pages/LibraryPage.h"
#include "ui/pages/LoginPage.h"
#include "ui/pages/PlaylistPage.h"
#include "ui/pages/SettingsPage.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ScrollPane.h"
#include "ui/widgets/Theme.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/ColourPickerWindow.h"
#include "ui/windows/DesktopLyricsWindow.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/OperationMenu.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <algorithm>

namespace {

class AccountFlowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { HttpClient::globalInit(); }
    void SetUp() override {
        ASSERT_TRUE(server.start());
        hosts = ServiceHosts::allAt(server.origin());
    }
    void TearDown() override { closeNotice(); }

    std::unique_ptr<Application> startApp() {
        auto app = std::make_unique<Application>(documents.path().string(), program.path().string(), hosts);
        app->setExitHandler([] {});
        EXPECT_TRUE(startAndWait(*app)) << "start-up ends";
        return app;
    }
    AppSettings settings() const { return AppSettings(makeAppPaths(documents.path().string()).settingsPath); }

    static QString noticeTitle() {
        QWidget* dialog = MessageBoxWindow::dialog();
        return dialog ? dialog->findChild<QLabel*>("标签_提示框标题")->text() : QString();
    }
    static void closeNotice() {
        if (QWidget* dialog = MessageBoxWindow::dialog()) delete dialog;
    }
    static LoginPage& loginPage(const Application& app) {
        return *static_cast<LoginPage*>(app.mainWindow()->page(Pages::kLogin));
    }
    static LibraryPage& libraryPage(const Application& app) {
        return *static_cast<LibraryPage*>(app.mainWindow()->page(Pages::kMusicLibrary));
    }
    static SettingsPage& settingsPage(const Application& app) {
        return *static_cast<SettingsPage*>(app.mainWindow()->page(Pages::kSettings));
    }
    void scan(const std::string& key) const {
        HttpRequest request;
        request.url = server.origin() + "/demo/scan?key=" + key;
        HttpClient::fetchService(request);
    }
    // The library ends filled with as many playlists as the account has.
    void expectLibraryFilled(const Application& app, const std::string& cookie) const {
        const AccountProfile profile = client().fetchAccount(cookie);
        ASSERT_FALSE(profile.userId.empty());
        const size_t count = client().fetchUserPlaylists(profile.userId, cookie).size();
        ASSERT_GT(count, 0u);
        LibraryPage& library = libraryPage(app);
        ASSERT_TRUE(QTest::qWaitFor([&] { return library.libraryIds().size() == count; }, 20000));
        EXPECT_EQ(library.heading()->text().toStdString(), profile.nickname + "的音乐库");
        const int height = int(count) * 72 + 240;
        EXPECT_EQ(library.playlistList()->height(), height);
        EXPECT_EQ(library.scrollPane()->slideBox()->height(), height);
        EXPECT_EQ(library.scrollPane()->scrollBar()->maximum(), std::max(0, height - 550));
        EXPECT_FALSE(library.avatar()->picture().isNull());
        EXPECT_EQ(settingsPage(app).nickname()->text().toStdString(), profile.nickname);
        EXPECT_FALSE(app.mainWindow()->toolbar()->avatar()->picture().isNull());
    }

    // Whether a request whose target starts with `prefix` carried an account cookie.
    bool askedWithCookie(const std::string& prefix) const {
        for (const SeenRequest& seen : server.seenRequests()) {
            const auto cookieAt = seen.target.find("&cookie=");
            if (seen.target.starts_with(prefix) && cookieAt != std::string::npos && seen.target.size() > cookieAt + 8)
                return true;
        }
        return false;
    }
    static std::vector<ToolbarPage> markedTabs(const MainWindow& window) {
        std::vector<ToolbarPage> marked;
        for (ToolbarPage page : {ToolbarPage::Home, ToolbarPage::Discover, ToolbarPage::Charts, ToolbarPage::Library})
            if (window.toolbar()->pageButton(page)->textColor() == Theme::kAccent) marked.push_back(page);
        return marked;
    }

    // Logs the app in through a scanned QR code and waits for the library.
    void logIn(Application& app) {
        Account& account = app.account();
        app.mainWindow()->toolbar()->loginLabel()->click();
        ASSERT_TRUE(waitForQrCode(account));
        scan(account.qrKey());
        pollQrOnce(account);
        ASSERT_EQ(pollQrOnce(account), QrLoginState::LoggedIn);
        ASSERT_TRUE(QTest::qWaitFor([] { return MessageBoxWindow::dialog() != nullptr; }, kQrStepWaitMs));
        closeNotice();
        expectLibraryFilled(app, app.accountCookie());
    }

    TempDir documents, program;
    DemoServer server;
    ServiceHosts hosts;  // the server's, once it runs
    CloudApiClient client() const { return CloudApiClient(hosts); }
};

TEST_F(AccountFlowTest, AScannedCodeLogsInAndTheLoginSurvivesARestartUntilLogOut) {
    std::string cookie;
    {
        auto app = startApp();
        MainWindow& window = *app->mainWindow();
        LoginPage& login = loginPage(*app);
        window.toolbar()->loginLabel()->click();
        EXPECT_EQ(window.currentPage(), Pages::kLogin);
        Account& account = app->account();
        ASSERT_TRUE(waitForQrCode(account));
        EXPECT_EQ(login.qrPicture()->picture().width(), LoginPage::kQrSize);
        EXPECT_TRUE(account.pollTimer().isActive());
        EXPECT_EQ(account.pollTimer().interval(), 3000);

        EXPECT_EQ(pollQrOnce(account), QrLoginState::WaitingScan);
        EXPECT_EQ(login.status()->text(), "等待扫码");
        scan(account.qrKey());
        EXPECT_EQ(pollQrOnce(account), QrLoginState::WaitingConfirm);
        EXPECT_EQ(login.status()->text(), "扫码成功，待确认");
        window.toolbar()->pageButton(ToolbarPage::Discover)->click();  // the tab the user was on
        server.clearSeenRequests();
        EXPECT_EQ(pollQrOnce(account), QrLoginState::LoggedIn);
        EXPECT_EQ(login.status()->text(), "登录成功");
        EXPECT_FALSE(account.pollTimer().isActive());
        // The home page and the notice follow once the account is loaded.
        ASSERT_TRUE(QTest::qWaitFor([] { return MessageBoxWindow::dialog() != nullptr; }, kQrStepWaitMs));
        EXPECT_EQ(window.currentPage(), Pages::kHome);
        EXPECT_EQ(noticeTitle(), "登录成功");
        closeNotice();

        cookie = app->accountCookie();
        ASSERT_FALSE(cookie.empty());
        EXPECT_TRUE(markedTabs(window) == std::vector<ToolbarPage>{ToolbarPage::Home}) << "the tab of the page shown";
        // The recommendations follow the account that logged in.
        EXPECT_TRUE(QTest::qWaitFor([&] { return askedWithCookie("/personalized?limit=10"); }, 20000));
        EXPECT_EQ(settings().read("User", "Cookie"), cookie);
        EXPECT_TRUE(window.toolbar()->avatar()->isVisible());
        EXPECT_FALSE(window.toolbar()->loginLabel()->isVisible());
        expectLibraryFilled(*app, cookie);

        // A library row opens its playlist, and going back leads to the library.
        libraryPage(*app).playlistList()->itemClicked(0);
        EXPECT_EQ(window.currentPage(), Pages::kPlaylist);
        EXPECT_EQ(static_cast<PlaylistPage*>(window.page(Pages::kPlaylist))->playlistId(),
                  libraryPage(*app).libraryIds()[0]);
        EXPECT_EQ(window.router().backTarget(Place::Playlist), Place::Library);
    }

    auto app = startApp();
    MainWindow& window = *app->mainWindow();
    EXPECT_EQ(app->accountCookie(), cookie);
    EXPECT_FALSE(settingsPage(*app).logOutButton()->isHidden());
    EXPECT_TRUE(window.toolbar()->avatar()->isVisible());
    expectLibraryFilled(*app, cookie);

    settingsPage(*app).logOutButton()->click();
    EXPECT_EQ(noticeTitle(), "退出登录成功");
    closeNotice();
    EXPECT_EQ(settings().read("User", "Cookie", "missing"), "");
    EXPECT_EQ(app->accountCookie(), "");
    EXPECT_FALSE(app->account().loggedIn());
    EXPECT_TRUE(window.toolbar()->loginLabel()->isVisible());
    EXPECT_FALSE(window.toolbar()->avatar()->isVisible());
    EXPECT_EQ(settingsPage(*app).nickname()->text(), "暂未登录");
    window.toolbar()->pageButton(ToolbarPage::Library)->click();
    EXPECT_EQ(noticeTitle(), "用户未登录~");
}

TEST_F(AccountFlowTest, TheRefreshButtonLoadsTheAccountAndLibraryAgain) {
    auto app = startApp();
    Account& account = app->account();
    app->mainWindow()->toolbar()->loginLabel()->click();
    ASSERT_TRUE(waitForQrCode(account));
    scan(account.qrKey());
    pollQrOnce(account);
    ASSERT_EQ(pollQrOnce(account), QrLoginState::LoggedIn);
    ASSERT_TRUE(QTest::qWaitFor([] { return MessageBoxWindow::dialog() != nullptr; }, kQrStepWaitMs));
    closeNotice();
    const std::string cookie = app->accountCookie();
    ASSERT_FALSE(cookie.empty());
    expectLibraryFilled(*app, cookie);

    server.clearSeenRequests();
    libraryPage(*app).refreshButton()->click();
    const auto asked = [&](const std::string& path) {
        for (const SeenRequest& seen : server.seenRequests())
            if (seen.target.rfind(path, 0) == 0) return true;
        return false;
    };
    EXPECT_TRUE(QTest::qWaitFor([&] { return asked("/user/account") && asked("/user/playlist"); }, 20000));
    expectLibraryFilled(*app, cookie);
}

// An account load that finds no user leaves "登录", not an avatar area
// that stands for nobody.
TEST_F(AccountFlowTest, AnAccountLoadWithoutAUserShowsTheLoginLabelAgain) {
    auto app = startApp();
    Toolbar& toolbar = *app->mainWindow()->toolbar();
    ASSERT_TRUE(toolbar.loginLabel()->isVisible());
    QSignalSpy loaded(&app->account(), &Account::loaded);
    app->account().reload();
    EXPECT_TRUE(toolbar.avatar()->isVisible()) << "the avatar area shows while the account loads";
    ASSERT_TRUE(loaded.wait(kQrStepWaitMs));
    EXPECT_TRUE(toolbar.loginLabel()->isVisible());
    EXPECT_FALSE(toolbar.avatar()->isVisible());
    EXPECT_FALSE(app->account().loggedIn());
}

// The stored settings show on the page without being written back; what
// the user changes is written at once and reaches the desktop lyrics.
TEST_F(AccountFlowTest, TheSettingsPageShowsTheStoredFileAndWritesWhatTheUserChanges) {
    AppPaths paths = makeAppPaths(documents.path().string());
    firstRunSetup(paths, program.path().string());
    const AppSettings file = settings();
    const std::vector<std::pair<std::string, std::string>> stored = {{"Gradual", "三色渐变"}, {"Style", "倾斜"},
                                                                     {"Quality", "无损"},     {"Typeface", "微软雅黑"},
                                                                     {"Color1", "-16776961"}, {"Color2", "-16711936"}};
    for (const auto& [key, value] : stored) file.write("Setting", key, value);

    auto app = startApp();
    SettingsPage& page = settingsPage(*app);
    auto combo = [&](const char* name) { return page.findChild<QComboBox*>(name); };
    EXPECT_EQ(combo("组合框_渐变")->currentText(), "三色渐变");
    EXPECT_EQ(combo("组合框_字体风格")->currentText(), "倾斜");
    EXPECT_EQ(combo("组合框_音质")->currentText(), "无损");
    EXPECT_EQ(combo("组合框_字体")->currentText(), "微软雅黑");
    EXPECT_EQ(combo("组合框_音质")->count(), 4);
    EXPECT_EQ(combo("组合框_字体风格")->count(), 6);
    for (const auto& [key, value] : stored) EXPECT_EQ(file.read("Setting", key), value) << key;
    EXPECT_EQ(page.lyricColours().first, -16776961);

    // The typeface box has no action.
    emit combo("组合框_字体")->activated(0);
    EXPECT_EQ(file.read("Setting", "Typeface"), "微软雅黑");

    struct FillCase {
        int index;
        const char* stored;
    };
    for (const FillCase& c : {FillCase{1, "两色渐变"}, FillCase{2, "三色渐变"}, FillCase{0, "无"}}) {
        combo("组合框_渐变")->setCurrentIndex(c.index);
        emit combo("组合框_渐变")->activated(c.index);
        EXPECT_EQ(file.read("Setting", "Gradual"), c.stored) << c.index;
        EXPECT_EQ(page.lyricColours().fillMode, c.index);
    }

    // The first swatch opens the picker; red is written as a signed number
    // and the lyrics are drawn red.
    QTest::mouseClick(page.findChild<QLabel*>("色彩一"), Qt::LeftButton);
    QPointer<ColourPickerWindow> picker = page.colourPicker();
    ASSERT_TRUE(picker);
    // At least its designed size, and the toolkit's picker wholly inside.
    EXPECT_TRUE(picker->width() >= 467 && picker->height() >= 336);
    EXPECT_TRUE(picker->rect().contains(picker->picker()->geometry()));
    EXPECT_TRUE(picker->rect().contains(picker->closeButton()->geometry()));
    EXPECT_EQ(picker->windowTitle(), "Mivra音乐调色板");
    picker->picker()->setCurrentColor(Qt::red);
    EXPECT_EQ(file.read("Setting", "Color1"), "-65536");
    app->desktopLyrics()->setText("歌词");
    const QImage drawn = app->desktopLyrics()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    bool red = false;
    for (int y = 0; y < drawn.height() && !red; ++y)
        for (int x = 0; x < drawn.width() && !red; ++x) red = drawn.pixel(x, y) == 0xFFFF0000u;
    EXPECT_TRUE(red) << "the lyrics take the picked colour";

    // The second swatch reuses the open picker for colour 2.
    QTest::mouseClick(page.findChild<QLabel*>("色彩二"), Qt::LeftButton);
    EXPECT_EQ(page.colourPicker(), picker.data());
    picker->picker()->setCurrentColor(QColor(0, 0, 255));
    EXPECT_EQ(file.read("Setting", "Color2"), "-16776961");
    EXPECT_EQ(file.read("Setting", "Color1"), "-65536");

    picker->closeButton()->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(picker);
}

// The gear beside the account corner, and the avatar once logged in, lead
// to the settings page; going back returns to the page it was opened over.
// Rows that change nothing are not shown.
TEST_F(AccountFlowTest, TheGearAndTheAvatarOpenTheSettingsWithoutTheIdleRows) {
    auto app = startApp();
    MainWindow& window = *app->mainWindow();
    Toolbar& toolbar = *window.toolbar();
    EXPECT_TRUE(toolbar.settingsButton()->isVisible());
    EXPECT_FALSE(
        toolbar.settingsButton()->geometry().intersects(toolbar.loginLabel()->geometry().adjusted(0, 0, -3, 0)));
    toolbar.pageButton(ToolbarPage::Discover)->click();
    QTest::mouseClick(toolbar.settingsButton(), Qt::LeftButton);
    EXPECT_EQ(window.currentPage(), Pages::kSettings);
    EXPECT_TRUE(markedTabs(window).empty()) << "the settings are not a tab";
    window.router().back();
    EXPECT_EQ(window.currentPage(), Pages::kDiscover);

    SettingsPage& page = settingsPage(*app);
    for (const char* hidden : {"设置标签_字体", "组合框_字体", "设置标签_字体风格", "组合框_字体风格"})
        EXPECT_FALSE(page.findChild<QWidget*>(hidden)->isVisibleTo(&page)) << hidden;
    for (const char* shown : {"设置标签_音质", "组合框_音质", "设置标签_歌词颜色", "组合框_渐变", "色彩一"})
        EXPECT_TRUE(page.findChild<QWidget*>(shown)->isVisibleTo(&page)) << shown;

    logIn(*app);
    toolbar.pageButton(ToolbarPage::Charts)->click();
    QTest::mouseClick(toolbar.avatar(), Qt::LeftButton);
    EXPECT_EQ(window.currentPage(), Pages::kSettings);
    window.router().back();
    EXPECT_EQ(window.currentPage(), Pages::kCharts);
}

// The "···" menu offers the subscription that applies, and the library
// lists what the user subscribed or dropped without a refresh.
TEST_F(AccountFlowTest, SubscribingOffersTheOtherEntryAndTheLibraryFollows) {
    auto app = startApp();
    MainWindow& window = *app->mainWindow();
    auto& playlist = *static_cast<PlaylistPage*>(window.page(Pages::kPlaylist));
    OperationMenu& menu = *playlist.operationMenu();
    const std::string summer = std::to_string(demo::kSummerSoundsPlaylist);
    const auto offers = [&] {
        return std::pair{menu.subscribeItem()->isVisible(), menu.unsubscribeItem()->isVisible()};
    };
    QLabel* name = window.findChild<QLabel*>("歌单详细_歌单名");
    const auto openAndWait = [&](const std::string& id) {
        window.router().openPlaylist(id, Place::Home);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !playlist.songIds().empty() && !name->text().isEmpty(); }, 20000));
    };
    openAndWait(summer);
    EXPECT_EQ(offers(), std::pair(true, false)) << "logged out: subscribing asks for a login";

    logIn(*app);
    const ItemIds before = libraryPage(*app).libraryIds();
    ASSERT_TRUE(std::find(before.begin(), before.end(), summer) == before.end());
    openAndWait(before.front());
    EXPECT_EQ(offers(), std::pair(false, false)) << "the account's own playlist";
    openAndWait(summer);
    EXPECT_EQ(offers(), std::pair(true, false));

    struct Step {
        QAction* item;
        bool listed;
        std::pair<bool, bool> offersAfter;
    };
    for (const Step& step :
         {Step{menu.subscribeItem(), true, {false, true}}, Step{menu.unsubscribeItem(), false, {true, false}}}) {
        SCOPED_TRACE(step.item->text().toStdString());
        step.item->trigger();
        ASSERT_TRUE(QTest::qWaitFor([] { return MessageBoxWindow::dialog() != nullptr; }, 20000));
        EXPECT_EQ(noticeTitle(), "操作成功！");
        closeNotice();
        EXPECT_EQ(offers(), step.offersAfter);
        const ItemIds& library = libraryPage(*app).libraryIds();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return (std::find(library.begin(), library.end(), summer) != library.end()) == step.listed; },
            20000));
        // Opened again, the playlist shows the state the service keeps.
        openAndWait(before.front());
        openAndWait(summer);
        EXPECT_EQ(offers(), step.offersAfter);
    }
}

// Qt's own colour dialog speaks Chinese; "取消" puts back the colour the
// picker opened with, "确定" keeps the one picked.
TEST_F(AccountFlowTest, TheColourPickerIsChineseAndCancelPutsTheColourBack) {
    ASSERT_TRUE(installQtChineseTranslations(*QCoreApplication::instance()));
    auto app = startApp();
    SettingsPage& page = settingsPage(*app);
    const AppSettings file = settings();
    const std::string original = file.read("Setting", "Color1");
    ASSERT_FALSE(original.empty());

    const auto openPicker = [&] {
        QTest::mouseClick(page.findChild<QLabel*>("色彩一"), Qt::LeftButton);
        return QPointer<ColourPickerWindow>(page.colourPicker());
    };
    const auto button = [](ColourPickerWindow& picker, const QString& caption) -> QPushButton* {
        for (QPushButton* b : picker.picker()->findChildren<QPushButton*>())
            if (b->isVisibleTo(&picker) && b->text().remove('&') == caption) return b;
        return nullptr;
    };
    QPointer<ColourPickerWindow> picker = openPicker();
    ASSERT_TRUE(picker);
    ASSERT_NE(button(*picker, "确定"), nullptr);
    ASSERT_NE(button(*picker, "取消"), nullptr);
    EXPECT_TRUE(picker->rect().contains(button(*picker, "取消")->mapTo(picker.data(), QPoint(0, 0))));

    picker->picker()->setCurrentColor(QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(file.read("Setting", "Color1"), std::to_string(std::int32_t(0xFF123456u))) << "shown at once";
    button(*picker, "取消")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(picker);
    EXPECT_EQ(file.read("Setting", "Color1"), original);
    EXPECT_EQ(page.lyricColours().first, std::stoi(original));

    picker = openPicker();
    ASSERT_TRUE(picker);
    picker->picker()->setCurrentColor(QColor(0x12, 0x34, 0x56));
    button(*picker, "确定")->click();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(picker);
    EXPECT_EQ(file.read("Setting", "Color1"), std::to_string(std::int32_t(0xFF123456u)));
}

}  // namespace
