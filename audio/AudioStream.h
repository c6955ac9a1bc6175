#pragma once
// One stream: the decode thread filling its buffer, the output lane sounding
// it, and the transport state the engine's calls change. Positions are in
// frames of the stream's rate: the source's own, or for a stream that
// follows another, the rate of the lane it shares.
//
// Threads: control calls come from any thread and are serialised by
// `controlMutex_`, which guards `state_`. The lane's render thread calls
// renderFrames(), buffer() and takeOverOutput(), touching only `buffer_`
// (locked inside), `gain_` and `tookOver_` (atomics). The decode thread
// shares `buffer_` and `cancel_` and nothing else; the destructor ends it
// and hands it to the reaper to join. While create() opens the source, a
// stop of the creating task may fire the token from the thread asking for
// the stop.
#include "audio/CancelToken.h"
#include "audio/OutputLane.h"
#include "audio/Spectrum.h"
#include "audio/StreamActivity.h"
#include "audio/StreamBuffer.h"
#include "audio/StreamDecoder.h"
#include "audio/StreamFeeder.h"
#include "audio/ThreadReaper.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class AudioStream final {
public:
    // Opens the source on a new decode thread and a lane of its own for it on
    // `output`, or on `fallback` when `output` cannot play the source's
    // format. nullptr when the source does not open, or when the calling
    // thread's task is asked to stop before it has (TaskStop), which abandons
    // the open at once.
    static std::unique_ptr<AudioStream> create(MediaLocation location, FeedSettings settings, AudioOutput& output,
                                               AudioOutput& fallback, std::shared_ptr<ThreadReaper> reaper);
    // Opens the source to follow `leader` in the leader's lane, decoded to
    // the lane's rate and channel count (whatever `settings` say of the
    // format); the leader stops looping. nullptr as for create().
    static std::unique_ptr<AudioStream> createFollower(MediaLocation location, FeedSettings settings,
                                                       AudioStream& leader, std::shared_ptr<ThreadReaper> reaper);
    // Leaves the lane at once; the decode thread is told to end and joined by the reaper.
    ~AudioStream();
    AudioStream(const AudioStream&) = delete;
    AudioStream& operator=(const AudioStream&) = delete;

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
    // Applied to what the output gets; 0 to 1.
    void setGain(float gain) { gain_.store(gain, std::memory_order_relaxed); }
    // Applied with the gain, to even out loudness; samples beyond full scale are held there.
    void setLoudnessGain(float gain) { loudnessGain_.store(gain, std::memory_order_relaxed); }
    std::optional<Loudness> measuredLoudness() const { return buffer_->loudness(); }
    void setLooping(bool looping) { buffer_->setLooping(looping); }

    // Playing and not looping, with at most `leadFrames` frames left to hear
    // or the whole source decoded.
    bool nearEnd(int64_t leadFrames) const;
    // Played to the source's clean end; a failed read does not count.
    bool endedCleanly() const { return activity() == StreamActivity::kStopped && buffer_->endedCleanly(); }
    // Raised by every seek and restart.
    uint64_t playGeneration() const { return buffer_->generation(); }

    OutputLane& lane() const { return *lane_; }

    // The lane's render thread.
    int64_t renderFrames(int16_t* out, int64_t frames);
    int64_t renderFrames(float* out, int64_t frames);
    StreamBuffer& buffer() { return *buffer_; }
    // The lane went on from the stream before to this one: it is playing now.
    void takeOverOutput() { tookOver_.store(true, std::memory_order_release); }

private:
    enum class State { kStopped, kPlaying, kPaused };

    AudioStream(FedStream& fed, std::shared_ptr<CancelToken> cancel, std::shared_ptr<ThreadReaper> reaper);
    // Opens the decode thread for `location`; nullptr when it does not open.
    static std::unique_ptr<AudioStream> feed(MediaLocation location, FeedSettings settings,
                                             std::shared_ptr<ThreadReaper> reaper);
    // Requires controlMutex_: a takeover by the lane makes the stream playing.
    void absorbTakeover();
    // Requires controlMutex_: stops the lane if it sounds this stream and
    // keeps what it had not yet sounded.
    void haltOutput();

    const int sampleRate_;                        // fixed at construction; any thread
    const int channels_;                          // fixed at construction; any thread
    const int64_t lengthFrames_;                  // fixed at construction; any thread
    const std::shared_ptr<StreamBuffer> buffer_;  // any thread; locks inside
    const std::shared_ptr<CancelToken> cancel_;   // any thread; atomic
    const std::shared_ptr<ThreadReaper> reaper_;  // joins the decode thread
    std::thread decodeThread_;                    // handed to the reaper by the destructor
    std::atomic<float> gain_{1.0f};               // set by control calls, read by renderFrames()
    std::atomic<float> loudnessGain_{1.0f};       // set by control calls, read by renderFrames()
    std::atomic<bool> tookOver_{false};           // set by the render thread, taken by control calls
    std::vector<int16_t> floatScratch_;           // the render thread's, for float renders

    mutable std::mutex controlMutex_;
    State state_ = State::kStopped;     // guarded by controlMutex_
    std::shared_ptr<OutputLane> lane_;  // set once in create(), before any other thread sees the stream
};
