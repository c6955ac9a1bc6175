#include "player/PlayBarState.h"

#include <algorithm>

namespace {

std::string twoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

std::string formatPlayTime(int seconds) {
    if (seconds < 0) seconds = 0;
    const int minutes = seconds / 60;
    return twoDigits(minutes) + ":" + twoDigits(seconds - 60 * minutes);
}

void VolumeMemory::move(int volume) {
    position_ = std::clamp(volume, 0, 100);
    if (position_ != 0) remembered_ = position_;
}

void VolumeMemory::toggleMute() {
    if (position_ != 0)
        position_ = 0;
    else
        position_ = remembered_ != 0 ? remembered_ : kFallbackVolume;
}
