#include "TaskWait.h"
#include "base/BackgroundTask.h"

#include "base/TaskStop.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {

class BackgroundTaskTest : public ::testing::Test {
protected:
    TaskOwner tasks;
};

TEST_F(BackgroundTaskTest, WaitKeepsTimersTickingAndReturnsOnlyAfterTheTaskEnds) {
    std::atomic<bool> routineDone{false};
    auto task = tasks.start([&] {
        std::this_thread::sleep_for(300ms);
        routineDone = true;
    });
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);

    EXPECT_TRUE(waitForTask(task, 0));
    EXPECT_TRUE(routineDone);
    EXPECT_GE(ticks, 5) << "the timer kept ticking during the wait";
}

TEST_F(BackgroundTaskTest, TimeOutReturnsFalseWhileTheTaskStillRuns) {
    std::atomic<bool> release{false};
    auto task = tasks.start([&] {
        while (!release) std::this_thread::sleep_for(5ms);
    });
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(waitForTask(task, 50));
    EXPECT_GE(clock.elapsed(), 45);
    release = true;
    EXPECT_TRUE(waitForTask(task, 0));
}

TEST_F(BackgroundTaskTest, TaskThatEndedBeforeTheWaitStillDispatchesPendingEvents) {
    auto task = tasks.start([] {});
    while (!BackgroundTask::isFinished(task)) std::this_thread::sleep_for(1ms);
    bool pendingRan = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { pendingRan = true; }, Qt::QueuedConnection);
    EXPECT_TRUE(waitForTask(task));
    EXPECT_TRUE(pendingRan);
}

TEST_F(BackgroundTaskTest, WaitsNestAndEachReturnsWhenItsOwnTaskEnds) {
    std::atomic<bool> releaseOuter{false};
    auto outer = tasks.start([&] {
        while (!releaseOuter) std::this_thread::sleep_for(2ms);
    });
    bool innerResult = false;
    bool outerEndedDuringInner = true;
    // While the outer wait pumps, a handler starts and waits for another task.
    QTimer::singleShot(20, [&] {
        auto inner = tasks.start([] { std::this_thread::sleep_for(50ms); });
        innerResult = waitForTask(inner);
        outerEndedDuringInner = BackgroundTask::isFinished(outer);
        releaseOuter = true;
    });
    EXPECT_TRUE(waitForTask(outer));
    EXPECT_TRUE(innerResult);
    EXPECT_FALSE(outerEndedDuringInner);
}

TEST_F(BackgroundTaskTest, UpdatesHandedToTheUiThreadRunThereInOrder) {
    QObject context;
    std::vector<int> applied;
    std::atomic<bool> wrongThread{false};
    auto uiThread = std::this_thread::get_id();
    auto task = tasks.start([&] {
        for (int i = 0; i < 100; ++i)
            runOnUiThread(&context, [&, i] {
                if (std::this_thread::get_id() != uiThread) wrongThread = true;
                applied.push_back(i);
            });
    });
    ASSERT_TRUE(waitForTask(task));
    QCoreApplication::processEvents();
    ASSERT_EQ(applied.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(applied[i], i);
    EXPECT_FALSE(wrongThread);
}

TEST_F(BackgroundTaskTest, UpdatesForADestroyedContextAreDropped) {
    bool applied = false;
    {
        QObject context;
        auto task = tasks.start([&] { runOnUiThread(&context, [&] { applied = true; }); });
        while (!BackgroundTask::isFinished(task)) std::this_thread::sleep_for(1ms);
    }
    QCoreApplication::processEvents();
    EXPECT_FALSE(applied);
}

// A task sees its owner's stop request through the thread's stop token, and
// a thread that runs no task has a token that never stops.
TEST_F(BackgroundTaskTest, OwnerDestructionStopsAndJoinsItsTasks) {
    std::atomic<bool> sawStop{false};
    std::atomic<bool> ended{false};
    EXPECT_FALSE(TaskStop::current().stop_possible());
    {
        TaskOwner owner;
        owner.start([&] {
            while (!TaskStop::requested()) std::this_thread::sleep_for(1ms);
            sawStop = true;
            std::this_thread::sleep_for(20ms);  // still running when the destructor starts joining
            ended = true;
        });
        EXPECT_EQ(owner.runningCount(), 1);
    }
    EXPECT_TRUE(sawStop);
    EXPECT_TRUE(ended) << "the owner returned before its task ended";
}

TEST_F(BackgroundTaskTest, AStopRequestReachesOnlyItsOwnTask) {
    std::atomic<bool> release{false};
    std::atomic<int> stopped{0};
    auto routine = [&] {
        while (!release && !TaskStop::requested()) std::this_thread::sleep_for(1ms);
        if (TaskStop::requested()) ++stopped;
    };
    auto first = tasks.start(routine);
    auto second = tasks.start(routine);
    first->requestStop();
    ASSERT_TRUE(waitForTask(first, 5000));
    EXPECT_FALSE(second->isFinished());
    release = true;
    ASSERT_TRUE(waitForTask(second, 5000));
    EXPECT_EQ(stopped, 1);
    EXPECT_EQ(tasks.runningCount(), 0);
}

}  // namespace
