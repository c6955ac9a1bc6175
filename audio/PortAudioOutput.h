#pragma once
// Sound through PortAudio on one output device. Each sink is a PortAudio
// stream at the source's own rate and channel count, in 32-bit float where
// the device takes it (else packed 24-bit, else 16-bit), whose callback only
// copies from the source (which pads gaps with silence).
#include "audio/AudioOutput.h"

#include <memory>
#include <string>
#include <vector>

// A device sound can go to, as AudioEngine::init and useDevice name it.
struct OutputDevice {
    int number = -1;   // -1 the default device, n the n-th device
    std::string name;  // as PortAudio gives it, with its host API
};

class PortAudioOutput final : public AudioOutput {
public:
    // `device` is a PortAudio device index, or -1 for the default output.
    // nullptr when PortAudio cannot start or the device has no outputs.
    static std::shared_ptr<PortAudioOutput> create(int device);
    // The devices with outputs: the default device first (number -1), then
    // every one PortAudio lists. Empty when PortAudio cannot start.
    static std::vector<OutputDevice> devices();

    std::unique_ptr<AudioSink> open(const SinkFormat& format, FrameSource& source) override;

    struct Library;

private:
    PortAudioOutput(std::shared_ptr<Library> library, int device) : library_(std::move(library)), device_(device) {}

    std::shared_ptr<Library> library_;  // kept alive by every sink too
    int device_;
};
