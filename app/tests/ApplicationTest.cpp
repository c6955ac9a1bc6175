#include "app/Application.h"
#include "app/CoverMenuActions.h"
#include "app/ListeningExtras.h"
#include "app/tests/StartedApplication.h"
#include "base/AppSettings.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "ui/pages/SettingsPage.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/PlayBar.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/DesktopLyricsWindow.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"

#include "ScriptedSocketServer.h"
#include "TempDir.h"
#include "ui/lists/IconList.h"
#include "ui/pages/ChartsPage.h"
#include "ui/pages/DiscoverPage.h"
#include "ui/pages/HomePage.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>
#include <filesystem>

namespace {

// A fresh data folder and program folder, the demo server, and the program
// started against it.
class ApplicationTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { HttpClient::globalInit(); }

    void SetUp() override { ASSERT_TRUE(server.start()); }

    std::unique_ptr<Application> startApp() { return startApp(ServiceHosts::allAt(server.origin())); }

    std::unique_ptr<Application> startApp(const ServiceHosts& hosts) {
        auto app = std::make_unique<Application>(documents.path().string(), program.path().string(), hosts);
        app->setExitHandler([this] { ++exits; });
        EXPECT_TRUE(startAndWait(*app)) << "start-up ends";
        return app;
    }

    size_t requestsTo(const std::string& path) const {
        auto seen = server.seenRequests();
        return std::count_if(seen.begin(), seen.end(),
                             [&](const SeenRequest& r) { return r.target.rfind(path, 0) == 0; });
    }

    // Logs in through the demo QR flow and returns the account cookie.
    std::string demoLogin() const {
        CloudApiClient client(ServiceHosts::allAt(server.origin()));
        std::string key = client.qrCreateKey();
        HttpRequest scan;
        scan.url = server.origin() + "/demo/scan?key=" + key;
        HttpClient::fetchService(scan);
        // A scanned key first answers "scanned", then "logged in" with the cookie.
        for (int poll = 0; poll < 3; ++poll) {
            QrPollResult result = client.qrPoll(key);
            if (!result.cookie.empty()) return result.cookie;
        }
        return {};
    }

    TempDir documents, program;
    DemoServer server;
    int exits = 0;
};

TEST_F(ApplicationTest, StartOpensTheMainWindowAfterPreparingTheSettings) {
    auto app = startApp();
    MainWindow* window = app->mainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(1110, 780));
    EXPECT_EQ(window->windowTitle(), "Mivra Music");
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(AppSettings(app->paths().settingsPath).read("Data", "Name"), "Mivra Music");
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app->loadingWindow(), nullptr) << "the loading window closes once start-up is done";

    ASSERT_NE(app->desktopLyrics(), nullptr);
    EXPECT_FALSE(app->desktopLyrics()->isVisible()) << "the desktop lyrics wait for the lyrics button";
    window->findChild<QPushButton*>("播放栏_歌词")->click();
    EXPECT_TRUE(app->desktopLyrics()->isVisible());
    EXPECT_EQ(window->findChild<QLabel*>("播放栏_版本号")->text(), "Mivra Music Beta V1.1.4");

    window->findChild<QPushButton*>("工具栏_关闭")->click();
    EXPECT_EQ(exits, 1);
    window->close();
    EXPECT_EQ(exits, 2) << "closing the window any other way ends the program too";
}

// The desktop lists the program once: every other window it opens is a
// dialog window of the main one (or a tool window such as the desktop
// lyrics), and opens over the main window's middle.
TEST_F(ApplicationTest, EveryOtherWindowBelongsToTheMainWindow) {
    auto app = startApp();
    MainWindow* window = app->mainWindow();
    window->move(140, 60);
    MessageBoxWindow::show({.title = "提示", .confirmCaption = "知道了"});
    app->coverMenu()->openPlayList();
    emit static_cast<SettingsPage*>(window->page(Pages::kSettings))->playbackSettingsRequested();
    app->extras()->openShortcuts();
    app->extras()->openLocalFolders();
    app->extras()->openScrobbleSettings();
    window->findChild<QPushButton*>("播放栏_歌词")->click();

    int dialogs = 0;
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible() || top == window) continue;
        const std::string name = top->objectName().toStdString();
        if (top->windowType() == Qt::Tool) continue;
        ASSERT_EQ(top->windowType(), Qt::Dialog) << name << " would have a taskbar entry of its own";
        EXPECT_EQ(top->parentWidget(), window) << name;
        // Over the main window's middle; a framed window gets its frame, and
        // a list window its rows, once shown, which moves it a few pixels.
        EXPECT_LE((top->geometry().center() - window->geometry().center()).manhattanLength(), 16) << name;
        ++dialogs;
    }
    EXPECT_EQ(dialogs, 6) << "the notice, the play list and four settings windows";
    delete MessageBoxWindow::dialog();
}

TEST_F(ApplicationTest, StartUpFetchesTheConfigurationAndReportsOnline) {
    auto app = startApp();
    EXPECT_EQ(app->remoteConfig().version, "Beta V1.1.4");
    EXPECT_FALSE(app->serviceCookie().empty());
    EXPECT_EQ(requestsTo("/api/online.php"), 1u) << "the first heartbeat is sent during start-up";
    EXPECT_TRUE(app->heartbeatTimer().isActive());
    EXPECT_EQ(app->heartbeatTimer().interval(), 170000);
}

TEST_F(ApplicationTest, WithoutAValidCookieTheLoginLabelShows) {
    firstRunSetup(makeAppPaths(documents.path().string()), program.path().string());
    AppSettings(makeAppPaths(documents.path().string()).settingsPath).write("User", "Cookie", "MUSIC_U=forged");

    auto app = startApp();
    Toolbar* toolbar = app->mainWindow()->toolbar();
    EXPECT_TRUE(toolbar->loginLabel()->isVisible());
    EXPECT_FALSE(toolbar->avatar()->isVisible());
    EXPECT_EQ(app->accountCookie(), "") << "a rejected cookie is forgotten for this run";
    EXPECT_EQ(AppSettings(app->paths().settingsPath).read("User", "Cookie"), "MUSIC_U=forged")
        << "the settings file keeps it until the next login or log-out";
}

TEST_F(ApplicationTest, AnAcceptedCookieShowsTheAvatar) {
    std::string cookie = demoLogin();
    ASSERT_FALSE(cookie.empty());
    AppPaths paths = makeAppPaths(documents.path().string());
    firstRunSetup(paths, program.path().string());
    AppSettings(paths.settingsPath).write("User", "Cookie", cookie);

    auto app = startApp();
    Toolbar* toolbar = app->mainWindow()->toolbar();
    EXPECT_TRUE(toolbar->avatar()->isVisible());
    EXPECT_FALSE(toolbar->loginLabel()->isVisible());
    EXPECT_EQ(app->accountCookie(), cookie);
}

TEST_F(ApplicationTest, MinimiseButtonMinimisesTheMainWindow) {
    auto app = startApp();
    app->mainWindow()->findChild<QPushButton*>("工具栏_最小化")->click();
    EXPECT_TRUE(app->mainWindow()->isMinimized());
}

TEST_F(ApplicationTest, StartUpCompletesWhenTheServiceIsDown) {
    // Port 1 on loopback refuses every connection.
    auto app = startApp(ServiceHosts::allAt("http://127.0.0.1:1"));
    MainWindow* window = app->mainWindow();
    EXPECT_TRUE(window->isVisible());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app->loadingWindow(), nullptr);
    EXPECT_TRUE(window->toolbar()->loginLabel()->isVisible());
    EXPECT_EQ(app->serviceCookie(), "");

    const auto* home = static_cast<HomePage*>(window->page(Pages::kHome));
    for (IconList* list : {home->playlistList(), home->artistList(), home->albumList(), home->mvList()}) {
        EXPECT_EQ(list->itemCount(), 0);
        EXPECT_EQ(list->height(), 0);
    }
    window->toolbar()->pageButton(ToolbarPage::Charts)->click();
    EXPECT_EQ(window->currentPage(), Pages::kCharts);
    window->toolbar()->pageButton(ToolbarPage::Home)->click();
    EXPECT_EQ(window->currentPage(), Pages::kHome);
}

// Start-up hands over to the home page loaded: every list and picture in.
TEST_F(ApplicationTest, TheLoadingWindowClosesOnAFullyLoadedHomePage) {
    auto app = startApp();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app->loadingWindow(), nullptr);
    const auto* home = static_cast<HomePage*>(app->mainWindow()->page(Pages::kHome));
    EXPECT_TRUE(home->isLoaded());
    for (IconList* list : {home->playlistList(), home->artistList(), home->albumList(), home->mvList()}) {
        ASSERT_GT(list->itemCount(), 0);
        for (int i = 0; i < list->itemCount(); ++i) EXPECT_FALSE(list->itemPicture(i).isNull()) << i;
    }
    EXPECT_FALSE(home->dailyMvPicture()->picture().isNull());
}

// Pictures are kept in the cache folder: the next start shows them without
// fetching a single one.
TEST_F(ApplicationTest, ASecondStartFetchesNoPictureAgain) {
    TempDir cache;
    auto pictureRequests = [this] { return requestsTo("/pic/"); };
    for (int run = 0; run < 2; ++run) {
        server.clearSeenRequests();
        auto app = std::make_unique<Application>(documents.path().string(), program.path().string(),
                                                 ServiceHosts::allAt(server.origin()), cache.file("pictures"));
        app->setExitHandler([] {});
        EXPECT_TRUE(startAndWait(*app)) << "start-up ends";
        const auto* home = static_cast<HomePage*>(app->mainWindow()->page(Pages::kHome));
        ASSERT_TRUE(home->isLoaded());
        ASSERT_GT(home->playlistList()->itemCount(), 0);
        // The discover and charts lists fill on without being waited for.
        const auto* discover = static_cast<DiscoverPage*>(app->mainWindow()->page(Pages::kDiscover));
        const auto* charts = static_cast<ChartsPage*>(app->mainWindow()->page(Pages::kCharts));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return !discover->playlistIds().empty() && discover->playlistList()->isEnabled() &&
                       !charts->chartIds().empty() && charts->chartList()->isEnabled();
            },
            20000));
        EXPECT_FALSE(home->playlistList()->itemPicture(0).isNull());
        if (run == 0)
            EXPECT_GT(pictureRequests(), 10u);
        else
            EXPECT_EQ(pictureRequests(), 0u);
    }
}

// The volume comes back from the settings, also without the resume point:
// once written after the wheel stops, and once written as the program ends.
TEST_F(ApplicationTest, TheVolumeTheUserSetIsThereAtTheNextStart) {
    const struct {
        const char* how;
        int notches;
        bool waitForTheWrite;
    } runs[] = {{"written after a pause", 3, true}, {"written as the program ends", -2, false}};
    int expected = 0;
    for (const auto& run : runs) {
        SCOPED_TRACE(run.how);
        auto app = startApp();
        auto* volume = app->mainWindow()->findChild<QSlider*>("播放栏_音量条");
        ASSERT_NE(volume, nullptr);
        expected = volume->value() + run.notches * PlayBar::kVolumeWheelStep;
        for (int notch = 0; notch < std::abs(run.notches); ++notch) {
            const QPoint at = volume->rect().center();
            QWheelEvent wheel(at, volume->mapToGlobal(at), {}, {0, run.notches > 0 ? 120 : -120}, Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(volume, &wheel);
        }
        EXPECT_EQ(volume->value(), expected);
        const AppSettings settings(app->paths().settingsPath);
        if (run.waitForTheWrite)
            ASSERT_TRUE(
                QTest::qWaitFor([&] { return settings.read("Music", "Volume") == std::to_string(expected); }, 5000));
        else
            app->mainWindow()->findChild<QPushButton*>("工具栏_关闭")->click();
        EXPECT_EQ(settings.read("Music", "Volume"), std::to_string(expected));
        const std::string resumePoint = app->paths().dataFolder + "listening/resume.json";
        app.reset();
        std::filesystem::remove(resumePoint);

        auto again = startApp();
        EXPECT_EQ(again->mainWindow()->findChild<QSlider*>("播放栏_音量条")->value(), expected);
    }
}

// A service that takes connections and never answers holds the loading
// window no longer than the start-up bound.
TEST_F(ApplicationTest, ASilentServiceHoldsTheStartNoLongerThanItsBound) {
    ScriptedSocketServer silent({}, /*holdOpen=*/true);
    auto app = std::make_unique<Application>(documents.path().string(), program.path().string(),
                                             ServiceHosts::allAt(silent.url("")));
    app->setExitHandler([] {});
    app->setStartupBound(1500);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(startAndWait(*app)) << "start-up ends";
    EXPECT_LT(clock.elapsed(), 6000) << "the bound, not the service, ended the wait";
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(app->loadingWindow(), nullptr);
    EXPECT_TRUE(app->mainWindow()->isVisible());
    app->mainWindow()->toolbar()->pageButton(ToolbarPage::Discover)->click();
    EXPECT_EQ(app->mainWindow()->currentPage(), Pages::kDiscover);
}

// The start-up goes on between event-loop turns, and any of them may end
// the program object; the steps still due then touch nothing of it.
TEST_F(ApplicationTest, DestroyedWhileStartingUpTheRestOfTheStartIsSkipped) {
    // Each pass destroys it later (0, 1, 3, 7, ... event-loop turns in),
    // until a start-up that ends in fewer turns than that.
    for (int turnsBefore = 0;; turnsBefore = turnsBefore * 2 + 1) {
        auto app = std::make_unique<Application>(documents.path().string(), program.path().string(),
                                                 ServiceHosts::allAt(server.origin()));
        bool ended = false;
        QObject::connect(app.get(), &Application::startupEnded, [&] { ended = true; });
        int turns = 0;
        QTimer pump;
        QObject::connect(&pump, &QTimer::timeout, [&] {
            if (turns++ == turnsBefore) app.reset();
        });
        pump.start(0);
        app->start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !app || ended; }, 30000));
        pump.stop();
        if (ended) {
            EXPECT_GE(turnsBefore, 3) << "start-up lets events run between its steps";
            break;
        }
        // Answers queued for the destroyed program arrive and find no one.
        QCoreApplication::processEvents();
    }
}

}  // namespace
