// The player with the cache of played audio, against a companion of its own
// (so the test can count its audio requests and take it away): a song played
// through is kept, played again without an audio request, sought back in
// without one, and played when the service cannot be reached.
#include "player/Player.h"

#include "ManualOutput.h"
#include "audio/StreamActivity.h"
#include "base/AppSettings.h"
#include "maintenance/MaintenanceRequests.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"

#include "DemoCompanion.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>

namespace {

using namespace DemoSongs;

constexpr int kWaitMs = 20000;

// A member ahead of those that need its address.
struct StartedCompanion {
    StartedCompanion() {
        HttpClient::globalInit();
        server.start();
    }
    DemoServer server{DemoServer::testOptions()};
};

class PlayerPlayedAudioTest : public ::testing::Test {
protected:
    PlayerPlayedAudioTest() {
        engine.init();
        player = std::make_unique<Player>(api, engine, MaintenanceRequests(hosts()).fetchServiceCookie(),
                                          AppSettings(folder.file("config.ini")));
        player->keepPlayedAudioIn(cache);
    }
    ServiceHosts hosts() const { return ServiceHosts::allAt(server.origin()); }

    // Audio requests the companion has seen for `songId`.
    int audioRequestsFor(const std::string& songId) const {
        int count = 0;
        for (const SeenRequest& seen : server.seenRequests())
            if (seen.target.starts_with("/media/audio/" + songId)) ++count;
        return count;
    }

    // Plays `songId` and returns whether it started (or failed, false).
    bool play(const std::string& songId) {
        QSignalSpy started(player.get(), &Player::songStarted);
        QSignalSpy failed(player.get(), &Player::songFailed);
        player->play(songId);
        if (!QTest::qWaitFor([&] { return !started.isEmpty() || !failed.isEmpty(); }, kWaitMs)) return false;
        player->playTimer().stop();
        player->lyricTimer().stop();
        player->endCheckTimer().stop();
        return !started.isEmpty();
    }

    // Plays the song on, faster than real time, until its audio is kept.
    bool playUntilKept(const std::string& songId) {
        return QTest::qWaitFor(
            [&] {
                output->advance(4096);
                return cache->find(cache->keyOf(songId)).has_value();
            },
            kWaitMs);
    }

    TempDir folder;
    StartedCompanion companion;
    DemoServer& server = companion.server;
    const CloudApiClient api{hosts()};
    std::shared_ptr<ManualOutput> output = std::make_shared<ManualOutput>();
    AudioEngine engine{output};
    std::shared_ptr<PlayedAudioCache> cache =
        std::make_shared<PlayedAudioCache>(folder.file("played"), PlayedAudioCache::kDefaultMaxBytes);
    std::unique_ptr<Player> player;
};

TEST_F(PlayerPlayedAudioTest, ASongPlayedAgainOrSoughtBackInSendsNoAudioRequest) {
    ASSERT_TRUE(play(kWindyStreet));
    ASSERT_TRUE(playUntilKept(kWindyStreet));
    const int requests = audioRequestsFor(kWindyStreet);
    EXPECT_GE(requests, 1);

    ASSERT_TRUE(play(kSummerLetter));
    EXPECT_GE(audioRequestsFor(kSummerLetter), 1) << "a song not kept streams";
    ASSERT_TRUE(play(kWindyStreet));
    EXPECT_EQ(engine.isActive(player->currentStream()), StreamActivity::kPlaying);
    for (const int seconds : {15, 1}) {
        player->seek(seconds);
        ASSERT_TRUE(output->waitUntilReady(44100)) << "the seek to " << seconds << " s never had its audio";
        output->advance(44100);
        EXPECT_EQ(engine.isActive(player->currentStream()), StreamActivity::kPlaying);
    }
    EXPECT_EQ(audioRequestsFor(kWindyStreet), requests) << "the second play and its seeks read the kept file";
}

TEST_F(PlayerPlayedAudioTest, WithoutTheServiceAKeptSongStillPlaysAndAnotherFails) {
    ASSERT_TRUE(play(kWindyStreet));
    ASSERT_TRUE(playUntilKept(kWindyStreet));
    server.stop();

    ASSERT_TRUE(play(kWindyStreet));
    EXPECT_EQ(engine.isActive(player->currentStream()), StreamActivity::kPlaying);
    EXPECT_GT(player->lengthSeconds(), 20);
    EXPECT_FALSE(play(kSummerLetter)) << "a song never played has nowhere to come from";
}

}  // namespace
