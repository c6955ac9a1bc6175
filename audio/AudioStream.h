#pragma once
// One stream: the decode thread filling its buffer, the sink sounding it, and
// the transport state the engine's calls change. Positions are in frames of
// the source's own rate.
//
// Threads: control calls come from any thread and are serialised by
// `controlMutex_`, which guards `state_` and the starting and stopping of
// `sink_`. render() runs on the sink's thread and touches only `buffer_`
// (locked inside) and `gain_` (atomic). The decode thread shares `buffer_`
// and `cancel_` and nothing else. While create() opens the source, a stop of
// the creating task may fire the token from the thread asking for the stop.
#include "audio/AudioOutput.h"
#include "audio/CancelToken.h"
#include "audio/Spectrum.h"
#include "audio/StreamActivity.h"
#include "audio/StreamBuffer.h"
#include "audio/StreamDecoder.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

class AudioStream final : public FrameSource {
public:
    // Opens the source on a new decode thread and a sink for it on `output`,
    // or on `fallback` when `output` cannot play the source's format. nullptr
    // when the source does not open, or when the calling thread's task is
    // asked to stop before it has (TaskStop), which abandons the open at once.
    static std::unique_ptr<AudioStream> create(MediaLocation location, bool loop, AudioOutput& output,
                                               AudioOutput& fallback);
    // Stops the sink at once; the decode thread is told to end and does so by itself.
    ~AudioStream() override;

    int sampleRate() const { return sampleRate_; }
    int channels() const { return channels_; }
    int64_t lengthFrames() const { return lengthFrames_; }

    // From the start when `restart`, else from where it was.
    bool play(bool restart);
    // Both keep the position; a paused stream reports kPaused, a stopped one kStopped.
    bool pause();
    bool stop();
    // One of StreamActivity's values.
    int activity() const;
    // The frame being heard.
    int64_t positionFrames() const;
    // False, doing nothing, for a frame before the start or past a known length.
    bool setPositionFrames(int64_t frame);
    // Magnitudes of the frames just heard, before the gain.
    std::array<float, kSpectrumBins> spectrum() const;
    // Applied to what the sink gets; 0 to 1.
    void setGain(float gain) { gain_.store(gain, std::memory_order_relaxed); }

    int64_t render(int16_t* out, int64_t frames) override;
    bool canRender(int64_t frames) const override { return buffer_->canRender(frames); }

private:
    enum class State { kStopped, kPlaying, kPaused };

    AudioStream(int sampleRate, int channels, int64_t lengthFrames, std::shared_ptr<StreamBuffer> buffer,
                std::shared_ptr<CancelToken> cancel);
    // Requires controlMutex_: stops the sink and keeps what it had not yet sounded.
    void haltSink();

    const int sampleRate_;                        // fixed at construction; any thread
    const int channels_;                          // fixed at construction; any thread
    const int64_t lengthFrames_;                  // fixed at construction; any thread
    const std::shared_ptr<StreamBuffer> buffer_;  // any thread; locks inside
    const std::shared_ptr<CancelToken> cancel_;   // any thread; atomic
    std::atomic<float> gain_{1.0f};               // set by control calls, read by render()

    mutable std::mutex controlMutex_;
    State state_ = State::kStopped;    // guarded by controlMutex_
    std::unique_ptr<AudioSink> sink_;  // set once in create(), before any other thread sees the stream;
                                       // started and stopped under controlMutex_
};
