#pragma once
// An output that pulls on the bench's own thread as fast as its source has
// frames ready, and keeps everything it pulled: what a listener would hear,
// sample for sample, without waiting for real time. One sink at a time.
#include "audio/AudioOutput.h"

#include <cstdint>
#include <memory>
#include <vector>

class CapturingOutput final : public AudioOutput {
public:
    std::unique_ptr<AudioSink> open(const SinkFormat& format, FrameSource& source) override;
    // Pulls `frames` frames from the sink opened last once it is started,
    // waiting for each period to be ready; returns them interleaved.
    std::vector<int16_t> capture(int64_t frames);
    const SinkFormat& format() const { return format_; }

private:
    class Sink;
    Sink* sink_ = nullptr;  // cleared by the sink as it goes
    SinkFormat format_;
};
