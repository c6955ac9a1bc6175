#include "player/LyricSchedule.h"

#include <algorithm>

namespace LyricSchedule {

int msUntilNextChange(int lyricMs, const WordLyrics& words) {
    int wait = 0;
    if (words.empty()) {
        // Before the song's start the first second is the next change.
        wait = lyricMs < 0 ? -lyricMs : 1000 - lyricMs % 1000;
        wait += kWakeAfterMs;
    } else {
        const std::optional<int> nextLine = words.nextLineStartAfter(lyricMs);
        wait = nextLine ? *nextLine - lyricMs + kWakeAfterMs : kLongestWaitMs;
        if (words.fillingAt(lyricMs)) wait = std::min(wait, kFillFrameMs);
    }
    return std::clamp(wait, 1, kLongestWaitMs);
}

}  // namespace LyricSchedule
