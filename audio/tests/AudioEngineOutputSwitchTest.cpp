// Another output chosen while streams play: they go on there from what was
// heard, a following stream included.
#include "PlaybackFixture.h"

namespace {

using OutputSwitchTest = PlaybackTest;

TEST_F(OutputSwitchTest, APlayingStreamGoesOnInTheNewOutputFromWhereItWasHeard) {
    const int64_t latency = frames(0.1);
    auto first = std::make_shared<ManualOutput>(latency);
    auto second = std::make_shared<ManualOutput>();
    AudioEngine switching(first);
    const auto handle = switching.createStream(StreamSource::fromFile(flacTone()));
    ASSERT_TRUE(switching.play(handle));
    ASSERT_TRUE(first->waitUntilReady(frames(1)));
    first->advance(frames(1));
    ASSERT_EQ(switching.getPosition(handle), (frames(1) - latency) * kStereoFrameBytes);

    ASSERT_TRUE(switching.useOutput(second));
    // What the first output held unheard plays again on the second.
    EXPECT_EQ(switching.getPosition(handle), (frames(1) - latency) * kStereoFrameBytes);
    EXPECT_EQ(switching.isActive(handle), StreamActivity::kPlaying);
    first->advance(frames(0.5));
    EXPECT_TRUE(first->lastPulled().empty()) << "the first output is closed";
    ASSERT_TRUE(second->waitUntilReady(frames(0.5)));
    second->advance(frames(0.5));
    EXPECT_EQ(switching.getPosition(handle), (frames(1.5) - latency) * kStereoFrameBytes);

    // A paused stream stays paused there, and new streams open there too.
    ASSERT_TRUE(switching.pause(handle));
    ASSERT_TRUE(switching.useOutput(first));
    first->advance(frames(0.5));
    EXPECT_TRUE(first->lastPulled().empty());
    EXPECT_EQ(switching.getPosition(handle), (frames(1.5) - latency) * kStereoFrameBytes);
    ASSERT_TRUE(switching.play(handle, false));
    ASSERT_TRUE(first->waitUntilReady(frames(0.5)));
    first->advance(frames(0.5));
    EXPECT_EQ(switching.getPosition(handle), (frames(2) - 2 * latency) * kStereoFrameBytes);
}

TEST_F(OutputSwitchTest, ASongAndItsFollowerMoveTogether) {
    auto second = std::make_shared<ManualOutput>();
    const auto leader = engine.createStream(StreamSource::fromFile(flacTone()));
    const auto follower = engine.createFollower(leader, StreamSource::fromFile(flacTone()));
    ASSERT_TRUE(engine.play(leader));
    playFrames(frames(2));
    ASSERT_TRUE(engine.useOutput(second));
    ASSERT_TRUE(second->waitUntilReady(frames(1.5)));
    second->advance(frames(1.5));
    EXPECT_EQ(engine.isActive(follower), StreamActivity::kPlaying);
    EXPECT_EQ(engine.getPosition(follower), stereoBytes(0.5));
}

}  // namespace
