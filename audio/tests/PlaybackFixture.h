#pragma once
// An engine on a manual clock, with a local HTTP server, for tests that play.
#include "AudioFileServer.h"
#include "ManualOutput.h"
#include "TestAudio.h"
#include "audio/AudioEngine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <thread>

// Waits up to ten seconds for `condition`, which a decode thread makes true.
inline bool eventually(const std::function<bool()>& condition) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > giveUp) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

class PlaybackTest : public ::testing::Test {
public:
    static constexpr int kRate = 44100;
    static constexpr int64_t kStereoFrameBytes = 4;
    static constexpr double kBinHertz = kRate / 256.0;

    static int64_t frames(double seconds) { return std::llround(seconds * kRate); }
    static int64_t stereoBytes(double seconds) { return frames(seconds) * kStereoFrameBytes; }

    // Three seconds of a full-scale stereo sine centred on FFT bin 10 (1722.656 Hz).
    static std::string toneFile(const std::string& extension, const std::string& codec) {
        const std::string tone = TestAudio::sine(10 * kBinHertz);
        return TestAudio::make("tone10." + extension, tone + "|" + tone, kRate, 3, codec);
    }
    static std::string flacTone() { return toneFile("flac", "-c:a flac"); }
    static std::string mp3Tone() { return toneFile("mp3", "-c:a libmp3lame -b:a 192k"); }

    static int peakBin(const std::array<float, kSpectrumBins>& bins) {
        return static_cast<int>(std::max_element(bins.begin(), bins.end()) - bins.begin());
    }

protected:
    // Plays `count` more frames of every started stream once its decoder has them ready.
    void playFrames(int64_t count) {
        ASSERT_TRUE(output->waitUntilReady(count)) << "the decoder never had the frames ready";
        output->advance(count);
    }

    AudioFileServer server;
    std::shared_ptr<ManualOutput> output = std::make_shared<ManualOutput>();
    AudioEngine engine{output};
};
