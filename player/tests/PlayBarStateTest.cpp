#include "player/PlayBarState.h"

#include <gtest/gtest.h>

namespace {

TEST(PlayTimeTest, FormatsMinutesAndSecondsPaddedToTwoDigits) {
    const struct {
        int seconds;
        const char* text;
    } cases[] = {
        {0, "00:00"},   {5, "00:05"},    {59, "00:59"},   {60, "01:00"},    {65, "01:05"},
        {600, "10:00"}, {3599, "59:59"}, {3600, "60:00"}, {6000, "100:00"}, {-3, "00:00"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatPlayTime(c.seconds), c.text) << c.seconds;
}

TEST(VolumeMemoryTest, UnmuteRestoresTheLastAudibleVolume) {
    VolumeMemory volume;
    volume.move(35);
    volume.toggleMute();
    EXPECT_EQ(volume.position(), 0);
    EXPECT_TRUE(volume.muted());
    EXPECT_EQ(volume.remembered(), 35);
    volume.toggleMute();
    EXPECT_EQ(volume.position(), 35);

    // Dragged down to silence: unmuting brings back the last audible volume.
    volume.move(0);
    EXPECT_TRUE(volume.muted());
    volume.toggleMute();
    EXPECT_EQ(volume.position(), 35);

    volume.move(250);
    EXPECT_EQ(volume.position(), 100);
}

TEST(VolumeMemoryTest, UnmuteWithoutAnAudibleVolumeFallsBack) {
    VolumeMemory volume;
    volume.move(0);  // a stored volume of "0"
    volume.toggleMute();
    EXPECT_EQ(volume.position(), VolumeMemory::kFallbackVolume);
}

}  // namespace
