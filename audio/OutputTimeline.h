#pragma once
// Which buffer index an output is sounding right now. An output sounds a frame
// `latency` frames after pulling it, so every block it pulls is logged with
// the buffer index its real frames came from (the rest of a block being
// padding). Not thread-safe; its owner locks.
#include <cstdint>
#include <deque>

class OutputTimeline {
public:
    void setLatency(int64_t frames) { latency_ = frames; }
    // The output holds nothing: it is sounding `index` and pulls from there.
    void restart(int64_t index);
    // The output pulled `totalFrames` frames, of which the first `realFrames`
    // were buffer frames starting at `firstIndex`.
    void recordPull(int64_t firstIndex, int64_t realFrames, int64_t totalFrames);
    // The buffer index being heard: frames before it have been sounded.
    int64_t heardIndex() const;

private:
    struct Pull {
        int64_t outputStart;  // output frames pulled before this block
        int64_t firstIndex;
        int64_t realFrames;
        int64_t totalFrames;
    };
    int64_t latency_ = 0;
    int64_t anchor_ = 0;  // heard index until the first logged frame is heard
    int64_t pulled_ = 0;  // output frames pulled since restart()
    std::deque<Pull> pulls_;
};
