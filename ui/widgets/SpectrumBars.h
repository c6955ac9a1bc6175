#pragma once
// The spectrum's arithmetic, free of any widget: where its window sits, how
// wide its bars are, how the FFT magnitudes are weighted by band, and how
// the bars and their caps rise, hold and fall from one frame to the next.
#include "audio/Spectrum.h"

#include <QRect>
#include <array>

// The window spans the screen's width just above the task bar: the task bar
// is what the available geometry leaves free below it (0 when the panel is
// elsewhere), and the window is (screen height - task bar) / 20 + 50 high.
QRect spectrumWindowGeometry(const QRect& screen, const QRect& available);

// The bars of a screen `screenWidth` wide: screen / 130 pixels, at least 1.
int spectrumBarWidth(int screenWidth);

// How many bars of `barWidth` with a 1-pixel gap fit `panelWidth`, at most 128.
int spectrumBarCount(int panelWidth, int barWidth);

// The magnitudes weighted by band: low bands little, high bands a lot, so
// every band reaches a similar height.
std::array<float, kSpectrumBins> weightSpectrumBands(const std::array<float, kSpectrumBins>& magnitudes);

class SpectrumBars {
public:
    static constexpr int kBarGap = 1;
    static constexpr int kCapHoldFrames = 20;

    // One frame: the bars and caps follow `values` (weighted magnitudes,
    // where 1 is the panel's height) on a panel `panelHeight` high, for the
    // first `count` bars. Values are clamped before they become pixels, so
    // no value, however large or broken, gives a height out of range.
    void advance(const std::array<float, kSpectrumBins>& values, int panelHeight, int count);

    // The heights in pixels, as drawn this frame: the bar from the panel's
    // bottom, and the cap line `capHeight + 2` above the bottom.
    float barHeight(int bar) const { return drawnBars_[size_t(bar)]; }
    float capHeight(int bar) const { return caps_[size_t(bar)]; }
    int capHold(int bar) const { return holds_[size_t(bar)]; }

private:
    std::array<float, kSpectrumBins> bars_{};
    std::array<float, kSpectrumBins> drawnBars_{};
    std::array<float, kSpectrumBins> caps_{};
    std::array<int, kSpectrumBins> holds_{};
};
