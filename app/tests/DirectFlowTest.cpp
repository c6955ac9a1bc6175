// The program through the service's own web API, end to end, with the
// companion standing in for the service (MIVRA_DIRECT_ORIGIN's way): the
// home page, a search, a song playing with its lyrics, a playlist, a QR
// login, the library it fills and a subscription all work through weapi and
// eapi requests alone; the configuration is answered locally and no
// heartbeat goes anywhere. Then the settings page's "服务" group moves the
// running program to the demo gateway and back, and the choice is kept.
#include "QrLoginSteps.h"
#include "api/CloudApiClient.h"
#include "api/ServiceChoice.h"
#include "app/Application.h"
#include "app/tests/StartedApplication.h"
#include "base/AppSettings.h"
#include "base/ProductInfo.h"
#include "player/Player.h"
#include "ui/MvPlayback.h"
#include "ui/lists/IconList.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/DiscoverPage.h"
#include "ui/pages/HomePage.h"
#include "ui/pages/LibraryPage.h"
#include "ui/pages/LoginPage.h"
#include "ui/pages/PlaylistPage.h"
#include "ui/pages/SearchPage.h"
#include "ui/pages/SettingsPage.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/ServiceSettingsGroup.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/NowPlayingView.h"

#include "server/catalogue/DemoBuilders.h"

#include "DemoCompanion.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <cstdlib>

namespace {

using namespace DemoSongs;

constexpr int kWaitMs = 20000;

class DirectFlowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        HttpClient::globalInit();
        // The program seals its weapi requests with the key the companion reads.
        setenv("MIVRA_WEAPI_KEY", ServerOptions::kDemoWeapiKey, 1);
        companion() = std::make_unique<DemoServer>(DemoServer::testOptions(), [](const std::string&) {});
        ASSERT_TRUE(companion()->start());
    }
    static void TearDownTestSuite() {
        companion().reset();
        unsetenv("MIVRA_WEAPI_KEY");
    }
    static std::unique_ptr<DemoServer>& companion() {
        static std::unique_ptr<DemoServer> running;
        return running;
    }

    DirectFlowTest() {
        ServiceTarget target;
        target.kind = ServiceTarget::Kind::Direct;
        target.directOrigin = companion()->origin();
        app = std::make_unique<Application>(documents.path().string(), program.path().string(), target);
        app->setExitHandler([] {});
        EXPECT_TRUE(startAndWait(*app)) << "start-up ends";
    }
    ~DirectFlowTest() override {
        if (QWidget* dialog = MessageBoxWindow::dialog()) delete dialog;
    }

    MainWindow& window() const { return *app->mainWindow(); }
    template <typename P>
    P& page(int index) const {
        return *static_cast<P*>(window().page(index));
    }
    std::string songStartedBy(const std::function<void()>& action) {
        QSignalSpy started(app->player(), &Player::songStarted);
        action();
        if (started.isEmpty() && !started.wait(kWaitMs)) return {};
        return started.takeLast().at(0).value<std::string>();
    }
    static bool saw(const std::string& prefix) {
        for (const SeenRequest& seen : companion()->seenRequests())
            if (seen.target.starts_with(prefix)) return true;
        return false;
    }
    // Every request the companion saw went in the service's own forms, but
    // for pictures, audio and the demo scan page.
    static std::vector<std::string> gatewayRequests() {
        std::vector<std::string> found;
        for (const SeenRequest& seen : companion()->seenRequests()) {
            const std::string& target = seen.target;
            if (target.starts_with("/weapi/") || target.starts_with("/eapi/") || target.starts_with("/pic/") ||
                target.starts_with("/media/") || target.starts_with("/demo/scan"))
                continue;
            found.push_back(target);
        }
        return found;
    }

    TempDir documents, program;
    std::unique_ptr<Application> app;
};

TEST_F(DirectFlowTest, HomeSearchPlayLyricsAndPlaylistGoThroughTheServicesOwnForms) {
    companion()->clearSeenRequests();
    HomePage& home = page<HomePage>(Pages::kHome);
    ASSERT_TRUE(QTest::qWaitFor([&] { return home.isLoaded(); }, kWaitMs));
    EXPECT_TRUE(app->remoteConfig().answered);
    EXPECT_EQ(app->remoteConfig().version, kProductVersion) << "answered locally: never an update";

    QLineEdit* box = window().toolbar()->searchBox();
    box->setText("林夏");
    QTest::keyClick(box, Qt::Key_Return);
    SearchPage& search = page<SearchPage>(Pages::kSearch);
    IconList* songs = search.songList();
    ASSERT_TRUE(QTest::qWaitFor([&] { return songs->itemCount() > 0; }, kWaitMs));
    const auto& ids = search.songIds();
    const int row = int(std::find(ids.begin(), ids.end(), kSummerLetter) - ids.begin());
    ASSERT_LT(row, songs->itemCount());
    ASSERT_EQ(songStartedBy([&] { QTest::mouseDClick(songs, Qt::LeftButton, {}, songs->itemRect(row).center()); }),
              kSummerLetter);
    EXPECT_EQ(window().findChild<QLabel*>("播放栏_歌曲名")->text(), "夏日来信");
    QListWidget* lyrics = window().nowPlayingView()->lyricList();
    ASSERT_GT(lyrics->count(), 4);
    for (int i = 0; i < lyrics->count(); ++i)
        EXPECT_FALSE(lyrics->item(i)->text().contains('\\')) << "no JSON escape shows";

    // The play bar's MV button offers the stream itself: the service has no
    // web player page.
    ASSERT_NE(app->player()->mvId(), "0");
    app->mvPlayback().playInWebPlayer(app->player()->mvId());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app->mvPlayback().pendingMvUrl().empty(); }, kWaitMs));
    EXPECT_TRUE(app->mvPlayback().pendingMvUrl().starts_with(companion()->origin() + "/media/mv/"))
        << app->mvPlayback().pendingMvUrl();
    if (QWidget* dialog = MessageBoxWindow::dialog()) delete dialog;

    DiscoverPage& discover = page<DiscoverPage>(Pages::kDiscover);
    ASSERT_TRUE(QTest::qWaitFor([&] { return discover.playlistList()->isEnabled() && !discover.playlistIds().empty(); },
                                kWaitMs));
    window().runToolbarAction(ToolbarPage::Discover);
    QTest::mouseClick(discover.playlistList(), Qt::LeftButton, {}, discover.playlistList()->itemRect(0).center());
    PlaylistPage& playlist = page<PlaylistPage>(Pages::kPlaylist);
    TrackList* tracks = playlist.trackList();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tracks->isLoading() && tracks->itemCount() > 2; }, kWaitMs));
    EXPECT_EQ(songStartedBy([&] { QTest::mouseDClick(tracks, Qt::LeftButton, {}, tracks->itemRect(2).center()); }),
              playlist.songIds().at(2));

    EXPECT_TRUE(saw("/eapi/search/get"));
    EXPECT_TRUE(saw("/eapi/song/enhance/player/url/v1"));
    EXPECT_TRUE(saw("/eapi/song/lyric"));
    EXPECT_TRUE(saw("/weapi/v3/song/detail"));
    EXPECT_TRUE(saw("/eapi/v6/playlist/detail"));
    EXPECT_EQ(gatewayRequests(), std::vector<std::string>{}) << "no maker path, no heartbeat, no gateway path";
}

TEST_F(DirectFlowTest, AQrLoginFillsTheLibraryAndSubscribingReachesTheService) {
    LoginPage& login = page<LoginPage>(Pages::kLogin);
    window().toolbar()->loginLabel()->click();
    ASSERT_EQ(window().currentPage(), Pages::kLogin);
    Account& account = app->account();
    ASSERT_TRUE(waitForQrCode(account));
    EXPECT_EQ(login.qrPicture()->picture().width(), LoginPage::kQrSize) << "drawn here";

    EXPECT_EQ(pollQrOnce(account), QrLoginState::WaitingScan);
    EXPECT_EQ(login.status()->text(), "等待扫码");
    const std::string key = account.qrKey();
    HttpRequest scan;
    scan.url = companion()->origin() + "/demo/scan/" + key;
    HttpClient::fetchService(scan);
    EXPECT_EQ(pollQrOnce(account), QrLoginState::WaitingConfirm);
    EXPECT_EQ(login.status()->text(), "扫码成功，待确认");
    EXPECT_EQ(pollQrOnce(account), QrLoginState::LoggedIn);
    EXPECT_EQ(login.status()->text(), "登录成功");
    const std::string cookie = app->accountCookie();
    EXPECT_NE(cookie.find("MUSIC_U="), std::string::npos);
    EXPECT_EQ(AppSettings(app->paths().settingsPath).read("User", "Cookie"), cookie);

    LibraryPage& library = page<LibraryPage>(Pages::kMusicLibrary);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !library.libraryIds().empty(); }, kWaitMs));
    EXPECT_TRUE(saw("/weapi/nuser/account/get"));
    EXPECT_TRUE(saw("/weapi/user/playlist"));

    // Subscribing a playlist the account does not hold yet: the library lists it without being asked.
    const std::size_t before = library.libraryIds().size();
    PlaylistPage& playlist = page<PlaylistPage>(Pages::kPlaylist);
    window().router().openPlaylist(std::to_string(demo::kSummerSoundsPlaylist), Place::Home);
    playlist.subscribeShown(SubscribeAction::Subscribe);
    ASSERT_TRUE(QTest::qWaitFor([&] { return saw("/eapi/playlist/subscribe"); }, kWaitMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return library.libraryIds().size() == before + 1; }, kWaitMs));
}

TEST_F(DirectFlowTest, TheServiceGroupMovesTheRunningProgramAndIsKept) {
    SettingsPage& settings = page<SettingsPage>(Pages::kSettings);
    ServiceSettingsGroup* group = settings.serviceGroup();
    // The environment's target stands for the way the settings choose.
    EXPECT_TRUE(group->directButton()->isChecked());

    companion()->clearSeenRequests();
    // The demo: the companion at the default origin if one runs, else none
    // (no companion lies beside the program here); either way the choice is
    // kept.
    group->demoButton()->click();
    EXPECT_EQ(ServiceChoice::read(AppSettings(app->paths().settingsPath)).way, ServiceWay::Demo);
    group->directButton()->click();
    EXPECT_EQ(ServiceChoice::read(AppSettings(app->paths().settingsPath)).way, ServiceWay::Direct);
    HomePage& home = page<HomePage>(Pages::kHome);
    ASSERT_TRUE(QTest::qWaitFor([&] { return home.isLoaded() && saw("/eapi/v2/banner/get"); }, kWaitMs))
        << "the pages load again through the service's own forms";
}

}  // namespace
