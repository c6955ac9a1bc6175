#include "audio/FrameRing.h"

#include <algorithm>
#include <cstring>

FrameRing::FrameRing(int channels, int64_t capacityFrames)
    : channels_(channels), capacity_(capacityFrames), samples_(static_cast<size_t>(capacityFrames * channels)) {}

void FrameRing::append(const int16_t* frames, int64_t count) {
    while (count > 0) {
        const int64_t slot = end_ % capacity_;
        const int64_t run = std::min(count, capacity_ - slot);
        std::memcpy(&samples_[static_cast<size_t>(slot * channels_)], frames,
                    static_cast<size_t>(run * channels_) * sizeof(int16_t));
        frames += run * channels_;
        count -= run;
        end_ += run;
    }
}

void FrameRing::copyOut(int64_t from, int64_t count, int16_t* out) const {
    while (count > 0) {
        const int64_t slot = from % capacity_;
        const int64_t run = std::min(count, capacity_ - slot);
        std::memcpy(out, &samples_[static_cast<size_t>(slot * channels_)],
                    static_cast<size_t>(run * channels_) * sizeof(int16_t));
        out += run * channels_;
        count -= run;
        from += run;
    }
}
