#pragma once
// An FFmpeg byte source for a URL whose bytes are recorded: what the
// recording already holds is read from its file, the rest from the network
// (FFmpeg's own HTTP input, reached lazily: a source read wholly from the
// recording makes no request), and every byte fetched is recorded. Seeks only
// move the position; the network follows at the next read that needs it.
// Used by one decode thread only.
#include <cstdint>
#include <memory>
#include <string>

struct AVDictionary;
struct AVIOContext;
class SourceRecording;

class RecordingInput {
public:
    // `options` (time-outs, protocols) and the interrupt callback go to
    // every network opening; `interruptOpaque` must outlive the input.
    RecordingInput(std::string url, std::shared_ptr<SourceRecording> recording, const AVDictionary* options,
                   int (*interruptCheck)(void*), void* interruptOpaque);
    ~RecordingInput();
    RecordingInput(const RecordingInput&) = delete;
    RecordingInput& operator=(const RecordingInput&) = delete;

    // Connects (unless the recording already holds the whole source) and
    // learns the source's size. False when the source cannot be reached.
    bool open();
    // nullptr when FFmpeg could not allocate the context.
    AVIOContext* context() const { return context_; }

private:
    bool connect();
    int readSome(uint8_t* buffer, int size);
    static int read(void* opaque, uint8_t* buffer, int size);
    static int64_t seek(void* opaque, int64_t offset, int whence);

    const std::string url_;
    const std::shared_ptr<SourceRecording> recording_;
    AVDictionary* options_ = nullptr;  // a copy for each connection
    int (*const interruptCheck_)(void*);
    void* const interruptOpaque_;
    AVIOContext* network_ = nullptr;  // opened by the first read that needs it
    int64_t position_ = 0;
    AVIOContext* context_ = nullptr;
};
