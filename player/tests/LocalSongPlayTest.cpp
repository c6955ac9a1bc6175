// The user's own songs through the same play flow as the service's: shown
// with their tags, cover and `.lrc` lyrics, queued beside service songs,
// opened ahead to follow without a gap, and failing when their file is gone.
#include "player/Player.h"

#include "audio/StreamActivity.h"
#include "local/FolderScan.h"
#include "local/LocalSong.h"
#include "local/SongTags.h"
#include "maintenance/MaintenanceRequests.h"

#include "DemoCompanion.h"
#include "SongFiles.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>
#include <filesystem>

namespace {

using namespace DemoSongs;

constexpr int kPlayTimeoutMs = 20000;

class LocalSongPlayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        DemoCompanion::start();
        songs_ = new TempDir;
        makeSongFiles(songs_->path().string(), {{"first.mp3", "本地一", "歌手甲", "专辑", 12.0, true},
                                                {"second.flac", "本地二", "歌手乙", "", 12.0, false}});
        writeFile(songs_->file("first.lrc"), "[00:00.50]第一行\n[00:00.50]first line\n[00:02.00]第二行\n");
    }
    static void TearDownTestSuite() {
        delete songs_;
        DemoCompanion::stop();
    }

    LocalSongPlayTest() : api(ServiceHosts::allAt(DemoCompanion::origin())) {
        engine.init(0);
        const ServiceHosts hosts = ServiceHosts::allAt(DemoCompanion::origin());
        player = std::make_unique<Player>(api, engine, MaintenanceRequests(hosts).fetchServiceCookie(),
                                          AppSettings(folder.file("config.ini")));
        std::filesystem::copy(songs_->path(), folder.path() / "music", std::filesystem::copy_options::recursive);
        const std::string index = folder.file("local.sqlite");
        EXPECT_TRUE(scanFolders({folder.file("music")}, index, {}).finished);
        player->playLocalSongsFrom(index);
        first = localSongId(folder.file("music/first.mp3"));
        second = localSongId(folder.file("music/second.flac"));
    }

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

    static TempDir* songs_;
    TempDir folder;
    const CloudApiClient api;
    AudioEngine engine;
    std::unique_ptr<Player> player;
    std::string first, second;
};
TempDir* LocalSongPlayTest::songs_ = nullptr;

TEST_F(LocalSongPlayTest, ALocalSongShowsItsTagsCoverAndLrcLyricsAndQueuesBesideServiceSongs) {
    ASSERT_EQ(songStartedBy([&] { player->play(kWindyStreet); }), kWindyStreet);
    QSignalSpy covers(player.get(), &Player::coverChanged);
    ASSERT_EQ(songStartedBy([&] { player->play(first); }), first);
    stopTimers();
    EXPECT_EQ(player->title(), "本地一");
    EXPECT_EQ(player->artists(), "歌手甲");
    EXPECT_EQ(player->album(), "专辑");
    EXPECT_EQ(player->mvId(), "0");
    EXPECT_EQ(player->currentSongId(), first);
    EXPECT_GE(player->lengthSeconds(), 11);
    EXPECT_LE(player->lengthSeconds(), 12);
    EXPECT_EQ(engine.isActive(player->currentStream()), StreamActivity::kPlaying);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !covers.isEmpty(); }, kPlayTimeoutMs));
    EXPECT_EQ(covers.last().at(0).toByteArray().toStdString(), readEmbeddedCover(folder.file("music/first.mp3")))
        << "the picture the file carries";
    EXPECT_FALSE(covers.last().at(0).toByteArray().isEmpty());

    ASSERT_EQ(player->lyrics().items().size(), 2u);
    EXPECT_TRUE(player->lyrics().items()[0].text.starts_with("第一行\r\nfirst line"));
    EXPECT_EQ(player->lyrics().tick(0).desktopText, "第一行\r\nfirst line");

    // The same queue and modes: List mode goes on to the next queued song.
    player->setMode(PlayMode::List);
    player->appendToQueue({second});
    EXPECT_EQ(player->queue().ids(), (std::vector<std::string>{kWindyStreet, first, second}));
    player->queue().setPosition(2);
    EXPECT_EQ(songStartedBy([&] { player->next(); }), second);
    stopTimers();
    EXPECT_EQ(player->title(), "本地二");
    EXPECT_EQ(player->lyrics().tick(0).desktopText, LyricTimeline::kNoLyric) << "no .lrc beside it";
}

TEST_F(LocalSongPlayTest, TheNextLocalSongIsOpenedAheadAndFollowsWithoutAGap) {
    ASSERT_EQ(songStartedBy([&] { player->play(first); }), first);
    stopTimers();
    player->appendToQueue({second});
    player->setMode(PlayMode::List);
    const AudioEngine::Handle ending = player->currentStream();
    player->seek(5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return player->followingSongId().has_value(); }, kPlayTimeoutMs));
    EXPECT_EQ(*player->followingSongId(), second);
    EXPECT_EQ(songStartedBy([] {}), second);
    EXPECT_NE(player->currentStream(), ending);
    EXPECT_EQ(player->title(), "本地二");
    EXPECT_EQ(player->queue().position(), 2);
}

TEST_F(LocalSongPlayTest, ALocalSongWhoseFileIsGoneFailsAndListModeMovesOn) {
    player->setMode(PlayMode::List);
    ASSERT_EQ(songStartedBy([&] { player->play(second); }), second);
    stopTimers();
    std::filesystem::remove(folder.file("music/first.mp3"));
    QSignalSpy failed(player.get(), &Player::songFailed);
    player->appendToQueue({first});
    EXPECT_EQ(songStartedBy([&] { player->play(first); }), second) << "the file gone, the next queued song plays";
    ASSERT_FALSE(failed.isEmpty());
    EXPECT_EQ(failed.first().at(0).value<std::string>(), first);

    const std::string unknown = localSongId("/nowhere/at/all.mp3");
    QSignalSpy failedAgain(player.get(), &Player::songFailed);
    player->setMode(PlayMode::Circulate);
    player->play(unknown);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !failedAgain.isEmpty(); }, kPlayTimeoutMs));
    EXPECT_EQ(player->title(), "本地二") << "the last song stays on show";
}

}  // namespace
