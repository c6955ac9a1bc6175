// The player against the companion server, without a window: the play flow,
// the queue and the play modes, progress and the end of a song, lyrics,
// superseded plays and a stalled stream.
#include "player/ListeningKeeper.h"
#include "player/LyricSchedule.h"
#include "player/Player.h"

#include "audio/StreamActivity.h"
#include "base/AppSettings.h"
#include "maintenance/MaintenanceRequests.h"
#include "server/media/AudioClips.h"

#include "DemoCompanion.h"
#include "RecordingServer.h"
#include "TempDir.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

namespace {

using namespace DemoSongs;

constexpr int kPlayTimeoutMs = 20000;

class PlayerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { DemoCompanion::start(); }
    static void TearDownTestSuite() { DemoCompanion::stop(); }

    PlayerTest() : PlayerTest(ServiceHosts::allAt(DemoCompanion::origin())) {}
    explicit PlayerTest(const ServiceHosts& hosts) : api(hosts) {
        engine.init(0);
        player = std::make_unique<Player>(api, engine, MaintenanceRequests(hosts).fetchServiceCookie(),
                                          AppSettings(folder.file("config.ini")));
    }

    // Plays a song and returns once it sounds; the timers are then left to
    // the test, which ticks them by hand.
    void play(const std::string& id) {
        ASSERT_EQ(songStartedBy([&] { player->play(id); }), id);
        stopTimers();
    }

    // Runs `action` and returns the id of the song that started after it.
    std::string songStartedBy(const std::function<void()>& action) {
        QSignalSpy started(player.get(), &Player::songStarted);
        action();
        if (started.isEmpty() && !started.wait(kPlayTimeoutMs)) return {};
        return started.takeLast().at(0).value<std::string>();
    }

    void stopTimers() {
        player->playTimer().stop();
        player->lyricTimer().stop();
        player->endCheckTimer().stop();
    }
    void tickToTheEnd() {
        while (player->progressTicks() < player->progressMaximum()) player->tickProgress();
    }

    int streamsIn(int activity) const {
        int count = 0;
        for (AudioEngine::Handle handle = 1; handle < 200; ++handle)
            if (engine.isActive(handle) == activity) ++count;
        return count;
    }
    int playingStreams() const { return streamsIn(StreamActivity::kPlaying); }
    int openStreams() const {
        int count = 0;
        for (AudioEngine::Handle handle = 1; handle < 200; ++handle)
            if (engine.bytesToSeconds(handle, 0) >= 0) ++count;
        return count;
    }

    TempDir folder;
    const CloudApiClient api;
    AudioEngine engine;
    std::unique_ptr<Player> player;
};

TEST_F(PlayerTest, APlayShowsTheSongItsCoverLengthAndMvThenSounds) {
    QSignalSpy songs(player.get(), &Player::songChanged);
    QSignalSpy covers(player.get(), &Player::coverChanged);
    QSignalSpy loading(player.get(), &Player::loadingChanged);
    QSignalSpy mv(player.get(), &Player::mvAvailableChanged);
    play(kSummerLetter);

    ASSERT_EQ(songs.size(), 1);
    EXPECT_EQ(songs.at(0).at(0).toString(), "夏日来信");
    EXPECT_EQ(songs.at(0).at(1).toString(), "林夏");
    EXPECT_EQ(player->artists(), "林夏");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !covers.isEmpty(); }, kPlayTimeoutMs));
    EXPECT_GT(covers.at(0).at(0).toByteArray().size(), 1000) << "the album picture's bytes";
    ASSERT_EQ(loading.size(), 2);
    EXPECT_TRUE(loading.at(0).at(0).toBool());
    EXPECT_FALSE(loading.at(1).at(0).toBool());
    EXPECT_FALSE(player->isLoading());

    // The stream's length is the recording's, give or take the encoder's padding.
    const int clipSeconds = audioClips()[kSummerLetterClip].seconds;
    EXPECT_GE(player->lengthSeconds(), clipSeconds - 1);
    EXPECT_LE(player->lengthSeconds(), clipSeconds);
    EXPECT_EQ(player->progressMaximum(), player->lengthSeconds() + 1);
    EXPECT_EQ(player->mvId(), "10900001");
    EXPECT_TRUE(mv.last().at(0).toBool());
    EXPECT_EQ(engine.isActive(player->currentStream()), StreamActivity::kPlaying);
    EXPECT_TRUE(player->isPlaying());
    EXPECT_GT(player->lyrics().items().size(), 4u);

    play(kWindyStreet);
    EXPECT_EQ(player->title(), "风吹过的街");
    EXPECT_EQ(player->mvId(), "0");
    EXPECT_FALSE(mv.last().at(0).toBool()) << "a song without an MV hides the MV button";
    EXPECT_EQ(player->queue().ids(), (std::vector<std::string>{kSummerLetter, kWindyStreet}));
    EXPECT_EQ(playingStreams(), 1);

    play(kSummerLetter);
    EXPECT_EQ(player->queue().ids(), (std::vector<std::string>{kSummerLetter, kWindyStreet}))
        << "a song played again keeps its place in the queue";
}

TEST_F(PlayerTest, TimersRunAtTheirIntervalsOnceASongStarts) {
    ASSERT_EQ(songStartedBy([&] { player->play(kWindyStreet); }), kWindyStreet);
    const struct {
        QTimer& timer;
        const char* name;
        int interval;
    } timers[] = {{player->playTimer(), "时钟_播放", 1000},
                  {player->lyricTimer(), "时钟_歌词", 0},
                  {player->endCheckTimer(), "时钟_判断", 1000}};
    for (const auto& t : timers) {
        EXPECT_EQ(t.timer.objectName(), QString::fromUtf8(t.name));
        EXPECT_TRUE(t.timer.isActive()) << t.name;
        // The lyric timer is set for the next change of the lyrics instead.
        if (t.interval) {
            EXPECT_EQ(t.timer.interval(), t.interval) << t.name;
        }
    }
    EXPECT_GT(player->lyricTimer().interval(), 0);
    EXPECT_LE(player->lyricTimer().interval(), LyricSchedule::kLongestWaitMs);
}

TEST_F(PlayerTest, ASongWithoutAStreamFailsAndListModeMovesOn) {
    play(kSummerLetter);
    play(kWindyStreet);
    player->setMode(PlayMode::List);
    EXPECT_EQ(AppSettings(folder.file("config.ini")).read("Music", "Mode"), "List");

    QSignalSpy failed(player.get(), &Player::songFailed);
    const std::string next = songStartedBy([&] { player->play(kNoStream); });
    ASSERT_EQ(failed.size(), 1);
    EXPECT_EQ(failed.at(0).at(0).value<std::string>(), kNoStream);
    EXPECT_EQ(next, kSummerLetter) << "the queue moves on from the song that played last, round to the first";
    EXPECT_EQ(player->queue().position(), 1);
    EXPECT_EQ(player->queue().ids(), (std::vector<std::string>{kSummerLetter, kWindyStreet}))
        << "the failed song is not queued";
    EXPECT_EQ(playingStreams(), 1);
}

// Outside List mode nothing else is tried: the song before stays on show,
// paused, and the play button plays it on.
TEST_F(PlayerTest, AFailedSongLeavesThePreviousSongShownPausedAndPlayable) {
    for (std::optional<PlayMode> mode :
         {std::optional<PlayMode>(), std::optional(PlayMode::Circulate), std::optional(PlayMode::Random)}) {
        SCOPED_TRACE(mode ? playModeName(*mode) : "no mode");
        player->clearQueue();
        play(kSummerLetter);
        if (mode) player->setMode(*mode);
        player->seek(5);
        QSignalSpy failed(player.get(), &Player::songFailed);
        QSignalSpy songs(player.get(), &Player::songChanged);
        player->play(kNoStream);
        ASSERT_TRUE(failed.wait(kPlayTimeoutMs));

        EXPECT_FALSE(player->isLoading());
        EXPECT_FALSE(player->isPlaying()) << "the play button offers to play";
        EXPECT_EQ(playingStreams(), 0) << "nothing sounds after the failure";
        EXPECT_EQ(player->title(), "夏日来信");
        EXPECT_EQ(player->currentSongId(), kSummerLetter);
        EXPECT_EQ(player->songId(), kSummerLetter) << "what plays is the song shown";
        EXPECT_EQ(player->progressTicks(), 5) << "where it stood";
        EXPECT_EQ(player->queue().ids(), std::vector<std::string>{kSummerLetter});
        EXPECT_EQ(player->queue().position(), 1);
        ASSERT_FALSE(songs.isEmpty()) << "the bar is told what will play";
        EXPECT_EQ(songs.last().at(0).toString(), "夏日来信");

        player->togglePlay();
        stopTimers();
        EXPECT_TRUE(player->isPlaying());
        EXPECT_EQ(engine.isActive(player->currentStream()), StreamActivity::kPlaying);
        EXPECT_EQ(playingStreams(), 1);
    }
}

TEST_F(PlayerTest, ASongPlayedAfterAFailureFreesTheSongKeptAside) {
    play(kSummerLetter);
    QSignalSpy failed(player.get(), &Player::songFailed);
    player->play(kNoStream);
    ASSERT_TRUE(failed.wait(kPlayTimeoutMs));
    play(kWindyStreet);
    EXPECT_EQ(openStreams(), 1) << "the song kept aside is freed once another one sounds";
    EXPECT_EQ(playingStreams(), 1);
    player->clearQueue();
    EXPECT_EQ(openStreams(), 0);
}

TEST_F(PlayerTest, ListModeStopsTryingOnceEveryQueuedSongHasFailed) {
    player->setMode(PlayMode::List);
    QSignalSpy failed(player.get(), &Player::songFailed);
    player->play(kNoStream);
    ASSERT_TRUE(failed.wait(kPlayTimeoutMs));
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->runningTasks() == 0; }, 5000))
        << "the failed song's other requests are called off";
    QTest::qWait(300);
    EXPECT_EQ(failed.size(), 1) << "with nothing queued the failed song is not tried again and again";
}

TEST_F(PlayerTest, NextAndPreviousWrapAroundTheQueue) {
    for (const std::string& id : {kSummerLetter, kWindyStreet, kGoodNight}) play(id);
    player->setMode(PlayMode::List);
    player->queue().setPosition(3);

    EXPECT_EQ(songStartedBy([&] { player->next(); }), kSummerLetter);
    EXPECT_EQ(player->queue().position(), 1);
    EXPECT_EQ(player->songId(), kSummerLetter);

    EXPECT_EQ(songStartedBy([&] { player->previous(); }), kGoodNight);
    EXPECT_EQ(player->queue().position(), 3);
    EXPECT_EQ(player->title(), "晚安，城市");
    EXPECT_EQ(playingStreams(), 1);
}

TEST_F(PlayerTest, QueuedSongsFollowThePlayedOneOnceEachAndNextPlaysThem) {
    play(kSummerLetter);
    QSignalSpy queueChanges(player.get(), &Player::queueChanged);
    player->appendToQueue({kWindyStreet, kSummerLetter, kGoodNight, kWindyStreet});
    EXPECT_EQ(player->queue().ids(), (std::vector<std::string>{kSummerLetter, kWindyStreet, kGoodNight}));
    EXPECT_EQ(queueChanges.size(), 1) << "an open play-list window follows the queue";
    player->appendToQueue({kGoodNight});
    EXPECT_EQ(queueChanges.size(), 1) << "nothing new, no change";
    EXPECT_EQ(player->songId(), kSummerLetter);

    player->setMode(PlayMode::List);
    EXPECT_EQ(songStartedBy([&] { player->next(); }), kWindyStreet);
}

TEST_F(PlayerTest, AChosenQueuedSongPlaysAndNextContinuesAfterIt) {
    const std::string fireflies = "1900001004";
    const std::vector<std::string> ids = {kSummerLetter, kWindyStreet, kGoodNight, fireflies};
    QSignalSpy queueChanges(player.get(), &Player::queueChanged);
    for (const std::string& id : ids) play(id);
    EXPECT_EQ(queueChanges.size(), 4);
    play(kSummerLetter);
    EXPECT_EQ(queueChanges.size(), 4) << "a song queued already does not change the queue";
    player->setMode(PlayMode::List);

    EXPECT_EQ(songStartedBy([&] { player->playQueued(3); }), kGoodNight);
    EXPECT_EQ(player->queue().position(), 3);
    EXPECT_EQ(player->currentSongId(), kGoodNight);
    EXPECT_EQ(songStartedBy([&] { player->next(); }), fireflies);
    EXPECT_EQ(player->queue().position(), 4);

    for (int outside : {0, 5, -1}) {
        player->playQueued(outside);
        EXPECT_FALSE(player->isLoading()) << outside;
    }
}

TEST_F(PlayerTest, APlayedListBecomesTheQueueAndNextAndPreviousWalkIt) {
    play("1900001004");
    QSignalSpy queueChanges(player.get(), &Player::queueChanged);
    const std::vector<std::string> list = {kSummerLetter, kWindyStreet, kGoodNight, kWindyStreet};
    EXPECT_EQ(songStartedBy([&] { player->playList(list, 1); }), kWindyStreet);
    EXPECT_EQ(player->queue().ids(), (std::vector<std::string>{kSummerLetter, kWindyStreet, kGoodNight}))
        << "the list in its order replaces the songs queued before";
    EXPECT_EQ(player->queue().position(), 2);
    EXPECT_GE(queueChanges.size(), 1);

    player->setMode(PlayMode::List);
    EXPECT_EQ(songStartedBy([&] { player->next(); }), kGoodNight);
    EXPECT_EQ(songStartedBy([&] { player->previous(); }), kWindyStreet);
    EXPECT_EQ(songStartedBy([&] { player->previous(); }), kSummerLetter);
    EXPECT_EQ(player->queue().position(), 1);

    // A single song played from elsewhere joins the list and becomes current.
    play("1900001004");
    EXPECT_EQ(player->queue().ids().back(), "1900001004");
    EXPECT_EQ(player->queue().position(), 4);
    EXPECT_EQ(songStartedBy([&] { player->next(); }), kSummerLetter);

    for (int outside : {-1, 4}) {
        player->playList(list, outside);
        EXPECT_FALSE(player->isLoading()) << outside;
    }
    EXPECT_EQ(player->queue().size(), 4) << "a list without a song to play leaves the queue alone";
    stopTimers();
}

TEST_F(PlayerTest, EditingTheQueueLeavesTheSongPlayingAndChangesWhatFollows) {
    const std::string fireflies = "1900001004";
    ASSERT_EQ(songStartedBy([&] {
                  player->playList({kSummerLetter, kWindyStreet, kGoodNight, fireflies}, 0);
              }),
              kSummerLetter);
    stopTimers();
    player->setMode(PlayMode::List);
    const AudioEngine::Handle playing = player->currentStream();
    QSignalSpy queueChanges(player.get(), &Player::queueChanged);

    player->playQueuedNext(4);
    player->moveQueued(4, 2);
    player->removeQueued(3);
    EXPECT_EQ(queueChanges.size(), 3);
    EXPECT_EQ(player->queue().ids(), (std::vector<std::string>{kSummerLetter, kGoodNight, kWindyStreet}));
    player->removeQueued(9);
    player->moveQueued(0, 1);
    EXPECT_EQ(queueChanges.size(), 3) << "positions outside the queue change nothing";
    EXPECT_EQ(player->currentStream(), playing);
    EXPECT_TRUE(player->isPlaying());
    EXPECT_EQ(songStartedBy([&] { player->next(); }), kGoodNight);

    // The song playing taken out plays on; next goes to the song after it.
    player->removeQueued(2);
    EXPECT_EQ(player->currentSongId(), kGoodNight);
    EXPECT_EQ(songStartedBy([&] { player->next(); }), kWindyStreet);
    stopTimers();
}

TEST_F(PlayerTest, TheVolumeIsWrittenOnceTheUserStopsChangingIt) {
    const AppSettings settings(folder.file("config.ini"));
    settings.write("Music", "Volume", "20");
    for (int volume : {30, 45, 60}) player->setVolume(volume);
    EXPECT_TRUE(player->volumeWriteTimer().isActive());
    EXPECT_EQ(player->volumeWriteTimer().interval(), Player::kVolumeSettleMs);
    EXPECT_EQ(settings.read("Music", "Volume"), "20") << "not on every step";
    ASSERT_TRUE(QTest::qWaitFor([&] { return settings.read("Music", "Volume") == "60"; }, 5000));

    player->toggleMute();
    player->writePendingVolume();
    EXPECT_EQ(settings.read("Music", "Volume"), "0") << "a volume still waiting is written as the program ends";
    EXPECT_FALSE(player->volumeWriteTimer().isActive());
}

TEST_F(PlayerTest, APausedSongStaysPausedThroughASeek) {
    play(kSummerLetter);
    player->togglePlay();
    ASSERT_FALSE(player->isPlaying());
    player->holdForSeek();
    player->seek(10);
    player->releaseSeek();
    EXPECT_EQ(engine.isActive(player->currentStream()), StreamActivity::kPaused);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(player->progressTicks(), 10);
}

TEST_F(PlayerTest, ClearingStopsTheSongEmptiesTheQueueAndLeavesNothingToStepTo) {
    play(kSummerLetter);
    play(kWindyStreet);
    player->queue().setPosition(2);
    QSignalSpy cleared(player.get(), &Player::songCleared);
    QSignalSpy queueChanges(player.get(), &Player::queueChanged);
    player->clearQueue();

    EXPECT_EQ(cleared.size(), 1);
    EXPECT_EQ(queueChanges.size(), 1);
    EXPECT_EQ(playingStreams() + streamsIn(StreamActivity::kPaused), 0) << "the stream is stopped and freed";
    EXPECT_EQ(player->currentStream(), AudioEngine::Handle{0});
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(player->progressTicks(), 0);
    EXPECT_EQ(player->queue().size(), 0);
    EXPECT_EQ(player->queue().position(), 1);
    EXPECT_EQ(player->currentSongId(), "");
    EXPECT_EQ(player->title(), "");
    for (QTimer* timer : {&player->playTimer(), &player->lyricTimer(), &player->endCheckTimer()})
        EXPECT_FALSE(timer->isActive()) << timer->objectName().toStdString();

    // With nothing queued, neither next nor previous plays anything.
    QSignalSpy loading(player.get(), &Player::loadingChanged);
    for (PlayMode mode : {PlayMode::List, PlayMode::Random, PlayMode::Circulate}) {
        player->setMode(mode);
        player->next();
        player->previous();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->runningTasks() == 0; }, 5000));
    EXPECT_TRUE(loading.isEmpty()) << "no play was started";
    EXPECT_EQ(playingStreams(), 0);
}

TEST_F(PlayerTest, ClearingWhileASongLoadsCallsThatPlayOff) {
    play(kSummerLetter);
    QSignalSpy started(player.get(), &Player::songStarted);
    QSignalSpy songs(player.get(), &Player::songChanged);
    player->play(kWindyStreet);
    player->clearQueue();
    EXPECT_FALSE(player->isLoading());
    EXPECT_TRUE(QTest::qWaitFor([&] { return player->runningTasks() == 0; }, kPlayTimeoutMs));
    QTest::qWait(200);
    EXPECT_TRUE(started.isEmpty());
    EXPECT_TRUE(songs.isEmpty()) << "nothing of the called-off song is shown";
    EXPECT_EQ(player->queue().size(), 0);
    EXPECT_EQ(playingStreams(), 0);
}

TEST_F(PlayerTest, EndOfSongFollowsThePlayMode) {
    play(kSummerLetter);
    play(kWindyStreet);
    player->setMode(PlayMode::Circulate);
    const AudioEngine::Handle stream = player->currentStream();
    player->seek(10);
    player->checkSongEnd();
    EXPECT_EQ(engine.bytesToSeconds(stream, engine.getPosition(stream)) >= 9.0, true)
        << "before the end nothing happens";
    tickToTheEnd();

    player->checkSongEnd();
    EXPECT_EQ(player->progressTicks(), 0);
    EXPECT_EQ(player->currentStream(), stream) << "the same stream plays again";
    EXPECT_EQ(engine.isActive(stream), StreamActivity::kPlaying);
    EXPECT_LT(engine.bytesToSeconds(stream, engine.getPosition(stream)), 5.0) << "from its start";
    EXPECT_EQ(player->lyricTimer().interval(), 400);
    EXPECT_EQ(player->queue().position(), 2) << "the song playing stays the current one";

    player->setMode(PlayMode::List);
    tickToTheEnd();
    EXPECT_EQ(songStartedBy([&] { player->checkSongEnd(); }), kSummerLetter) << "after the last, the first";
    EXPECT_EQ(player->queue().position(), 1);

    player->setMode(PlayMode::Random);
    stopTimers();
    tickToTheEnd();
    const std::string drawn = songStartedBy([&] { player->checkSongEnd(); });
    EXPECT_TRUE(drawn == kSummerLetter || drawn == kWindyStreet) << drawn;
    EXPECT_EQ(player->queue().ids()[size_t(player->queue().position()) - 1], drawn)
        << "the song drawn is the current one";
}

TEST_F(PlayerTest, TheSongTheModePicksIsOpenedAheadAndSoundsTheMomentTheSongBeforeEnds) {
    struct Case {
        PlayMode mode;
        const std::string& following;
        int queuePosition;
    };
    const Case cases[] = {{PlayMode::List, kSummerLetter, 2}, {PlayMode::Circulate, kWindyStreet, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(playModeName(c.mode));
        play(kWindyStreet);  // 24 s
        player->queue().setPosition(1);
        player->appendToQueue({kSummerLetter});
        player->setMode(c.mode);
        const AudioEngine::Handle ending = player->currentStream();
        player->seek(20);
        ASSERT_TRUE(QTest::qWaitFor([&] { return player->followingSongId().has_value(); }, kPlayTimeoutMs))
            << "about to end, the next song is opened";
        EXPECT_EQ(*player->followingSongId(), c.following);
        EXPECT_EQ(player->queue().position(), 1) << "the queue moves once it sounds";

        // The timers are stopped: the engine's end of the song alone starts the next.
        EXPECT_EQ(songStartedBy([] {}), c.following);
        const AudioEngine::Handle following = player->currentStream();
        EXPECT_NE(following, ending);
        EXPECT_EQ(engine.getLength(ending), -1) << "the ended song's stream is freed";
        EXPECT_EQ(engine.isActive(following), StreamActivity::kPlaying);
        EXPECT_LT(engine.bytesToSeconds(following, engine.getPosition(following)), 1.0) << "from its start";
        EXPECT_EQ(player->queue().position(), c.queuePosition);
        EXPECT_EQ(player->progressTicks(), 0);
        EXPECT_TRUE(player->playTimer().isActive());
        EXPECT_EQ(playingStreams(), 1);
        stopTimers();
    }
}

TEST_F(PlayerTest, AnotherModeDropsTheSongOpenedAhead) {
    play(kWindyStreet);
    player->appendToQueue({kSummerLetter});
    player->setMode(PlayMode::List);
    player->seek(20);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->followingSongId().has_value(); }, kPlayTimeoutMs));
    player->setMode(PlayMode::Circulate);
    EXPECT_FALSE(player->followingSongId().has_value()) << "it was the List mode's pick";
    EXPECT_EQ(openStreams(), 1) << "its stream is freed";
}

TEST_F(PlayerTest, TheSleepTimerPausesAfterItsMinutesOrAtTheSongsEndWithNothingFollowing) {
    play(kWindyStreet);
    player->sleepAfter(30);
    EXPECT_TRUE(player->sleepTimer().isActive());
    EXPECT_EQ(player->sleepTimer().interval(), 30 * 60 * 1000);
    QSignalSpy slept(player.get(), &Player::sleepStarted);
    player->sleepNow();  // as the timer does when due
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(engine.isActive(player->currentStream()), StreamActivity::kPaused);
    EXPECT_FALSE(player->sleepTimer().isActive());
    EXPECT_EQ(slept.size(), 1);

    player->togglePlay();
    player->appendToQueue({kSummerLetter});
    player->setMode(PlayMode::List);
    player->sleepAtSongEnd();
    player->seek(21);
    QSignalSpy started(player.get(), &Player::songStarted);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player->isPlaying(); }, kPlayTimeoutMs)) << "it pauses at the end";
    EXPECT_EQ(slept.size(), 2);
    EXPECT_TRUE(started.isEmpty()) << "and nothing follows";
    EXPECT_FALSE(player->followingSongId());
    EXPECT_FALSE(player->sleepsAtSongEnd()) << "a sleep is used once";
}

TEST_F(PlayerTest, WhenNoQueuedSongIsAvailableTheEndedSongStaysPaused) {
    play(kUnlicensed);
    player->setMode(PlayMode::List);
    tickToTheEnd();
    player->playTimer().start(Player::kPlayTickMs);
    QSignalSpy started(player.get(), &Player::songStarted);
    player->checkSongEnd();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !player->isPlaying(); }, kPlayTimeoutMs));
    EXPECT_FALSE(player->playTimer().isActive()) << "the progress stops counting";
    EXPECT_EQ(engine.isActive(player->currentStream()), StreamActivity::kPaused);
    EXPECT_TRUE(started.isEmpty());
}

TEST_F(PlayerTest, ProgressCountsTicksAndAStoppedStreamResetsIt) {
    play(kWindyStreet);
    QSignalSpy progress(player.get(), &Player::progressChanged);
    for (int tick = 1; tick <= 3; ++tick) {
        player->tickProgress();
        EXPECT_EQ(player->progressTicks(), tick);
    }
    ASSERT_EQ(progress.size(), 3);

    player->togglePlay();
    EXPECT_FALSE(player->isPlaying());
    EXPECT_EQ(engine.isActive(player->currentStream()), StreamActivity::kPaused);
    EXPECT_FALSE(player->playTimer().isActive());
    player->togglePlay();
    EXPECT_TRUE(player->isPlaying());
    EXPECT_EQ(player->playTimer().interval(), 1000);

    engine.stop(player->currentStream());
    player->tickProgress();
    EXPECT_EQ(player->progressTicks(), 0);
    EXPECT_EQ(player->elapsedSeconds(), 0);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_FALSE(player->playTimer().isActive());
}

TEST_F(PlayerTest, SeekingHoldsTheSoundMovesTheStreamAndTheLyricsAtOnce) {
    play(kSummerLetter);
    const AudioEngine::Handle stream = player->currentStream();
    QSignalSpy desktop(player.get(), &Player::desktopLyricChanged);
    QSignalSpy selected(player.get(), &Player::lyricSelected);

    player->holdForSeek();
    EXPECT_EQ(engine.isActive(stream), StreamActivity::kPaused);
    // The demo's lines come about every three seconds from 00:01 on; the
    // fourth line of its verse starts at 00:09.
    player->seek(9);
    EXPECT_EQ(player->progressTicks(), 9);
    EXPECT_EQ(engine.getPosition(stream), engine.secondsToBytes(stream, 9));
    ASSERT_FALSE(desktop.isEmpty());
    EXPECT_EQ(desktop.last().at(0).toString(), "寄给那年夏天的你\r\nAnd send it to you of that summer");
    ASSERT_FALSE(selected.isEmpty());
    const int line = selected.last().at(0).toInt();
    EXPECT_TRUE(player->lyrics().items().at(size_t(line)).text.starts_with("寄给那年夏天的你"));
    player->releaseSeek();
    EXPECT_EQ(engine.isActive(stream), StreamActivity::kPlaying);

    const qsizetype shown = desktop.size();
    player->tickLyrics();
    EXPECT_EQ(desktop.size(), shown) << "the same line is not sent again";
    player->seek(1);
    EXPECT_EQ(player->desktopLyric(), "晚风吹过安静的街\r\nThe evening wind crosses the quiet street");
    EXPECT_LT(selected.last().at(0).toInt(), line);
}

// The paused stream is a clock that stands still: the lyrics must show
// exactly what its position (moved by the song's offset) says.
TEST_F(PlayerTest, WordsFillByTheAudioPositionAndTheOffsetIsKeptPerSong) {
    player->keepLyricOffsetsIn(folder.file("lyric-offsets.json"));
    play(kSummerLetter);
    const WordLyrics& words = player->wordLyrics();
    ASSERT_GT(words.lines().size(), 4u) << "the demo song has word-timed lyrics";
    QSignalSpy fills(player.get(), &Player::wordFillChanged);
    player->holdForSeek();

    // Within the fourth line, a second into it.
    const SungLine& line = words.lines()[4];
    const int second = line.startMs / 1000 + 1;
    player->seek(second);
    ASSERT_FALSE(fills.isEmpty());
    EXPECT_EQ(fills.last().at(0).toInt(), *words.lineAt(second * 1000));
    EXPECT_DOUBLE_EQ(fills.last().at(1).toDouble(), words.fillAt(*words.lineAt(second * 1000), second * 1000));
    EXPECT_GT(fills.last().at(1).toDouble(), 0.0);

    QSignalSpy offsets(player.get(), &Player::lyricOffsetChanged);
    player->shiftLyrics(+3);  // a second and a half earlier
    ASSERT_EQ(offsets.size(), 1);
    EXPECT_EQ(offsets.last().at(0).toInt(), 1500);
    const int shifted = second * 1000 + 1500;
    EXPECT_EQ(fills.last().at(0).toInt(), *words.lineAt(shifted));
    EXPECT_DOUBLE_EQ(fills.last().at(1).toDouble(), words.fillAt(*words.lineAt(shifted), shifted));
    player->shiftLyrics(-1);
    EXPECT_EQ(player->lyricOffsetMs(), 1000);

    // Another song has its own offset; the first keeps its own, also for the next start.
    play(kWindyStreet);
    EXPECT_EQ(player->lyricOffsetMs(), 0);
    play(kSummerLetter);
    EXPECT_EQ(player->lyricOffsetMs(), 1000);
    Player nextStart(api, engine, "", AppSettings(folder.file("config.ini")));
    nextStart.keepLyricOffsetsIn(folder.file("lyric-offsets.json"));
    QSignalSpy started(&nextStart, &Player::songStarted);
    nextStart.play(kSummerLetter);
    ASSERT_TRUE(started.wait(kPlayTimeoutMs));
    EXPECT_EQ(nextStart.lyricOffsetMs(), 1000);
}

TEST_F(PlayerTest, WhileASongPlaysTheLyricTimerWakesForTheNextChange) {
    play(kSummerLetter);
    player->lyricTimer().start(LyricSchedule::kLongestWaitMs);
    player->seek(5);
    const int interval = player->lyricTimer().interval();
    EXPECT_GE(interval, 1);
    EXPECT_LE(interval, LyricSchedule::kLongestWaitMs);
    // Words fill between line starts, so the timer comes round at least as
    // often as the frames of the fill where a line is being sung.
    ASSERT_TRUE(player->wordLyrics().fillingAt(5000)) << "the demo song's second line is sung then";
    EXPECT_LE(interval, LyricSchedule::kFillFrameMs);
}

// What the next start of the program does with what this one leaves.
TEST_F(PlayerTest, TheNextStartResumesTheQueueSongPositionVolumeAndModePaused) {
    play(kSummerLetter);
    play(kWindyStreet);
    ASSERT_EQ(songStartedBy([&] { player->playQueued(2); }), kWindyStreet);
    player->setMode(PlayMode::List);
    player->setVolume(42);
    player->seek(7);
    const ResumePoint point = player->resumePoint();
    ASSERT_TRUE(point.write(folder.file("resume.json")));
    player.reset();

    Player nextStart(api, engine, "", AppSettings(folder.file("config.ini")));
    const std::optional<ResumePoint> kept = ResumePoint::read(folder.file("resume.json"));
    ASSERT_TRUE(kept);
    QSignalSpy started(&nextStart, &Player::songStarted);
    nextStart.resume(*kept);
    ASSERT_TRUE(started.wait(kPlayTimeoutMs));
    EXPECT_EQ(nextStart.currentSongId(), kWindyStreet);
    EXPECT_EQ(nextStart.title(), "风吹过的街");
    EXPECT_EQ(nextStart.queue().ids(), (std::vector<std::string>{kSummerLetter, kWindyStreet}));
    EXPECT_EQ(nextStart.queue().position(), 2);
    EXPECT_EQ(nextStart.volume(), 42);
    EXPECT_EQ(nextStart.mode(), PlayMode::List);
    EXPECT_FALSE(nextStart.isPlaying());
    EXPECT_NE(engine.isActive(nextStart.currentStream()), StreamActivity::kPlaying);
    EXPECT_EQ(nextStart.progressTicks(), 7);
    EXPECT_NEAR(engine.bytesToSeconds(nextStart.currentStream(), engine.getPosition(nextStart.currentStream())), 7.0,
                0.1);

    // One click plays on from there.
    nextStart.togglePlay();
    EXPECT_TRUE(nextStart.isPlaying());
    EXPECT_EQ(engine.isActive(nextStart.currentStream()), StreamActivity::kPlaying);
    EXPECT_GE(engine.bytesToSeconds(nextStart.currentStream(), engine.getPosition(nextStart.currentStream())), 7.0);
}

TEST_F(PlayerTest, WhatARunLeavesIsTheNextStartsHistoryAndResumePoint) {
    const std::string folder = this->folder.file("listening");
    {
        ListeningKeeper keeper(*player, folder);
        play(kSummerLetter);
        play(kWindyStreet);
        ASSERT_EQ(keeper.history().songs().size(), 2u);
        EXPECT_EQ(keeper.history().songs()[0].id, kWindyStreet);
        EXPECT_EQ(keeper.history().songs()[0].name, "风吹过的街");
        EXPECT_EQ(keeper.history().songs()[0].artists, "林夏");
        player->seek(5);
        // Written a moment after the change, without being asked.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const auto point = ResumePoint::read(folder + "/resume.json");
                return point && point->songId == kWindyStreet && point->positionSeconds >= 5;
            },
            kPlayTimeoutMs));
        player->togglePlay();
        keeper.writeResumePoint();
    }
    player.reset();

    Player nextStart(api, engine, "", AppSettings(this->folder.file("config.ini")));
    ListeningKeeper keeper(nextStart, folder);
    EXPECT_EQ(keeper.history().songs().size(), 2u);
    QSignalSpy started(&nextStart, &Player::songStarted);
    keeper.resumePlayer("");
    ASSERT_TRUE(started.wait(kPlayTimeoutMs));
    EXPECT_EQ(nextStart.currentSongId(), kWindyStreet);
    EXPECT_FALSE(nextStart.isPlaying());
    EXPECT_GE(nextStart.progressTicks(), 5);
    EXPECT_EQ(nextStart.queue().ids(), (std::vector<std::string>{kSummerLetter, kWindyStreet}));
}

// What the next start does with a run that ended in personal FM.
TEST_F(PlayerTest, TheNextStartComesBackToFmPausedOnItsSongAndPlaysOnInFm) {
    const std::string cookie = DemoCompanion::logIn(api);
    ASSERT_FALSE(cookie.empty());
    const std::string folder = this->folder.file("listening");
    std::string fmSong;
    {
        ListeningKeeper keeper(*player, folder);
        fmSong = songStartedBy([&] { player->startFm(cookie); });
        ASSERT_FALSE(fmSong.empty());
        player->seek(6);
        player->togglePlay();
        keeper.writeResumePoint();
    }
    player.reset();
    const std::optional<ResumePoint> kept = ResumePoint::read(folder + "/resume.json");
    ASSERT_TRUE(kept);
    EXPECT_TRUE(kept->fm);
    EXPECT_EQ(kept->songId, fmSong);

    {
        // Logged out by then: the song comes back alone.
        Player loggedOut(api, engine, "", AppSettings(this->folder.file("config.ini")));
        QSignalSpy started(&loggedOut, &Player::songStarted);
        loggedOut.resume(*kept, "");
        ASSERT_TRUE(started.wait(kPlayTimeoutMs));
        EXPECT_EQ(loggedOut.currentSongId(), fmSong);
        EXPECT_FALSE(loggedOut.inFm());
    }

    Player nextStart(api, engine, "", AppSettings(this->folder.file("config.ini")));
    ListeningKeeper keeper(nextStart, folder);
    QSignalSpy fm(&nextStart, &Player::fmChanged);
    QSignalSpy started(&nextStart, &Player::songStarted);
    keeper.resumePlayer(cookie);
    ASSERT_TRUE(started.wait(kPlayTimeoutMs));
    EXPECT_TRUE(nextStart.inFm());
    ASSERT_EQ(fm.size(), 1);
    EXPECT_TRUE(fm.at(0).at(0).toBool());
    EXPECT_EQ(nextStart.currentSongId(), fmSong);
    EXPECT_FALSE(nextStart.isPlaying());
    EXPECT_EQ(nextStart.progressTicks(), 6);

    // One click plays on from there, still in FM, and next is the stream's.
    nextStart.togglePlay();
    EXPECT_TRUE(nextStart.isPlaying());
    EXPECT_EQ(engine.isActive(nextStart.currentStream()), StreamActivity::kPlaying);
    EXPECT_TRUE(nextStart.inFm());
    started.clear();
    nextStart.next();
    ASSERT_TRUE(started.wait(kPlayTimeoutMs));
    EXPECT_NE(started.last().at(0).value<std::string>(), fmSong);
    EXPECT_TRUE(nextStart.inFm());
}

TEST_F(PlayerTest, FmPlaysTheStreamSkipsAndBinsSongsAndAnyOtherPlayLeavesIt) {
    const std::string cookie = DemoCompanion::logIn(api);
    ASSERT_FALSE(cookie.empty());
    play(kSummerLetter);
    QSignalSpy fm(player.get(), &Player::fmChanged);

    const std::string first = songStartedBy([&] { player->startFm(cookie); });
    ASSERT_FALSE(first.empty());
    EXPECT_TRUE(player->inFm());
    ASSERT_EQ(fm.size(), 1);
    EXPECT_TRUE(fm.at(0).at(0).toBool());

    const std::string second = songStartedBy([&] { player->next(); });
    ASSERT_FALSE(second.empty());
    EXPECT_NE(second, first);
    player->previous();
    QTest::qWait(200);
    EXPECT_EQ(player->currentSongId(), second) << "FM has no way back";

    // A song binned is reported and skipped, and the stream never deals it again.
    const std::string third = songStartedBy([&] { player->trashFm(); });
    ASSERT_FALSE(third.empty());
    EXPECT_NE(third, second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->runningTasks() == 0; }, kPlayTimeoutMs));
    for (int round = 0; round < 20; ++round)
        for (const SongItem& song : api.fetchPersonalFm(cookie)) EXPECT_NE(song.id, second);

    // The song's end plays the stream's next song, whatever the mode.
    player->setMode(PlayMode::Circulate);
    stopTimers();
    tickToTheEnd();
    const std::string fourth = songStartedBy([&] { player->checkSongEnd(); });
    EXPECT_NE(fourth, third);
    EXPECT_TRUE(player->inFm());

    EXPECT_EQ(songStartedBy([&] { player->play(kWindyStreet); }), kWindyStreet);
    EXPECT_FALSE(player->inFm());
    ASSERT_EQ(fm.size(), 2);
    EXPECT_FALSE(fm.at(1).at(0).toBool());
}

TEST_F(PlayerTest, FmOpensTheStreamsNextSongAheadToSoundTheMomentTheSongBeforeEndsAndABinSkipsToIt) {
    const std::string cookie = DemoCompanion::logIn(api);
    ASSERT_FALSE(cookie.empty());
    const std::string first = songStartedBy([&] { player->startFm(cookie); });
    ASSERT_FALSE(first.empty());
    stopTimers();
    const auto openedAhead = [&] {
        player->seek(player->lengthSeconds() - 4);
        return QTest::qWaitFor([&] { return player->followingSongId().has_value(); }, kPlayTimeoutMs);
    };

    const AudioEngine::Handle ending = player->currentStream();
    ASSERT_TRUE(openedAhead()) << "about to end, the stream's next song is opened";
    const std::string following = *player->followingSongId();
    EXPECT_NE(following, first);
    player->setMode(PlayMode::Circulate);
    EXPECT_EQ(player->followingSongId(), following) << "in FM the stream picks what follows, not the mode";

    // The timers are stopped: the engine's end of the song alone starts the next.
    EXPECT_EQ(songStartedBy([] {}), following);
    const AudioEngine::Handle stream = player->currentStream();
    EXPECT_NE(stream, ending);
    EXPECT_EQ(engine.getLength(ending), -1) << "the ended song's stream is freed";
    EXPECT_EQ(engine.isActive(stream), StreamActivity::kPlaying);
    EXPECT_LT(engine.bytesToSeconds(stream, engine.getPosition(stream)), 1.0) << "from its start";
    EXPECT_TRUE(player->inFm());
    EXPECT_EQ(playingStreams(), 1);
    stopTimers();

    // A song binned while the next one waits opened: that one plays, alone.
    ASSERT_TRUE(openedAhead());
    const std::string next = *player->followingSongId();
    EXPECT_NE(next, following);
    EXPECT_EQ(songStartedBy([&] { player->trashFm(); }), next);
    EXPECT_TRUE(player->inFm());
    EXPECT_EQ(openStreams(), 1);
    EXPECT_EQ(playingStreams(), 1);
}

TEST_F(PlayerTest, ModeAndVolumeFromStartUpAreShownButNotWritten) {
    QSignalSpy modes(player.get(), &Player::modeChanged);
    player->applyStored(60, "Random");
    EXPECT_EQ(player->mode(), PlayMode::Random);
    EXPECT_EQ(player->volume(), 60);
    EXPECT_EQ(modes.size(), 1);
    EXPECT_EQ(AppSettings(folder.file("config.ini")).read("Music", "Mode"), "") << "nothing is written";

    player->applyStored(std::nullopt, "circulate");
    EXPECT_EQ(player->mode(), std::nullopt) << "a text naming no mode chooses none";
    EXPECT_EQ(player->volume(), 60) << "an empty volume keeps the one there";

    player->toggleMute();
    EXPECT_TRUE(player->isMuted());
    player->toggleMute();
    EXPECT_EQ(player->volume(), 60);
}

TEST_F(PlayerTest, TwoQuickPlaysLeaveExactlyOneSongSounding) {
    QSignalSpy started(player.get(), &Player::songStarted);
    player->play(kSummerLetter);
    player->play(kWindyStreet);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !started.isEmpty() && started.last().at(0).value<std::string>() == kWindyStreet; },
                        kPlayTimeoutMs));
    QTest::qWait(200);
    EXPECT_EQ(started.size(), 1);
    EXPECT_EQ(playingStreams(), 1);
    EXPECT_EQ(player->title(), "风吹过的街");
    EXPECT_EQ(player->songId(), kWindyStreet);
}

// Every answer of the service takes a while, so a second play lands while
// the first song is still being fetched.
class SlowServicePlayerTest : public PlayerTest {
protected:
    static void SetUpTestSuite() {
        ServerOptions options = DemoServer::testOptions();
        options.latencyMs = 150;
        DemoCompanion::start(options);
    }
};

TEST_F(SlowServicePlayerTest, APlayRequestedWhileAnotherLoadsReplacesIt) {
    QSignalSpy started(player.get(), &Player::songStarted);
    // The first is superseded while its stream opens (its address comes
    // after one answer), the second before its address is in.
    player->play(kSummerLetter);
    QTest::qWait(200);
    player->play(kWindyStreet);
    QTest::qWait(100);
    player->play(kGoodNight);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !started.isEmpty(); }, kPlayTimeoutMs));
    QTest::qWait(1000);

    ASSERT_EQ(started.size(), 1) << "the songs asked for before the last never start";
    EXPECT_EQ(started.first().at(0).value<std::string>(), kGoodNight);
    EXPECT_EQ(player->title(), "晚安，城市");
    EXPECT_EQ(playingStreams(), 1);
    EXPECT_EQ(streamsIn(StreamActivity::kPaused) + streamsIn(StreamActivity::kStalled), 0)
        << "no stream of a replaced song is left behind";
    EXPECT_FALSE(player->isLoading());
    EXPECT_EQ(player->runningTasks(), 0);
}

// A port that takes connections (the kernel's backlog does) but never
// accepts them, so whatever is sent there waits for an answer forever.
class SilentListener {
public:
    SilentListener() {
        socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(socket_, 16) != 0 ||
            ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            ADD_FAILURE() << "no listening socket";
        port_ = ntohs(address.sin_port);
    }
    ~SilentListener() { ::close(socket_); }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

private:
    int socket_ = -1;
    int port_ = 0;
};

// The maker hands out the address of an audio server that never answers,
// so opening the stream hangs until given up. The servers are a base of
// their own so they exist before the player.
struct StalledAudioServers {
    StalledAudioServers() {
        maker.setHandler([this](const RecordedRequest& request) {
            CannedReply reply;
            reply.body = R"({"data":[{"url":")" + stalled.url("/song.mp3?" + request.target) + R"("}]})";
            reply.contentType = "application/json";
            return reply;
        });
    }
    SilentListener stalled;
    RecordingServer maker;
};

class StalledAudioPlayerTest : protected StalledAudioServers, public PlayerTest {
protected:
    StalledAudioPlayerTest() : PlayerTest(hostsWithStalledAudio()) {}

    ServiceHosts hostsWithStalledAudio() const {
        ServiceHosts hosts = ServiceHosts::allAt(DemoCompanion::origin());
        hosts.makerOrigin = maker.url("");
        return hosts;
    }
};

TEST_F(StalledAudioPlayerTest, ANewerPlayAbandonsTheStalledStreamOpenAtOnce) {
    player->play(kSummerLetter);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->runningTasks() == 1; }, kPlayTimeoutMs))
        << "the stream open is all that is left of the play";
    QElapsedTimer clock;
    clock.start();
    player->play(kWindyStreet);  // its stream stalls as well
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->runningTasks() == 1; }, 10000))
        << "the first play's stream open is still running";
    EXPECT_LT(clock.elapsed(), 5000) << "the first open was given up, not waited out";
    EXPECT_TRUE(player->isLoading());
}

TEST_F(StalledAudioPlayerTest, DestroyingThePlayerMidOpenEndsItsTasks) {
    player->play(kSummerLetter);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->runningTasks() == 1; }, kPlayTimeoutMs));
    QElapsedTimer clock;
    clock.start();
    player.reset();
    EXPECT_LT(clock.elapsed(), 5000) << "the stalled open was given up";
}

}  // namespace
