#include "audio/PortAudioOutput.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <portaudio.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

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
    // Frames a float callback converts at a time, from a store made here
    // so the callback never allocates.
    static constexpr int64_t kConvertFrames = 4096;

    PortAudioSink(std::shared_ptr<PortAudioOutput::Library> library, FrameSource& source, int channels)
        : library_(std::move(library)),
          source_(source),
          channels_(channels),
          scratch_(static_cast<size_t>(kConvertFrames * channels)) {}

    // Takes the stream opened on this sink.
    void adopt(PaStream* stream, int64_t latency) {
        stream_ = stream;
        latency_ = latency;
    }

    ~PortAudioSink() override {
        if (!stream_) return;  // never opened (and open() still holds the lock)
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

    static int int16Callback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                             PaStreamCallbackFlags, void* sink) {
        static_cast<PortAudioSink*>(sink)->source_.render(static_cast<int16_t*>(output), static_cast<int64_t>(frames));
        return paContinue;
    }

    static int floatCallback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                             PaStreamCallbackFlags, void* opaque) {
        auto& sink = *static_cast<PortAudioSink*>(opaque);
        auto* out = static_cast<float*>(output);
        for (int64_t done = 0; done < static_cast<int64_t>(frames);) {
            const int64_t count = std::min<int64_t>(kConvertFrames, static_cast<int64_t>(frames) - done);
            sink.source_.render(sink.scratch_.data(), count);
            for (int64_t i = 0; i < count * sink.channels_; ++i) *out++ = sink.scratch_[static_cast<size_t>(i)] / 32768.0f;
            done += count;
        }
        return paContinue;
    }

private:
    std::shared_ptr<PortAudioOutput::Library> library_;
    FrameSource& source_;
    const int channels_;
    std::vector<int16_t> scratch_;  // the float callback's alone
    PaStream* stream_ = nullptr;
    int64_t latency_ = 0;
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

std::vector<OutputDevice> PortAudioOutput::devices() {
    auto library = std::make_shared<Library>();
    if (!library->ready) return {};
    std::lock_guard lock(portAudioMutex());
    std::vector<OutputDevice> devices;
    const int preferred = Pa_GetDefaultOutputDevice();
    const auto nameOf = [](const PaDeviceInfo& info) {
        const PaHostApiInfo* host = Pa_GetHostApiInfo(info.hostApi);
        return std::string(info.name) + (host ? " (" + std::string(host->name) + ")" : "");
    };
    if (const PaDeviceInfo* info = preferred >= 0 ? Pa_GetDeviceInfo(preferred) : nullptr)
        devices.push_back({-1, nameOf(*info)});
    for (int index = 0; index < Pa_GetDeviceCount(); ++index) {
        const PaDeviceInfo* info = Pa_GetDeviceInfo(index);
        if (info && info->maxOutputChannels > 0) devices.push_back({index + 1, nameOf(*info)});
    }
    return devices;
}

std::unique_ptr<AudioSink> PortAudioOutput::open(const SinkFormat& format, FrameSource& source) {
    std::lock_guard lock(portAudioMutex());
    const PaDeviceInfo* info = Pa_GetDeviceInfo(device_);
    if (!info) return nullptr;
    PaStreamParameters parameters{};
    parameters.device = device_;
    parameters.channelCount = format.channels;
    // Music needs no low latency, and the larger buffer rides out scheduling hiccups.
    parameters.suggestedLatency = info->defaultHighOutputLatency;
    auto sink = std::make_unique<PortAudioSink>(library_, source, format.channels);
    PaStream* stream = nullptr;
    // Float where the device takes it: the device's own mixer and converter
    // then get the samples without another rounding to 16 bits.
    parameters.sampleFormat = paFloat32;
    bool opened = Pa_IsFormatSupported(nullptr, &parameters, format.sampleRate) == paFormatIsSupported &&
                  Pa_OpenStream(&stream, nullptr, &parameters, format.sampleRate, paFramesPerBufferUnspecified,
                                paNoFlag, &PortAudioSink::floatCallback, sink.get()) == paNoError;
    if (!opened) {
        parameters.sampleFormat = paInt16;
        opened = Pa_OpenStream(&stream, nullptr, &parameters, format.sampleRate, paFramesPerBufferUnspecified,
                               paNoFlag, &PortAudioSink::int16Callback, sink.get()) == paNoError;
    }
    if (!opened) return nullptr;
    const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream);
    const double latencySeconds = streamInfo ? streamInfo->outputLatency : parameters.suggestedLatency;
    sink->adopt(stream, static_cast<int64_t>(std::lround(latencySeconds * format.sampleRate)));
    return sink;
}
