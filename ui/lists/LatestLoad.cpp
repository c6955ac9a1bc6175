#include "ui/lists/LatestLoad.h"

BackgroundTask::Handle LatestLoad::start(std::function<void(const Deliver& deliver)> work) {
    const std::uint64_t generation = ++generation_;
    if (task_) task_->requestStop();
    task_ = tasks_.start([this, generation, work = std::move(work)] {
        work([this, generation](std::function<void()> update) {
            runOnUiThread(receiver_, [this, generation, update = std::move(update)] {
                if (generation == generation_) update();
            });
        });
    });
    return task_;
}

void LatestLoad::cancel() {
    ++generation_;
    if (task_) task_->requestStop();
}
