#pragma once
// The program's one audio engine: streams made from a file, a block of memory
// or a URL, decoded on a thread of their own and played on the sound device.
//
// A stream's data is 16-bit signed interleaved at the source's own rate and
// channel count (a following stream's: at the rate and count of the stream it
// follows); byte positions and lengths count that data, so a frame is
// channels x 2 bytes. Every call takes a stream handle; a handle that is 0,
// freed or never made does nothing and returns the call's failure value
// (false, 0, -1 or a negative time). Calls may come from several threads at
// once.
#include "audio/Equalizer.h"
#include "audio/LoudnessMeter.h"
#include "audio/Spectrum.h"
#include "audio/StreamActivity.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>

class AudioOutput;
class AudioStream;
class SourceRecording;
class ThreadReaper;

// What the engine tells about a playing stream, once per play from the start
// or from a seek.
enum class StreamEvent {
    kAboutToEnd,  // at most kAboutToEndSeconds are left to hear: time to open what follows
    kEnded,       // the last frame of a source that ended cleanly has been heard
};

// Where a new stream reads from, tried in this order: an existing file at
// `filePath`, then `bytes` when not empty, then `url`. Reading starts `offset`
// bytes in. With `measureLoudness` the stream measures its loudness as it
// is decoded (see AudioEngine::measuredLoudness); with `playOnce` a stream
// from a URL ends at its end instead of looping. A URL read from its start
// with a `recording` is read through it: what it holds comes from its file,
// and what the network gives is kept there.
struct StreamSource {
    std::string filePath;
    std::string bytes;
    std::string url;
    int64_t offset = 0;
    bool measureLoudness = false;
    bool playOnce = false;
    std::shared_ptr<SourceRecording> recording = nullptr;

    static StreamSource fromFile(std::string path, int64_t offset = 0) { return {std::move(path), {}, {}, offset}; }
    static StreamSource fromBytes(std::string bytes, int64_t offset = 0) { return {{}, std::move(bytes), {}, offset}; }
    static StreamSource fromUrl(std::string url, int64_t offset = 0) { return {{}, {}, std::move(url), offset}; }
};

class AudioEngine {
public:
    using Handle = uint32_t;
    using EventListener = std::function<void(Handle, StreamEvent)>;
    static constexpr double kAboutToEndSeconds = 10.0;

    // Sound goes to the device init() picks.
    AudioEngine();
    // Sound goes to `output`; init() keeps it.
    explicit AudioEngine(std::shared_ptr<AudioOutput> output);
    // Frees every stream and joins every thread the engine started.
    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // Picks the output: -1 the default device, 0 no device (sound is consumed
    // at real-time pace and discarded), n the n-th device. Where the device
    // cannot be used, the engine goes on without one. Streams can be made only
    // after this; a second call changes nothing.
    bool init(int device = -1);
    // Sound goes to `device` (as for init()) from now on, streams playing
    // included: each goes on where it was heard. False, changing nothing,
    // when the device cannot be used.
    bool useDevice(int device);
    // The same with any output.
    bool useOutput(std::shared_ptr<AudioOutput> output);

    // The new stream's handle, or 0 when no source is given or none opens.
    // A stream made from a URL loops unless `playOnce`: at its end it goes on from its start.
    // A URL fails as soon as the start of its body shows it is not audio.
    // Opening blocks the calling thread; a stop request of the task running
    // on it (TaskStop) abandons the open at once and gives 0. The stream's
    // later reads do not answer to that task.
    Handle createStream(const StreamSource& source);
    // A stream that follows `leader` in the leader's output without a gap:
    // once the leader's last frame has been pulled, the same output goes on
    // with this stream's first, and this stream is then playing. Its frames
    // are made at the leader's rate and channel count (resampled where the
    // source differs). The leader stops looping; the new stream does not
    // loop. Opens as createStream does; 0 when the leader is unknown or the
    // source does not open. A later follower of the same leader replaces it.
    Handle createFollower(Handle leader, const StreamSource& source);
    // `listener` hears every stream's events, on the engine's event thread,
    // from now on (it replaces the one before; an empty one hears nothing).
    // Once this returns, the listener before is not running and is never
    // called again.
    void setEventListener(EventListener listener);

    // Plays from the start when `restart`, else from where the stream was.
    bool play(Handle handle, bool restart = true);
    // Both hold the position.
    bool pause(Handle handle);
    bool stop(Handle handle);
    // The byte position being heard (the device's latency taken off); -1 on failure.
    int64_t getPosition(Handle handle) const;
    // Rounds down to a whole frame and seeks there; false past a known length.
    bool setPosition(Handle handle, int64_t bytes);
    // The low 32 bits of the byte length, read as signed; -1 when unknown or on failure.
    int32_t getLength(Handle handle) const;
    // One of StreamActivity's values.
    int isActive(Handle handle) const;
    // Stops the stream and forgets the handle; never waits for the network.
    bool freeStream(Handle handle);
    // Fills `bins` with the magnitudes of a 256-point FFT of the 256 frames
    // just heard (before the volume, channels averaged, Hann window, |X_k| / 256
    // of samples scaled to ±1). Returns the bytes those frames take, or -1.
    int getFftData(Handle handle, std::array<float, kSpectrumBins>& bins) const;
    // Sets the gain applied at output to volume / 100, volume held to 0..100.
    bool setVolume(Handle handle, int volume);
    // Adds `decibels` to the gain applied at output, to even out loudness;
    // a sample beyond full scale is held at full scale.
    bool setLoudnessGain(Handle handle, double decibels);
    // Every stream's equalizer, from the frames decoded next (a few seconds
    // ahead of what is heard). Off by default, and then not run at all.
    void setEqualizer(const EqualizerSetting& setting);
    EqualizerSetting equalizer() const;
    // The loudness of a stream made with `measureLoudness`, once its source
    // was decoded from its start to its end without a seek.
    std::optional<Loudness> measuredLoudness(Handle handle) const;
    // bytes / (rate x channels x 2); negative on failure.
    double bytesToSeconds(Handle handle, int64_t bytes) const;
    // floor(seconds x rate) x channels x 2; -1 on failure.
    int64_t secondsToBytes(Handle handle, double seconds) const;

private:
    std::shared_ptr<AudioStream> find(Handle handle) const;
    Handle keep(std::shared_ptr<AudioStream> stream);
    // The event thread: watches the streams and tells the listener.
    void watchEvents(const std::stop_token& stop);
    void tell(Handle handle, StreamEvent event);

    const std::shared_ptr<ThreadReaper> reaper_;         // joins freed streams' decode threads; any thread
    const std::shared_ptr<EqualizerControl> equalizer_;  // any thread; locks inside
    mutable std::mutex mutex_;                           // guards every field below except `events_`
    std::shared_ptr<AudioOutput> output_;                // null until init() when not given
    std::shared_ptr<AudioOutput> fallback_;              // for formats the device refuses
    std::unordered_map<Handle, std::shared_ptr<AudioStream>> streams_;
    Handle lastHandle_ = 0;
    std::mutex listenerMutex_;  // held while the listener runs and while it is replaced
    EventListener listener_;    // guarded by listenerMutex_
    std::jthread events_;  // started by the first setEventListener() (under mutex_); joined first by the destructor
};
