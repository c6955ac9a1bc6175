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
    // Frames the 24-bit callback's store holds from the start, so the
    // callback allocates only for a device period larger than this.
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
                             PaStreamCallbackFlags, void* sink) {
        static_cast<PortAudioSink*>(sink)->source_.renderFloat(static_cast<float*>(output),
                                                               static_cast<int64_t>(frames));
        return paContinue;
    }

    // Packed 24-bit little-endian samples, made from the float render.
    static int int24Callback(const void*, void* output, unsigned long frames, const PaStreamCallbackTimeInfo*,
                             PaStreamCallbackFlags, void* opaque) {
        auto& sink = *static_cast<PortAudioSink*>(opaque);
        auto* out = static_cast<uint8_t*>(output);
        const auto samples = static_cast<size_t>(frames) * static_cast<size_t>(sink.channels_);
        if (sink.scratch_.size() < samples) sink.scratch_.resize(samples);  // once, to the device's period
        sink.source_.renderFloat(sink.scratch_.data(), static_cast<int64_t>(frames));
        for (size_t i = 0; i < samples; ++i) {
            const auto value =
                static_cast<int32_t>(std::clamp(std::lrintf(sink.scratch_[i] * 8388608.0f), -8388608L, 8388607L));
            *out++ = static_cast<uint8_t>(value & 0xFF);
            *out++ = static_cast<uint8_t>((value >> 8) & 0xFF);
            *out++ = static_cast<uint8_t>((value >> 16) & 0xFF);
        }
        return paContinue;
    }

private:
    std::shared_ptr<PortAudioOutput::Library> library_;
    FrameSource& source_;
    const int channels_;
    std::vector<float> scratch_;  // the 24-bit callback's alone
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
    // Float where the device takes it, else 24-bit, else 16-bit: with more
    // than 16 bits the volume and loudness gain reach the device without a
    // rounding to 16 bits after them, so a quiet setting keeps its detail.
    const struct {
        PaSampleFormat format;
        PaStreamCallback* callback;
    } choices[] = {{paFloat32, &PortAudioSink::floatCallback},
                   {paInt24, &PortAudioSink::int24Callback},
                   {paInt16, &PortAudioSink::int16Callback}};
    bool opened = false;
    for (const auto& choice : choices) {
        parameters.sampleFormat = choice.format;
        const bool last = choice.format == paInt16;  // tried even when the device will not say
        opened = (last || Pa_IsFormatSupported(nullptr, &parameters, format.sampleRate) == paFormatIsSupported) &&
                 Pa_OpenStream(&stream, nullptr, &parameters, format.sampleRate, paFramesPerBufferUnspecified, paNoFlag,
                               choice.callback, sink.get()) == paNoError;
        if (opened) break;
    }
    if (!opened) return nullptr;
    const PaStreamInfo* streamInfo = Pa_GetStreamInfo(stream);
    const double latencySeconds = streamInfo ? streamInfo->outputLatency : parameters.suggestedLatency;
    sink->adopt(stream, static_cast<int64_t>(std::lround(latencySeconds * format.sampleRate)));
    return sink;
}
