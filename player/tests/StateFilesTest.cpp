// The small state files the player keeps between runs: the listening
// history, the resume point and the lyric offsets. Each is read back by a
// second instance, as the next start reads it; damaged files read as empty.
#include "base/StateFile.h"
#include "player/ListeningHistory.h"
#include "player/LyricOffsets.h"
#include "player/ResumePoint.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>

namespace {

class StateFilesTest : public ::testing::Test {
protected:
    std::string pathOf(const char* name) const { return folder_.filePath(QString("state/") + name).toStdString(); }

    QTemporaryDir folder_;
};

std::string idsOf(const ListeningHistory& history) {
    std::string ids;
    for (const PlayedSong& song : history.songs()) ids += song.id + " ";
    return ids;
}

TEST_F(StateFilesTest, HistoryIsNewestFirstWithoutRepeatsAndSurvivesARestart) {
    const std::string path = pathOf("history.json");
    {
        ListeningHistory history(path);
        history.add({"1", "一", "A", 100});
        history.add({"2", "二", "B", 200});
        history.add({"1", "一", "A", 300});
        history.add({"", "no id", "C", 400});
        EXPECT_EQ(idsOf(history), "1 2 ");
    }
    const ListeningHistory again(path);
    EXPECT_EQ(idsOf(again), "1 2 ");
    EXPECT_EQ(again.songs()[0].name, "一");
    EXPECT_EQ(again.songs()[0].artists, "A");
    EXPECT_EQ(again.songs()[0].playedAtMs, 300);
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST_F(StateFilesTest, HistoryKeepsOnlyTheNewestSongs) {
    const std::string path = pathOf("history.json");
    ListeningHistory history(path);
    for (std::size_t i = 0; i < ListeningHistory::kMostSongs + 5; ++i) history.add({std::to_string(i), "", "", 0});
    ASSERT_EQ(history.songs().size(), ListeningHistory::kMostSongs);
    EXPECT_EQ(history.songs().front().id, std::to_string(ListeningHistory::kMostSongs + 4));
    EXPECT_EQ(history.songs().back().id, "5");
    EXPECT_EQ(ListeningHistory(path).songs().size(), ListeningHistory::kMostSongs);
    history.clear();
    EXPECT_TRUE(ListeningHistory(path).songs().empty());
}

TEST_F(StateFilesTest, DamagedFilesReadAsNothingKept) {
    const char* damaged[] = {"", "{", "[1,2]", R"({"songs":"x","queue":7})", "\xff\xfe garbage"};
    for (const char* bytes : damaged) {
        SCOPED_TRACE(bytes);
        ASSERT_TRUE(StateFile::write(pathOf("damaged.json"), bytes));
        EXPECT_TRUE(ListeningHistory(pathOf("damaged.json")).songs().empty());
        const std::optional<ResumePoint> point = ResumePoint::read(pathOf("damaged.json"));
        if (point) {
            EXPECT_TRUE(point->queue.empty());
            EXPECT_EQ(point->songId, "");
        }
        EXPECT_EQ(LyricOffsets(pathOf("damaged.json")).offsetOf("1"), 0);
    }
    // Entries of the wrong kind are left out, the rest is kept.
    ASSERT_TRUE(StateFile::write(pathOf("mixed.json"),
                                 R"({"songs":[{"id":"7","name":"七"},3,{"name":"no id"}],"queue":["1",2,"","3"],)"
                                 R"("songId":"3","positionSeconds":-5,"volume":"loud"})"));
    EXPECT_EQ(idsOf(ListeningHistory(pathOf("mixed.json"))), "7 ");
    const std::optional<ResumePoint> point = ResumePoint::read(pathOf("mixed.json"));
    ASSERT_TRUE(point);
    EXPECT_EQ(point->queue, (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(point->positionSeconds, 0);
    EXPECT_FALSE(point->volume);
    EXPECT_FALSE(ResumePoint::read(pathOf("missing.json")));
}

TEST_F(StateFilesTest, ResumePointRoundTrips) {
    ResumePoint point;
    point.queue = {"1868553", "8806287654", "3"};
    point.queuePosition = 2;
    point.songId = "8806287654";
    point.positionSeconds = 93;
    point.volume = 37;
    point.mode = "Random";
    ASSERT_TRUE(point.write(pathOf("resume.json")));
    const std::optional<ResumePoint> again = ResumePoint::read(pathOf("resume.json"));
    ASSERT_TRUE(again);
    EXPECT_EQ(again->queue, point.queue);
    EXPECT_EQ(again->queuePosition, 2);
    EXPECT_EQ(again->songId, point.songId);
    EXPECT_EQ(again->positionSeconds, 93);
    EXPECT_EQ(again->volume, 37);
    EXPECT_EQ(again->mode, "Random");
}

TEST_F(StateFilesTest, LyricOffsetsAreKeptPerSongWithinTheirLimit) {
    const std::string path = pathOf("lyric-offsets.json");
    {
        LyricOffsets offsets(path);
        EXPECT_EQ(offsets.set("1", 500), 500);
        EXPECT_EQ(offsets.set("2", -1500), -1500);
        EXPECT_EQ(offsets.set("3", 10 * LyricOffsets::kLimitMs), LyricOffsets::kLimitMs);
        EXPECT_EQ(offsets.set("2", 0), 0);
        EXPECT_EQ(offsets.set("", 500), 0);
    }
    const LyricOffsets again(path);
    EXPECT_EQ(again.offsetOf("1"), 500);
    EXPECT_EQ(again.offsetOf("2"), 0);
    EXPECT_EQ(again.offsetOf("3"), LyricOffsets::kLimitMs);
    EXPECT_EQ(again.offsetOf("never"), 0);
}

}  // namespace
