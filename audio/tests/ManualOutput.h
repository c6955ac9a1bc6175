#pragma once
// An output driven by the test's own clock instead of real time: nothing is
// pulled until advance(), which pulls on the calling thread from every started
// sink, in blocks the size of a device period. Its sinks report a chosen
// latency, so the position heard trails what was pulled.
#include "audio/AudioOutput.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

class ManualOutput final : public AudioOutput {
public:
    enum class Samples { kInt16, kFloat };
    explicit ManualOutput(int64_t latencyFrames = 0, Samples samples = Samples::kInt16)
        : latencyFrames_(latencyFrames), samples_(samples) {}

    std::unique_ptr<AudioSink> open(const SinkFormat& format, FrameSource& source) override;

    // Pulls `frames` frames from every started sink.
    void advance(int64_t frames);
    // Waits, up to a generous limit, until every started sink's source could
    // give `frames` frames without padding. False at the limit.
    bool waitUntilReady(int64_t frames) const;
    // The interleaved samples the last advance() pulled from started sinks.
    std::vector<int16_t> lastPulled() const;
    // The same from an output made with Samples::kFloat.
    std::vector<float> lastPulledFloat() const;

private:
    class Sink;
    const int64_t latencyFrames_;
    const Samples samples_;
    mutable std::mutex mutex_;  // guards every field below and each sink's `started`
    std::vector<Sink*> sinks_;  // open sinks, each removing itself when destroyed
    std::vector<int16_t> lastPulled_;
    std::vector<float> lastPulledFloat_;
};
