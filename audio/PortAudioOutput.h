#pragma once
// Sound through PortAudio on one output device. Each sink is a PortAudio
// stream at the source's own rate and channel count, whose callback only
// copies from the source (which pads gaps with silence).
#include "audio/AudioOutput.h"

#include <memory>

class PortAudioOutput final : public AudioOutput {
public:
    // `device` is a PortAudio device index, or -1 for the default output.
    // nullptr when PortAudio cannot start or the device has no outputs.
    static std::shared_ptr<PortAudioOutput> create(int device);

    std::unique_ptr<AudioSink> open(const SinkFormat& format, FrameSource& source) override;

    struct Library;

private:
    PortAudioOutput(std::shared_ptr<Library> library, int device) : library_(std::move(library)), device_(device) {}

    std::shared_ptr<Library> library_;  // kept alive by every sink too
    int device_;
};
