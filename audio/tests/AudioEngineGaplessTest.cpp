// Songs that follow each other in one output: the seam between them, the
// end of a song as an event, resampling to the output's rate, and the
// encoder's delay and padding cut from MP3s.
#include "PlaybackFixture.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr double kToneHertz = 1234.5;  // not a whole number of cycles per second: the halves meet mid-cycle
constexpr double kAmplitude = 0.5;

// `seconds` of a half-scale tone that starts `from` seconds into one long tone,
// so two such files cut from the same tone join without a step.
std::string toneFrom(const std::string& name, double from, double seconds, int rate, const std::string& codec) {
    std::ostringstream tone;
    tone.precision(12);
    tone << kAmplitude << "*sin(2*PI*" << kToneHertz << "*(t+" << from << "))";
    return TestAudio::make(name, tone.str() + "|" + tone.str(), rate, seconds, codec);
}

// The largest step between neighbouring samples of the tone, in 16-bit units.
double toneStep(int rate) { return kAmplitude * 32767.0 * 2.0 * M_PI * kToneHertz / rate; }

// Records what the engine tells, for a test to wait on.
class EventLog {
public:
    AudioEngine::EventListener listener() {
        return [this](AudioEngine::Handle handle, StreamEvent event) {
            std::lock_guard lock(mutex_);
            events_.emplace_back(handle, event);
            changed_.notify_all();
        };
    }
    // Waits until `event` of `handle` has been told `times` times in all.
    bool waitFor(AudioEngine::Handle handle, StreamEvent event, int times = 1) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 20s, [&] { return countLocked(handle, event) >= times; });
    }
    int count(AudioEngine::Handle handle, StreamEvent event) {
        std::lock_guard lock(mutex_);
        return countLocked(handle, event);
    }

private:
    int countLocked(AudioEngine::Handle handle, StreamEvent event) const {
        return static_cast<int>(std::count(events_.begin(), events_.end(), std::pair(handle, event)));
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::pair<AudioEngine::Handle, StreamEvent>> events_;
};

class GaplessTest : public PlaybackTest {
protected:
    // Plays `frames` frames in device periods as they are ready and returns every sample pulled.
    std::vector<int16_t> pull(int64_t total) {
        std::vector<int16_t> pulled;
        constexpr int64_t kPeriod = 1024;
        for (int64_t done = 0; done < total; done += kPeriod) {
            EXPECT_TRUE(output->waitUntilReady(kPeriod));
            output->advance(kPeriod);
            const std::vector<int16_t> block = output->lastPulled();
            pulled.insert(pulled.end(), block.begin(), block.end());
        }
        return pulled;
    }

    EventLog events;
};

// The largest step between neighbouring left samples in [from, to) frames.
double largestStep(const std::vector<int16_t>& stereo, int64_t from, int64_t to) {
    double largest = 0;
    for (int64_t i = std::max<int64_t>(from, 1); i < to; ++i)
        largest = std::max(largest, std::fabs(double(stereo[2 * i]) - stereo[2 * (i - 1)]));
    return largest;
}

// The longest run of silent frames in [from, to). A tone crosses zero at
// single frames at most.
int64_t longestSilence(const std::vector<int16_t>& stereo, int64_t from, int64_t to) {
    int64_t longest = 0, run = 0;
    for (int64_t i = from; i < to; ++i) {
        run = stereo[2 * i] == 0 && stereo[2 * i + 1] == 0 ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

TEST_F(GaplessTest, AFollowerGoesOnInTheSameOutputWithoutAGapAndTheEndIsAnEvent) {
    struct Case {
        const char* name;
        const char* extension;
        const char* codec;
        double stepTolerance;  // the codec's own error on top of the tone's step
    };
    const Case cases[] = {
        {"flac", "flac", "-c:a flac", 2.0},
        {"mp3", "mp3", "-c:a libmp3lame -b:a 192k", 0.1 * kAmplitude * 32767.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        engine.setEventListener(events.listener());
        const auto first = engine.createStream(
            StreamSource::fromFile(toneFrom(std::string("first.") + c.extension, 0, 1, kRate, c.codec)));
        const auto second = engine.createFollower(
            first, StreamSource::fromFile(toneFrom(std::string("second.") + c.extension, 1, 1, kRate, c.codec)));
        ASSERT_NE(first, 0u);
        ASSERT_NE(second, 0u);
        EXPECT_EQ(engine.isActive(second), StreamActivity::kStopped) << "a follower waits for its turn";
        ASSERT_TRUE(engine.play(first));

        const std::vector<int16_t> pulled = pull(frames(2.5));
        EXPECT_LE(longestSilence(pulled, 0, frames(2)), 1) << "no silence between the two";
        EXPECT_LE(largestStep(pulled, frames(0.9), frames(1.1)), toneStep(kRate) + c.stepTolerance)
            << "the seam is no larger than the tone's own step";
        EXPECT_EQ(longestSilence(pulled, frames(2), frames(2.5)), frames(2.5) - frames(2)) << "then the end";

        ASSERT_TRUE(events.waitFor(first, StreamEvent::kEnded));
        EXPECT_EQ(engine.isActive(first), StreamActivity::kStopped);
        EXPECT_EQ(engine.getPosition(first), stereoBytes(1));
        ASSERT_TRUE(events.waitFor(second, StreamEvent::kEnded));
        EXPECT_EQ(engine.getPosition(second), stereoBytes(1));
        EXPECT_EQ(events.count(first, StreamEvent::kEnded), 1) << "told once";
        engine.freeStream(first);
        engine.freeStream(second);
    }
}

TEST_F(GaplessTest, TheFollowerSoundsOnceTheLeaderIsHeardToItsEndAndTheLeaderCanGo) {
    const int64_t latency = frames(0.2);
    auto delayed = std::make_shared<ManualOutput>(latency);
    AudioEngine delayedEngine(delayed);
    delayedEngine.setEventListener(events.listener());
    const auto first =
        delayedEngine.createStream(StreamSource::fromFile(toneFrom("first.flac", 0, 1, kRate, "-c:a flac")));
    const auto second =
        delayedEngine.createFollower(first, StreamSource::fromFile(toneFrom("second.flac", 1, 1, kRate, "-c:a flac")));
    ASSERT_TRUE(delayedEngine.play(first));
    ASSERT_TRUE(delayed->waitUntilReady(frames(1.1)));
    delayed->advance(frames(1.1));
    // The follower took over the output: its first 0.1 s were pulled but are
    // still inside the device, behind the leader's last 0.2 s.
    EXPECT_EQ(delayedEngine.isActive(second), StreamActivity::kPlaying);
    EXPECT_EQ(delayedEngine.getPosition(second), 0);
    EXPECT_EQ(delayedEngine.isActive(first), StreamActivity::kPlaying) << "its end is not heard yet";
    EXPECT_EQ(events.count(first, StreamEvent::kEnded), 0);

    ASSERT_TRUE(delayed->waitUntilReady(frames(0.2)));
    delayed->advance(frames(0.2));
    ASSERT_TRUE(events.waitFor(first, StreamEvent::kEnded));
    EXPECT_EQ(delayedEngine.getPosition(second), stereoBytes(0.1));

    // Freeing the song that ended leaves the output with the one playing.
    delayedEngine.freeStream(first);
    ASSERT_TRUE(delayed->waitUntilReady(frames(0.2)));
    delayed->advance(frames(0.2));
    EXPECT_EQ(delayedEngine.getPosition(second), stereoBytes(0.3));
    ASSERT_TRUE(delayedEngine.pause(second));
    EXPECT_EQ(delayedEngine.isActive(second), StreamActivity::kPaused);
    ASSERT_TRUE(delayedEngine.play(second, false));
    EXPECT_EQ(delayedEngine.isActive(second), StreamActivity::kPlaying);
}

TEST_F(GaplessTest, AFollowerAtAnotherRateIsResampledToTheOutputsRate) {
    // A tone centred on bin 20 of the output's FFT; heard at its own rate
    // unconverted it would land near bin 22.
    const double hertz = 20 * kBinHertz;
    const std::string tone = TestAudio::sine(hertz);
    const auto first = engine.createStream(StreamSource::fromFile(flacTone()));
    const auto second = engine.createFollower(
        first, StreamSource::fromFile(TestAudio::make("bin20at48k.flac", tone + "|" + tone, 48000, 2, "-c:a flac")));
    ASSERT_NE(second, 0u);
    EXPECT_EQ(engine.bytesToSeconds(second, stereoBytes(1)), 1.0) << "its bytes count frames at the output's rate";
    EXPECT_NEAR(engine.getLength(second), stereoBytes(2), kStereoFrameBytes * 2);
    ASSERT_TRUE(engine.play(first));
    pull(frames(3.5));
    std::array<float, kSpectrumBins> bins{};
    ASSERT_GT(engine.getFftData(second, bins), 0);
    EXPECT_EQ(peakBin(bins), 20);
    EXPECT_NEAR(engine.bytesToSeconds(second, engine.getPosition(second)), 0.5, 0.03);
}

TEST_F(GaplessTest, AnMp3PlaysFromItsFirstRecordedSampleToItsLast) {
    const auto handle =
        engine.createStream(StreamSource::fromFile(toneFrom("exact.mp3", 0, 1, kRate, "-c:a libmp3lame -b:a 192k")));
    ASSERT_TRUE(engine.play(handle));
    const std::vector<int16_t> pulled = pull(frames(1.5));
    // Without the encoder's delay cut, the first 1105 frames would be silent.
    for (int64_t i = 0; i < 200; ++i) {
        const double expected = kAmplitude * 32767.0 * std::sin(2 * M_PI * kToneHertz * double(i) / kRate);
        ASSERT_NEAR(pulled[2 * i], expected, 0.05 * 32767.0) << "frame " << i;
    }
    // ... and without its padding cut, silence would follow the tone's end.
    EXPECT_LE(longestSilence(pulled, 0, frames(1) - 1), 1);
    EXPECT_EQ(longestSilence(pulled, frames(1), frames(1.5)), frames(1.5) - frames(1));
}

TEST_F(GaplessTest, AboutToEndIsToldOnlyForAPlayingStreamThatDoesNotLoop) {
    engine.setEventListener(events.listener());
    const std::string url = server.serve("/tone.flac", TestAudio::readFile(flacTone()));
    const auto looping = engine.createStream(StreamSource::fromUrl(url));
    const auto once = engine.createStream(StreamSource::fromFile(flacTone()));
    ASSERT_TRUE(engine.play(looping));
    pull(frames(0.1));
    EXPECT_EQ(events.count(once, StreamEvent::kAboutToEnd), 0) << "not while it waits to be played";
    ASSERT_TRUE(engine.play(once));
    pull(frames(0.1));
    ASSERT_TRUE(events.waitFor(once, StreamEvent::kAboutToEnd)) << "3 s left is less than the lead";
    pull(frames(3));
    ASSERT_TRUE(events.waitFor(once, StreamEvent::kEnded));
    EXPECT_EQ(events.count(looping, StreamEvent::kAboutToEnd), 0);
    EXPECT_EQ(events.count(looping, StreamEvent::kEnded), 0);

    // Played again from its start, it is told again.
    ASSERT_TRUE(engine.play(once, true));
    pull(frames(0.1));
    EXPECT_TRUE(events.waitFor(once, StreamEvent::kAboutToEnd, 2));
    pull(frames(3));
    EXPECT_TRUE(events.waitFor(once, StreamEvent::kEnded, 2));
}

}  // namespace
