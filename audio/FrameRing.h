#pragma once
// Interleaved 16-bit frames in a fixed circular store, addressed by frame
// indexes that only grow. It holds the most recent `capacity` frames appended:
// indexes [begin(), end()). Not thread-safe; its owner locks.
#include <cstdint>
#include <vector>

class FrameRing {
public:
    FrameRing(int channels, int64_t capacityFrames);

    int channels() const { return channels_; }
    int64_t capacity() const { return capacity_; }
    int64_t end() const { return end_; }
    int64_t begin() const { return end_ > capacity_ ? end_ - capacity_ : 0; }

    // Appends `count` frames (at most capacity()), overwriting the oldest.
    void append(const int16_t* frames, int64_t count);
    // Copies frames [from, from + count), which must lie in [begin(), end()).
    void copyOut(int64_t from, int64_t count, int16_t* out) const;

private:
    int channels_;
    int64_t capacity_;
    int64_t end_ = 0;
    std::vector<int16_t> samples_;
};
