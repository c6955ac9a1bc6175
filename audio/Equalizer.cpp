#include "audio/Equalizer.h"

#include <algorithm>
#include <cmath>

void EqualizerControl::set(const EqualizerSetting& setting) {
    std::lock_guard lock(mutex_);
    setting_ = setting;
    for (double& gain : setting_.gainsDb)
        gain = std::isfinite(gain) ? std::clamp(gain, -kEqualizerLimitDb, kEqualizerLimitDb) : 0.0;
    version_.fetch_add(1, std::memory_order_acq_rel);
}

EqualizerSetting EqualizerControl::setting() const {
    std::lock_guard lock(mutex_);
    return setting_;
}

Equalizer::Equalizer(int sampleRate, int channels) : sampleRate_(sampleRate), channels_(channels) {}

void Equalizer::follow(const EqualizerControl& control) {
    const uint64_t version = control.version();
    if (version == followed_) return;
    followed_ = version;
    configure(control.setting());
}

void Equalizer::configure(const EqualizerSetting& setting) {
    // Filter memory is kept across a change of gains, so a slider moved
    // while playing does not click.
    const std::vector<Memory> before = memory_;
    bands_.clear();
    memory_.clear();
    if (!setting.on) {
        on_ = false;
        return;
    }
    const double bandwidthOctaves = 1.0;
    for (int band = 0; band < kEqualizerBands; ++band) {
        const double gainDb = setting.gainsDb[static_cast<size_t>(band)];
        const double hertz = kEqualizerHertz[static_cast<size_t>(band)];
        if (gainDb == 0.0 || hertz >= sampleRate_ * 0.45) continue;
        // RBJ cookbook peaking EQ.
        const double a = std::pow(10.0, gainDb / 40.0);
        const double w0 = 2.0 * M_PI * hertz / sampleRate_;
        const double alpha = std::sin(w0) * std::sinh(std::log(2.0) / 2.0 * bandwidthOctaves * w0 / std::sin(w0));
        const double a0 = 1.0 + alpha / a;
        Coefficients c;
        c.b0 = static_cast<float>((1.0 + alpha * a) / a0);
        c.b1 = static_cast<float>(-2.0 * std::cos(w0) / a0);
        c.b2 = static_cast<float>((1.0 - alpha * a) / a0);
        c.a1 = c.b1;
        c.a2 = static_cast<float>((1.0 - alpha / a) / a0);
        bands_.push_back(c);
    }
    memory_.assign(bands_.size() * static_cast<size_t>(channels_), Memory{});
    if (before.size() == memory_.size()) memory_ = before;
    on_ = !bands_.empty();
}

void Equalizer::process(int16_t* samples, int64_t frames) {
    if (!on_) return;
    const size_t channels = static_cast<size_t>(channels_);
    for (int64_t frame = 0; frame < frames; ++frame) {
        int16_t* sample = samples + frame * channels_;
        for (size_t channel = 0; channel < channels; ++channel) {
            float x = sample[channel];
            for (size_t band = 0; band < bands_.size(); ++band) {
                // Transposed direct form II.
                const Coefficients& c = bands_[band];
                Memory& m = memory_[band * channels + channel];
                const float y = c.b0 * x + m.z1;
                m.z1 = c.b1 * x - c.a1 * y + m.z2;
                m.z2 = c.b2 * x - c.a2 * y;
                x = y;
            }
            sample[channel] = static_cast<int16_t>(std::clamp(std::lrintf(x), -32768L, 32767L));
        }
    }
}
