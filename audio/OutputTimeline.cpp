#include "audio/OutputTimeline.h"

#include <algorithm>

void OutputTimeline::restart(int64_t index) {
    anchor_ = index;
    pulled_ = 0;
    pulls_.clear();
}

void OutputTimeline::recordPull(int64_t firstIndex, int64_t realFrames, int64_t totalFrames) {
    pulls_.push_back({pulled_, firstIndex, realFrames, totalFrames});
    pulled_ += totalFrames;
    // Keep the block being heard and everything after it.
    const int64_t heard = pulled_ - latency_;
    while (pulls_.size() > 1 && pulls_[1].outputStart <= heard) pulls_.pop_front();
}

int64_t OutputTimeline::heardIndex() const {
    const int64_t heard = pulled_ - latency_;
    if (pulls_.empty() || heard < pulls_.front().outputStart) return anchor_;
    // The front block starts at or before `heard`, so a block is always found.
    const auto pull =
        std::find_if(pulls_.rbegin(), pulls_.rend(), [heard](const Pull& p) { return p.outputStart <= heard; });
    return pull->firstIndex + std::min(heard - pull->outputStart, pull->realFrames);
}
