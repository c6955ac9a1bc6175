#include "app/BackgroundTask.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <thread>

namespace BackgroundTask {

// Lives on the UI thread; `finished` is emitted there after the routine returns.
struct TaskState : QObject {
    Q_OBJECT
public:
    std::atomic<bool> done{false};
signals:
    void finished();
};

namespace {

void launch(std::function<void()> routine, const std::shared_ptr<TaskState>& state) {
    std::thread([routine = std::move(routine), state]() mutable {
        routine();
        routine = nullptr;  // release what the routine captured before reporting the end
        if (!state) return;
        state->done.store(true, std::memory_order_release);
        // The signal is emitted on the UI thread, where every waiting loop lives.
        QMetaObject::invokeMethod(state.get(), [state] { emit state->finished(); }, Qt::QueuedConnection);
    }).detach();
}

}  // namespace

Handle start(std::function<void()> routine) {
    auto state = std::make_shared<TaskState>();
    state->moveToThread(QCoreApplication::instance() ? QCoreApplication::instance()->thread() : state->thread());
    launch(std::move(routine), state);
    return state;
}

void startDetached(std::function<void()> routine) { launch(std::move(routine), nullptr); }

bool isFinished(const Handle& task) { return task && task->done.load(std::memory_order_acquire); }

bool waitPumping(const Handle& task, int timeoutMs) {
    if (!task) return false;
    if (isFinished(task)) {
        QCoreApplication::processEvents();
        return true;
    }
    QEventLoop loop;
    QObject::connect(task.get(), &TaskState::finished, &loop, &QEventLoop::quit);
    QTimer timeout;
    if (timeoutMs > 0) {
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
        timeout.start(timeoutMs);
    }
    // The task may have ended between the check above and the connection.
    if (!isFinished(task)) loop.exec();
    QCoreApplication::processEvents();
    return isFinished(task);
}

}  // namespace BackgroundTask

void runOnUiThread(QObject* context, std::function<void()> update) {
    QMetaObject::invokeMethod(context, std::move(update), Qt::QueuedConnection);
}

#include "BackgroundTask.moc"
