#include "ui/widgets/SpectrumBars.h"

#include <algorithm>
#include <cmath>

namespace {

// "Exceeds" and "below" leave this much room for rounding.
constexpr float kTolerance = 0.0000001f;

// The height a value reaches on a panel `panel` high: a value taller than
// the panel is halved, and what is still too tall is cut to `panel - cut`.
int targetHeight(float value, int panel, int cut) {
    // A NaN value reads as silence; anything beyond twice the panel ends
    // up cut either way, so the clamp changes no result.
    const float scaled = std::isnan(value) ? 0.0f : std::clamp(value * float(panel), 0.0f, 4.0f * float(panel) + 4.0f);
    int height = int(scaled);
    if (height > panel) height /= 2;
    if (height >= panel) height = panel - cut;
    return height;
}

// The weight of each band, by the last bin (from 1) it covers.
struct Band {
    int lastBin;
    float factor;
};
constexpr Band kBands[] = {{8, 2.5f},   {20, 10.0f},  {35, 20.0f},   {58, 30.0f},
                           {80, 40.0f}, {95, 100.0f}, {100, 150.0f}, {128, 250.0f}};

}  // namespace

QRect spectrumWindowGeometry(const QRect& screen, const QRect& available) {
    const int taskBar = std::max(0, (screen.y() + screen.height()) - (available.y() + available.height()));
    const int height = (screen.height() - taskBar) / 20 + 50;
    return {screen.x(), screen.y() + screen.height() - taskBar - height, screen.width(), height};
}

int spectrumBarWidth(int screenWidth) { return std::max(1, screenWidth / 130); }

int spectrumBarCount(int panelWidth, int barWidth) {
    const int slot = barWidth + SpectrumBars::kBarGap;
    return std::clamp(panelWidth / slot, 0, kSpectrumBins);
}

std::array<float, kSpectrumBins> weightSpectrumBands(const std::array<float, kSpectrumBins>& magnitudes) {
    std::array<float, kSpectrumBins> weighted{};
    size_t band = 0;
    for (int i = 0; i < kSpectrumBins; ++i) {
        if (i + 1 > kBands[band].lastBin) ++band;
        weighted[size_t(i)] = magnitudes[size_t(i)] * kBands[band].factor;
    }
    return weighted;
}

void SpectrumBars::advance(const std::array<float, kSpectrumBins>& values, int panelHeight, int count) {
    count = std::clamp(count, 0, kSpectrumBins);
    for (size_t i = 0; i < size_t(count); ++i) {
        const float bar = float(targetHeight(values[i], panelHeight, 10));
        bars_[i] = bars_[i] > bar + kTolerance ? bars_[i] - 2.0f : bar;
        if (bars_[i] < 2.0f - kTolerance) bars_[i] = 2.0f;
        drawnBars_[i] = bars_[i];
    }
    for (size_t i = 0; i < size_t(count); ++i) {
        const float cap = float(targetHeight(values[i], panelHeight, 15));
        if (caps_[i] > cap + kTolerance) {
            if (holds_[i] > 0) {
                --holds_[i];
            } else {
                caps_[i] -= 1.0f;
            }
        } else {
            caps_[i] = cap;
            holds_[i] = kCapHoldFrames;
        }
        // A short bar rises to 4 for the next frame's comparison; this
        // frame has already drawn it at its own height.
        if (bars_[i] < 4.0f - kTolerance) bars_[i] = 4.0f;
    }
}
