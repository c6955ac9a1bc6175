#include "CapturingOutput.h"

#include <chrono>
#include <thread>

namespace {

constexpr int64_t kPeriodFrames = 1024;

}  // namespace

class CapturingOutput::Sink final : public AudioSink {
public:
    Sink(CapturingOutput& output, FrameSource& source) : output_(output), source_(source) {}
    ~Sink() override {
        if (output_.sink_ == this) output_.sink_ = nullptr;
    }
    bool start() override { return started = true; }
    void stop() override { started = false; }
    int64_t latencyFrames() const override { return 0; }

    CapturingOutput& output_;
    FrameSource& source_;
    bool started = false;
};

std::unique_ptr<AudioSink> CapturingOutput::open(const SinkFormat& format, FrameSource& source) {
    auto sink = std::make_unique<Sink>(*this, source);
    sink_ = sink.get();
    format_ = format;
    return sink;
}

std::vector<int16_t> CapturingOutput::capture(int64_t frames) {
    std::vector<int16_t> captured;
    std::vector<int16_t> block(static_cast<size_t>(kPeriodFrames * format_.channels));
    for (int64_t done = 0; sink_ && sink_->started && done < frames; done += kPeriodFrames) {
        while (!sink_->source_.canRender(kPeriodFrames)) std::this_thread::sleep_for(std::chrono::microseconds(200));
        sink_->source_.render(block.data(), kPeriodFrames);
        captured.insert(captured.end(), block.begin(), block.end());
    }
    return captured;
}
