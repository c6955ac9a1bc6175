// The stored equalizer, output device and bound of the played-song cache.
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

TEST(PlaybackPreferencesTest, TheCacheBoundIsStoredInMegabytesAndHeldToItsRange) {
    TempDir folder;
    const AppSettings settings(folder.file("config.ini"));
    EXPECT_EQ(PlaybackPreferences::read(settings).cacheBytes(), 1LL << 30) << "1 GB when never chosen";
    PlaybackPreferences chosen;
    chosen.cacheMegabytes = 300;
    chosen.writeCacheSize(settings);
    EXPECT_EQ(settings.read("Playback", "CacheMegabytes"), "300");
    const struct {
        const char* stored;
        int megabytes;
    } cases[] = {
        {"300", 300},
        {"5", PlaybackPreferences::kLeastCacheMegabytes},
        {"99999999", PlaybackPreferences::kMostCacheMegabytes},
        {"-1", PlaybackPreferences::kLeastCacheMegabytes},
        {"2GB", PlaybackPreferences::kDefaultCacheMegabytes},
        {"", PlaybackPreferences::kDefaultCacheMegabytes},
        {"99999999999999", PlaybackPreferences::kDefaultCacheMegabytes},
    };
    for (const auto& c : cases) {
        settings.write("Playback", "CacheMegabytes", c.stored);
        EXPECT_EQ(PlaybackPreferences::read(settings).cacheMegabytes, c.megabytes) << c.stored;
    }
}

}  // namespace
