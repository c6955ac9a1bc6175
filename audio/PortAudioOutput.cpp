#include "audio/PortAudioOutput.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <portaudio.h>

#include <cmath>
#include <mutex>

namespace {

// PortAudio's calls are not safe to make from several threads at once; every
// call outside a stream's callback is made under this lock.
std::mutex& portAudioMutex() {
    static std::mutex mutex;
    return mutex;
}

// ALSA and JACK print every device probe that fails (dozens of lines on a
// machine without a sound card or a JACK server) unless given handlers.
void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
void ignoreJackMessage(const char*) {}

void silenceBackendMessages() {
    snd_lib_error_set_handler(&ignoreAlsaMessage);
    jack_set_error_function(&ignoreJackMessage);
    jack_set_info_function(&ignoreJackMessage);
}

}  // namespace

// One initialisation of PortAudio, ended when the output and its last sink are gone.
struct PortAudioOutput::Library {
    bool ready = false;
    Library() {
        std::lock_guard lock(portAudioMutex());
        silenceBackendMessages();
        ready = Pa_Initialize() == paNoError;
    }
    ~Library() {
        std::lock_guard lock(portAudioMutex());
        if (ready) Pa_Terminate();
    }
};

namespace {

// Threads: start()/stop() come from the stream's control calls (serialised by
// the stream) and take the PortAudio lock; PortAudio's own thread runs the
// callback, which touches only the source.
class PortAudioSink final : public AudioSink {
public:
    PortAudioSink(std::shared_ptr<PortAudioOutput::Library> library, PaStream* stream, int64_t latency)
        : library_(std::move(library)), stream_(stream), latency_(latency) {}

    ~PortAudioSink() override {
        std::lock_guard lock(portAudioMutex());
        Pa_AbortStream(stream_);
        Pa_CloseStream(stream_);
    }

    bool start() override {
        std::lock_guard lock(portAudioMutex());
        if (Pa_IsStreamActive(stream_) == 1) return true;
        return Pa_StartStream(stream_) == paNoError;
    }

    void stop() override {
        std::lock_guard lock(portAudioMutex());
        if (Pa_IsStreamStopped(stream_) == 0) Pa_AbortStream(stream_);  // drops what the device still holds
    }

    int64_t latencyFrames() const override { return latency_; }

    static int callback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                        PaStreamCallbackFlags, void* source) {
        static_cast<FrameSource*>(source)->render(static_cast<int16_t*>(output), static_cast<int64_t>(frames));
        return paContinue;
    }

private:
    std::shared_ptr<PortAudioOutput::Library> library_;
    PaStream* stream_;
    const int64_t latency_;
};

}  // namespace

std::shared_ptr<PortAudioOutput> PortAudioOutput::create(int device) {
    auto library = std::make_shared<Library>();
    if (!library->ready) return nullptr;
    std::lock_guard lock(portAudioMutex());
    const int chosen = device < 0 ? Pa_GetDefaultOutputDevice() : device;
    if (chosen < 0 || chosen >= Pa_GetDeviceCount()) return nullptr;
    const PaDeviceInfo* info = Pa_GetDeviceInfo(chosen);
    if (!info || info->maxOutputChannels < 1) return nullptr;
    return std::shared_ptr<PortAudioOutput>(new PortAudioOutput(std::move(library), chosen));
}

std::unique_ptr<AudioSink> PortAudioOutput::open(const SinkFormat& format, FrameSource& source) {
    std::lock_guard lock(portAudioMutex());
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device_);
    if (!info) return nullptr;
    PaStreamParameters parameters{};
    parameters.device = device_;
    parameters.channelCount = format.channels;
    parameters.sampleFormat = paInt16;
    // Music needs no low latency, and the larger buffer rides out scheduling hiccups.
    parameters.suggestedLatency = info->defaultHighOutputLatency;
    PaStream* stream = nullptr;
    if (Pa_OpenStream(&stream, nullptr, &parameters, format.sampleRate, paFramesPerBufferUnspecified, paNoFlag,
                      &PortAudioSink::callback, &source) != paNoError) {
        return nullptr;
    }
    const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream);
    const double latencySeconds = streamInfo ? streamInfo->outputLatency : parameters.suggestedLatency;
    const auto latency = static_cast<int64_t>(std::lround(latencySeconds * format.sampleRate));
    return std::make_unique<PortAudioSink>(library_, stream, latency);
}
