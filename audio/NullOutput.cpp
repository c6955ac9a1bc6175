#include "audio/NullOutput.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// How often the pacing thread pulls, like a device's period.
constexpr auto kPeriod = std::chrono::milliseconds(10);

// Threads: start()/stop() come from the stream's control calls (serialised by
// the stream); the pacing thread alone runs pace() and owns `scratch_`.
class PacedSink final : public AudioSink {
public:
    PacedSink(const SinkFormat& format, FrameSource& source) : format_(format), source_(source) {}
    ~PacedSink() override { stop(); }

    bool start() override {
        if (!pacer_.joinable()) pacer_ = std::jthread([this](std::stop_token stop) { pace(stop); });
        return true;
    }

    void stop() override {
        if (!pacer_.joinable()) return;
        pacer_.request_stop();
        pacer_.join();
        pacer_ = std::jthread();
    }

    int64_t latencyFrames() const override { return 0; }

private:
    void pace(const std::stop_token& stop) {
        const auto started = Clock::now();
        int64_t pulled = 0;
        std::mutex mutex;
        std::condition_variable_any wake;
        std::unique_lock lock(mutex);
        for (;;) {
            // Sleeps one period, or less when a stop is requested.
            wake.wait_for(lock, stop, kPeriod, [] { return false; });
            if (stop.stop_requested()) return;
            const auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - started);
            const int64_t due = elapsed.count() * format_.sampleRate / 1'000'000 - pulled;
            if (due <= 0) continue;
            scratch_.resize(static_cast<size_t>(due * format_.channels));
            source_.render(scratch_.data(), due);
            pulled += due;
        }
    }

    const SinkFormat format_;
    FrameSource& source_;
    std::vector<int16_t> scratch_;
    std::jthread pacer_;
};

}  // namespace

std::unique_ptr<AudioSink> NullOutput::open(const SinkFormat& format, FrameSource& source) {
    return std::make_unique<PacedSink>(format, source);
}
