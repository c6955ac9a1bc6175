#pragma once
// Lets any thread abandon a decoder's blocking reads: FFmpeg polls it through
// its interrupt callback while it connects, waits for data or reconnects.
// Fired by any thread (a freed stream, a stopped task while the stream
// opens), read by the decode thread.
#include <atomic>

class CancelToken {
public:
    void cancel() { cancelled_.store(true, std::memory_order_release); }
    bool cancelled() const { return cancelled_.load(std::memory_order_acquire); }

private:
    std::atomic<bool> cancelled_{false};
};
