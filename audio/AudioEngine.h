#pragma once
// The program's one audio engine: streams made from a file, a block of memory
// or a URL, decoded on a thread of their own and played on the sound device.
//
// A stream's data is 16-bit signed interleaved at the source's own rate and
// channel count; byte positions and lengths count that data, so a frame is
// channels x 2 bytes. Every call takes a stream handle; a handle that is 0,
// freed or never made does nothing and returns the call's failure value
// (false, 0, -1 or a negative time). Calls may come from several threads at
// once.
#include "audio/Spectrum.h"
#include "audio/StreamActivity.h"

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

class AudioOutput;
class AudioStream;

// Where a new stream reads from, tried in this order: an existing file at
// `filePath`, then `bytes` when not empty, then `url`. Reading starts `offset`
// bytes in.
struct StreamSource {
    std::string filePath;
    std::string bytes;
    std::string url;
    int64_t offset = 0;

    static StreamSource fromFile(std::string path, int64_t offset = 0) { return {std::move(path), {}, {}, offset}; }
    static StreamSource fromBytes(std::string bytes, int64_t offset = 0) { return {{}, std::move(bytes), {}, offset}; }
    static StreamSource fromUrl(std::string url, int64_t offset = 0) { return {{}, {}, std::move(url), offset}; }
};

class AudioEngine {
public:
    using Handle = uint32_t;

    // Sound goes to the device init() picks.
    AudioEngine();
    // Sound goes to `output`; init() keeps it.
    explicit AudioEngine(std::shared_ptr<AudioOutput> output);
    // Frees every stream.
    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // Picks the output: -1 the default device, 0 no device (sound is consumed
    // at real-time pace and discarded), n the n-th device. Where the device
    // cannot be used, the engine goes on without one. Streams can be made only
    // after this; a second call changes nothing.
    bool init(int device = -1);

    // The new stream's handle, or 0 when no source is given or none opens.
    // A stream made from a URL loops: at its end it goes on from its start.
    // A URL fails as soon as the start of its body shows it is not audio.
    // Opening blocks the calling thread; a stop request of the task running
    // on it (TaskStop) abandons the open at once and gives 0. The stream's
    // later reads do not answer to that task.
    Handle createStream(const StreamSource& source);

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
    // bytes / (rate x channels x 2); negative on failure.
    double bytesToSeconds(Handle handle, int64_t bytes) const;
    // floor(seconds x rate) x channels x 2; -1 on failure.
    int64_t secondsToBytes(Handle handle, double seconds) const;

private:
    std::shared_ptr<AudioStream> find(Handle handle) const;

    mutable std::mutex mutex_;               // guards every field below
    std::shared_ptr<AudioOutput> output_;    // null until init() when not given
    std::shared_ptr<AudioOutput> fallback_;  // for formats the device refuses
    std::unordered_map<Handle, std::shared_ptr<AudioStream>> streams_;
    Handle lastHandle_ = 0;
};
