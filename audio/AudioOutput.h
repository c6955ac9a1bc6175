#pragma once
// The seam between a stream and whatever sounds it: a sink pulls frames from
// its source on the sink's own thread (a device callback, a pacing thread or a
// test's manual clock). Frames are interleaved, 16-bit signed, or float for
// outputs that take more than 16 bits.
#include <cstdint>
#include <memory>

// What a sink pulls from. render() is called from the sink's thread only.
class FrameSource {
public:
    virtual ~FrameSource() = default;
    // Fills `out` with `frames` frames, padding with silence where nothing is
    // ready. Returns how many frames were real audio rather than padding.
    virtual int64_t render(int16_t* out, int64_t frames) = 0;
    // The same as samples of full scale ±1, with the gain applied without a
    // rounding to 16 bits after it, so a low volume keeps its detail.
    virtual int64_t renderFloat(float* out, int64_t frames) = 0;
    // True when `frames` frames could be rendered now without padding (they are
    // buffered, or the source has ended and the rest is silence by design).
    virtual bool canRender(int64_t frames) const = 0;
};

struct SinkFormat {
    int sampleRate = 0;
    int channels = 0;
};

// One opened output for one stream. Created stopped.
class AudioSink {
public:
    virtual ~AudioSink() = default;
    // Starts pulling from the source. Returns false when the output refuses.
    virtual bool start() = 0;
    // Stops pulling and drops whatever the output still holds unplayed; after
    // it returns, render() is not running and will not be called until start().
    virtual void stop() = 0;
    // Frames between the moment a frame is pulled and the moment it is heard.
    virtual int64_t latencyFrames() const = 0;
};

// A place sinks are opened on: a sound device or a device-less stand-in.
class AudioOutput {
public:
    virtual ~AudioOutput() = default;
    // Opens a sink for `source`, which must outlive it; nullptr when this
    // output cannot play the format.
    virtual std::unique_ptr<AudioSink> open(const SinkFormat& format, FrameSource& source) = 0;
};
