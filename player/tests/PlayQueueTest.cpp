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

TEST(PlayQueueTest, RandomModeDrawsAndTheDrawnSongBecomesTheCurrentOne) {
    std::uint32_t seed = 0;
    auto queue = queueOf({"a", "b", "c", "d"}, [&] { return seed++; });
    std::set<std::string> drawn;
    for (int i = 0; i < 50; ++i) {
        const std::string song = *queue->next(PlayMode::Random, kAllAvailable);
        drawn.insert(song);
        EXPECT_EQ(queue->ids()[size_t(queue->position()) - 1], song);
    }
    EXPECT_GT(drawn.size(), 1u);
}

// Next and previous from the second of four songs, in every mode; the
// random draws all come from seed 0, which picks position 3 of 4.
TEST(PlayQueueTest, NextAndPreviousWalkTheQueueByTheMode) {
    struct Row {
        std::optional<PlayMode> mode;
        const char* next;
        int positionAfterNext;
        const char* previous;
        int positionAfterPrevious;
    };
    for (Row row : {
             Row{PlayMode::List, "c", 3, "a", 1},
             Row{PlayMode::Circulate, "c", 3, "a", 1},
             Row{std::nullopt, "c", 3, "a", 1},
             Row{PlayMode::Random, "c", 3, "c", 3},
         }) {
        const std::string name = row.mode ? playModeName(*row.mode) : "no mode";
        auto queue = queueOf({"a", "b", "c", "d"}, [] { return 0u; });
        queue->setPosition(2);
        EXPECT_EQ(queue->next(row.mode, kAllAvailable), row.next) << name;
        EXPECT_EQ(queue->position(), row.positionAfterNext) << name;
        queue->setPosition(2);
        EXPECT_EQ(queue->previous(row.mode), row.previous) << name;
        EXPECT_EQ(queue->position(), row.positionAfterPrevious) << name;
    }
}

TEST(PlayQueueTest, AListReplacesTheQueueAndAPlayedSongBecomesCurrent) {
    auto queue = queueOf({"x", "y"});
    queue->setPosition(2);
    queue->replace({"a", "b", "a", "c"});
    EXPECT_EQ(queue->ids(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(queue->position(), 1);
    EXPECT_EQ(queue->positionOf("c"), 3);
    EXPECT_EQ(queue->positionOf("x"), std::nullopt);

    EXPECT_FALSE(queue->makeCurrent("b")) << "a queued song keeps its place";
    EXPECT_EQ(queue->position(), 2);
    EXPECT_TRUE(queue->makeCurrent("d"));
    EXPECT_EQ(queue->ids(), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(queue->position(), 4);
    EXPECT_EQ(queue->next(PlayMode::List, kAllAvailable), "a");
}

// Each edit of [a, b, c, d, e] with the current song at position 3 ("c").
TEST(PlayQueueTest, EditsKeepThePositionOnItsSong) {
    enum class Edit { Remove, Move, AfterCurrent };
    struct Row {
        Edit edit;
        int first, second;
        bool done;
        std::vector<std::string> ids;
        int position;
        const char* playsNext;
    };
    const std::vector<std::string> unchanged = {"a", "b", "c", "d", "e"};
    for (const Row& row : std::vector<Row>{
             {Edit::Remove, 1, 0, true, {"b", "c", "d", "e"}, 2, "d"},
             {Edit::Remove, 5, 0, true, {"a", "b", "c", "d"}, 3, "d"},
             {Edit::Remove, 3, 0, true, {"a", "b", "d", "e"}, 2, "d"},  // the current song goes: d comes next
             {Edit::Remove, 0, 0, false, unchanged, 3, "d"},
             {Edit::Remove, 6, 0, false, unchanged, 3, "d"},
             {Edit::Move, 1, 5, true, {"b", "c", "d", "e", "a"}, 2, "d"},
             {Edit::Move, 5, 1, true, {"e", "a", "b", "c", "d"}, 4, "d"},
             {Edit::Move, 3, 1, true, {"c", "a", "b", "d", "e"}, 1, "a"},
             {Edit::Move, 4, 5, true, {"a", "b", "c", "e", "d"}, 3, "e"},
             {Edit::Move, 2, 9, false, unchanged, 3, "d"},
             {Edit::AfterCurrent, 5, 0, true, {"a", "b", "c", "e", "d"}, 3, "e"},
             {Edit::AfterCurrent, 1, 0, true, {"b", "c", "a", "d", "e"}, 2, "a"},
             {Edit::AfterCurrent, 3, 0, false, unchanged, 3, "d"},
         }) {
        auto queue = queueOf({"a", "b", "c", "d", "e"});
        queue->setPosition(3);
        const bool done = row.edit == Edit::Remove ? queue->remove(row.first)
                          : row.edit == Edit::Move ? queue->move(row.first, row.second)
                                                   : queue->moveAfterCurrent(row.first);
        const std::string name = std::to_string(int(row.edit)) + " " + std::to_string(row.first);
        EXPECT_EQ(done, row.done) << name;
        EXPECT_EQ(queue->ids(), row.ids) << name;
        EXPECT_EQ(queue->position(), row.position) << name;
        EXPECT_EQ(queue->next(PlayMode::List, kAllAvailable), row.playsNext) << name;
    }
}

TEST(PlayQueueTest, RemovingTheFirstSongWhileItIsCurrentLeadsNextToTheSongAfterIt) {
    auto queue = queueOf({"a", "b", "c"});
    EXPECT_TRUE(queue->remove(1));
    EXPECT_EQ(queue->next(PlayMode::List, kAllAvailable), "b");
    EXPECT_TRUE(queue->remove(1));
    EXPECT_TRUE(queue->remove(1));
    EXPECT_EQ(queue->size(), 0);
    EXPECT_EQ(queue->position(), 1);
    EXPECT_EQ(queue->next(PlayMode::List, kAllAvailable), std::nullopt);
}

TEST(PlayQueueTest, ClearEmptiesAndResetsThePosition) {
    auto queue = queueOf({"a", "b"});
    queue->setPosition(2);
    queue->clear();
    EXPECT_EQ(queue->size(), 0);
    EXPECT_EQ(queue->position(), 1);
}

}  // namespace
