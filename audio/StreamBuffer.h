#pragma once
// The decoded audio of one stream on its way from the decode thread to the
// output. Ahead of the output it holds a few seconds at most; behind it, the
// last second pulled stays in place, so the spectrum can read what is being
// heard and a pause can hand back what the output had not yet sounded.
//
// Threads: the decode thread writes and takes commands; the output's thread
// renders; control calls (seek, rewind, position, spectrum, close) come from
// any thread. `mutex_` guards every field below it; the decode thread sleeps
// on `changed_` while the buffer is full or it has nothing to do.
#include "audio/FrameRing.h"
#include "audio/LoudnessMeter.h"
#include "audio/OutputTimeline.h"
#include "audio/PositionMap.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>

class StreamBuffer {
public:
    StreamBuffer(int sampleRate, int channels);

    int channels() const { return channels_; }

    // What the decode thread is asked to do next.
    struct Command {
        enum Kind { kNone, kSeek, kClose } kind = kNone;
        int64_t frame = 0;        // kSeek: the source frame to continue from
        uint64_t generation = 0;  // kSeek: what the following writes must carry
    };

    // Decode thread. Commands: the pending one, or kNone.
    Command takeCommand();
    // Decode thread. Blocks until there is a seek or close command.
    Command waitForCommand();
    // Decode thread. Appends frames holding source frames from `sourceFrame`
    // on, waiting for room as the output plays. Returns false, having dropped
    // the rest, once a seek or close makes `generation` stale.
    bool write(const int16_t* frames, int64_t count, int64_t sourceFrame, uint64_t generation);
    // Decode thread. The source has no more frames for `generation`:
    // `clean` when it reached its end, false when reading failed.
    void finish(uint64_t generation, bool clean);
    // Decode thread. Whether to go on from the start at the source's end.
    bool looping() const;
    // Decode thread. The loudness of the whole source, measured as it was decoded.
    void setLoudness(const Loudness& loudness);

    // Output thread. Copies the next frames, padding with silence when the
    // buffer runs dry; after running dry it waits for half a second of audio
    // (or the end) before playing again. Returns the count of real frames.
    int64_t render(int16_t* out, int64_t frames);
    bool canRender(int64_t frames) const;
    // Output thread, for a stream whose last frame has been pulled while
    // the output goes on with another: the output pulled `frames` more
    // frames, none of them this buffer's, so what was pulled is heard.
    void recordIdlePull(int64_t frames);

    // Control. Drops what is buffered and asks the decoder to continue from
    // `sourceFrame`; the position heard becomes `sourceFrame` at once.
    void seek(int64_t sourceFrame);
    // Control, once the output was stopped and dropped what it held: the next
    // render continues from the frame being heard when it stopped.
    void rewindToHeard();
    // Control, before the output starts. Capped at the history kept behind.
    void setOutputLatency(int64_t frames);
    // The source frame being heard.
    int64_t heardSourceFrame() const;
    // The `count` frames just before the one being heard; frames from before
    // the last seek or no longer kept read as silence.
    void copyHeardTail(int64_t count, int16_t* out) const;
    // Playing but waiting for the decoder to catch up.
    bool stalled() const;
    // Every frame of a finished source has been heard.
    bool ended() const;
    // Every frame of a finished source has been pulled (maybe not yet heard).
    bool drained() const;
    // The frames a finished source has left to pull; -1 while it goes on.
    int64_t framesLeftToPull() const;
    // The source reached its end (it did not fail) and all of it was heard.
    bool endedCleanly() const;
    // Decoding reached the source's end without failing; the rest is buffered.
    bool decodedToEnd() const;
    // Raised by every seek, so a watcher can tell a stream played anew.
    uint64_t generation() const;
    // Control. Whether the decoder goes on from the start at the source's end.
    void setLooping(bool looping);
    // What the decode thread measured, once it has.
    std::optional<Loudness> loudness() const;
    // Ends the decode thread's waits for good.
    void close();

private:
    int64_t heardIndex() const;  // requires mutex_

    const int channels_;
    const int64_t aheadFrames_;    // most frames buffered ahead of the output
    const int64_t historyFrames_;  // frames kept behind the output
    const int64_t resumeFrames_;   // frames needed to leave a stall

    mutable std::mutex mutex_;
    std::condition_variable changed_;  // room freed, command posted or closed
    FrameRing ring_;                   // frames written so far end at ring_.end()
    PositionMap positions_;
    OutputTimeline timeline_;
    int64_t readIndex_ = 0;    // next frame the output pulls
    int64_t floorIndex_ = 0;   // first frame written since the last seek
    uint64_t generation_ = 0;  // raised by every seek
    bool seekPending_ = false;
    int64_t seekFrame_ = 0;
    bool finished_ = false;         // no more writes for this generation
    bool finishedCleanly_ = false;  // ... because the source ended, not because it failed
    bool looping_ = false;
    std::optional<Loudness> loudness_;
    bool stalled_ = false;
    bool closed_ = false;
};
