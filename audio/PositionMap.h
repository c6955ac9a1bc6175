#pragma once
// Tells which frame of the source a buffer index holds. The buffer is filled
// in runs of consecutive source frames; a new run starts after a seek or when
// a looping stream wraps to its start. Not thread-safe; its owner locks.
#include <cstdint>
#include <deque>

class PositionMap {
public:
    // Index `index` holds source frame `sourceFrame`, and so do the indexes
    // after it, one frame each, until the next run starts.
    void startRun(int64_t index, int64_t sourceFrame);
    // True when frames appended at `index` would continue the last run at
    // `sourceFrame`, so no new run is needed.
    bool continuesAt(int64_t index, int64_t sourceFrame) const;
    // The source frame at `index`. An index before every run kept reads as the
    // first run's start; with no run at all, as 0.
    int64_t sourceFrameAt(int64_t index) const;
    // Forgets runs that end before `index`.
    void dropBefore(int64_t index);

private:
    struct Run {
        int64_t index;
        int64_t sourceFrame;
    };
    std::deque<Run> runs_;
};
