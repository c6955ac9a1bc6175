#pragma once
// Stands in for a sound device where there is none: each sink takes frames
// from its source at real-time pace and discards them, so positions and
// activity states move exactly as they would with a device.
#include "audio/AudioOutput.h"

class NullOutput final : public AudioOutput {
public:
    std::unique_ptr<AudioSink> open(const SinkFormat& format, FrameSource& source) override;
};
