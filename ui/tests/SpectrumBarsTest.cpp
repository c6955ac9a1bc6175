// The spectrum's arithmetic: where the window sits, the bar widths, the
// band weights, and how bars and caps move from a fixed FFT frame on.
#include "ui/widgets/SpectrumBars.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(SpectrumGeometry, SitsJustAboveTheTaskBarAcrossTheScreen) {
    // A 40-pixel panel at the bottom: (1080 - 40) / 20 + 50 = 102 high.
    EXPECT_EQ(spectrumWindowGeometry({0, 0, 1920, 1080}, {0, 0, 1920, 1040}), QRect(0, 938, 1920, 102));
    // A panel elsewhere (at the top) leaves nothing below: 900 / 20 + 50 = 95.
    EXPECT_EQ(spectrumWindowGeometry({0, 0, 1280, 900}, {0, 32, 1280, 868}), QRect(0, 805, 1280, 95));
    // A second screen to the right keeps its own origin: 1024 / 20 + 50 = 101.
    EXPECT_EQ(spectrumWindowGeometry({1920, 0, 1280, 1024}, {1920, 0, 1280, 1024}), QRect(1920, 923, 1280, 101));
}

TEST(SpectrumGeometry, BarWidthAndCountFollowTheScreen) {
    struct Case {
        int screen, barWidth, count;
    };
    for (const Case c :
         {Case{1920, 14, 128}, Case{1280, 9, 128}, Case{800, 6, 114}, Case{2560, 19, 128}, Case{100, 1, 50}}) {
        SCOPED_TRACE(c.screen);
        EXPECT_EQ(spectrumBarWidth(c.screen), c.barWidth);
        EXPECT_EQ(spectrumBarCount(c.screen, spectrumBarWidth(c.screen)), c.count);
    }
}

TEST(SpectrumBands, EachBandHasItsWeight) {
    std::array<float, kSpectrumBins> ones;
    ones.fill(1.0f);
    const auto weighted = weightSpectrumBands(ones);
    // Bins counted from 1: the first and last bin of every band.
    const std::pair<int, float> expected[] = {{1, 2.5f}, {8, 2.5f},  {9, 10},    {20, 10},  {21, 20},  {35, 20},
                                              {36, 30},  {58, 30},   {59, 40},   {80, 40},  {81, 100}, {95, 100},
                                              {96, 150}, {100, 150}, {101, 250}, {128, 250}};
    for (const auto& [bin, factor] : expected) EXPECT_FLOAT_EQ(weighted[size_t(bin - 1)], factor) << "bin " << bin;
}

// One loud frame on a 100-pixel panel, then silence.
class SpectrumFrames : public ::testing::Test {
protected:
    static constexpr int kPanel = 100;
    static constexpr int kBars = 128;

    static std::array<float, kSpectrumBins> loudFrame() {
        std::array<float, kSpectrumBins> fft{};
        fft[0] = 0.2f;      // x 2.5 = 0.5: half the panel
        fft[9] = 0.2f;      // x 10 = 2: twice the panel, halved is still too tall
        fft[20] = 0.0625f;  // x 20 = 1.25: taller than the panel, halved fits
        fft[127] = 0.001f;  // x 250 = 0.25
        return weightSpectrumBands(fft);
    }
    void silence(int frames) {
        for (int i = 0; i < frames; ++i) bars.advance({}, kPanel, kBars);
    }

    SpectrumBars bars;
};

TEST_F(SpectrumFrames, ALoudFrameSetsBarsAndCaps) {
    bars.advance(loudFrame(), kPanel, kBars);
    EXPECT_EQ(bars.barHeight(0), 50);
    EXPECT_EQ(bars.barHeight(9), 90) << "too tall even halved: cut to the panel less 10";
    EXPECT_EQ(bars.barHeight(20), 62) << "halved first";
    EXPECT_EQ(bars.barHeight(127), 25);
    EXPECT_EQ(bars.barHeight(1), 2) << "a silent bar is drawn 2 high";
    EXPECT_EQ(bars.capHeight(0), 50);
    EXPECT_EQ(bars.capHeight(9), 85) << "caps are cut to the panel less 15";
    EXPECT_EQ(bars.capHeight(20), 62);
    EXPECT_EQ(bars.capHeight(1), 0);
    EXPECT_EQ(bars.capHold(0), SpectrumBars::kCapHoldFrames);
}

TEST_F(SpectrumFrames, BarsFallTwoPixelsAFrameAndRestAtTwo) {
    bars.advance(loudFrame(), kPanel, kBars);
    silence(1);
    EXPECT_EQ(bars.barHeight(0), 48);
    silence(23);
    EXPECT_EQ(bars.barHeight(0), 2);
    for (int frame = 0; frame < 3; ++frame) {
        silence(1);
        EXPECT_EQ(bars.barHeight(0), 2);
        EXPECT_EQ(bars.barHeight(1), 2);
    }
}

TEST_F(SpectrumFrames, CapsHoldTwentyFramesThenFallOnePixelAFrame) {
    bars.advance(loudFrame(), kPanel, kBars);
    silence(20);
    EXPECT_EQ(bars.capHeight(0), 50);
    EXPECT_EQ(bars.capHold(0), 0);
    silence(1);
    EXPECT_EQ(bars.capHeight(0), 49);
    silence(9);
    EXPECT_EQ(bars.capHeight(0), 40);
    // At the bottom a cap rests behind its bar.
    silence(100);
    EXPECT_EQ(bars.capHeight(0), 0);
    EXPECT_EQ(bars.capHeight(9), 0);
}

TEST_F(SpectrumFrames, ARisingValueLiftsTheCapAndRestartsItsHold) {
    bars.advance(loudFrame(), kPanel, kBars);
    silence(25);
    auto louder = loudFrame();
    louder[0] = 0.7f;
    bars.advance(louder, kPanel, kBars);
    EXPECT_EQ(bars.barHeight(0), 70);
    EXPECT_EQ(bars.capHeight(0), 70);
    EXPECT_EQ(bars.capHold(0), SpectrumBars::kCapHoldFrames);
}

TEST_F(SpectrumFrames, BrokenValuesNeverLeaveThePanel) {
    std::array<float, kSpectrumBins> broken{};
    broken[0] = std::numeric_limits<float>::infinity();
    broken[1] = std::numeric_limits<float>::quiet_NaN();
    broken[2] = -5.0f;
    broken[3] = 1e30f;
    bars.advance(broken, kPanel, kBars);
    EXPECT_EQ(bars.barHeight(0), 90);
    EXPECT_EQ(bars.barHeight(1), 2);
    EXPECT_EQ(bars.barHeight(2), 2);
    EXPECT_EQ(bars.barHeight(3), 90);
    EXPECT_EQ(bars.capHeight(0), 85);
    EXPECT_EQ(bars.capHeight(1), 0);
}

TEST_F(SpectrumFrames, OnlyTheCountedBarsMove) {
    bars.advance(loudFrame(), kPanel, 5);
    EXPECT_EQ(bars.barHeight(0), 50);
    EXPECT_EQ(bars.barHeight(20), 0) << "beyond the count nothing is drawn";
}

}  // namespace
