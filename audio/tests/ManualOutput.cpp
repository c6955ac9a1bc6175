#include "ManualOutput.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace {

constexpr int64_t kPeriodFrames = 512;

}  // namespace

class ManualOutput::Sink final : public AudioSink {
public:
    Sink(ManualOutput& output, const SinkFormat& format, FrameSource& source)
        : output_(output), format_(format), source_(source) {
        std::lock_guard lock(output_.mutex_);
        output_.sinks_.push_back(this);
    }

    ~Sink() override {
        std::lock_guard lock(output_.mutex_);
        std::erase(output_.sinks_, this);
    }

    bool start() override {
        std::lock_guard lock(output_.mutex_);
        started = true;
        return true;
    }

    void stop() override {
        std::lock_guard lock(output_.mutex_);
        started = false;
    }

    int64_t latencyFrames() const override { return output_.latencyFrames_; }

    ManualOutput& output_;
    const SinkFormat format_;
    FrameSource& source_;
    bool started = false;  // guarded by the output's mutex
};

std::unique_ptr<AudioSink> ManualOutput::open(const SinkFormat& format, FrameSource& source) {
    return std::make_unique<Sink>(*this, format, source);
}

void ManualOutput::advance(int64_t frames) {
    std::lock_guard lock(mutex_);
    lastPulled_.clear();
    lastPulledFloat_.clear();
    for (Sink* sink : sinks_) {
        if (!sink->started) continue;
        std::vector<int16_t> block;
        std::vector<float> floatBlock;
        for (int64_t done = 0; done < frames;) {
            const int64_t count = std::min(kPeriodFrames, frames - done);
            const auto samples = static_cast<size_t>(count * sink->format_.channels);
            if (samples_ == Samples::kFloat) {
                floatBlock.resize(samples);
                sink->source_.renderFloat(floatBlock.data(), count);
                lastPulledFloat_.insert(lastPulledFloat_.end(), floatBlock.begin(), floatBlock.end());
            } else {
                block.resize(samples);
                sink->source_.render(block.data(), count);
                lastPulled_.insert(lastPulled_.end(), block.begin(), block.end());
            }
            done += count;
        }
    }
}

bool ManualOutput::waitUntilReady(int64_t frames) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    for (;;) {
        {
            std::lock_guard lock(mutex_);
            if (std::all_of(sinks_.begin(), sinks_.end(),
                            [&](const Sink* sink) { return !sink->started || sink->source_.canRender(frames); })) {
                return true;
            }
        }
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

std::vector<int16_t> ManualOutput::lastPulled() const {
    std::lock_guard lock(mutex_);
    return lastPulled_;
}

std::vector<float> ManualOutput::lastPulledFloat() const {
    std::lock_guard lock(mutex_);
    return lastPulledFloat_;
}
