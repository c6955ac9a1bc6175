#pragma once
// One load at a time for a part of a page (a header, say): starting a load
// asks the one before to stop, and whatever an older load still hands over
// is dropped, so the part always ends up showing the newest load.
#include "base/BackgroundTask.h"

#include <cstdint>
#include <functional>

class QObject;

class LatestLoad {
public:
    // Hands a UI-thread update over from the task; it runs only if its load
    // is still the newest when it gets there.
    using Deliver = std::function<void(std::function<void()> update)>;

    // `receiver` runs the updates and must outlive this.
    explicit LatestLoad(QObject* receiver) : receiver_(receiver) {}

    // Runs `work` on a background task, which delivers its results in order.
    BackgroundTask::Handle start(std::function<void(const Deliver& deliver)> work);
    // Drops whatever the load under way still hands over, and asks it to stop.
    void cancel();

private:
    QObject* receiver_;
    std::uint64_t generation_ = 0;  // bumped by every start; UI thread only
    BackgroundTask::Handle task_;
    TaskOwner tasks_;  // last: its tasks stop before anything above goes
};
