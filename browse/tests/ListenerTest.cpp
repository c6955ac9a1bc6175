// The listener's lists, the hearts' liked songs and the library's
// subscriptions against the companion server: what a logged-in user gets,
// what a logged-out one gets (and that nothing is sent for a heart or a
// subscription then), and that a newer account wins.
#include "api/CloudApiClient.h"
#include "browse/Account.h"
#include "browse/LikedSongs.h"
#include "browse/ListenerFeeds.h"
#include "server/catalogue/DemoBuilders.h"

#include "DemoCompanion.h"
#include "TempDir.h"

#include <gtest/gtest.h>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

namespace {

constexpr int kTimeoutMs = 20000;

class ListenerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { DemoCompanion::start(); }
    static void TearDownTestSuite() { DemoCompanion::stop(); }

    // Waits for the feed's newest request to end.
    static bool ended(FeedSignals& feed) {
        return QTest::qWaitFor([&] { return !feed.isLoading(); }, kTimeoutMs);
    }

    const CloudApiClient api{ServiceHosts::allAt(DemoCompanion::origin())};
    const std::string cookie = DemoCompanion::logIn(api);
    const std::string user = api.fetchAccount(cookie).userId;
};

TEST_F(ListenerTest, DailySongsAndTheWeekRecordNeedTheAccount) {
    ListenerFeeds feeds(api);
    feeds.loadDailySongs("");
    ASSERT_TRUE(ended(feeds.dailySongs()));
    EXPECT_EQ(feeds.dailySongs().status(), ServiceStatus::Failed);
    EXPECT_TRUE(feeds.dailySongs().items().empty());

    feeds.loadDailySongs(cookie);
    ASSERT_TRUE(ended(feeds.dailySongs()));
    EXPECT_EQ(feeds.dailySongs().status(), ServiceStatus::Answered);
    EXPECT_GT(feeds.dailySongs().items().size(), 10u);

    feeds.loadPlayRecord(user, cookie);
    ASSERT_TRUE(ended(feeds.playRecord()));
    EXPECT_FALSE(feeds.playRecord().items().empty());
}

TEST_F(ListenerTest, SongsPlayedHereAreListedAsTheHistoryHeldThem) {
    ListenerFeeds feeds(api);
    std::vector<PlayedSong> history{{"2", "二", "B", 20}, {"1", "一", "A", 10}};
    feeds.loadPlayedHere(history);
    history.clear();  // the feed keeps what it was given
    ASSERT_TRUE(ended(feeds.playedHere()));
    ASSERT_EQ(feeds.playedHere().items().size(), 2u);
    EXPECT_EQ(feeds.playedHere().items()[0].id, "2");
    EXPECT_EQ(feeds.playedHere().items()[1].artists, "A");
}

TEST_F(ListenerTest, AHeartLikesAndUnlikesThroughTheServiceAndFollowsIt) {
    LikedSongs liked(api);
    EXPECT_FALSE(liked.toggle("1900001001")) << "nobody is logged in: nothing is sent";

    QSignalSpy changes(&liked, &LikedSongs::changed);
    liked.useAccount(user, cookie);
    ASSERT_TRUE(QTest::qWaitFor([&] { return changes.size() >= 2; }, kTimeoutMs)) << "emptied, then filled";
    const std::vector<std::string> likedIds = api.fetchLikedSongIds(user, cookie);
    ASSERT_FALSE(likedIds.empty());
    EXPECT_TRUE(liked.contains(likedIds.front()));

    // A song not liked yet: liked, then unliked, each confirmed by the service.
    std::string song = "1900001001";
    for (const char* candidate : {"1900001001", "1900001002", "1900001003", "1900001004"})
        if (!liked.contains(candidate)) song = candidate;
    ASSERT_FALSE(liked.contains(song));
    changes.clear();
    ASSERT_TRUE(liked.toggle(song));
    ASSERT_TRUE(changes.wait(kTimeoutMs));
    EXPECT_TRUE(liked.contains(song));
    EXPECT_EQ(api.fetchLikedSongIds(user, cookie).front(), song);
    ASSERT_TRUE(liked.toggle(song));
    ASSERT_TRUE(changes.wait(kTimeoutMs));
    EXPECT_FALSE(liked.contains(song));
    EXPECT_EQ(api.fetchLikedSongIds(user, cookie), likedIds);

    // A song the service does not know is refused and the heart stays as it was.
    QSignalSpy failed(&liked, &LikedSongs::toggleFailed);
    ASSERT_TRUE(liked.toggle("1"));
    ASSERT_TRUE(failed.wait(kTimeoutMs));
    EXPECT_FALSE(liked.contains("1"));
}

TEST_F(ListenerTest, LoggingOutEmptiesTheHeartsAndDropsAnswersStillOnTheirWay) {
    LikedSongs liked(api);
    liked.useAccount(user, cookie);
    liked.useAccount("", "");  // before the first answer is in
    QTest::qWait(300);
    EXPECT_FALSE(liked.loggedIn());
    const std::vector<std::string> likedIds = api.fetchLikedSongIds(user, cookie);
    ASSERT_FALSE(likedIds.empty());
    EXPECT_FALSE(liked.contains(likedIds.front()));
}

TEST_F(ListenerTest, ASubscriptionGoesThroughTheAccountAndTheLibraryFollowsIt) {
    TempDir folder;
    const AppSettings settings((folder.path() / "settings.ini").string());
    Account nobody(api, settings, "");
    EXPECT_FALSE(nobody.changeSubscription(SubscribeAction::Subscribe, "1")) << "logged out: nothing is sent";

    Account account(api, settings, cookie);
    account.restore(api.fetchAccount(cookie));
    ListenerFeeds feeds(api);
    const auto libraryIds = [&] {
        feeds.loadLibraryPlaylists(user, cookie);
        EXPECT_TRUE(ended(feeds.libraryPlaylists()));
        std::vector<std::string> ids;
        for (const CoverItem& playlist : feeds.libraryPlaylists().items()) ids.push_back(playlist.id);
        return ids;
    };
    const std::vector<std::string> before = libraryIds();
    ASSERT_FALSE(before.empty());

    struct Case {
        SubscribeAction action;
        std::string playlist;
        bool done;
        bool listed;  // in the library afterwards
    };
    const std::string summer = std::to_string(demo::kSummerSoundsPlaylist);
    for (const Case& c :
         {Case{SubscribeAction::Subscribe, summer, true, true}, Case{SubscribeAction::Unsubscribe, summer, true, false},
          Case{SubscribeAction::Subscribe, "1", false, false}}) {
        QSignalSpy answered(&account, &Account::subscriptionEnded);
        ASSERT_TRUE(account.changeSubscription(c.action, c.playlist));
        ASSERT_TRUE(answered.wait(kTimeoutMs));
        EXPECT_EQ(answered.front().at(1).value<std::string>(), c.playlist);
        EXPECT_EQ(answered.front().at(2).toBool(), c.done) << c.playlist;
        const std::vector<std::string> ids = libraryIds();
        EXPECT_EQ(std::find(ids.begin(), ids.end(), c.playlist) != ids.end(), c.listed) << c.playlist;
    }
    EXPECT_EQ(libraryIds(), before);
}

}  // namespace
