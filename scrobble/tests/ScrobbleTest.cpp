// Scrobbling against local stand-ins of ListenBrainz and Last.fm: what is
// sent when, the disk queue across a restart, failing servers and refused
// accounts.
#include "RecordingServer.h"
#include "TempDir.h"
#include "scrobble/ListenRule.h"
#include "scrobble/Scrobbler.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QUrlQuery>
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>

using nlohmann::json;

namespace {

constexpr int kWaitMs = 10000;

TEST(ListenRuleTest, APlayCountsOnceAfterHalfTheSongOrFourMinutes) {
    struct Case {
        int length;
        std::optional<int> countsAt;  // the second it becomes a listen
    };
    for (const Case& c : {Case{0, std::nullopt}, Case{30, std::nullopt}, Case{31, 16}, Case{200, 100}, Case{481, 240},
                          Case{3600, 240}}) {
        SCOPED_TRACE(c.length);
        ListenRule rule(c.length);
        std::optional<int> countedAt;
        for (int second = 1; second <= 4000; ++second)
            if (rule.playedSecond()) {
                EXPECT_FALSE(countedAt) << "counted twice";
                countedAt = second;
            }
        EXPECT_EQ(countedAt, c.countsAt);
    }
}

TEST(LastFmSignatureTest, ParametersAreSignedInNameOrderWithoutFormat) {
    EXPECT_EQ(LastFm::signature({{"method", "track.scrobble"},
                                 {"track[0]", "Title"},
                                 {"sk", "SESSION"},
                                 {"artist[0]", "Artist"},
                                 {"timestamp[0]", "1700000000"},
                                 {"api_key", "KEY"},
                                 {"format", "json"}},
                                "SECRET"),
              "236ac9298d85810bcf6c5a61d40a85ab");
}

// The two services, each on its own loopback server, answering as told.
class ScrobblerTest : public ::testing::Test {
protected:
    void SetUp() override {
        listenBrainz_.setHandler([this](const RecordedRequest&) {
            return CannedReply{lbStatus_.load(), R"({"status":"ok"})", "application/json", {}};
        });
        lastFm_.setHandler([this](const RecordedRequest&) {
            std::lock_guard lock(mutex_);
            return CannedReply{200, lastFmAnswer_, "application/json", {}};
        });
        origins_.listenBrainz = listenBrainz_.url("");
        origins_.lastFm = lastFm_.url("");
    }

    void turnOn(bool listenBrainz, bool lastFm) {
        ScrobbleSettings chosen;
        chosen.listenBrainz = listenBrainz;
        chosen.listenBrainzToken = "lb-token";
        chosen.lastFm = lastFm;
        chosen.lastFmAccount = {"KEY", "SECRET", "SESSION"};
        ASSERT_TRUE(chosen.write(settings_));
    }

    std::unique_ptr<Scrobbler> start() {
        return std::make_unique<Scrobbler>(settings_, dir_.file("scrobble/queue.json"), origins_);
    }

    static Listen listen(const std::string& title, std::int64_t at) { return {"Artist", title, "Album", 200000, at}; }

    // Plays `title` (200 s long) for the 100 seconds that make it a listen.
    static void listenTo(Scrobbler& scrobbler, const std::string& title, std::int64_t at) {
        scrobbler.songStarted(listen(title, at), 200);
        for (int i = 0; i < 100; ++i) scrobbler.secondPlayed();
    }

    static void settle(Scrobbler& scrobbler) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return scrobbler.sendsInFlight() == 0; }, kWaitMs));
    }

    // The listens ListenBrainz took, in order: "title@listened_at".
    std::vector<std::string> listenBrainzListens(const char* type = nullptr) const {
        std::vector<std::string> listens;
        for (const RecordedRequest& request : listenBrainz_.requests()) {
            const json body = json::parse(request.body);
            if (body["listen_type"] == "playing_now") continue;
            if (type) {
                EXPECT_EQ(body["listen_type"], type);
            }
            for (const json& item : body["payload"])
                listens.push_back(item["track_metadata"]["track_name"].get<std::string>() + "@" +
                                  std::to_string(item["listened_at"].get<std::int64_t>()));
        }
        return listens;
    }

    void setLastFmAnswer(std::string answer) {
        std::lock_guard lock(mutex_);
        lastFmAnswer_ = std::move(answer);
    }

    TempDir dir_;
    AppSettings settings_{dir_.file("config.ini")};
    RecordingServer listenBrainz_, lastFm_;
    ScrobbleOrigins origins_;
    std::atomic<int> lbStatus_ = 200;
    std::mutex mutex_;
    std::string lastFmAnswer_ = R"({"scrobbles":{"@attr":{"accepted":1,"ignored":0}}})";
};

TEST_F(ScrobblerTest, NothingIsSentWhileScrobblingIsOff) {
    auto scrobbler = start();
    listenTo(*scrobbler, "Song", 1700000000);
    scrobbler->flush();
    settle(*scrobbler);
    EXPECT_TRUE(listenBrainz_.requests().empty());
    EXPECT_TRUE(lastFm_.requests().empty());
    EXPECT_EQ(scrobbler->queue().size(), 0u);
}

TEST_F(ScrobblerTest, ListenBrainzHearsPlayingNowAtTheStartAndOneListenAfterHalfTheSong) {
    turnOn(true, false);
    auto scrobbler = start();
    scrobbler->songStarted(listen("第一首", 1700000000), 200);
    ASSERT_TRUE(QTest::qWaitFor([&] { return listenBrainz_.requests().size() == 1; }, kWaitMs));
    const RecordedRequest nowPlaying = listenBrainz_.requests().front();
    EXPECT_EQ(nowPlaying.method, "POST");
    EXPECT_EQ(nowPlaying.target, "/1/submit-listens");
    EXPECT_EQ(nowPlaying.header("Authorization"), "Token lb-token");
    const json body = json::parse(nowPlaying.body);
    EXPECT_EQ(body["listen_type"], "playing_now");
    const json& track = body["payload"][0]["track_metadata"];
    EXPECT_EQ(track["track_name"], "第一首");
    EXPECT_EQ(track["artist_name"], "Artist");
    EXPECT_EQ(track["release_name"], "Album");
    EXPECT_EQ(track["additional_info"]["duration_ms"], 200000);
    EXPECT_FALSE(body["payload"][0].contains("listened_at"));

    for (int i = 0; i < 99; ++i) scrobbler->secondPlayed();
    settle(*scrobbler);
    EXPECT_EQ(listenBrainz_.requests().size(), 1u);  // not yet half
    for (int i = 0; i < 150; ++i) scrobbler->secondPlayed();
    settle(*scrobbler);
    EXPECT_EQ(listenBrainzListens("single"), std::vector<std::string>{"第一首@1700000000"});
    EXPECT_EQ(scrobbler->queue().size(), 0u);
}

TEST_F(ScrobblerTest, ListensMadeWhileTheServerFailsWaitOnDiskAcrossARestartAndGoOutInOrderOnce) {
    turnOn(true, false);
    lbStatus_ = 503;
    {
        auto scrobbler = start();
        listenTo(*scrobbler, "one", 1700000001);
        settle(*scrobbler);
        EXPECT_TRUE(scrobbler->retryTimer().isActive());
        listenTo(*scrobbler, "two", 1700000002);
        settle(*scrobbler);
        listenTo(*scrobbler, "three", 1700000003);
        settle(*scrobbler);
        EXPECT_EQ(scrobbler->queue().size(), 3u);
    }  // the program ends with the listens unsent

    lbStatus_ = 200;
    const size_t failedRequests = listenBrainz_.requests().size();
    auto scrobbler = start();
    EXPECT_EQ(scrobbler->queue().size(), 3u);
    scrobbler->flush();
    settle(*scrobbler);
    scrobbler->flush();  // nothing left: nothing sent again
    settle(*scrobbler);
    EXPECT_EQ(scrobbler->queue().size(), 0u);
    const auto requests = listenBrainz_.requests();
    ASSERT_EQ(requests.size(), failedRequests + 1);
    EXPECT_EQ(json::parse(requests.back().body)["listen_type"], "import");
    // Every failed try carried the oldest listen first; the one that got
    // through carried all three in order.
    std::vector<std::string> delivered;
    const json last = json::parse(requests.back().body);
    for (const json& item : last["payload"]) delivered.push_back(item["track_metadata"]["track_name"]);
    EXPECT_EQ(delivered, (std::vector<std::string>{"one", "two", "three"}));
}

TEST_F(ScrobblerTest, ARefusedTokenKeepsTheListensUntilTheAccountChangesAndARefusedListenIsDropped) {
    turnOn(true, false);
    auto scrobbler = start();
    QSignalSpy refused(scrobbler.get(), &Scrobbler::accountRefused);
    lbStatus_ = 401;
    listenTo(*scrobbler, "kept", 1700000010);
    ASSERT_TRUE(QTest::qWaitFor([&] { return refused.count() == 1; }, kWaitMs));
    EXPECT_EQ(refused.first().at(0).value<ScrobbleService>(), ScrobbleService::ListenBrainz);
    const size_t before = listenBrainz_.requests().size();
    listenTo(*scrobbler, "also kept", 1700000011);
    settle(*scrobbler);
    EXPECT_EQ(listenBrainz_.requests().size(), before);  // no use sending while refused
    EXPECT_EQ(scrobbler->queue().size(), 2u);

    lbStatus_ = 400;  // the service refuses these listens themselves
    scrobbler->accountChanged();
    settle(*scrobbler);
    EXPECT_EQ(scrobbler->queue().size(), 0u);
    EXPECT_FALSE(scrobbler->retryTimer().isActive());
}

TEST_F(ScrobblerTest, LastFmGetsSignedNowPlayingAndScrobbleAndRetriesWhenBusy) {
    turnOn(false, true);
    auto scrobbler = start();
    setLastFmAnswer(R"({"error":16,"message":"The service is temporarily unavailable"})");
    scrobbler->songStarted(listen("歌", 1700000020), 200);
    for (int i = 0; i < 100; ++i) scrobbler->secondPlayed();
    settle(*scrobbler);
    ASSERT_TRUE(QTest::qWaitFor([&] { return lastFm_.requests().size() == 2; }, kWaitMs));
    EXPECT_TRUE(scrobbler->retryTimer().isActive());
    EXPECT_EQ(scrobbler->queue().size(), 1u);

    setLastFmAnswer(R"({"scrobbles":{"@attr":{"accepted":1,"ignored":0}}})");
    scrobbler->flush();
    settle(*scrobbler);
    EXPECT_EQ(scrobbler->queue().size(), 0u);

    std::vector<std::string> methods;
    for (const RecordedRequest& request : lastFm_.requests()) {
        EXPECT_EQ(request.target, "/2.0/");
        std::map<std::string, std::string> form;
        std::vector<std::pair<std::string, std::string>> signedPart;
        for (const auto& [name, value] :
             QUrlQuery(QString::fromStdString(request.body)).queryItems(QUrl::FullyDecoded)) {
            form[name.toStdString()] = value.toStdString();
            if (name != "api_sig") signedPart.emplace_back(name.toStdString(), value.toStdString());
        }
        EXPECT_EQ(form["api_sig"], LastFm::signature(signedPart, "SECRET"));
        EXPECT_EQ(form["api_key"], "KEY");
        EXPECT_EQ(form["sk"], "SESSION");
        EXPECT_EQ(form["format"], "json");
        methods.push_back(form["method"]);
        if (methods.back() == "track.scrobble") {
            EXPECT_EQ(form["track[0]"], "歌");
            EXPECT_EQ(form["artist[0]"], "Artist");
            EXPECT_EQ(form["timestamp[0]"], "1700000020");
            EXPECT_EQ(form["duration[0]"], "200");
        }
    }
    // "Playing now" and the first scrobble go out side by side, in either order.
    std::sort(methods.begin(), methods.end());
    EXPECT_EQ(methods, (std::vector<std::string>{"track.scrobble", "track.scrobble", "track.updateNowPlaying"}));
}

TEST_F(ScrobblerTest, LastFmSessionKeysComeFromTheUsersNameAndPassword) {
    setLastFmAnswer(R"({"session":{"name":"u","key":"the-session","subscriber":0}})");
    EXPECT_EQ(LastFm::mobileSession(origins_.lastFm, {"KEY", "SECRET", ""}, "u", "pw"), "the-session");
    const QUrlQuery form(QString::fromStdString(lastFm_.requests().back().body));
    EXPECT_EQ(form.queryItemValue("method").toStdString(), "auth.getMobileSession");
    EXPECT_EQ(form.queryItemValue("username").toStdString(), "u");

    setLastFmAnswer(R"({"error":4,"message":"Authentication Failed"})");
    std::string error;
    EXPECT_EQ(LastFm::mobileSession(origins_.lastFm, {"KEY", "SECRET", ""}, "u", "bad", &error), "");
    EXPECT_EQ(error, "Authentication Failed");
}

TEST(ScrobbleQueueTest, AnUnreadableQueueFileIsKeptAsideAndANewQueueStarts) {
    TempDir dir;
    const std::string path = dir.file("queue.json");
    std::ofstream(path) << "{\"entries\": [ half a file";
    ScrobbleQueue queue(path);
    EXPECT_EQ(queue.size(), 0u);
    EXPECT_TRUE(std::filesystem::exists(path + ".broken"));
    ASSERT_TRUE(queue.push(ScrobbleService::LastFm, {"A", "T", "", 0, 1}));
    ASSERT_TRUE(queue.push(ScrobbleService::ListenBrainz, {"A", "U", "", 0, 2}));
    ScrobbleQueue reloaded(path);
    ASSERT_EQ(reloaded.size(ScrobbleService::LastFm), 1u);
    EXPECT_EQ(reloaded.front(ScrobbleService::ListenBrainz, 5).front().listen.title, "U");
    // New entries never reuse an id of one already kept.
    ASSERT_TRUE(reloaded.push(ScrobbleService::LastFm, {"A", "V", "", 0, 3}));
    const auto lastFm = reloaded.front(ScrobbleService::LastFm, 5);
    ASSERT_EQ(lastFm.size(), 2u);
    EXPECT_NE(lastFm[0].id, lastFm[1].id);
}

}  // namespace
