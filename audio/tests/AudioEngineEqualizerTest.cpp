// The equalizer: each band lifts or cuts around its own frequency only, and
// off (or flat) it leaves every sample as it was.
#include "PlaybackFixture.h"

#include <algorithm>

namespace {

using EqualizerTest = PlaybackTest;

// Half a second of a quarter-scale 1 kHz sine in both channels.
std::string quarterScaleTone() {
    const std::string tone = "0.25*" + TestAudio::sine(1000);
    return TestAudio::make("quarter1k.flac", tone + "|" + tone, PlaybackTest::kRate, 1, "-c:a flac");
}

class EqualizedTone : public EqualizerTest {
protected:
    // What the tone sounds like, its first 0.1 s (the filters settling) left out.
    std::vector<int16_t> hear(const EqualizerSetting& setting) {
        engine.setEqualizer(setting);
        const auto handle = engine.createStream(StreamSource::fromFile(quarterScaleTone()));
        EXPECT_TRUE(engine.play(handle));
        playFrames(frames(0.1));
        playFrames(frames(0.5));
        engine.freeStream(handle);
        return output->lastPulled();
    }
    static int peak(const std::vector<int16_t>& samples) { return *std::max_element(samples.begin(), samples.end()); }
};

EqualizerSetting bands(std::initializer_list<std::pair<int, double>> gains) {
    EqualizerSetting setting;
    setting.on = true;
    for (const auto& [band, gain] : gains) setting.gainsDb[static_cast<size_t>(band)] = gain;
    return setting;
}

TEST_F(EqualizedTone, EachBandMovesItsOwnFrequencyOnly) {
    const int untouched = peak(hear({}));
    EXPECT_NEAR(untouched, 8192, 2);
    struct Case {
        const char* name;
        EqualizerSetting setting;
        double expectedDb;
    };
    const Case cases[] = {
        {"1 kHz lifted 6 dB", bands({{5, 6.0}}), 6.0},
        {"1 kHz cut 12 dB", bands({{5, -12.0}}), -12.0},
        {"a lift beyond the limit is held to 12 dB", bands({{5, 40.0}}), 12.0},
        {"31 Hz and 16 kHz lifted: 1 kHz stays", bands({{0, 12.0}, {9, 12.0}}), 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(20 * std::log10(double(peak(hear(c.setting))) / untouched), c.expectedDb, 0.5);
    }
}

TEST_F(EqualizedTone, OffOrFlatLeavesEverySampleAsItWas) {
    const std::vector<int16_t> untouched = hear({});
    EqualizerSetting flat;
    flat.on = true;
    EXPECT_EQ(hear(flat), untouched);
    EqualizerSetting offWithGains = bands({{5, 6.0}});
    offWithGains.on = false;
    EXPECT_EQ(hear(offWithGains), untouched);
    EXPECT_FALSE(engine.equalizer().on);
}

}  // namespace
