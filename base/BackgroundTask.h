#pragma once
// Routines run on threads of their own, each owned by a `TaskOwner`; the
// UI thread learns of a routine's end through its `finished` signal.
//
// An owner's destructor asks its tasks to stop and joins them, so no task
// outlives the objects its routine uses: declare the owner after (below)
// everything its tasks touch. A stop request reaches the blocking calls a
// task makes through `TaskStop::current()` (HTTP transfers, stream opens).
#include <QObject>
#include <atomic>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

class TaskOwner;

namespace BackgroundTask {

// One task's state, shared by its thread and whoever waits for it. Lives on
// the UI thread; `finished` is emitted there after the routine returns.
class TaskState : public QObject {
    Q_OBJECT
public:
    bool isFinished() const { return done_.load(std::memory_order_acquire); }
    // Asks the routine to stop; it sees so through `TaskStop::current()`.
    void requestStop() { stop_.request_stop(); }

signals:
    void finished();

private:
    friend class ::TaskOwner;
    std::stop_source stop_;
    std::atomic<bool> done_{false};
};

using Handle = std::shared_ptr<TaskState>;

// True once the task's routine has returned.
bool isFinished(const Handle& task);

}  // namespace BackgroundTask

// Owns the threads of the tasks it starts. Call it from the UI thread.
class TaskOwner {
public:
    TaskOwner() = default;
    // Asks every task still running to stop and waits until all have ended.
    ~TaskOwner();
    TaskOwner(const TaskOwner&) = delete;
    TaskOwner& operator=(const TaskOwner&) = delete;

    // Starts `routine` on a new thread at once; the handle waits on it and
    // asks it to stop.
    BackgroundTask::Handle start(std::function<void()> routine);

    // Asks every task still running to stop, without waiting.
    void requestStopAll();
    // Tasks whose routine has not returned yet.
    int runningCount() const;

private:
    struct Task {
        BackgroundTask::Handle state;
        std::thread thread;
    };
    void joinFinished();

    mutable std::mutex mutex_;
    std::list<Task> tasks_;  // guarded by mutex_; joined when finished or at destruction
};

// Hands `update` to the UI thread. Updates from one thread run in the order
// they were handed over; an update whose `context` has been destroyed is dropped.
void runOnUiThread(QObject* context, std::function<void()> update);
