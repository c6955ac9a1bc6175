#include "player/PlayQueue.h"

#include <gtest/gtest.h>
#include <memory>
#include <set>

namespace {

const PlayQueue::AvailabilityCheck kAllAvailable = [](const std::string&) { return true; };

// A queue holding `ids`, drawing its random seeds from `seed`.
std::unique_ptr<PlayQueue> queueOf(std::initializer_list<const char*> ids,
                                   PlayQueue::SeedSource seed = PlayQueue::steadyClockSeed) {
    auto queue = std::make_unique<PlayQueue>(std::move(seed));
    for (const char* id : ids) queue->append(id);
    return queue;
}

TEST(PlayQueueTest, AppendKeepsTheFirstOfEachIdInOrder) {
    auto queue = queueOf({"a", "b", "a", "c", "B", "b"});
    EXPECT_EQ(queue->ids(), (std::vector<std::string>{"a", "b", "c", "B"}));
    queue->appendAll({"c", "d"});
    EXPECT_EQ(queue->ids(), (std::vector<std::string>{"a", "b", "c", "B", "d"}));
    EXPECT_FALSE(queue->append("c")) << "a queued id is not appended again";
    EXPECT_TRUE(queue->append("C"));
}

TEST(PlayQueueTest, NextAndPreviousWrapAroundTheQueue) {
    struct Row {
        int from;
        bool forward;
        const char* plays;
        int to;
    };
    for (Row row : {Row{3, true, "a", 1}, Row{1, true, "b", 2}, Row{1, false, "c", 3}, Row{2, false, "a", 1}}) {
        auto queue = queueOf({"a", "b", "c"});
        queue->setPosition(row.from);
        auto song = row.forward ? queue->next(PlayMode::List, kAllAvailable) : queue->previous(PlayMode::List);
        EXPECT_EQ(song, row.plays) << row.from << (row.forward ? " next" : " previous");
        EXPECT_EQ(queue->position(), row.to);
    }
}

TEST(PlayQueueTest, NextSkipsUnavailableSongsButGivesUpAfterTryingEachOnce) {
    auto queue = queueOf({"a", "b", "c"});
    std::vector<std::string> asked;
    auto onlyC = [&](const std::string& id) {
        asked.push_back(id);
        return id == "c";
    };
    EXPECT_EQ(queue->next(PlayMode::List, onlyC), "c");
    EXPECT_EQ(asked, (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(queue->position(), 3);

    asked.clear();
    EXPECT_EQ(queue->next(PlayMode::List,
                          [&](const std::string& id) {
                              asked.push_back(id);
                              return false;
                          }),
              std::nullopt);
    EXPECT_EQ(asked.size(), 3u) << "every queued song is tried once, then playback stays paused";
}

TEST(PlayQueueTest, AnEmptyQueueHasNoNextPreviousOrRandomSong) {
    auto queue = queueOf({});
    for (std::optional<PlayMode> mode : {std::optional(PlayMode::List), std::optional(PlayMode::Random),
                                         std::optional(PlayMode::Circulate), std::optional<PlayMode>()}) {
        EXPECT_EQ(queue->next(mode, kAllAvailable), std::nullopt);
        EXPECT_EQ(queue->previous(mode), std::nullopt);
    }
    EXPECT_EQ(queue->randomPick(), 0);
    EXPECT_EQ(queue->randomSong(), std::nullopt);
    EXPECT_EQ(queue->position(), 1);
}

TEST(PlayQueueTest, RandomPickUsesOneGeneratorStepOfTheSeed) {
    // v = ((x * 214013 + 2531011) >> 16) & 0x7FFF; position = 1 + v % n.
    struct Row {
        std::uint32_t seed;
        int expected;
    };
    for (Row row : {Row{0, 4}, Row{12345, 5}, Row{0xFFFFFFFFu, 1}}) {
        auto queue = queueOf({"a", "b", "c", "d", "e"}, [&] { return row.seed; });
        EXPECT_EQ(queue->randomPick(), row.expected) << row.seed;
    }
    auto single = queueOf({"only"}, [] { return 7u; });
    EXPECT_EQ(single->randomPick(), 1);
    EXPECT_EQ(single->next(PlayMode::Random, kAllAvailable), "only");
}

TEST(PlayQueueTest, RandomModeDrawsWithoutMovingPreviousAwayFromItsStep) {
    std::uint32_t seed = 0;
    auto queue = queueOf({"a", "b", "c", "d"}, [&] { return seed++; });
    std::set<std::string> drawn;
    for (int i = 0; i < 50; ++i) drawn.insert(*queue->next(PlayMode::Random, kAllAvailable));
    EXPECT_GT(drawn.size(), 1u);
    queue->setPosition(2);
    queue->previous(PlayMode::Random);
    EXPECT_EQ(queue->position(), 1);
}

TEST(PlayQueueTest, ClearEmptiesAndResetsThePosition) {
    auto queue = queueOf({"a", "b"});
    queue->setPosition(2);
    queue->clear();
    EXPECT_EQ(queue->size(), 0);
    EXPECT_EQ(queue->position(), 1);
}

}  // namespace
