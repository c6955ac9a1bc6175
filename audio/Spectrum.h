#pragma once
// The frequency content of the sound being heard, as the spectrum draws it.
#include <array>
#include <cstdint>

inline constexpr int kSpectrumFrames = 256;  // frames analysed
inline constexpr int kSpectrumBins = 128;    // magnitudes returned

// Averages the interleaved 16-bit `frames` (kSpectrumFrames of them, `channels`
// samples each) to mono scaled to ±1, applies a Hann window and returns
// |X_k| / kSpectrumFrames for bins 0 to 127 of the FFT. A full-scale sine
// centred on a bin reads about 0.25 there.
std::array<float, kSpectrumBins> spectrumOf(const int16_t* frames, int channels);
