#pragma once
// The short pieces of music that stand in for the catalogue's recordings.
// Songs name a clip by its index; the clip's length is the song's length.
#include <vector>

struct AudioClip {
    const char* name;         // file-name stem in the media cache
    int seconds;              // length of the recording
    int beatsPerMinute;       // one melody note per beat
    std::vector<int> melody;  // semitones above A4 (440 Hz), repeated to the end; kRest pauses
    int bassSemitone;         // bass note under every bar, semitones above A4
};

inline constexpr int kRest = -100;

const std::vector<AudioClip>& audioClips();

// Length of the demo video behind every MV.
inline constexpr int kMvVideoSeconds = 10;
