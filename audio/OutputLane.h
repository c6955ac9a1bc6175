#pragma once
// One opened output that streams sound through in turn: the stream being
// heard, and the one queued to follow it. Once the current stream's last
// frame has been pulled, the same pull goes on with the queued stream's first
// frame, so songs follow each other in one output without a gap. A stream
// whose last frames are still inside the device keeps being told what the
// output pulls, so its position reaches its end when that end is heard.
//
// Threads: join/leave/start/halt come from the streams' control calls and
// are serialised by `controlMutex_`, which also guards starting and stopping
// `sink_` and `running_`. render() runs on the sink's thread and holds
// `renderMutex_` for its whole run; `renderMutex_` guards the three stream
// pointers, so a stream that has left is never rendered again. Order:
// controlMutex_, then renderMutex_, then a stream buffer's own lock.
#include "audio/AudioOutput.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

class AudioStream;

class OutputLane final : public FrameSource {
public:
    // nullptr when neither output can play the format.
    static std::shared_ptr<OutputLane> open(const SinkFormat& format, AudioOutput& output, AudioOutput& fallback);
    ~OutputLane() override;
    OutputLane(const OutputLane&) = delete;
    OutputLane& operator=(const OutputLane&) = delete;

    const SinkFormat& format() const { return format_; }
    // The output's latency; any thread.
    int64_t latencyFrames() const { return latency_.load(std::memory_order_acquire); }

    // `stream` sounds through this lane: as the current stream when there is
    // none, else queued to follow the current one (replacing one queued before).
    void join(AudioStream& stream);
    // `stream` is never rendered again once this returns; the output stops
    // when it was the current stream.
    void leave(AudioStream& stream);
    // Starts the output for `stream`. A queued stream takes over at once.
    // False when another stream is current or the output refuses.
    bool start(AudioStream& stream);
    // Stops the output when `stream` is the current stream and says so;
    // after it returns nothing of the stream is being rendered.
    bool halt(AudioStream& stream);
    // Moves the lane to another output: what the old one had pulled but not
    // yet sounded is played again on the new one, which goes on where the
    // old one was heard. False, keeping the old output, when neither
    // `output` nor `fallback` can play the format.
    bool moveTo(AudioOutput& output, AudioOutput& fallback);

    int64_t render(int16_t* out, int64_t frames) override;
    int64_t renderFloat(float* out, int64_t frames) override;
    bool canRender(int64_t frames) const override;

private:
    template <typename Sample>
    int64_t pull(Sample* out, int64_t frames);

    explicit OutputLane(const SinkFormat& format) : format_(format) {}

    const SinkFormat format_;
    std::unique_ptr<AudioSink> sink_;  // opened in open(); replaced by moveTo() under controlMutex_ while stopped

    std::atomic<int64_t> latency_{0};  // of sink_; written with it

    std::mutex controlMutex_;
    bool running_ = false;  // guarded by controlMutex_

    mutable std::mutex renderMutex_;
    AudioStream* current_ = nullptr;    // pulled from; guarded by renderMutex_
    AudioStream* queued_ = nullptr;     // follows current_; guarded by renderMutex_
    AudioStream* finishing_ = nullptr;  // all pulled, its end not yet heard; guarded by renderMutex_
};
