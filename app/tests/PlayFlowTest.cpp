// Searching and playing, end to end: the program started against the
// companion server, songs played from the search page and from playlists,
// the queue and the play modes, lyrics in the now-playing view and on the
// desktop.
#include "app/Application.h"
#include "app/tests/StartedApplication.h"
#include "audio/StreamActivity.h"
#include "base/AppSettings.h"
#include "base/FirstRunSetup.h"
#include "browse/Account.h"
#include "player/Player.h"
#include "ui/MvPlayback.h"
#include "ui/lists/IconList.h"
#include "ui/lists/TrackList.h"
#include "ui/pages/ChartsPage.h"
#include "ui/pages/DiscoverPage.h"
#include "ui/pages/PlaylistPage.h"
#include "ui/pages/SearchPage.h"
#include "ui/widgets/FlatButton.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/PlayBar.h"
#include "ui/widgets/Toolbar.h"
#include "ui/windows/DesktopLyricsWindow.h"
#include "ui/windows/MainWindow.h"
#include "ui/windows/MessageBoxWindow.h"
#include "ui/windows/NowPlayingView.h"
#include "ui/windows/OperationMenu.h"

#include "server/catalogue/DemoBuilders.h"

#include "DemoCompanion.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTimer>

namespace {

using namespace DemoSongs;

constexpr int kPlayTimeoutMs = 20000;

class PlayFlowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { DemoCompanion::start(); }
    static void TearDownTestSuite() { DemoCompanion::stop(); }

    PlayFlowTest() {
        app = std::make_unique<Application>(documents.path().string(), program.path().string(),
                                            ServiceHosts::allAt(DemoCompanion::origin()));
        EXPECT_TRUE(startAndWait(*app)) << "start-up ends";
    }

    template <typename T = QWidget>
    T* control(const char* name) const {
        T* found = app->mainWindow()->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* labelName) const { return control<QLabel>(labelName)->text(); }
    Player& player() const { return *app->player(); }
    SearchPage& searchPage() const { return *static_cast<SearchPage*>(app->mainWindow()->page(Pages::kSearch)); }
    template <typename P>
    P& page(int index) const {
        return *static_cast<P*>(app->mainWindow()->page(index));
    }

    // Plays a song as a song list would and returns once it sounds.
    void play(const std::string& id) {
        QSignalSpy started(&player(), &Player::songStarted);
        app->mainWindow()->router().play(id);
        ASSERT_TRUE(started.wait(kPlayTimeoutMs)) << "song " << id << " did not start";
    }

    // Runs `action` and returns the id of the song that started after it.
    std::string songStartedBy(const std::function<void()>& action) {
        QSignalSpy started(&player(), &Player::songStarted);
        action();
        if (started.isEmpty() && !started.wait(kPlayTimeoutMs)) return {};
        return started.takeLast().at(0).value<std::string>();
    }

    void chooseMode(const char* buttonName) { control<QPushButton>(buttonName)->click(); }

    // Moves the progress slider as the user does; the stream seeks there.
    // As the user's drag of the progress handle does: pressed, moved, let go.
    void seekTo(int seconds) {
        auto* progress = control<QSlider>("播放栏_进度条");
        progress->setSliderDown(true);
        progress->setSliderPosition(seconds);
        progress->setSliderDown(false);
    }

    TempDir documents, program;
    std::unique_ptr<Application> app;
};

TEST_F(PlayFlowTest, ASongFoundBySearchPlaysWithItsDetailsCoverAndLength) {
    QLineEdit* box = app->mainWindow()->toolbar()->searchBox();
    box->setText("林夏");
    QTest::keyClick(box, Qt::Key_Return);
    IconList* songs = searchPage().songList();
    ASSERT_TRUE(QTest::qWaitFor([&] { return songs->itemCount() > 0; }, kPlayTimeoutMs));
    const auto& ids = searchPage().songIds();
    const int row = int(std::find(ids.begin(), ids.end(), kSummerLetter) - ids.begin());
    ASSERT_LT(row, songs->itemCount());
    EXPECT_EQ(songs->itemText(row, IconText::Main), "夏日来信");

    std::string started =
        songStartedBy([&] { QTest::mouseDClick(songs, Qt::LeftButton, {}, songs->itemRect(row).center()); });
    ASSERT_EQ(started, kSummerLetter);

    EXPECT_EQ(text("播放栏_歌曲名"), "夏日来信");
    EXPECT_EQ(text("播放栏_歌手"), "林夏");
    EXPECT_EQ(text("大屏_歌名"), "夏日来信 - 林夏");
    // The cover comes in on its own, after the details that name it.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return control<PictureBox>("播放栏_海报")->picture().width() == 640; }, kPlayTimeoutMs))
        << "the album picture, not the placeholder";
    const QImage cover = control<PictureBox>("播放栏_海报")->picture();
    EXPECT_EQ(control<PictureBox>("大屏_封面")->picture(), cover);
    EXPECT_FALSE(app->mainWindow()->nowPlayingView()->backdrop().isNull());

    EXPECT_EQ(text("播放栏_总时长"), QString("00:%1").arg(player().lengthSeconds()));
    EXPECT_EQ(control<QSlider>("播放栏_进度条")->maximum(), player().lengthSeconds() + 1);
    EXPECT_TRUE(control("播放栏_MV")->isVisible());
    EXPECT_TRUE(app->playBar()->showsPauseIcon());
    for (const char* name : {"播放栏_播放_上一首", "播放栏_播放_下一首", "播放栏_海报", "图标列表框搜索歌曲"})
        EXPECT_TRUE(control(name)->isEnabled()) << name << " is enabled again once the song plays";

    play(kWindyStreet);
    EXPECT_EQ(text("播放栏_歌曲名"), "风吹过的街");
    EXPECT_FALSE(control("播放栏_MV")->isVisible()) << "a song without an MV hides the MV button";
}

// The MV button offers the playing song's MV through the web player page.
TEST_F(PlayFlowTest, TheMvButtonOffersTheSongsMvInTheWebPlayer) {
    play(kSummerLetter);
    control<QPushButton>("播放栏_MV")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app->mvPlayback().pendingMvUrl().empty(); }, kPlayTimeoutMs));
    const std::string& offered = app->mvPlayback().pendingMvUrl();
    const std::string page = DemoCompanion::origin() + "/player/?url=" + DemoCompanion::origin() + "/media/mv/" +
                             player().mvId() + ".mp4&wsSecret=";
    EXPECT_TRUE(offered.starts_with(page)) << offered;
    EXPECT_NE(offered.find("%26wsTime="), std::string::npos) << offered;
    ASSERT_NE(MessageBoxWindow::dialog(), nullptr);
    EXPECT_NE(app->mvPlayback().hostWindow(), nullptr);
    delete MessageBoxWindow::dialog();
}

TEST_F(PlayFlowTest, ASongWithoutAStreamShowsTheNoticeAndLeavesTheSongBeforePlayable) {
    play(kSummerLetter);
    QSignalSpy failed(&player(), &Player::songFailed);
    app->mainWindow()->router().play(kNoStream);
    ASSERT_TRUE(failed.wait(kPlayTimeoutMs));
    QWidget* notice = MessageBoxWindow::dialog();
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->findChild<QLabel*>("标签_提示框标题")->text(), "播放失败啦");
    EXPECT_EQ(notice->findChild<QPushButton*>("按钮_确定")->text(), "接受事实");
    EXPECT_FALSE(notice->findChild<QPushButton*>("按钮_取消")->isVisible());
    EXPECT_EQ(text("播放栏_歌曲名"), "夏日来信") << "the bar keeps the last song";
    PlayBar& bar = *app->playBar();
    EXPECT_FALSE(bar.showsPauseIcon()) << "it is paused, ready to play on";
    delete notice;
    control<QPushButton>("播放栏_播放")->click();
    EXPECT_TRUE(bar.showsPauseIcon());
    EXPECT_EQ(app->audioEngine().isActive(player().currentStream()), StreamActivity::kPlaying);
}

TEST_F(PlayFlowTest, TheModeButtonsChooseThePlayersModeAndWriteIt) {
    chooseMode("播放栏_列表");
    EXPECT_EQ(player().mode(), PlayMode::List);
    EXPECT_EQ(AppSettings(app->paths().settingsPath).read("Music", "Mode"), "List");
}

TEST_F(PlayFlowTest, LyricsFollowTheSecondPlayingAndJumpWhenTheUserSeeks) {
    play(kSummerLetter);
    QListWidget* list = app->mainWindow()->nowPlayingView()->lyricList();
    ASSERT_GT(list->count(), 4);
    EXPECT_EQ(list->item(0)->sizeHint().height(), 75) << "the song has a translation";

    // The demo's lines come about every three seconds from 00:01 on; the
    // fourth line of its verse starts at 00:09.
    const int before = list->y();
    seekTo(9);
    EXPECT_EQ(app->desktopLyrics()->text(), "寄给那年夏天的你\r\nAnd send it to you of that summer");
    ASSERT_NE(list->currentItem(), nullptr);
    EXPECT_EQ(list->currentItem()->text(), "寄给那年夏天的你\nAnd send it to you of that summer");
    const int selected = list->currentRow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->y() == 35 - selected * 75; }, 2000))
        << "the list scrolls the line to the top, from " << before;

    seekTo(1);
    EXPECT_EQ(app->desktopLyrics()->text(), "晚风吹过安静的街\r\nThe evening wind crosses the quiet street");
    EXPECT_LT(list->currentRow(), selected);
}

// The paused stream is a clock that stands still: the now-playing list's
// selected line is filled exactly as far as the words' times say at the
// position, and moves on with it.
TEST_F(PlayFlowTest, TheSelectedLyricLineFillsAsFarAsTheAudioPositionHasSungIt) {
    play(kSummerLetter);
    NowPlayingView& view = *app->mainWindow()->nowPlayingView();
    const WordLyrics& words = player().wordLyrics();
    ASSERT_GT(words.lines().size(), 6u) << "the demo song has word-timed lyrics";
    player().holdForSeek();
    for (int line : {2, 4, 6}) {
        SCOPED_TRACE(line);
        const SungLine& sung = words.lines()[size_t(line)];
        // The line lyric's second selects the line; a second, then two, into
        // it the words have filled part of it (the player seeks by whole seconds).
        player().seek(sung.startMs / 1000);
        const QListWidgetItem* selected = view.lyricList()->currentItem();
        ASSERT_NE(selected, nullptr);
        EXPECT_TRUE(selected->text().startsWith(QString::fromStdString(sung.text())));
        double before = 0;
        for (int second : {sung.startMs / 1000 + 1, sung.startMs / 1000 + 2}) {
            const int ms = second * 1000;
            ASSERT_EQ(words.lineAt(ms), line);
            player().seek(second);
            ASSERT_TRUE(view.sungPart().has_value()) << "at " << second << " s";
            EXPECT_DOUBLE_EQ(*view.sungPart(), words.fillAt(line, ms));
            EXPECT_GT(*view.sungPart(), before);
            before = *view.sungPart();
        }
    }
    player().seek(0);
    EXPECT_EQ(view.sungPart(), std::nullopt) << "before the first sung line nothing fills";
}

// A run that ended in personal FM, logged in: the next start of the program
// comes back to FM, paused on its song, and the play button plays on in FM.
TEST_F(PlayFlowTest, TheNextStartComesBackToPersonalFmPausedAndPlayPlaysOnInFm) {
    const std::string cookie = DemoCompanion::logIn(CloudApiClient(ServiceHosts::allAt(DemoCompanion::origin())));
    ASSERT_FALSE(cookie.empty());
    const auto startLoggedIn = [&] {
        app.reset();
        AppSettings(makeAppPaths(documents.path().string()).settingsPath).write("User", "Cookie", cookie);
        app = std::make_unique<Application>(documents.path().string(), program.path().string(),
                                            ServiceHosts::allAt(DemoCompanion::origin()));
        ASSERT_TRUE(startAndWait(*app));
        ASSERT_TRUE(app->account().loggedIn());
    };
    startLoggedIn();
    const std::string fmSong = songStartedBy([&] { player().startFm(app->account().cookie()); });
    ASSERT_FALSE(fmSong.empty());
    player().seek(5);
    control<QPushButton>("播放栏_播放")->click();
    ASSERT_FALSE(player().isPlaying());
    const std::string resumePath = app->paths().dataFolder + "listening/resume.json";
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const std::optional<ResumePoint> point = ResumePoint::read(resumePath);
            return point && point->fm && point->songId == fmSong && point->positionSeconds == 5;
        },
        kPlayTimeoutMs))
        << "the run leaves where it stood";

    startLoggedIn();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return player().currentSongId() == fmSong && !player().isLoading(); }, kPlayTimeoutMs));
    EXPECT_TRUE(player().inFm());
    EXPECT_FALSE(player().isPlaying());
    EXPECT_EQ(player().progressTicks(), 5);
    control<QPushButton>("播放栏_播放")->click();
    EXPECT_TRUE(player().isPlaying());
    EXPECT_TRUE(player().inFm());
    EXPECT_NE(songStartedBy([&] { player().next(); }), fmSong) << "next is the stream's next song";
    EXPECT_TRUE(player().inFm());
}

TEST_F(PlayFlowTest, WhileASongLoadsTheSongListWaits) {
    IconList* songs = searchPage().songList();
    QSignalSpy started(&player(), &Player::songStarted);
    app->mainWindow()->router().play(kSummerLetter);
    EXPECT_FALSE(songs->isEnabled());
    EXPECT_FALSE(control("播放栏_播放_下一首")->isEnabled());
    ASSERT_TRUE(started.wait(kPlayTimeoutMs));
    EXPECT_TRUE(songs->isEnabled());
    EXPECT_TRUE(control("播放栏_播放_下一首")->isEnabled());
}

TEST_F(PlayFlowTest, StartUpFillsTheDiscoverListWithItsFirstCategoryAndTheCharts) {
    const CloudApiClient client(ServiceHosts::allAt(DemoCompanion::origin()));
    auto& discover = page<DiscoverPage>(Pages::kDiscover);
    auto& charts = page<ChartsPage>(Pages::kCharts);
    const size_t all = client.fetchAllPlaylists("").size(), toplists = client.fetchToplists().size();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return discover.playlistIds().size() == all && charts.chartIds().size() == toplists; }, kPlayTimeoutMs));
    EXPECT_EQ(discover.category(), DiscoverPage::kAll);
    EXPECT_FALSE(discover.categoryButton(DiscoverPage::kAll)->isEnabled());
    EXPECT_EQ(app->mainWindow()->currentPage(), Pages::kHome);
}

TEST_F(PlayFlowTest, APlaylistsRowsPlayAndItsSongsJoinTheQueueOnceEach) {
    auto& discover = page<DiscoverPage>(Pages::kDiscover);
    auto& playlist = page<PlaylistPage>(Pages::kPlaylist);
    const std::string summerSounds = std::to_string(demo::kSummerSoundsPlaylist);
    ASSERT_TRUE(QTest::qWaitFor([&] { return discover.playlistList()->isEnabled() && !discover.playlistIds().empty(); },
                                kPlayTimeoutMs));
    const auto& shown = discover.playlistIds();
    const int item = int(std::find(shown.begin(), shown.end(), summerSounds) - shown.begin());
    ASSERT_LT(item, int(shown.size()));
    app->mainWindow()->runToolbarAction(ToolbarPage::Discover);
    IconList* playlists = discover.playlistList();
    QTest::mouseClick(playlists, Qt::LeftButton, {}, playlists->itemRect(item).center());
    TrackList* tracks = playlist.trackList();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tracks->isLoading() && tracks->itemCount() > 2; }, kPlayTimeoutMs));
    const ItemIds songs = playlist.songIds();

    const int row = 2;
    EXPECT_EQ(songStartedBy([&] { QTest::mouseDClick(tracks, Qt::LeftButton, {}, tracks->itemRect(row).center()); }),
              songs.at(row));
    EXPECT_EQ(text("播放栏_歌曲名"), tracks->itemText(row, IconText::Main));

    QAction* addToQueue = playlist.operationMenu()->addToQueueItem();
    addToQueue->trigger();
    addToQueue->trigger();
    EXPECT_EQ(player().queue().ids(), songs) << "the row played with its list queued; queued again, nothing is added";
    EXPECT_EQ(player().queue().position(), row + 1);
    EXPECT_EQ(player().songId(), songs.at(row)) << "queueing plays nothing";
}

// Closing down in the middle of things: every task is stopped and joined
// before what it uses goes, which the sanitizers check.
TEST_F(PlayFlowTest, DestroyingTheApplicationMidPlayOrMidFillIsClean) {
    app->mainWindow()->router().play(kSummerLetter);
    app->mainWindow()->toolbar()->searchBox()->setText("林夏");
    searchPage().startSearch();  // its rows start filling
    QTimer::singleShot(0, [&] { app.reset(); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return app == nullptr; }, 5000));
}

}  // namespace
