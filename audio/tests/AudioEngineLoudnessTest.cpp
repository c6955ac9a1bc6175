// Loudness: measured as a stream is decoded, and the gain that evens it out.
#include "PlaybackFixture.h"

#include <algorithm>
#include <cstdlib>

namespace {

using LoudnessTest = PlaybackTest;

// Three seconds of a 1 kHz sine at half scale in both channels: -6.02 LUFS
// by EBU R 128 (a -23 dBFS sine so reads -23 LUFS), true peak 0.5.
std::string halfScaleTone() {
    const std::string tone = "0.5*" + TestAudio::sine(1000);
    return TestAudio::make("half1k.flac", tone + "|" + tone, PlaybackTest::kRate, 3, "-c:a flac");
}

TEST_F(LoudnessTest, ASourceDecodedWholeHasItsLoudnessMeasured) {
    StreamSource source = StreamSource::fromFile(halfScaleTone());
    source.measureLoudness = true;
    const auto handle = engine.createStream(source);
    ASSERT_TRUE(engine.play(handle));
    playFrames(frames(3));
    // The measure is taken once the decoder has seen the source end, just after its last frames.
    ASSERT_TRUE(eventually([&] { return engine.measuredLoudness(handle).has_value(); }));
    const auto loudness = engine.measuredLoudness(handle);
    EXPECT_NEAR(loudness->lufs, -6.02, 0.2);
    EXPECT_NEAR(loudness->truePeak, 0.5, 0.02);
}

TEST_F(LoudnessTest, NothingIsMeasuredUnlessAskedOrWhenASeekSkipsPartOfTheSource) {
    const auto unasked = engine.createStream(StreamSource::fromFile(halfScaleTone()));
    StreamSource source = StreamSource::fromFile(halfScaleTone());
    source.measureLoudness = true;
    const auto skipped = engine.createStream(source);
    ASSERT_TRUE(engine.play(unasked));
    ASSERT_TRUE(engine.play(skipped));
    ASSERT_TRUE(engine.setPosition(skipped, stereoBytes(1)));
    playFrames(frames(3.1));
    EXPECT_EQ(engine.isActive(skipped), StreamActivity::kStopped);
    EXPECT_FALSE(engine.measuredLoudness(unasked));
    EXPECT_FALSE(engine.measuredLoudness(skipped));
}

TEST_F(LoudnessTest, TheLoudnessGainScalesTheSoundAndHoldsItAtFullScale) {
    struct Case {
        double decibels;
        int expectedPeak;
    };
    const Case cases[] = {{-6.0206, 8192}, {0, 16384}, {6.0206, 32767}, {12, 32767}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.decibels);
        const auto handle = engine.createStream(StreamSource::fromFile(halfScaleTone()));
        ASSERT_TRUE(engine.setLoudnessGain(handle, c.decibels));
        ASSERT_TRUE(engine.play(handle));
        playFrames(frames(0.5));
        const std::vector<int16_t> heard = output->lastPulled();
        const auto [low, high] = std::minmax_element(heard.begin(), heard.end());
        EXPECT_NEAR(*high, c.expectedPeak, 3);
        EXPECT_NEAR(-*low, c.expectedPeak, 3) << "held at full scale, never wrapped round";
        engine.freeStream(handle);
    }
}

}  // namespace
