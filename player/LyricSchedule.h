#pragma once
// When the lyrics on show next change, by the audio clock: the lyric timer is
// set for that moment instead of ticking at a fixed rate, so a line changes
// within a few milliseconds of the audio position reaching it. Pure: the
// caller gives the lyric position (the audio position moved by the song's
// lyric offset).
#include "player/WordLyrics.h"

namespace LyricSchedule {

// While words fill, the fill is redrawn this often (about 30 times a second).
inline constexpr int kFillFrameMs = 33;
// The longest wait: a pause, a seek or the song's end is noticed within it.
inline constexpr int kLongestWaitMs = 500;
// Waking this long after a change rather than just before it, where the
// change would not have happened yet.
inline constexpr int kWakeAfterMs = 2;

// Milliseconds from `lyricMs` until the next change: the next whole second
// (line lyrics are found by whole seconds), or sooner the next word-timed
// line's start, or the next fill frame while a line's words fill. Between 1
// and kLongestWaitMs.
int msUntilNextChange(int lyricMs, const WordLyrics& words);

}  // namespace LyricSchedule
