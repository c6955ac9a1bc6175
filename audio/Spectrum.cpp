#include "audio/Spectrum.h"

#include <kiss_fftr.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <numbers>

namespace {

struct FftConfigDeleter {
    void operator()(kiss_fftr_cfg config) const { kiss_fftr_free(config); }
};

// A configuration holds scratch space, so each thread keeps its own.
kiss_fftr_cfg threadFftConfig() {
    thread_local std::unique_ptr<kiss_fftr_state, FftConfigDeleter> config(
        kiss_fftr_alloc(kSpectrumFrames, 0, nullptr, nullptr));
    return config.get();
}

const std::array<float, kSpectrumFrames>& hannWindow() {
    static const auto window = [] {
        std::array<float, kSpectrumFrames> w{};
        for (int n = 0; n < kSpectrumFrames; ++n) {
            w[n] = static_cast<float>(0.5 * (1.0 - std::cos(2.0 * std::numbers::pi * n / kSpectrumFrames)));
        }
        return w;
    }();
    return window;
}

}  // namespace

std::array<float, kSpectrumBins> spectrumOf(const int16_t* frames, int channels) {
    const auto& window = hannWindow();
    std::array<kiss_fft_scalar, kSpectrumFrames> input{};
    for (int n = 0; n < kSpectrumFrames; ++n) {
        float sum = 0.0f;
        for (int c = 0; c < channels; ++c) sum += frames[n * channels + c];
        input[n] = sum / (32768.0f * static_cast<float>(channels)) * window[n];
    }
    std::array<kiss_fft_cpx, kSpectrumFrames / 2 + 1> bins{};
    kiss_fftr(threadFftConfig(), input.data(), bins.data());
    std::array<float, kSpectrumBins> magnitudes{};
    for (int k = 0; k < kSpectrumBins; ++k) {
        magnitudes[k] = std::hypot(bins[k].r, bins[k].i) / kSpectrumFrames;
    }
    return magnitudes;
}
