#include "player/LyricSchedule.h"

#include <algorithm>

namespace LyricSchedule {

int msUntilNextChange(int lyricMs, const WordLyrics& words) {
    // Line lyrics (the list and the desktop text) change at whole seconds;
    // before the song's start the first second is the next change.
    int wait = (lyricMs < 0 ? -lyricMs : 1000 - lyricMs % 1000) + kWakeAfterMs;
    if (const std::optional<int> nextLine = words.nextLineStartAfter(lyricMs))
        wait = std::min(wait, *nextLine - lyricMs + kWakeAfterMs);
    if (words.fillingAt(lyricMs)) wait = std::min(wait, kFillFrameMs);
    return std::clamp(wait, 1, kLongestWaitMs);
}

}  // namespace LyricSchedule
