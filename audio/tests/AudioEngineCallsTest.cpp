// The engine's calls themselves: byte and time formulas, where streams come
// from, what fails, invalid handles, and calls from several threads at once.
#include "PlaybackFixture.h"

#include "TempDir.h"

#include <atomic>
#include <fstream>
#include <thread>
#include <vector>

namespace {

using AudioEngineCallsTest = PlaybackTest;

TEST_F(AudioEngineCallsTest, BytesAndSecondsFollowTheSourceRateAndChannels) {
    const struct {
        int rate;
        int channels;
    } formats[] = {{8000, 1}, {22050, 2}, {44100, 2}, {48000, 1}, {96000, 2}};
    for (const auto& format : formats) {
        SCOPED_TRACE(std::to_string(format.rate) + " Hz x " + std::to_string(format.channels));
        const std::string expressions = format.channels == 1 ? "0.1" : "0.1|0.1";
        const auto file =
            TestAudio::make("format" + std::to_string(format.rate) + "x" + std::to_string(format.channels) + ".flac",
                            expressions, format.rate, 0.5, "-c:a flac");
        const auto handle = engine.createStream(StreamSource::fromFile(file));
        ASSERT_NE(handle, 0u);
        const int64_t bytesPerSecond = int64_t{format.rate} * format.channels * 2;
        EXPECT_EQ(engine.getLength(handle), bytesPerSecond / 2);
        for (const int64_t bytes : {int64_t{0}, int64_t{2}, bytesPerSecond * 3 / 2, int64_t{123457}}) {
            EXPECT_DOUBLE_EQ(engine.bytesToSeconds(handle, bytes), static_cast<double>(bytes) / bytesPerSecond);
        }
        for (const double seconds : {0.0, 0.5, 1.234567, 3.0, 187.3}) {
            const auto frames = static_cast<int64_t>(std::floor(seconds * format.rate));
            EXPECT_EQ(engine.secondsToBytes(handle, seconds), frames * format.channels * 2) << seconds << " s";
        }
        engine.freeStream(handle);
    }
}

TEST_F(AudioEngineCallsTest, SourcesAreTriedFileThenBytesThenUrl) {
    // Each source has its own length, which tells which one was opened.
    const auto oneSecond = TestAudio::make("one.flac", "0.1|0.1", kRate, 1, "-c:a flac");
    const auto twoSeconds = TestAudio::readFile(TestAudio::make("two.flac", "0.1|0.1", kRate, 2, "-c:a flac"));
    const auto url = server.serve("/three.flac", TestAudio::readFile(flacTone()));
    TempDir folder;
    const struct {
        const char* name;
        StreamSource source;
        double seconds;
    } cases[] = {
        {"file first", {oneSecond, twoSeconds, url, 0}, 1},
        {"missing file: bytes", {folder.file("missing.flac"), twoSeconds, url, 0}, 2},
        {"a folder is no file", {folder.path().string(), twoSeconds, url, 0}, 2},
        {"no bytes: URL", {folder.file("missing.flac"), "", url, 0}, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto handle = engine.createStream(c.source);
        ASSERT_NE(handle, 0u);
        EXPECT_EQ(engine.getLength(handle), stereoBytes(c.seconds));
        engine.freeStream(handle);
    }
}

TEST_F(AudioEngineCallsTest, OffsetSkipsBytesBeforeTheAudio) {
    // A short 8 kHz mono WAV in front of the 44.1 kHz stereo FLAC.
    const std::string wav = TestAudio::readFile(TestAudio::make("front.wav", "0", 8000, 0.5, "-c:a pcm_s16le"));
    const std::string joined = wav + TestAudio::readFile(flacTone());
    TempDir folder;
    const std::string joinedFile = folder.file("joined.bin");
    std::ofstream(joinedFile, std::ios::binary) << joined;
    const auto offset = static_cast<int64_t>(wav.size());
    const struct {
        const char* name;
        StreamSource source;
    } cases[] = {
        {"file", StreamSource::fromFile(joinedFile, offset)},
        {"bytes", StreamSource::fromBytes(joined, offset)},
        {"url", StreamSource::fromUrl(server.serve("/joined", joined), offset)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto handle = engine.createStream(c.source);
        ASSERT_NE(handle, 0u);
        EXPECT_EQ(engine.getLength(handle), stereoBytes(3));
        EXPECT_EQ(engine.bytesToSeconds(handle, stereoBytes(1)), 1.0);
        engine.freeStream(handle);
    }
    const auto whole = engine.createStream(StreamSource::fromBytes(joined));
    EXPECT_EQ(engine.bytesToSeconds(whole, 16000), 1.0) << "without the offset the WAV in front is read";
}

TEST_F(AudioEngineCallsTest, WhatIsNotPlayableAudioGivesNoStream) {
    const std::string text = "<html><body>Not here</body></html>";
    TempDir folder;
    const std::string textFile = folder.file("page.mp3");
    std::ofstream(textFile) << text;
    std::string closedPortUrl;
    {
        AudioFileServer gone;
        closedPortUrl = gone.urlFor("/song.mp3");
    }
    const struct {
        const char* name;
        StreamSource source;
    } cases[] = {
        {"nothing given", {}},
        {"web page", StreamSource::fromUrl(server.serve("/page", text, "text/html"))},
        {"missing page", StreamSource::fromUrl(server.urlFor("/missing.mp3"))},
        {"nobody listening", StreamSource::fromUrl(closedPortUrl)},
        {"not a URL", StreamSource::fromUrl("song.mp3")},
        {"URL of a local file", StreamSource::fromUrl("file://" + flacTone())},
        {"text file", StreamSource::fromFile(textFile)},
        {"text bytes", StreamSource::fromBytes(text)},
        {"offset past the end", StreamSource::fromBytes(TestAudio::readFile(flacTone()), 1 << 30)},
        {"negative offset", StreamSource::fromFile(flacTone(), -1)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(engine.createStream(c.source), 0u);
    }
}

TEST_F(AudioEngineCallsTest, InvalidHandlesFailEveryCall) {
    const auto freed = engine.createStream(StreamSource::fromFile(flacTone()));
    ASSERT_TRUE(engine.play(freed));
    ASSERT_TRUE(engine.freeStream(freed));
    // A live stream, to show the calls leave it alone.
    const auto live = engine.createStream(StreamSource::fromFile(flacTone()));

    for (const AudioEngine::Handle handle : {AudioEngine::Handle{0}, freed, AudioEngine::Handle{live + 1000}}) {
        SCOPED_TRACE(handle);
        EXPECT_FALSE(engine.play(handle));
        EXPECT_FALSE(engine.play(handle, false));
        EXPECT_FALSE(engine.pause(handle));
        EXPECT_FALSE(engine.stop(handle));
        EXPECT_EQ(engine.getPosition(handle), -1);
        EXPECT_FALSE(engine.setPosition(handle, 0));
        EXPECT_EQ(engine.getLength(handle), -1);
        EXPECT_EQ(engine.isActive(handle), StreamActivity::kStopped);
        EXPECT_FALSE(engine.freeStream(handle));
        std::array<float, kSpectrumBins> bins{};
        bins.fill(7.0f);
        EXPECT_EQ(engine.getFftData(handle, bins), -1);
        EXPECT_EQ(bins[0], 7.0f) << "left untouched";
        EXPECT_FALSE(engine.setVolume(handle, 50));
        EXPECT_LT(engine.bytesToSeconds(handle, 176400), 0.0);
        EXPECT_EQ(engine.secondsToBytes(handle, 1.0), -1);
    }
    EXPECT_NE(live, freed) << "handles are not reused";
    EXPECT_EQ(engine.getLength(live), stereoBytes(3));
    EXPECT_EQ(engine.isActive(live), StreamActivity::kStopped);
}

TEST_F(AudioEngineCallsTest, StreamsNeedInitAndAnEngineWithoutADeviceStillPlays) {
    AudioEngine deviceless;
    EXPECT_EQ(deviceless.createStream(StreamSource::fromFile(flacTone())), 0u) << "before init";
    ASSERT_TRUE(deviceless.init(0));
    EXPECT_TRUE(deviceless.init(0));
    const auto handle = deviceless.createStream(StreamSource::fromFile(flacTone()));
    ASSERT_NE(handle, 0u);
    ASSERT_TRUE(deviceless.play(handle));
    // Real time drives this output; wait (with a generous limit) for it to move.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (deviceless.getPosition(handle) <= 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GT(deviceless.getPosition(handle), 0);
    EXPECT_EQ(deviceless.isActive(handle), StreamActivity::kPlaying);
}

TEST_F(AudioEngineCallsTest, CallsFromSeveralThreadsAtOnce) {
    const std::string url = server.serve("/shared.mp3", TestAudio::readFile(mp3Tone()));
    std::atomic<AudioEngine::Handle> current{engine.createStream(StreamSource::fromUrl(url))};
    std::atomic<bool> done{false};

    std::vector<std::thread> callers;
    callers.emplace_back([&] {  // the play flow: replaces the stream again and again
        for (int round = 0; round < 20; ++round) {
            const auto next = engine.createStream(StreamSource::fromUrl(url));
            engine.play(next);
            const auto previous = current.exchange(next);
            engine.stop(previous);
            engine.freeStream(previous);
        }
        done = true;
    });
    callers.emplace_back([&] {  // the play bar and lyrics timers
        while (!done) {
            const auto handle = current.load();
            engine.getPosition(handle);
            engine.isActive(handle);
            engine.setVolume(handle, 40);
            engine.bytesToSeconds(handle, engine.getLength(handle));
            std::array<float, kSpectrumBins> bins{};
            engine.getFftData(handle, bins);
        }
    });
    callers.emplace_back([&] {  // transport buttons and the slider
        while (!done) {
            const auto handle = current.load();
            engine.pause(handle);
            engine.play(handle, false);
            engine.setPosition(handle, engine.secondsToBytes(handle, 1.5));
        }
    });
    callers.emplace_back([&] {  // the device
        while (!done) output->advance(512);
    });
    for (auto& caller : callers) caller.join();

    const auto last = current.load();
    EXPECT_TRUE(engine.play(last));
    playFrames(frames(0.25));
    EXPECT_EQ(engine.isActive(last), StreamActivity::kPlaying);
}

}  // namespace
