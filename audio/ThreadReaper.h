#pragma once
// Joins threads that were told to end, off the thread that let them go: a
// freed stream's decode thread may still be leaving a network read, and the
// caller freeing it must not wait for that. Every thread handed over is
// joined, at the latest when the reaper goes.
//
// Threads: retire() from any thread; the reaper's own thread joins. `mutex_`
// guards `retired_` and `stopping_`; `worker_` is started once under it and
// joined by the destructor.
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class ThreadReaper {
public:
    ThreadReaper() = default;
    // Joins every thread handed over, then its own.
    ~ThreadReaper();
    ThreadReaper(const ThreadReaper&) = delete;
    ThreadReaper& operator=(const ThreadReaper&) = delete;

    // Takes `thread`, which has been told to end, and joins it soon.
    void retire(std::thread thread);

private:
    void run();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::thread> retired_;
    bool stopping_ = false;
    std::thread worker_;
};
