#pragma once
// Routines run on their own OS thread, and a wait for them that keeps the UI
// thread's event loop running, so timers tick and the window stays responsive.
#include <functional>
#include <memory>

class QObject;

namespace BackgroundTask {

struct TaskState;
using Handle = std::shared_ptr<TaskState>;

// Starts `routine` on a new thread at once and returns a handle to wait on.
// Must be called on the UI thread (the thread the application runs on).
Handle start(std::function<void()> routine);

// Starts `routine` on a new thread when nobody will wait for it.
void startDetached(std::function<void()> routine);

// Runs a nested event loop until the task ends or `timeoutMs` passes (0 means
// no limit). Returns true exactly when the task has ended. Pending events are
// processed at least once, even when the task had already ended. Waits nest.
bool waitPumping(const Handle& task, int timeoutMs = 0);

// True once the task's routine has returned.
bool isFinished(const Handle& task);

// Runs a blocking call on its own thread while the UI thread keeps pumping
// events, and returns its result once it has ended.
template <typename Call>
auto runPumping(Call call) -> decltype(call()) {
    decltype(call()) result{};
    waitPumping(start([&] { result = call(); }));
    return result;
}

}  // namespace BackgroundTask

// Hands `update` to the UI thread. Updates from one thread run in the order
// they were handed over; an update whose `context` has been destroyed is dropped.
void runOnUiThread(QObject* context, std::function<void()> update);
