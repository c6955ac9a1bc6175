#pragma once
// Decodes one audio source with FFmpeg into 16-bit interleaved frames at the
// source's own rate and channel count, or at a rate and channel count asked
// for (converted with libswresample), counting every frame's position from
// the start of the source. The encoder's delay and padding that the container
// reports (MP3's LAME header, MP4 edit lists, Opus pre-skip) reach the codec
// as FFmpeg's skip-samples side data and are cut there: the first frame is
// the recording's first sample and the last its last. Sources: a file, a block of memory or an HTTP(S)
// URL (libavformat's own input; seeks become byte-range requests).
// Used by one decode thread only; `CancelToken` is the one way in from outside.
#include "audio/CancelToken.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class SourceRecording;

// Where a stream's bytes come from. Reading starts `offset` bytes in.
struct MediaLocation {
    enum class Kind { kFile, kMemory, kUrl };
    Kind kind = Kind::kFile;
    std::string path;                          // kFile: a path; kUrl: the URL
    std::shared_ptr<const std::string> bytes;  // kMemory
    int64_t offset = 0;
    // kUrl from offset 0: the bytes are read through it and kept there (see SourceRecording).
    std::shared_ptr<SourceRecording> recording;
};

// The frames a decoder makes; 0 in a field keeps the source's own.
struct DecodedFormat {
    int sampleRate = 0;
    int channels = 0;
};

class StreamDecoder {
public:
    // Opens and probes the source. nullptr when it cannot be read, holds no
    // decodable audio, or `cancel` fires first.
    static std::unique_ptr<StreamDecoder> open(MediaLocation location, std::shared_ptr<const CancelToken> cancel,
                                               DecodedFormat format = {});
    ~StreamDecoder();

    int sampleRate() const { return sampleRate_; }
    int channels() const { return channels_; }
    // Frames in the whole source as its container tells; -1 when unknown.
    int64_t lengthFrames() const { return lengthFrames_; }

    struct Block {
        std::vector<int16_t> samples;  // interleaved; `frames` frames are valid
        int64_t frames = 0;
        int64_t firstFrame = 0;  // source position of the first frame
    };
    enum class Step { kDecoded, kEnd, kFailed };
    // Decodes until a block of at least one frame is ready (kDecoded), the
    // source ends (kEnd) or reading fails or is cancelled (kFailed).
    Step decode(Block& block);
    // The next block starts at `frame`. Uses the container's seek; where the
    // source cannot seek, reopens it and skips decoded frames up to `frame`.
    bool seek(int64_t frame);

private:
    struct Interrupt;
    struct Input;
    StreamDecoder(MediaLocation location, std::shared_ptr<const CancelToken> cancel, std::unique_ptr<Input> input,
                  DecodedFormat format);
    static std::unique_ptr<Input> openInput(const MediaLocation& location, const CancelToken& cancel);
    bool convert(Block& block);
    // At the source's end: what the resampler still holds. False when it held nothing.
    bool drainResampler(Block& block);
    // Drops the frames before `skipUntil_` from a converted block starting at `first`.
    void placeBlock(Block& block, int64_t first, int64_t count);

    MediaLocation location_;
    std::shared_ptr<const CancelToken> cancel_;
    std::unique_ptr<Input> input_;
    int sampleRate_ = 0;
    int channels_ = 0;
    int64_t lengthFrames_ = -1;
    int64_t nextFrame_ = 0;            // position of the next frame decoded
    int64_t skipUntil_ = 0;            // frames before this position are dropped
    bool frameFromTimestamp_ = false;  // after a seek: take the position from the next frame's timestamp
};
