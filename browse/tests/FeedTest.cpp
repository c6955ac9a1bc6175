// Feeds without a window: what a load, a failure, a retry and the next
// page leave in the feed, and that a newer load always wins over an older
// one still under way.
#include "TaskWait.h"
#include "browse/Feed.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Records = std::vector<int>;

// A list of `size` records (1, 2, 3, ...) served a window at a time; the
// calls listed in `failing` (0-based, in the order they come) fail instead.
class ScriptedList {
public:
    ScriptedList(int size, std::vector<int> failing) : size_(size), failing_(std::move(failing)) {}

    Feed<int>::Fetch fetch() {
        return [this](FeedWindow window, ServiceStatus* status) {
            std::lock_guard lock(mutex_);
            const int call = int(asked_.size());
            asked_.push_back(window);
            if (std::find(failing_.begin(), failing_.end(), call) != failing_.end()) {
                *status = ServiceStatus::Failed;
                return Records{};
            }
            Records page;
            const int end = window.limit > 0 ? std::min(size_, window.offset + window.limit) : size_;
            for (int i = window.offset; i < end; ++i) page.push_back(i + 1);
            return page;
        };
    }
    std::vector<std::pair<int, int>> asked() const {
        std::lock_guard lock(mutex_);
        std::vector<std::pair<int, int>> windows;
        for (const FeedWindow& w : asked_) windows.emplace_back(w.offset, w.limit);
        return windows;
    }

private:
    const int size_;
    const std::vector<int> failing_;
    mutable std::mutex mutex_;  // the feed's tasks call in
    std::vector<FeedWindow> asked_;
};

Records upTo(int last) {
    Records records;
    for (int i = 1; i <= last; ++i) records.push_back(i);
    return records;
}

// Waits until the feed's request (if any) has handed its result over.
void settle(Feed<int>& feed) {
    if (!feed.isLoading()) return;
    QSignalSpy ended(&feed, &FeedSignals::requestEnded);
    ASSERT_TRUE(ended.wait(5000));
}

enum class Step { Load, More, Retry, Reload };

struct FeedCase {
    const char* name;
    int pageSize;
    int listSize;
    std::vector<int> failingCalls;
    std::vector<Step> steps;
    std::vector<std::pair<int, int>> windowsAsked;  // offset, limit of each request, in order
    Records items;
    ServiceStatus status;
    bool hasMore;
};

void PrintTo(const FeedCase& c, std::ostream* out) { *out << c.name; }

class FeedCases : public ::testing::TestWithParam<FeedCase> {};

TEST_P(FeedCases, LeaveTheFeedAsTheyShould) {
    const FeedCase& c = GetParam();
    ScriptedList list(c.listSize, c.failingCalls);
    Feed<int> feed(c.pageSize);
    for (Step step : c.steps) {
        switch (step) {
            case Step::Load: feed.load(list.fetch()); break;
            case Step::More: feed.loadMore(); break;
            case Step::Retry: feed.retry(); break;
            case Step::Reload: feed.reload(); break;
        }
        settle(feed);
    }
    EXPECT_EQ(list.asked(), c.windowsAsked);
    EXPECT_EQ(feed.items(), c.items);
    EXPECT_EQ(feed.status(), c.status);
    EXPECT_EQ(feed.hasMore(), c.hasMore);
    EXPECT_FALSE(feed.isLoading());
}

using S = Step;
constexpr auto kOk = ServiceStatus::Answered;
constexpr auto kFailed = ServiceStatus::Failed;

INSTANTIATE_TEST_SUITE_P(
    Feed, FeedCases,
    ::testing::Values(
        FeedCase{"WholeListInOneAnswer", 0, 7, {}, {S::Load}, {{0, 0}}, upTo(7), kOk, false},
        FeedCase{"EmptyAnswerIsNoFailure", 0, 0, {}, {S::Load}, {{0, 0}}, {}, kOk, false},
        FeedCase{"FailedLoadStaysEmpty", 0, 7, {0}, {S::Load}, {{0, 0}}, {}, kFailed, false},
        FeedCase{"RetryAfterAFailureLoads", 0, 7, {0}, {S::Load, S::Retry}, {{0, 0}, {0, 0}}, upTo(7), kOk, false},
        FeedCase{"RetryWithoutAFailureAsksNothing", 0, 7, {}, {S::Load, S::Retry}, {{0, 0}}, upTo(7), kOk, false},
        FeedCase{"PagesOnWhileFull",
                 3,
                 7,
                 {},
                 {S::Load, S::More, S::More, S::More},
                 {{0, 3}, {3, 3}, {6, 3}},
                 upTo(7),
                 kOk,
                 false},
        FeedCase{"AFullLastPageAsksOnceMoreForNothing",
                 3,
                 6,
                 {},
                 {S::Load, S::More, S::More, S::More},
                 {{0, 3}, {3, 3}, {6, 3}},
                 upTo(6),
                 kOk,
                 false},
        FeedCase{"MoreBeforeAnyLoadAsksNothing", 3, 7, {}, {S::More}, {}, {}, kOk, false},
        FeedCase{"AFailedPageKeepsTheOnesBefore",
                 3,
                 7,
                 {1},
                 {S::Load, S::More, S::More},
                 {{0, 3}, {3, 3}},
                 upTo(3),
                 kFailed,
                 true},
        FeedCase{"RetryAsksForTheFailedPageAgain",
                 3,
                 7,
                 {1},
                 {S::Load, S::More, S::Retry, S::More},
                 {{0, 3}, {3, 3}, {3, 3}, {6, 3}},
                 upTo(7),
                 kOk,
                 false},
        FeedCase{
            "ReloadStartsOver", 3, 7, {}, {S::Load, S::More, S::Reload}, {{0, 3}, {3, 3}, {0, 3}}, upTo(3), kOk, true}),
    [](const ::testing::TestParamInfo<FeedCase>& info) { return std::string(info.param.name); });

// A fetch that holds its answer until the test lets it go.
class Gate {
public:
    void open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void pass() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

TEST(FeedTest, ANewerLoadWinsOverAnOlderOneStillUnderWay) {
    Gate first;
    Feed<int> feed;
    QSignalSpy appended(&feed, &FeedSignals::appended);
    const BackgroundTask::Handle older = feed.load([&first](FeedWindow, ServiceStatus*) {
        first.pass();
        return Records{100, 200};
    });
    feed.load([](FeedWindow, ServiceStatus*) { return Records{1, 2, 3}; });
    settle(feed);
    ASSERT_EQ(feed.items(), (Records{1, 2, 3}));

    first.open();
    ASSERT_TRUE(waitForTask(older, 5000));
    EXPECT_EQ(feed.items(), (Records{1, 2, 3})) << "the older answer is dropped";
    EXPECT_EQ(appended.count(), 1);
}

TEST(FeedTest, ViewsHearOfALoadWhileItsRequestIsUnderWay) {
    Feed<int> feed;
    bool loadingWhenStarted = false;
    QObject::connect(&feed, &FeedSignals::started, [&] { loadingWhenStarted = feed.isLoading(); });
    feed.load([](FeedWindow, ServiceStatus*) { return Records{1}; });
    EXPECT_TRUE(loadingWhenStarted);
    settle(feed);
}

TEST(FeedTest, ClearDropsWhatALoadUnderWayStillHandsOver) {
    Gate gate;
    Feed<int> feed;
    QSignalSpy ended(&feed, &FeedSignals::requestEnded);
    const BackgroundTask::Handle load = feed.load([&gate](FeedWindow, ServiceStatus*) {
        gate.pass();
        return Records{1};
    });
    feed.clear();
    gate.open();
    ASSERT_TRUE(waitForTask(load, 5000));
    EXPECT_TRUE(feed.items().empty());
    EXPECT_FALSE(feed.isLoading());
    EXPECT_EQ(ended.count(), 0);
}

}  // namespace
