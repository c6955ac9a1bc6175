#include "audio/ThreadReaper.h"

ThreadReaper::~ThreadReaper() {
    std::thread worker;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        worker = std::move(worker_);
    }
    changed_.notify_all();
    // The worker leaves once it has joined every thread retired.
    if (worker.joinable()) worker.join();
}

void ThreadReaper::retire(std::thread thread) {
    if (!thread.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        retired_.push_back(std::move(thread));
        if (!worker_.joinable() && !stopping_) worker_ = std::thread([this] { run(); });
    }
    changed_.notify_all();
}

void ThreadReaper::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return stopping_ || !retired_.empty(); });
        if (retired_.empty()) return;
        std::thread thread = std::move(retired_.front());
        retired_.pop_front();
        lock.unlock();
        thread.join();
        lock.lock();
    }
}
