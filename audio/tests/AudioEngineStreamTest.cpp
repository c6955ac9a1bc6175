// Lengths, positions, transport, looping, seeking and stalls of streams
// played on a manual clock.
#include "PlaybackFixture.h"

#include <chrono>
#include <thread>

namespace {

using AudioStreamTest = PlaybackTest;

struct EncodedTone {
    const char* name;
    std::string (*file)();
    int64_t lengthToleranceBytes;  // MP3 containers state the length only to about a frame
};

const EncodedTone kTones[] = {
    {"flac", &PlaybackTest::flacTone, 0},
    {"mp3", &PlaybackTest::mp3Tone, 2 * 1152 * 4},
};

TEST_F(AudioStreamTest, ThreeSecondsAtCdRateHaveTheirLengthAndPlayFrameByFrame) {
    for (const auto& tone : kTones) {
        SCOPED_TRACE(tone.name);
        const auto handle = engine.createStream(
            StreamSource::fromUrl(server.serve(std::string("/") + tone.name, TestAudio::readFile(tone.file()))));
        ASSERT_NE(handle, 0u);
        EXPECT_NEAR(engine.getLength(handle), stereoBytes(3), tone.lengthToleranceBytes);
        EXPECT_EQ(engine.getPosition(handle), 0);
        EXPECT_EQ(engine.isActive(handle), StreamActivity::kStopped);

        ASSERT_TRUE(engine.play(handle));
        playFrames(frames(1));
        EXPECT_EQ(engine.getPosition(handle), stereoBytes(1));
        EXPECT_EQ(engine.isActive(handle), StreamActivity::kPlaying);
        playFrames(frames(0.5));
        EXPECT_EQ(engine.getPosition(handle), stereoBytes(1.5));
        EXPECT_TRUE(engine.freeStream(handle));
    }
}

TEST_F(AudioStreamTest, PauseAndResumeKeepThePosition) {
    const auto handle = engine.createStream(StreamSource::fromFile(flacTone()));
    ASSERT_TRUE(engine.play(handle));
    playFrames(frames(1));

    ASSERT_TRUE(engine.pause(handle));
    EXPECT_EQ(engine.isActive(handle), StreamActivity::kPaused);
    output->advance(frames(1));  // time passes; nothing is pulled
    EXPECT_EQ(engine.getPosition(handle), stereoBytes(1));
    EXPECT_FALSE(engine.pause(handle)) << "only a playing stream pauses";

    ASSERT_TRUE(engine.play(handle, false));
    EXPECT_EQ(engine.isActive(handle), StreamActivity::kPlaying);
    EXPECT_EQ(engine.getPosition(handle), stereoBytes(1));
    playFrames(frames(0.5));
    EXPECT_EQ(engine.getPosition(handle), stereoBytes(1.5));
}

TEST_F(AudioStreamTest, StopKeepsThePositionAndRestartGoesBackToTheStart) {
    const auto handle = engine.createStream(StreamSource::fromFile(flacTone()));
    ASSERT_TRUE(engine.play(handle));
    playFrames(frames(1));

    ASSERT_TRUE(engine.stop(handle));
    EXPECT_EQ(engine.isActive(handle), StreamActivity::kStopped);
    output->advance(frames(1));
    EXPECT_EQ(engine.getPosition(handle), stereoBytes(1));

    ASSERT_TRUE(engine.play(handle, false));
    playFrames(frames(0.5));
    EXPECT_EQ(engine.getPosition(handle), stereoBytes(1.5));

    ASSERT_TRUE(engine.play(handle, true));
    EXPECT_EQ(engine.getPosition(handle), 0);
    EXPECT_EQ(engine.isActive(handle), StreamActivity::kPlaying);
    playFrames(frames(0.25));
    EXPECT_EQ(engine.getPosition(handle), stereoBytes(0.25));
}

TEST_F(AudioStreamTest, PositionTrailsTheOutputByItsLatencyAndPauseKeepsWhatWasNotYetHeard) {
    const int64_t latency = frames(0.1);
    auto delayed = std::make_shared<ManualOutput>(latency);
    AudioEngine delayedEngine(delayed);
    const auto handle = delayedEngine.createStream(StreamSource::fromFile(flacTone()));
    ASSERT_TRUE(delayedEngine.play(handle));
    ASSERT_TRUE(delayed->waitUntilReady(frames(1)));
    delayed->advance(frames(1));
    EXPECT_EQ(delayedEngine.getPosition(handle), (frames(1) - latency) * kStereoFrameBytes);

    // The frames still inside the device when it pauses were never heard:
    // they are played again after the pause.
    ASSERT_TRUE(delayedEngine.pause(handle));
    EXPECT_EQ(delayedEngine.getPosition(handle), (frames(1) - latency) * kStereoFrameBytes);
    ASSERT_TRUE(delayedEngine.play(handle, false));
    ASSERT_TRUE(delayed->waitUntilReady(frames(0.5)));
    delayed->advance(frames(0.5));
    EXPECT_EQ(delayedEngine.getPosition(handle), (frames(1.5) - 2 * latency) * kStereoFrameBytes);
}

TEST_F(AudioStreamTest, UrlStreamGoesOnFromItsStartWithoutStopping) {
    for (const auto& tone : kTones) {
        SCOPED_TRACE(tone.name);
        const auto handle = engine.createStream(
            StreamSource::fromUrl(server.serve(std::string("/") + tone.name, TestAudio::readFile(tone.file()))));
        ASSERT_TRUE(engine.play(handle));
        playFrames(frames(2));
        playFrames(frames(2));
        EXPECT_EQ(engine.getPosition(handle), stereoBytes(1));
        for (int pass = 0; pass < 3; ++pass) {
            playFrames(frames(2));
            EXPECT_EQ(engine.isActive(handle), StreamActivity::kPlaying);
        }
        EXPECT_EQ(engine.getPosition(handle), stereoBytes(1));  // 10 s into a 3 s loop
        engine.freeStream(handle);
    }
}

TEST_F(AudioStreamTest, FileStreamStopsAtItsEnd) {
    const auto handle = engine.createStream(StreamSource::fromFile(flacTone()));
    ASSERT_TRUE(engine.play(handle));
    playFrames(frames(2));
    playFrames(frames(2));
    EXPECT_EQ(engine.isActive(handle), StreamActivity::kStopped);
    EXPECT_EQ(engine.getPosition(handle), engine.getLength(handle));

    ASSERT_TRUE(engine.play(handle, true));  // and plays again from the start
    playFrames(frames(0.5));
    EXPECT_EQ(engine.isActive(handle), StreamActivity::kPlaying);
    EXPECT_EQ(engine.getPosition(handle), stereoBytes(0.5));
}

// One second each of sines centred on bins 10, 20 and 30.
std::string steppedTone(const std::string& extension, const std::string& codec) {
    const auto bin = [](int k) { return TestAudio::sine(k * PlaybackTest::kRate / 256.0); };
    const std::string tone = "if(lt(t,1)," + bin(10) + ",if(lt(t,2)," + bin(20) + "," + bin(30) + "))";
    return TestAudio::make("stepped." + extension, tone + "|" + tone, PlaybackTest::kRate, 3, codec);
}

TEST_F(AudioStreamTest, SeekingAUrlStreamPlaysFromTheNewPosition) {
    const std::pair<const char*, std::string> files[] = {
        {"flac", steppedTone("flac", "-c:a flac")},
        {"mp3", steppedTone("mp3", "-c:a libmp3lame -b:a 192k")},
    };
    for (const auto& [name, path] : files) {
        SCOPED_TRACE(name);
        const auto handle = engine.createStream(
            StreamSource::fromUrl(server.serve(std::string("/stepped.") + name, TestAudio::readFile(path))));
        ASSERT_TRUE(engine.play(handle));
        playFrames(frames(0.25));

        const struct {
            double seconds;
            int bin;
        } seeks[] = {{2.25, 30}, {0.5, 10}, {1.4, 20}};
        for (const auto& seek : seeks) {
            SCOPED_TRACE(seek.seconds);
            const int64_t target = engine.secondsToBytes(handle, seek.seconds);
            ASSERT_TRUE(engine.setPosition(handle, target + 3));  // rounds down to the frame
            EXPECT_EQ(engine.getPosition(handle), target);
            playFrames(frames(0.25));
            EXPECT_EQ(engine.getPosition(handle), target + stereoBytes(0.25));
            std::array<float, kSpectrumBins> bins{};
            engine.getFftData(handle, bins);
            EXPECT_EQ(peakBin(bins), seek.bin);
        }
        EXPECT_FALSE(engine.setPosition(handle, engine.getLength(handle) + kStereoFrameBytes));
        EXPECT_FALSE(engine.setPosition(handle, -kStereoFrameBytes));
        engine.freeStream(handle);
    }
}

// The MP3 tone from a server that holds back all but its first third,
// played on until it has run dry.
class StarvedStreamTest : public PlaybackTest {
protected:
    AudioEngine::Handle playUntilStarved(const std::string& path) {
        const std::string body = TestAudio::readFile(mp3Tone());
        const auto handle =
            engine.createStream(StreamSource::fromUrl(server.serveHeldBack(path, body, body.size() / 3)));
        EXPECT_NE(handle, 0u);
        EXPECT_TRUE(engine.play(handle));
        playFrames(frames(0.1));
        // Plays on until the stream runs dry; on a slow machine the decoder
        // may still be turning what the server sent into frames meanwhile.
        for (int step = 0; step < 200 && engine.isActive(handle) != StreamActivity::kStalled; ++step) {
            output->advance(frames(0.1));
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(engine.isActive(handle), StreamActivity::kStalled);
        return handle;
    }
};

TEST_F(StarvedStreamTest, TricklingServerStallsTheStreamUntilDataArrives) {
    const auto handle = playUntilStarved("/slow.mp3");
    const int64_t starvedAt = engine.getPosition(handle);
    EXPECT_LT(starvedAt, stereoBytes(1.5));

    server.release();
    playFrames(frames(0.1));
    EXPECT_EQ(engine.isActive(handle), StreamActivity::kPlaying);
    EXPECT_EQ(engine.getPosition(handle), starvedAt + stereoBytes(0.1));
}

TEST_F(StarvedStreamTest, FreeingAStalledStreamDoesNotWaitForTheNetwork) {
    const auto handle = playUntilStarved("/held.mp3");

    EXPECT_TRUE(engine.freeStream(handle));  // the server still holds the body back
    EXPECT_EQ(engine.isActive(handle), StreamActivity::kStopped);
    EXPECT_EQ(engine.getPosition(handle), -1);
}

TEST_F(StarvedStreamTest, AStreamWhoseServerGoesAwayMidSongStopsInsteadOfStallingForEver) {
    const auto handle = playUntilStarved("/cut.mp3");

    server.breakOff();
    // The decoder's reconnection is refused, so the stream ends with what it
    // had: once played out, it has stopped, as at the end of a song.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (engine.isActive(handle) != StreamActivity::kStopped && std::chrono::steady_clock::now() < deadline) {
        output->advance(frames(0.05));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(engine.isActive(handle), StreamActivity::kStopped);
    engine.freeStream(handle);
}

}  // namespace
