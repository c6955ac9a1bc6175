// The stored equalizer and output device.
#include "player/PlaybackPreferences.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(PlaybackPreferencesTest, TheEqualizerAndDeviceAreStoredAndReadBackAndBadBandsReadFlat) {
    TempDir folder;
    const AppSettings settings(folder.file("config.ini"));
    const PlaybackPreferences fresh = PlaybackPreferences::read(settings);
    EXPECT_FALSE(fresh.equalizer.on);
    EXPECT_EQ(fresh.equalizer.gainsDb, (std::array<double, kEqualizerBands>{}));
    EXPECT_EQ(fresh.preset, "平直");
    EXPECT_EQ(fresh.outputDevice, "");

    PlaybackPreferences chosen;
    chosen.equalizer = {true, kEqualizerPresets[2].gainsDb};
    chosen.equalizer.gainsDb[9] = -2.5;
    chosen.preset = kCustomPresetName;
    chosen.outputDevice = "USB DAC (ALSA)";
    chosen.writeEqualizer(settings);
    chosen.writeOutputDevice(settings);
    EXPECT_EQ(settings.read("Playback", "EqualizerBands"), "5,4,2,-1,-2,-1,2,4,5,-2.5");
    const PlaybackPreferences read = PlaybackPreferences::read(settings);
    EXPECT_TRUE(read.equalizer.on);
    EXPECT_EQ(read.equalizer.gainsDb, chosen.equalizer.gainsDb);
    EXPECT_EQ(read.preset, kCustomPresetName);
    EXPECT_EQ(read.outputDevice, "USB DAC (ALSA)");

    settings.write("Playback", "EqualizerBands", "1,2,loud,4");
    EXPECT_EQ(PlaybackPreferences::read(settings).equalizer.gainsDb, (std::array<double, kEqualizerBands>{}));
    settings.write("Playback", "EqualizerBands", "99,-99");
    EXPECT_EQ(PlaybackPreferences::read(settings).equalizer.gainsDb[0], kEqualizerLimitDb);
    EXPECT_EQ(PlaybackPreferences::read(settings).equalizer.gainsDb[1], -kEqualizerLimitDb);
}

}  // namespace
