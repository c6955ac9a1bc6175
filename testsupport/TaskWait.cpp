#include "TaskWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

bool waitForTask(const BackgroundTask::Handle& task, int timeoutMs) {
    if (!task) return false;
    if (BackgroundTask::isFinished(task)) {
        QCoreApplication::processEvents();
        return true;
    }
    QEventLoop loop;
    QObject::connect(task.get(), &BackgroundTask::TaskState::finished, &loop, &QEventLoop::quit);
    QTimer timeout;
    if (timeoutMs > 0) {
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
        timeout.start(timeoutMs);
    }
    // The task may have ended between the check above and the connection.
    if (!BackgroundTask::isFinished(task)) loop.exec();
    QCoreApplication::processEvents();
    return BackgroundTask::isFinished(task);
}
