// Searching and playing, end to end: the program started against the
// companion server, songs played from the search page, the queue and the
// play modes, lyrics in the now-playing view and on the desktop.
#include "base/AppSettings.h"
#include "app/Application.h"
#include "ui/MessageBoxWindow.h"
#include "ui/DesktopLyricsWindow.h"
#include "net/HttpClient.h"
#include "ui/PlayBar.h"
#include "app/PlayerController.h"
#include "audio/StreamActivity.h"
#include "server/DemoServer.h"
#include "server/media/AudioClips.h"
#include "ui/IconList.h"
#include "ui/MainWindow.h"
#include "ui/NowPlayingView.h"
#include "ui/PictureBox.h"
#include "ui/pages/SearchPage.h"
#include "ui/Toolbar.h"

#include "TempDir.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Songs of the demo catalogue.
const std::string kSummerLetter = "1900001001";  // 夏日来信 by 林夏, 33 s, has an MV
const std::string kWindyStreet = "1900001002";   // 风吹过的街 by 林夏, 24 s, no MV
const std::string kGoodNight = "1900001003";     // 晚安，城市 by 林夏
const std::string kNoStream = "1900001012";      // 无人知晓: the service has no stream for it
const std::string kUnlicensed = "1900001017";    // 遗失的旋律: streams, but the availability check says no
constexpr int kSummerLetterClip = 3;

constexpr int kPlayTimeoutMs = 20000;

class PlayFlowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { startServer(DemoServer::testOptions()); }
    static void startServer(const ServerOptions& options) {
        HttpClient::globalInit();
        server_ = std::make_unique<DemoServer>(options);
        ASSERT_TRUE(server_->start());
    }
    static void TearDownTestSuite() { server_.reset(); }

    PlayFlowTest() {
        app = std::make_unique<Application>(documents.path().string(), program.path().string(),
                                            ServiceHosts::allAt(server_->origin()));
        app->start();
    }

    template <typename T = QWidget>
    T* control(const char* name) const {
        T* found = app->mainWindow()->findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString text(const char* labelName) const { return control<QLabel>(labelName)->text(); }
    PlayerController& player() const { return *app->player(); }
    AudioEngine& engine() const { return app->audioEngine(); }
    SearchPage& searchPage() const {
        return *static_cast<SearchPage*>(app->mainWindow()->page(Pages::kSearch));
    }

    // Plays a song as a song list would and returns once it sounds.
    void play(const std::string& id) {
        QSignalSpy started(&player(), &PlayerController::songStarted);
        app->mainWindow()->requestPlay(id);
        ASSERT_TRUE(started.wait(kPlayTimeoutMs)) << "song " << id << " did not start";
    }

    // Runs `action` and returns the id of the song that started after it.
    std::string songStartedBy(const std::function<void()>& action) {
        QSignalSpy started(&player(), &PlayerController::songStarted);
        action();
        if (started.isEmpty() && !started.wait(kPlayTimeoutMs)) return {};
        return started.takeLast().at(0).value<std::string>();
    }

    void chooseMode(const char* buttonName) { control<QPushButton>(buttonName)->click(); }

    // Moves the progress slider as the user does; the stream seeks there.
    void seekTo(int seconds) { control<QSlider>("播放栏_进度条")->setValue(seconds); }

    int streamsIn(int activity) const {
        int count = 0;
        for (AudioEngine::Handle handle = 1; handle < 200; ++handle)
            if (engine().isActive(handle) == activity) ++count;
        return count;
    }
    int playingStreams() const { return streamsIn(StreamActivity::kPlaying); }

    static std::unique_ptr<DemoServer> server_;
    TempDir documents, program;
    std::unique_ptr<Application> app;
};

std::unique_ptr<DemoServer> PlayFlowTest::server_;

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

    std::string started = songStartedBy(
        [&] { QTest::mouseDClick(songs, Qt::LeftButton, {}, songs->itemRect(row).center()); });
    ASSERT_EQ(started, kSummerLetter);

    EXPECT_EQ(text("播放栏_歌曲名"), "夏日来信");
    EXPECT_EQ(text("播放栏_歌手"), "林夏");
    EXPECT_EQ(text("大屏_歌名"), "夏日来信 - 林夏");
    const QImage cover = control<PictureBox>("播放栏_海报")->picture();
    EXPECT_EQ(cover.size(), QSize(640, 640)) << "the album picture, not the placeholder";
    EXPECT_EQ(control<PictureBox>("大屏_封面")->picture(), cover);
    EXPECT_FALSE(app->mainWindow()->nowPlayingView()->backdrop().isNull());

    // The stream's length is the recording's, give or take the encoder's padding.
    const int clipSeconds = audioClips()[kSummerLetterClip].seconds;
    EXPECT_GE(player().songSeconds(), clipSeconds - 1);
    EXPECT_LE(player().songSeconds(), clipSeconds);
    EXPECT_EQ(text("播放栏_总时长"), QString("00:%1").arg(player().songSeconds()));
    EXPECT_EQ(control<QSlider>("播放栏_进度条")->maximum(), player().songSeconds() + 1);

    EXPECT_TRUE(control("播放栏_MV")->isVisible());
    EXPECT_EQ(player().currentMvId(), "10900001");
    EXPECT_EQ(engine().isActive(player().currentStream()), StreamActivity::kPlaying);
    EXPECT_TRUE(app->playBar()->showsPauseIcon());
    EXPECT_EQ(app->playBar()->playTimer().interval(), 1000);
    EXPECT_EQ(player().lyricTimer().interval(), 500);
    EXPECT_EQ(player().endCheckTimer().interval(), 1000);
    for (const char* name : {"播放栏_播放_上一首", "播放栏_播放_下一首", "播放栏_海报", "图标列表框搜索歌曲"})
        EXPECT_TRUE(control(name)->isEnabled()) << name << " is enabled again once the song plays";

    play(kWindyStreet);
    EXPECT_EQ(text("播放栏_歌曲名"), "风吹过的街");
    EXPECT_FALSE(control("播放栏_MV")->isVisible()) << "a song without an MV hides the MV button";
    EXPECT_EQ(player().queue().ids(), (std::vector<std::string>{kSummerLetter, kWindyStreet}));

    play(kSummerLetter);
    EXPECT_EQ(player().queue().ids(), (std::vector<std::string>{kSummerLetter, kWindyStreet}))
        << "a song played again keeps its place in the queue";
}

TEST_F(PlayFlowTest, ASongWithoutAStreamShowsTheNoticeAndListModeMovesOn) {
    play(kSummerLetter);
    play(kWindyStreet);
    chooseMode("播放栏_列表");
    EXPECT_EQ(AppSettings(app->paths().settingsPath).read("Music", "Mode"), "List");

    QSignalSpy failed(&player(), &PlayerController::songFailed);
    std::string next = songStartedBy([&] { app->mainWindow()->requestPlay(kNoStream); });
    ASSERT_EQ(failed.size(), 1);
    QWidget* notice = MessageBoxWindow::dialog();
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->findChild<QLabel*>("标签_提示框标题")->text(), "播放失败啦");
    EXPECT_EQ(notice->findChild<QPushButton*>("按钮_确定")->text(), "接受事实");
    EXPECT_FALSE(notice->findChild<QPushButton*>("按钮_取消")->isVisible());
    EXPECT_EQ(next, kWindyStreet) << "the queue moves from position 1 to the next song";
    EXPECT_EQ(player().queue().position(), 2);
    EXPECT_EQ(player().queue().ids(), (std::vector<std::string>{kSummerLetter, kWindyStreet}))
        << "the failed song is not queued";
    EXPECT_EQ(playingStreams(), 1);
}

TEST_F(PlayFlowTest, ASongWithoutAStreamStopsThePreviousOneAndKeepsItsTitleOutsideListMode) {
    play(kSummerLetter);
    chooseMode("播放栏_单曲");
    QSignalSpy failed(&player(), &PlayerController::songFailed);
    app->mainWindow()->requestPlay(kNoStream);
    ASSERT_TRUE(failed.wait(kPlayTimeoutMs));
    EXPECT_EQ(playingStreams(), 0) << "the previous song is stopped";
    EXPECT_EQ(text("播放栏_歌曲名"), "夏日来信");
    app->playBar()->tickPlayTimer();
    EXPECT_FALSE(app->playBar()->showsPauseIcon()) << "the next tick shows the stopped state";
}

TEST_F(PlayFlowTest, NextAndPreviousWrapAroundTheQueue) {
    for (const std::string& id : {kSummerLetter, kWindyStreet, kGoodNight}) play(id);
    chooseMode("播放栏_列表");
    player().queue().setPosition(3);

    EXPECT_EQ(songStartedBy([&] { control<QPushButton>("播放栏_播放_下一首")->click(); }), kSummerLetter);
    EXPECT_EQ(player().queue().position(), 1);
    EXPECT_EQ(player().songIdToPlay(), kSummerLetter);

    EXPECT_EQ(songStartedBy([&] { control<QPushButton>("播放栏_播放_上一首")->click(); }), kGoodNight);
    EXPECT_EQ(player().queue().position(), 3);
    EXPECT_EQ(text("播放栏_歌曲名"), "晚安，城市");
    EXPECT_EQ(playingStreams(), 1);
}

TEST_F(PlayFlowTest, EndOfSongFollowsThePlayMode) {
    play(kSummerLetter);
    play(kWindyStreet);
    chooseMode("播放栏_单曲");
    auto* progress = control<QSlider>("播放栏_进度条");
    const AudioEngine::Handle stream = player().currentStream();
    seekTo(10);
    app->playBar()->setProgress(progress->maximum());

    player().checkSongEnd();
    EXPECT_EQ(progress->value(), 0);
    EXPECT_EQ(player().currentStream(), stream) << "the same stream plays again";
    EXPECT_EQ(engine().isActive(stream), StreamActivity::kPlaying);
    EXPECT_LT(engine().bytesToSeconds(stream, engine().getPosition(stream)), 5.0) << "from its start";
    EXPECT_EQ(player().lyricTimer().interval(), 400);
    EXPECT_EQ(player().queue().position(), 1);

    chooseMode("播放栏_列表");
    app->playBar()->setProgress(progress->maximum());
    EXPECT_EQ(songStartedBy([&] { player().checkSongEnd(); }), kWindyStreet);
    EXPECT_EQ(player().queue().position(), 2);

    chooseMode("播放栏_随机");
    app->playBar()->setProgress(progress->maximum());
    const std::string drawn = songStartedBy([&] { player().checkSongEnd(); });
    EXPECT_TRUE(drawn == kSummerLetter || drawn == kWindyStreet) << drawn;
    EXPECT_EQ(player().queue().position(), 2) << "a random pick leaves the position where it was";
}

TEST_F(PlayFlowTest, WhenNoQueuedSongIsAvailableTheEndedSongStaysPaused) {
    play(kUnlicensed);
    chooseMode("播放栏_列表");
    app->playBar()->setProgress(control<QSlider>("播放栏_进度条")->maximum());
    QSignalSpy started(&player(), &PlayerController::songStarted);
    player().checkSongEnd();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app->playBar()->showsPauseIcon(); }, kPlayTimeoutMs));
    EXPECT_FALSE(app->playBar()->playTimer().isActive()) << "the slider stops counting";
    EXPECT_EQ(engine().isActive(player().currentStream()), StreamActivity::kPaused);
    EXPECT_TRUE(started.isEmpty());
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

TEST_F(PlayFlowTest, TwoQuickPlaysLeaveExactlyOneSongSounding) {
    QSignalSpy started(&player(), &PlayerController::songStarted);
    app->mainWindow()->requestPlay(kSummerLetter);
    app->mainWindow()->requestPlay(kWindyStreet);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !started.isEmpty() && started.last().at(0).value<std::string>() == kWindyStreet; },
        kPlayTimeoutMs));
    QTest::qWait(200);
    EXPECT_EQ(playingStreams(), 1);
    EXPECT_EQ(text("播放栏_歌曲名"), "风吹过的街");
    EXPECT_EQ(player().songIdToPlay(), kWindyStreet);
}

// Every answer of the service takes a while, so a second click lands while
// the first song is still being fetched.
class SlowServicePlayFlowTest : public PlayFlowTest {
protected:
    static void SetUpTestSuite() {
        ServerOptions options = DemoServer::testOptions();
        options.latencyMs = 150;
        startServer(options);
    }
};

TEST_F(SlowServicePlayFlowTest, APlayRequestedWhileAnotherLoadsReplacesIt) {
    QSignalSpy started(&player(), &PlayerController::songStarted);
    app->mainWindow()->requestPlay(kSummerLetter);
    QTest::qWait(400);
    app->mainWindow()->requestPlay(kWindyStreet);
    QTest::qWait(250);
    app->mainWindow()->requestPlay(kGoodNight);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !started.isEmpty(); }, kPlayTimeoutMs));
    QTest::qWait(1000);

    ASSERT_EQ(started.size(), 1) << "the songs asked for before the last never start";
    EXPECT_EQ(started.first().at(0).value<std::string>(), kGoodNight);
    EXPECT_EQ(text("播放栏_歌曲名"), "晚安，城市");
    EXPECT_EQ(playingStreams(), 1);
    EXPECT_EQ(streamsIn(StreamActivity::kPaused) + streamsIn(StreamActivity::kStalled), 0)
        << "no stream of a replaced song is left behind";
    for (const char* name : {"播放栏_播放_上一首", "播放栏_播放_下一首", "播放栏_海报", "图标列表框搜索歌曲"})
        EXPECT_TRUE(control(name)->isEnabled()) << name;
}

}  // namespace
