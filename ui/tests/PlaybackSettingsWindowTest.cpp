// The playback settings window: the equalizer, loudness levelling and the
// sleep timer and the played-song cache's bound act at once and what lasts is
// written to the settings file.
#include "ui/windows/PlaybackSettingsWindow.h"

#include "api/CloudApiClient.h"
#include "audio/PlayedAudioCache.h"
#include "player/LoudnessLevelling.h"
#include "player/Player.h"

#include "TempDir.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QSlider>
#include <QSpinBox>

namespace {

class PlaybackSettingsWindowTest : public ::testing::Test {
protected:
    PlaybackSettingsWindowTest() { engine.init(0); }

    TempDir folder;
    const AppSettings settings{folder.file("config.ini")};
    const CloudApiClient api{ServiceHosts::allAt("http://127.0.0.1:9")};  // nothing is played
    AudioEngine engine;
    Player player{api, engine, "", settings};
};

TEST_F(PlaybackSettingsWindowTest, TheEqualizerIsOffUntilTurnedOnAndPresetsAndBandsActAtOnce) {
    PlaybackSettingsWindow window(engine, player, settings);
    auto* on = window.findChild<QCheckBox*>("均衡器_开启");
    auto* presets = window.findChild<QComboBox*>("均衡器_预设");
    ASSERT_TRUE(on && presets);
    EXPECT_FALSE(on->isChecked());
    EXPECT_FALSE(presets->isEnabled());

    window.chooseEqualizerOn(true);
    EXPECT_TRUE(engine.equalizer().on);
    EXPECT_EQ(settings.read("Playback", "Equalizer"), "on");
    window.choosePreset(2);
    EXPECT_EQ(engine.equalizer().gainsDb, kEqualizerPresets[2].gainsDb);
    EXPECT_EQ(window.findChild<QSlider*>("均衡器_频段1")->value(), 5) << "the sliders show the preset";

    window.moveBand(9, -7);
    EXPECT_EQ(engine.equalizer().gainsDb[9], -7);
    EXPECT_EQ(presets->currentText(), QString::fromUtf8("自定义"));
    EXPECT_EQ(settings.read("Playback", "EqualizerPreset"), "自定义");

    // A window opened later shows what was chosen.
    PlaybackSettingsWindow again(engine, player, settings);
    EXPECT_TRUE(again.findChild<QCheckBox*>("均衡器_开启")->isChecked());
    EXPECT_EQ(again.findChild<QSlider*>("均衡器_频段10")->value(), -7);
}

TEST_F(PlaybackSettingsWindowTest, LevellingIsWrittenAndTheSleepTimerIsSetOnThePlayer) {
    PlaybackSettingsWindow window(engine, player, settings);
    window.chooseLoudnessMode(2);
    window.chooseLoudnessTarget(-18);
    const LoudnessSettings levelling = LoudnessSettings::read(settings);
    EXPECT_EQ(levelling.mode, LoudnessMode::Album);
    EXPECT_EQ(levelling.targetLufs, -18.0);

    window.chooseSleep(2);
    EXPECT_TRUE(player.sleepTimer().isActive());
    EXPECT_EQ(player.sleepTimer().interval(), 30 * 60 * 1000);
    window.chooseSleep(5);
    EXPECT_TRUE(player.sleepsAtSongEnd());
    EXPECT_FALSE(player.sleepTimer().isActive()) << "one sleep at a time";
    auto* sleep = window.findChild<QComboBox*>("定时_睡眠");
    sleep->setCurrentIndex(5);
    player.sleepNow();
    EXPECT_EQ(sleep->currentIndex(), 0) << "the sleep that came is over";
    window.chooseSleep(0);
    EXPECT_FALSE(player.sleepsAtSongEnd());
}

TEST_F(PlaybackSettingsWindowTest, TheCacheBoundShowsTheStoredOneAndIsSetOnTheCacheAtOnce) {
    auto played = std::make_shared<PlayedAudioCache>(folder.file("played"), PlayedAudioCache::kDefaultMaxBytes);
    player.keepPlayedAudioIn(played);
    PlaybackSettingsWindow window(engine, player, settings);
    auto* bound = window.findChild<QSpinBox*>("缓存_上限");
    ASSERT_TRUE(bound);
    EXPECT_EQ(bound->value(), 1024);
    window.chooseCacheSize(300);
    EXPECT_EQ(played->maxBytes(), 300LL << 20);
    EXPECT_EQ(settings.read("Playback", "CacheMegabytes"), "300");
    PlaybackSettingsWindow again(engine, player, settings);
    EXPECT_EQ(again.findChild<QSpinBox*>("缓存_上限")->value(), 300);
}

}  // namespace
