#include "audio/PositionMap.h"

void PositionMap::startRun(int64_t index, int64_t sourceFrame) {
    // A run that never received a frame is replaced by the one starting there.
    while (!runs_.empty() && runs_.back().index >= index) runs_.pop_back();
    runs_.push_back({index, sourceFrame});
}

bool PositionMap::continuesAt(int64_t index, int64_t sourceFrame) const {
    return !runs_.empty() && runs_.back().sourceFrame + (index - runs_.back().index) == sourceFrame;
}

int64_t PositionMap::sourceFrameAt(int64_t index) const {
    for (auto run = runs_.rbegin(); run != runs_.rend(); ++run) {
        if (run->index <= index) return run->sourceFrame + (index - run->index);
    }
    return runs_.empty() ? 0 : runs_.front().sourceFrame;
}

void PositionMap::dropBefore(int64_t index) {
    while (runs_.size() > 1 && runs_[1].index <= index) runs_.pop_front();
}
