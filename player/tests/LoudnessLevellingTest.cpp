// The gain that evens out loudness, its settings, and the measures kept on disk.
#include "player/LoudnessLevelling.h"

#include "net/DiskCache.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(LoudnessLevellingTest, GainComesFromTheServiceElseTheMeasureAndStaysUnderThePeakCeiling) {
    const LoudnessSettings track{LoudnessMode::Track, -14.0};
    const LoudnessSettings quieter{LoudnessMode::Track, -18.0};
    const LoudnessSettings off{LoudnessMode::Off, -14.0};
    const SongStream noGain{"http://m/1.mp3", 0.0, 0.0};
    const SongStream serviceGain{"http://m/1.mp3", -2.5, 0.5};
    const SongStream serviceGainLoudPeak{"http://m/1.mp3", 6.0, 0.9};
    struct Case {
        const char* name;
        LoudnessSettings settings;
        SongStream service;
        std::optional<Loudness> measured;
        double expectedDb;
    };
    const Case cases[] = {
        {"off", off, serviceGain, Loudness{-20.0, 0.1}, 0.0},
        {"the service's gain", track, serviceGain, Loudness{-20.0, 0.1}, -2.5},
        {"the service's gain to another target", quieter, serviceGain, std::nullopt, -6.5},
        {"the service's gain held by its peak", track, serviceGainLoudPeak, std::nullopt, -1.0 - 20 * std::log10(0.9)},
        {"the measure", track, noGain, Loudness{-20.0, 0.1}, 6.0},
        {"a loud measure turned down", track, noGain, Loudness{-8.0, 1.0}, -6.0},
        {"a quiet measure with a high peak", track, noGain, Loudness{-24.0, 0.5}, -1.0 - 20 * std::log10(0.5)},
        {"nothing known: the first play", track, noGain, std::nullopt, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(levellingGainDb(c.settings, c.service, c.measured), c.expectedDb, 1e-9);
    }
}

TEST(LoudnessLevellingTest, SettingsReadTheirDefaultsAndHoldTheTargetInRange) {
    TempDir folder;
    const AppSettings settings(folder.file("config.ini"));
    const LoudnessSettings fresh = LoudnessSettings::read(settings);
    EXPECT_EQ(fresh.mode, LoudnessMode::Track);
    EXPECT_EQ(fresh.targetLufs, -14.0);

    LoudnessSettings{LoudnessMode::Album, -16.5}.write(settings);
    EXPECT_EQ(settings.read("Playback", "Loudness"), "album");
    const LoudnessSettings read = LoudnessSettings::read(settings);
    EXPECT_EQ(read.mode, LoudnessMode::Album);
    EXPECT_EQ(read.targetLufs, -16.5);

    settings.write("Playback", "LoudnessTarget", "3");
    EXPECT_EQ(LoudnessSettings::read(settings).targetLufs, LoudnessSettings::kHighestTargetLufs);
    settings.write("Playback", "LoudnessTarget", "loud");
    settings.write("Playback", "Loudness", "OFF?");
    EXPECT_EQ(LoudnessSettings::read(settings).targetLufs, -14.0);
    EXPECT_EQ(LoudnessSettings::read(settings).mode, LoudnessMode::Track);
}

TEST(LoudnessLevellingTest, MeasuresAreKeptBySongAndTheAlbumIsTheirEnergyMean) {
    TempDir folder;
    {
        LoudnessMemory memory(std::make_shared<DiskCache>(folder.file("cache"), 1 << 20));
        memory.remember("1", "专辑", {-10.0, 0.8});
        memory.remember("2", "专辑", {-20.0, 0.3});
        memory.remember("3", "", {-12.0, 0.5});
    }
    const LoudnessMemory memory(std::make_shared<DiskCache>(folder.file("cache"), 1 << 20));
    ASSERT_TRUE(memory.track("1"));
    EXPECT_EQ(memory.track("1")->lufs, -10.0) << "kept between runs";
    EXPECT_EQ(memory.track("2")->truePeak, 0.3);
    EXPECT_FALSE(memory.track("4"));

    const auto album = memory.album("专辑");
    ASSERT_TRUE(album);
    EXPECT_NEAR(album->lufs, 10 * std::log10((0.1 + 0.01) / 2), 1e-9);
    EXPECT_EQ(album->truePeak, 0.8) << "the album's loudest peak";
    EXPECT_EQ(memory.forMode(LoudnessMode::Album, "2", "专辑")->lufs, album->lufs);
    EXPECT_EQ(memory.forMode(LoudnessMode::Track, "2", "专辑")->lufs, -20.0);
    EXPECT_EQ(memory.forMode(LoudnessMode::Album, "3", "")->lufs, -12.0) << "no album: the song's own";

    const LoudnessMemory nowhere(nullptr);
    EXPECT_FALSE(nowhere.track("1"));
}

}  // namespace
