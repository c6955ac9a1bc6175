#include "app/BackgroundTask.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

TEST(BackgroundTaskTest, WaitKeepsTimersTickingAndReturnsOnlyAfterTheTaskEnds) {
    std::atomic<bool> routineDone{false};
    auto task = BackgroundTask::start([&] {
        std::this_thread::sleep_for(300ms);
        routineDone = true;
    });
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);

    EXPECT_TRUE(BackgroundTask::waitPumping(task, 0));
    EXPECT_TRUE(routineDone);
    EXPECT_GE(ticks, 5) << "the timer kept ticking during the wait";
}

TEST(BackgroundTaskTest, TimeOutReturnsFalseWhileTheTaskStillRuns) {
    std::atomic<bool> release{false};
    auto task = BackgroundTask::start([&] {
        while (!release) std::this_thread::sleep_for(5ms);
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(BackgroundTask::waitPumping(task, 50));
    EXPECT_GE(clock.elapsed(), 45);
    release = true;
    EXPECT_TRUE(BackgroundTask::waitPumping(task, 0));
}

TEST(BackgroundTaskTest, TaskThatEndedBeforeTheWaitStillDispatchesPendingEvents) {
    auto task = BackgroundTask::start([] {});
    while (!BackgroundTask::isFinished(task)) std::this_thread::sleep_for(1ms);
    bool pendingRan = false;
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { pendingRan = true; }, Qt::QueuedConnection);
    EXPECT_TRUE(BackgroundTask::waitPumping(task));
    EXPECT_TRUE(pendingRan);
}

TEST(BackgroundTaskTest, WaitsNestAndEachReturnsWhenItsOwnTaskEnds) {
    std::atomic<bool> releaseOuter{false};
    auto outer = BackgroundTask::start([&] {
        while (!releaseOuter) std::this_thread::sleep_for(2ms);
    });
    bool innerResult = false;
    bool outerEndedDuringInner = true;
    // While the outer wait pumps, a handler starts and waits for another task.
    QTimer::singleShot(20, [&] {
        auto inner = BackgroundTask::start([] { std::this_thread::sleep_for(50ms); });
        innerResult = BackgroundTask::waitPumping(inner);
        outerEndedDuringInner = BackgroundTask::isFinished(outer);
        releaseOuter = true;
    });
    EXPECT_TRUE(BackgroundTask::waitPumping(outer));
    EXPECT_TRUE(innerResult);
    EXPECT_FALSE(outerEndedDuringInner);
}

TEST(BackgroundTaskTest, UpdatesHandedToTheUiThreadRunThereInOrder) {
    QObject context;
    std::vector<int> applied;
    std::atomic<bool> wrongThread{false};
    auto uiThread = std::this_thread::get_id();
    auto task = BackgroundTask::start([&] {
        for (int i = 0; i < 100; ++i) runOnUiThread(&context, [&, i] {
            if (std::this_thread::get_id() != uiThread) wrongThread = true;
            applied.push_back(i);
        });
    });
    ASSERT_TRUE(BackgroundTask::waitPumping(task));
    QCoreApplication::processEvents();
    ASSERT_EQ(applied.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(applied[i], i);
    EXPECT_FALSE(wrongThread);
}

TEST(BackgroundTaskTest, UpdatesForADestroyedContextAreDropped) {
    bool applied = false;
    {
        QObject context;
        auto task = BackgroundTask::start([&] { runOnUiThread(&context, [&] { applied = true; }); });
        while (!BackgroundTask::isFinished(task)) std::this_thread::sleep_for(1ms);
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(applied);
}

}  // namespace
