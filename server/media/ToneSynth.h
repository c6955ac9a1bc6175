#pragma once
// Synthesises an audio clip as 16-bit stereo PCM and wraps it in a WAV file,
// the input the encoder turns into MP3 and FLAC.
#include <cstdint>
#include <string>
#include <vector>

#include "server/media/AudioClips.h"

struct PcmAudio {
    int sampleRate = 44100;
    int channels = 2;
    std::vector<std::int16_t> samples;  // interleaved
};

PcmAudio synthesiseClip(const AudioClip& clip);
std::string wavFileBytes(const PcmAudio& audio);
