// The program through the relay, end to end: the demo catalogue stands in
// for a self-hosted API server (it answers that server's song/url/v1 and
// login/qr/* routes too), a relay sits in front of it, and the program is
// pointed at the relay alone. Search, play with lyrics, a playlist, a QR
// login and the library it fills all work through it; pictures and audio
// come straight from the URLs the upstream names.
#include "QrLoginSteps.h"
#include "api/CloudApiClient.h"
#include "app/Application.h"
#include "app/tests/StartedApplication.h"
#include "player/Player.h"
#include "ui/lists/IconList.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/DiscoverPage.h"
#include "ui/pages/LibraryPage.h"
#include "ui/pages/LoginPage.h"
#include "ui/pages/PlaylistPage.h"
#include "ui/pages/SearchPage.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/DesktopLyricsWindow.h"
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
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

namespace {

using namespace DemoSongs;

constexpr int kWaitMs = 20000;

class RelayFlowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        HttpClient::globalInit();
        upstream() = std::make_unique<DemoServer>(DemoServer::testOptions(), [](const std::string&) {});
        ASSERT_TRUE(upstream()->start());
        ServerOptions options = DemoServer::testOptions();
        options.upstream = upstream()->origin();
        relay() = std::make_unique<DemoServer>(options, [](const std::string&) {});
        ASSERT_TRUE(relay()->start());
    }
    static void TearDownTestSuite() {
        relay().reset();
        upstream().reset();
    }
    // The demo catalogue in the API server's place.
    static std::unique_ptr<DemoServer>& upstream() {
        static std::unique_ptr<DemoServer> running;
        return running;
    }
    static std::unique_ptr<DemoServer>& relay() {
        static std::unique_ptr<DemoServer> running;
        return running;
    }

    RelayFlowTest() {
        app = std::make_unique<Application>(documents.path().string(), program.path().string(),
                                            ServiceHosts::allAt(relay()->origin()));
        app->setExitHandler([] {});
        EXPECT_TRUE(startAndWait(*app)) << "start-up ends";
    }
    ~RelayFlowTest() override {
        if (QWidget* dialog = MessageBoxWindow::dialog()) delete dialog;
    }

    MainWindow& window() const { return *app->mainWindow(); }
    template <typename P>
    P& page(int index) const {
        return *static_cast<P*>(window().page(index));
    }
    QString text(const char* labelName) const {
        return window().findChild<QLabel*>(QString::fromUtf8(labelName))->text();
    }
    std::string songStartedBy(const std::function<void()>& action) {
        QSignalSpy started(app->player(), &Player::songStarted);
        action();
        if (started.isEmpty() && !started.wait(kWaitMs)) return {};
        return started.takeLast().at(0).value<std::string>();
    }
    // Whether `server` saw a request whose target starts with `prefix`.
    static bool saw(const DemoServer& server, const std::string& prefix) {
        for (const SeenRequest& seen : server.seenRequests())
            if (seen.target.starts_with(prefix)) return true;
        return false;
    }

    TempDir documents, program;
    std::unique_ptr<Application> app;
};

TEST_F(RelayFlowTest, ASearchedSongPlaysWithItsLyricsAndAPlaylistPlaysToo) {
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
    EXPECT_EQ(text("播放栏_歌曲名"), "夏日来信");
    EXPECT_EQ(text("播放栏_歌手"), "林夏");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return window().findChild<PictureBox*>("播放栏_海报")->picture().width() == 640; }, kWaitMs));

    QListWidget* lyrics = window().nowPlayingView()->lyricList();
    ASSERT_GT(lyrics->count(), 4);
    // The user drags the progress handle to 00:09 and lets go.
    auto* progress = window().findChild<QSlider*>("播放栏_进度条");
    progress->setSliderDown(true);
    progress->setSliderPosition(9);
    progress->setSliderDown(false);
    EXPECT_EQ(app->desktopLyrics()->text(), "寄给那年夏天的你\r\nAnd send it to you of that summer");

    DiscoverPage& discover = page<DiscoverPage>(Pages::kDiscover);
    const std::string summerSounds = std::to_string(demo::kSummerSoundsPlaylist);
    ASSERT_TRUE(QTest::qWaitFor([&] { return discover.playlistList()->isEnabled() && !discover.playlistIds().empty(); },
                                kWaitMs));
    const auto& shown = discover.playlistIds();
    const int item = int(std::find(shown.begin(), shown.end(), summerSounds) - shown.begin());
    ASSERT_LT(item, int(shown.size()));
    window().runToolbarAction(ToolbarPage::Discover);
    QTest::mouseClick(discover.playlistList(), Qt::LeftButton, {}, discover.playlistList()->itemRect(item).center());
    PlaylistPage& playlist = page<PlaylistPage>(Pages::kPlaylist);
    TrackList* tracks = playlist.trackList();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tracks->isLoading() && tracks->itemCount() > 2; }, kWaitMs));
    EXPECT_EQ(songStartedBy([&] { QTest::mouseDClick(tracks, Qt::LeftButton, {}, tracks->itemRect(2).center()); }),
              playlist.songIds().at(2));

    // The song URLs came from the upstream's route, the audio straight from the upstream.
    EXPECT_TRUE(saw(*upstream(), "/song/url/v1?id=" + kSummerLetter + "&level=exhigh"));
    EXPECT_TRUE(saw(*upstream(), "/media/audio/"));
    EXPECT_FALSE(saw(*relay(), "/media/audio/"));
}

TEST_F(RelayFlowTest, AQrLoginThroughTheRelayFillsTheLibrary) {
    LoginPage& login = page<LoginPage>(Pages::kLogin);
    window().toolbar()->loginLabel()->click();
    ASSERT_EQ(window().currentPage(), Pages::kLogin);
    Account& account = app->account();
    ASSERT_TRUE(waitForQrCode(account));
    EXPECT_EQ(login.qrPicture()->picture().width(), LoginPage::kQrSize);
    EXPECT_TRUE(saw(*relay(), "/lokpay/qrcode.php")) << "the relay draws the QR picture itself";

    EXPECT_EQ(pollQrOnce(account), QrLoginState::WaitingScan);
    EXPECT_EQ(login.status()->text(), "等待扫码");
    const std::string key = account.qrKey();
    HttpRequest scan;
    scan.url = upstream()->origin() + "/demo/scan/" + key;
    HttpClient::fetchService(scan);
    EXPECT_EQ(pollQrOnce(account), QrLoginState::WaitingConfirm);
    EXPECT_EQ(login.status()->text(), "扫码成功，待确认");
    EXPECT_EQ(pollQrOnce(account), QrLoginState::LoggedIn);
    EXPECT_EQ(login.status()->text(), "登录成功");
    EXPECT_TRUE(saw(*upstream(), "/login/qr/check?key=" + key));
    const std::string cookie = app->accountCookie();
    ASSERT_FALSE(cookie.empty());

    const CloudApiClient client(ServiceHosts::allAt(relay()->origin()));
    const AccountProfile profile = client.fetchAccount(cookie);
    ASSERT_FALSE(profile.userId.empty());
    const size_t count = client.fetchUserPlaylists(profile.userId, cookie).size();
    ASSERT_GT(count, 0u);
    LibraryPage& library = page<LibraryPage>(Pages::kMusicLibrary);
    ASSERT_TRUE(QTest::qWaitFor([&] { return library.libraryIds().size() == count; }, kWaitMs));
    EXPECT_EQ(library.heading()->text().toStdString(), profile.nickname + "的音乐库");
    EXPECT_FALSE(library.avatar()->picture().isNull());
}

}  // namespace
