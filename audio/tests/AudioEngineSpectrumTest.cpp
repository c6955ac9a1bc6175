// The spectrum of what is heard, the volume applied at output, and the
// containers and codecs a stream can be made of.
#include "PlaybackFixture.h"

namespace {

using AudioSpectrumTest = PlaybackTest;

TEST_F(AudioSpectrumTest, FrequencyDataOfWhatIsHeard) {
    const std::string tone = TestAudio::sine(10 * kBinHertz);
    const struct {
        const char* name;
        std::string file;
        int channels;
        float bin10;       // expected magnitude at bin 10
        float neighbours;  // at bins 9 and 11, where the window spreads a centred sine
    } cases[] = {
        {"stereo sine", flacTone(), 2, 0.25f, 0.125f},
        {"mono sine", TestAudio::make("mono10.flac", tone, kRate, 1, "-c:a flac"), 1, 0.25f, 0.125f},
        {"antiphase pair", TestAudio::make("antiphase10.flac", tone + "|-" + tone, kRate, 1, "-c:a flac"), 2, 0, 0},
        {"silence", TestAudio::make("silence.flac", "0|0", kRate, 1, "-c:a flac"), 2, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto handle = engine.createStream(StreamSource::fromFile(c.file));
        ASSERT_TRUE(engine.play(handle));
        playFrames(frames(0.5));

        std::array<float, kSpectrumBins> bins{};
        EXPECT_EQ(engine.getFftData(handle, bins), 256 * c.channels * 2);
        EXPECT_NEAR(bins[10], c.bin10, 0.002f);
        EXPECT_NEAR(bins[9], c.neighbours, 0.002f);
        EXPECT_NEAR(bins[11], c.neighbours, 0.002f);
        for (int k = 0; k < kSpectrumBins; ++k) {
            if (k < 9 || k > 11) {
                EXPECT_LT(bins[k], 0.001f) << "bin " << k;
            }
        }
        engine.freeStream(handle);
    }
}

TEST_F(AudioSpectrumTest, SpectrumBeforeTheStreamPlaysIsSilent) {
    const auto handle = engine.createStream(StreamSource::fromFile(flacTone()));
    std::array<float, kSpectrumBins> bins{};
    bins.fill(1.0f);
    ASSERT_TRUE(output->waitUntilReady(frames(1)));
    EXPECT_EQ(engine.getFftData(handle, bins), 1024);
    EXPECT_EQ(*std::max_element(bins.begin(), bins.end()), 0.0f);
}

TEST_F(AudioSpectrumTest, VolumeScalesTheOutputButNotTheSpectrum) {
    // A constant half-scale signal: every sample decodes to 16384.
    const auto handle =
        engine.createStream(StreamSource::fromFile(TestAudio::make("half.flac", "0.5|0.5", kRate, 3, "-c:a flac")));
    ASSERT_TRUE(engine.play(handle));
    playFrames(frames(0.1));
    std::array<float, kSpectrumBins> fullVolume{};
    engine.getFftData(handle, fullVolume);

    const struct {
        int volume;
        int16_t sample;
    } cases[] = {{100, 16384}, {20, 3277}, {0, 0}, {150, 16384}, {-5, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.volume);
        ASSERT_TRUE(engine.setVolume(handle, c.volume));
        playFrames(frames(0.1));
        const auto pulled = output->lastPulled();
        ASSERT_EQ(pulled.size(), static_cast<size_t>(frames(0.1) * 2));
        EXPECT_EQ(std::count(pulled.begin(), pulled.end(), c.sample), static_cast<long>(pulled.size()));
        std::array<float, kSpectrumBins> bins{};
        engine.getFftData(handle, bins);
        EXPECT_EQ(bins, fullVolume);
    }
}

TEST_F(AudioSpectrumTest, AnOutputTakingFloatGetsTheGainWithoutA16BitRounding) {
    auto floatOutput = std::make_shared<ManualOutput>(0, ManualOutput::Samples::kFloat);
    AudioEngine floatEngine(floatOutput);
    ASSERT_TRUE(floatEngine.init());
    // Every sample decodes to 16384, half of full scale.
    const auto handle = floatEngine.createStream(
        StreamSource::fromFile(TestAudio::make("half.flac", "0.5|0.5", kRate, 3, "-c:a flac")));
    ASSERT_TRUE(floatEngine.play(handle));
    const struct {
        int volume;
        double loudnessDb;
        float sample;  // 16-bit output would give 164 / 32768 for 0.005, 3277 / 32768 for 0.1
    } cases[] = {{100, 0, 0.5f}, {1, 0, 0.005f}, {20, 0, 0.1f}, {100, 12, 1.0f} /* held at full scale */};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.volume);
        ASSERT_TRUE(floatEngine.setVolume(handle, c.volume));
        ASSERT_TRUE(floatEngine.setLoudnessGain(handle, c.loudnessDb));
        ASSERT_TRUE(floatOutput->waitUntilReady(frames(0.1)));
        floatOutput->advance(frames(0.1));
        const auto pulled = floatOutput->lastPulledFloat();
        ASSERT_EQ(pulled.size(), static_cast<size_t>(frames(0.1) * 2));
        for (const float sample : pulled) ASSERT_NEAR(sample, c.sample, 1e-6f);
    }
}

TEST_F(AudioSpectrumTest, EveryCommonFormatPlaysFromMemory) {
    const struct {
        const char* extension;
        const char* codec;
    } formats[] = {
        {"mp3", "-c:a libmp3lame -b:a 192k"},
        {"flac", "-c:a flac"},
        {"m4a", "-c:a aac -b:a 192k"},  // the index at the end: the reader must seek
        {"ogg", "-c:a libvorbis -q:a 6"},
    };
    for (const auto& format : formats) {
        SCOPED_TRACE(format.extension);
        const auto handle =
            engine.createStream(StreamSource::fromBytes(TestAudio::readFile(toneFile(format.extension, format.codec))));
        ASSERT_NE(handle, 0u);
        EXPECT_NEAR(engine.bytesToSeconds(handle, engine.getLength(handle)), 3.0, 0.06);
        ASSERT_TRUE(engine.play(handle));
        playFrames(frames(1));
        std::array<float, kSpectrumBins> bins{};
        engine.getFftData(handle, bins);
        EXPECT_EQ(peakBin(bins), 10);
        EXPECT_NEAR(bins[10], 0.25f, 0.02f);
        engine.freeStream(handle);
    }
}

}  // namespace
