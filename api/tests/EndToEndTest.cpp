// The client against the companion server and its demo catalogue, through
// the gateway and through the service's own web API: the start-up requests,
// a QR login through to the account's playlists, playing a song, a long
// playlist and the home page. Catches any disagreement between what the
// client sends or reads and what the server answers.
#include "api/CloudApiClient.h"
#include "api/DirectTransport.h"
#include "base/ProductInfo.h"
#include "maintenance/MaintenanceRequests.h"
#include "net/HttpClient.h"
#include "server/DemoServer.h"
#include "server/catalogue/DemoBuilders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

bool isPicture(const std::string& bytes) {
    return bytes.starts_with("\x89PNG\r\n\x1a\n") || bytes.starts_with("\xFF\xD8\xFF");
}

enum class Way { Gateway, Direct };

std::string nameOf(const ::testing::TestParamInfo<Way>& info) {
    return info.param == Way::Gateway ? "Gateway" : "Direct";
}

class EndToEndTest : public ::testing::TestWithParam<Way> {
protected:
    static void SetUpTestSuite() {
        ServerOptions options = DemoServer::testOptions();
        options.cacheFolder = MIVRA_SERVER_TEST_CACHE;
        server_ = std::make_unique<DemoServer>(options, [](const std::string&) {});
        ASSERT_TRUE(server_->start());
    }
    static void TearDownTestSuite() { server_.reset(); }

    static bool serverSaw(const std::string& path) {
        const auto seen = server_->seenRequests();
        return std::any_of(seen.begin(), seen.end(),
                           [&](const SeenRequest& request) { return request.target.starts_with(path); });
    }

    static CloudApiClient clientFor(Way way, const ServiceHosts& hosts) {
        if (way == Way::Gateway) return CloudApiClient(hosts);
        return CloudApiClient(
            std::make_shared<DirectTransport>(DirectOrigins::allAt(server_->origin()), "E2E-DEVICE",
                                              RequestRandomness::system(), ServerOptions::kDemoWeapiKey),
            hosts);
    }

    // The account cookie of a QR login, the scan done as the phone would.
    std::string logIn() const {
        const std::string key = client_.qrCreateKey();
        const std::string loginUrl = client_.qrCreateUrl(key);
        HttpRequest scan;
        scan.url = GetParam() == Way::Gateway ? loginUrl : server_->origin() + "/demo/scan/" + key;
        HttpClient::fetchService(scan);
        client_.qrPoll(key);
        return client_.qrPoll(key).cookie;
    }

    static std::unique_ptr<DemoServer> server_;
    const ServiceHosts hosts_ = ServiceHosts::allAt(server_->origin());
    const CloudApiClient client_ = clientFor(GetParam(), hosts_);
    const MaintenanceRequests maintenance_{hosts_};
};

std::unique_ptr<DemoServer> EndToEndTest::server_;

INSTANTIATE_TEST_SUITE_P(BothWays, EndToEndTest, ::testing::Values(Way::Gateway, Way::Direct), nameOf);

TEST_P(EndToEndTest, StartUpRequestsFillTheConfigurationAndTheServiceCookie) {
    const RemoteConfig config = maintenance_.fetchRemoteConfig();
    EXPECT_EQ(config.name, kProductName);
    EXPECT_EQ(config.version, kProductVersion);
    JsonDocument log;
    ASSERT_TRUE(log.parse(config.updateLogText));
    EXPECT_GT(log.count("data"), 0);
    EXPECT_FALSE(log.getText("data[0].title").empty());

    const std::string serviceCookie = maintenance_.fetchServiceCookie();
    EXPECT_FALSE(serviceCookie.empty());
    EXPECT_TRUE(client_.checkSong(std::to_string(demo::kSummerLetterSong), serviceCookie));
    EXPECT_FALSE(client_.checkSong("404", serviceCookie));

    maintenance_.sendHeartbeat();
    EXPECT_TRUE(serverSaw("/api/online.php"));
}

TEST_P(EndToEndTest, QrLoginOpensTheAccountItsPlaylistsAndSubscriptions) {
    const std::string key = client_.qrCreateKey();
    ASSERT_FALSE(key.empty());
    const std::string loginUrl = client_.qrCreateUrl(key);
    EXPECT_EQ(client_.qrPoll(key).state, QrLoginState::WaitingScan);

    // What the phone does with the code; the service's own login URL is the
    // demo's scan page of the key.
    HttpRequest scan;
    if (GetParam() == Way::Gateway) {
        EXPECT_TRUE(isPicture(client_.fetchQrPicture(loginUrl)));
        scan.url = loginUrl;
    } else {
        EXPECT_EQ(loginUrl, "https://music.163.com/login?codekey=" + key);
        scan.url = server_->origin() + "/demo/scan/" + key;
    }
    HttpClient::fetchService(scan);
    EXPECT_EQ(client_.qrPoll(key).state, QrLoginState::WaitingConfirm);
    const QrPollResult login = client_.qrPoll(key);
    ASSERT_EQ(login.state, QrLoginState::LoggedIn);
    const std::string cookie = login.cookie;
    EXPECT_NE(cookie.find(' '), std::string::npos);

    const AccountProfile profile = client_.fetchAccount(cookie);
    EXPECT_EQ(profile.userId, std::to_string(demo::kDemoUser));
    EXPECT_FALSE(profile.nickname.empty());
    EXPECT_TRUE(isPicture(client_.fetchPicture(profile.avatarUrl)));
    EXPECT_TRUE(client_.checkAccount(cookie));
    EXPECT_FALSE(client_.checkAccount(""));

    const std::string playlist = std::to_string(demo::kSummerSoundsPlaylist);
    const size_t ownLists = client_.fetchUserPlaylists(profile.userId, cookie).size();
    EXPECT_GT(ownLists, 0u);
    EXPECT_FALSE(client_.subscribePlaylist(SubscribeAction::Subscribe, playlist, ""));
    EXPECT_TRUE(client_.subscribePlaylist(SubscribeAction::Subscribe, playlist, cookie));
    const auto withSubscription = client_.fetchUserPlaylists(profile.userId, cookie);
    ASSERT_EQ(withSubscription.size(), ownLists + 1);
    EXPECT_EQ(withSubscription.back().id, playlist);
    EXPECT_TRUE(client_.subscribePlaylist(SubscribeAction::Unsubscribe, playlist, cookie));
    EXPECT_EQ(client_.fetchUserPlaylists(profile.userId, cookie).size(), ownLists);
}

TEST_P(EndToEndTest, PlayingASongFindsItsDetailsStreamLyricCoverAndMv) {
    const std::string id = std::to_string(demo::kSummerLetterSong);
    const SongDetail detail = client_.fetchSongDetail(id);
    EXPECT_EQ(detail.name, "夏日来信");
    EXPECT_EQ(detail.album, "夏日来信");
    EXPECT_FALSE(detail.artists.empty());
    EXPECT_TRUE(isPicture(client_.fetchPicture(detail.coverUrl)));

    const std::string streamUrl = client_.fetchSongUrl(id);
    EXPECT_TRUE(streamUrl.starts_with(server_->origin())) << streamUrl;

    const std::string rawLyric = client_.fetchRawLyric(id);
    EXPECT_TRUE(rawLyric.starts_with("[")) << rawLyric;
    EXPECT_NE(rawLyric.find('\n'), std::string::npos);
    EXPECT_EQ(rawLyric.find('\\'), std::string::npos) << "no JSON escape is left";
    EXPECT_EQ(rawLyric, client_.fetchLyric(id).getText("lrc.lyric"));
    EXPECT_EQ(client_.fetchRawLyric("1900001020"), "[99:00.00]纯音乐，请欣赏\n");

    ASSERT_NE(detail.mvId, "0");
    EXPECT_FALSE(client_.fetchMvUrl(detail.mvId).empty());
}

TEST_P(EndToEndTest, AListenerGetsDailySongsFmLikesAndTheWeekRecord) {
    const std::string cookie = logIn();
    ASSERT_FALSE(cookie.empty());
    const std::string user = std::to_string(demo::kDemoUser);

    ServiceStatus loggedOut = ServiceStatus::Answered;
    EXPECT_TRUE(client_.fetchDailySongs("", &loggedOut).empty());
    EXPECT_EQ(loggedOut, ServiceStatus::Failed);
    const std::vector<SongItem> daily = client_.fetchDailySongs(cookie);
    ASSERT_GT(daily.size(), 10u);
    EXPECT_FALSE(daily[0].name.empty());
    EXPECT_FALSE(daily[0].artists.empty());

    // The stream deals three songs at a time and never deals a binned song again.
    const std::vector<SongItem> first = client_.fetchPersonalFm(cookie);
    ASSERT_EQ(first.size(), 3u);
    EXPECT_FALSE(first[0].artists.empty());
    EXPECT_NE(client_.fetchPersonalFm(cookie)[0].id, first[0].id);
    EXPECT_FALSE(client_.trashFmSong(first[0].id, ""));
    EXPECT_TRUE(client_.trashFmSong(first[0].id, cookie));
    for (int round = 0; round < 20; ++round)
        for (const SongItem& song : client_.fetchPersonalFm(cookie)) EXPECT_NE(song.id, first[0].id);

    // A like puts the song first in the liked ids and the liked-songs playlist; an unlike takes it out.
    const std::vector<std::string> likedBefore = client_.fetchLikedSongIds(user, cookie);
    ASSERT_FALSE(likedBefore.empty());
    const auto notLiked = std::find_if(daily.begin(), daily.end(), [&](const SongItem& song) {
        return std::find(likedBefore.begin(), likedBefore.end(), song.id) == likedBefore.end();
    });
    ASSERT_NE(notLiked, daily.end());
    EXPECT_FALSE(client_.likeSong(notLiked->id, true, ""));
    ASSERT_TRUE(client_.likeSong(notLiked->id, true, cookie));
    const std::vector<std::string> likedAfter = client_.fetchLikedSongIds(user, cookie);
    ASSERT_EQ(likedAfter.size(), likedBefore.size() + 1);
    EXPECT_EQ(likedAfter.front(), notLiked->id);
    const std::vector<CoverItem> playlists = client_.fetchUserPlaylists(user, cookie);
    ASSERT_FALSE(playlists.empty());
    EXPECT_EQ(client_.fetchPlaylistTracks(playlists.front().id, 200, 0, cookie).front().id, notLiked->id);
    ASSERT_TRUE(client_.likeSong(notLiked->id, false, cookie));
    EXPECT_EQ(client_.fetchLikedSongIds(user, cookie), likedBefore);

    EXPECT_FALSE(client_.fetchPlayRecord(user, cookie).empty());
}

TEST_P(EndToEndTest, WordTimedLyricsComeWithTheLineLyrics) {
    const std::string id = std::to_string(demo::kSummerLetterSong);
    const SongLyrics lyrics = client_.fetchSongLyrics(id);
    EXPECT_EQ(lyrics.lyric, client_.fetchLyric(id).getText("lrc.lyric"));
    EXPECT_FALSE(lyrics.translation.empty());
    EXPECT_NE(lyrics.wordLyric.find("\n["), std::string::npos) << lyrics.wordLyric;
    EXPECT_NE(lyrics.wordLyric.find(",0)"), std::string::npos) << lyrics.wordLyric;
    EXPECT_EQ(client_.fetchSongLyrics("1900001020").wordLyric, "") << "pure music has no word timing";
}

TEST_P(EndToEndTest, LongPlaylistComesInPagesWithItsQueueNames) {
    const std::string playlist = std::to_string(demo::kFiveHundredPlaylist);
    EXPECT_FALSE(client_.fetchPlaylistDetail(playlist, "").name.empty());
    const std::vector<SongItem> firstPage = client_.fetchPlaylistTracks(playlist, 200, 0, "");
    ASSERT_EQ(firstPage.size(), 200u);
    EXPECT_EQ(client_.fetchPlaylistTracks(playlist, 200, 400, "").size(), 100u);

    const SongNameList names = client_.fetchSongNames({firstPage[2].id, firstPage[0].id, firstPage[1].id});
    ASSERT_EQ(names.names.size(), 3u);
    EXPECT_EQ(names.names[0], firstPage[2].name);
    EXPECT_EQ(names.firstArtists[1], firstPage[0].artists);
}

TEST_P(EndToEndTest, HomeDiscoverAndArtistListsAreFilled) {
    const auto banners = client_.fetchBanners();
    ASSERT_GE(banners.size(), 2u);
    EXPECT_TRUE(std::any_of(banners.begin(), banners.end(), [](const PackedItem& b) { return b.id() == "0"; }));
    EXPECT_TRUE(isPicture(client_.fetchPicture(banners[0].picture())));
    EXPECT_FALSE(client_.fetchPersonalizedMvs().empty());
    EXPECT_EQ(client_.fetchRecommendedPlaylists("").size(), 10u);
    EXPECT_EQ(client_.fetchTopArtists().size(), 5u);
    EXPECT_GT(client_.fetchNewestAlbums().size(), 10u);
    EXPECT_EQ(client_.fetchFirstMvs(10).size(), 10u);
    EXPECT_FALSE(client_.fetchAllMvs().empty());
    EXPECT_FALSE(client_.fetchToplists().empty());
    EXPECT_FALSE(client_.fetchHighQualityPlaylists().empty());
    EXPECT_FALSE(client_.fetchCategoryPlaylists("华语").empty());
    EXPECT_FALSE(client_.fetchAllPlaylists("").empty());
    EXPECT_FALSE(client_.fetchPersonalizedPlaylists("").empty());

    const std::string artist = std::to_string(demo::kZhouYe);
    const ArtistDetail detail = client_.fetchArtistDetail(artist);
    EXPECT_FALSE(detail.name.empty());
    EXPECT_TRUE(isPicture(client_.fetchPicture(detail.pictureUrl)));
    EXPECT_EQ(client_.fetchArtistMvs(artist, 10).size(), 10u);
    EXPECT_EQ(client_.fetchAllArtistMvs(artist).size(), 50u);
    const std::vector<SongItem> topSongs = client_.fetchArtistTopSongs(artist);
    ASSERT_FALSE(topSongs.empty());
    EXPECT_LE(topSongs.size(), 50u);
    EXPECT_FALSE(topSongs.front().album.empty());
    EXPECT_FALSE(topSongs.front().durationMs.empty());
    EXPECT_EQ(client_.fetchArtistAlbums(std::to_string(demo::kEtudeStudio), 10).size(), 10u);

    const auto found = client_.searchSongs(detail.name);
    EXPECT_FALSE(found.empty());
    EXPECT_FALSE(client_.searchArtists(detail.name, 3).empty());
}

}  // namespace
