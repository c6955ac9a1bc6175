#include "base/BackgroundTask.h"

#include "base/TaskStop.h"

#include <QCoreApplication>

namespace BackgroundTask {

bool isFinished(const Handle& task) { return task && task->isFinished(); }

}  // namespace BackgroundTask

TaskOwner::~TaskOwner() {
    std::list<Task> tasks;
    {
        std::lock_guard lock(mutex_);
        tasks.swap(tasks_);
    }
    for (Task& task : tasks) task.state->requestStop();
    for (Task& task : tasks) task.thread.join();
}

BackgroundTask::Handle TaskOwner::start(std::function<void()> routine) {
    auto state = std::make_shared<BackgroundTask::TaskState>();
    if (QCoreApplication::instance()) state->moveToThread(QCoreApplication::instance()->thread());
    joinFinished();
    std::lock_guard lock(mutex_);
    tasks_.push_back({state, std::thread([routine = std::move(routine), state]() mutable {
                          {
                              TaskStop::Scope scope(state->stop_.get_token());
                              routine();
                              routine = nullptr;  // release what the routine captured before reporting the end
                          }
                          state->done_.store(true, std::memory_order_release);
                          // Emitted on the UI thread, where every waiting loop lives.
                          QMetaObject::invokeMethod(
                              state.get(), [state] { emit state->finished(); }, Qt::QueuedConnection);
                      })});
    return state;
}

void TaskOwner::requestStopAll() {
    std::lock_guard lock(mutex_);
    for (Task& task : tasks_) task.state->requestStop();
}

int TaskOwner::runningCount() const {
    std::lock_guard lock(mutex_);
    int running = 0;
    for (const Task& task : tasks_) running += task.state->isFinished() ? 0 : 1;
    return running;
}

// Threads whose routine has returned end at once; joining them keeps the
// list as short as the tasks still running.
void TaskOwner::joinFinished() {
    std::list<Task> finished;
    {
        std::lock_guard lock(mutex_);
        for (auto it = tasks_.begin(); it != tasks_.end();) {
            auto next = std::next(it);
            if (it->state->isFinished()) finished.splice(finished.end(), tasks_, it);
            it = next;
        }
    }
    for (Task& task : finished) task.thread.join();
}

void runOnUiThread(QObject* context, std::function<void()> update) {
    QMetaObject::invokeMethod(context, std::move(update), Qt::QueuedConnection);
}
