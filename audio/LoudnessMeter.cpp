#include "audio/LoudnessMeter.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>

struct LoudnessMeter::State {
    ebur128_state* meter;
    ~State() { ebur128_destroy(&meter); }
};

LoudnessMeter::LoudnessMeter(int sampleRate, int channels) : channels_(channels) {
    ebur128_state* meter = ebur128_init(static_cast<unsigned>(channels), static_cast<unsigned long>(sampleRate),
                                        EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
    if (meter) state_.reset(new State{meter});
}

LoudnessMeter::~LoudnessMeter() = default;

void LoudnessMeter::add(const int16_t* samples, int64_t frames) {
    if (state_ && frames > 0) ebur128_add_frames_short(state_->meter, samples, static_cast<size_t>(frames));
}

std::optional<Loudness> LoudnessMeter::result() const {
    if (!state_) return std::nullopt;
    Loudness loudness;
    if (ebur128_loudness_global(state_->meter, &loudness.lufs) != EBUR128_SUCCESS || !std::isfinite(loudness.lufs))
        return std::nullopt;
    for (int channel = 0; channel < channels_; ++channel) {
        double peak = 0;
        if (ebur128_true_peak(state_->meter, static_cast<unsigned>(channel), &peak) == EBUR128_SUCCESS)
            loudness.truePeak = std::max(loudness.truePeak, peak);
    }
    return loudness;
}
