#include "ManualOutput.h"
#include "TempDir.h"
#include "TestAudio.h"
#include "base/AppSettings.h"
#include "anim/TimerAnimation.h"
#include "audio/AudioEngine.h"
#include "ui/NowPlayingSlide.h"
#include "ui/PlayBar.h"
#include "ui/PlayBarButton.h"
#include "player/PlayBarState.h"
#include "audio/StreamActivity.h"
#include "ui/PictureBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include <filesystem>
#include <memory>
#include <optional>

namespace {

constexpr int kRate = 44100;
const char* const kModeButtonNames[] = {"播放栏_单曲", "播放栏_列表", "播放栏_随机"};

TEST(PlayTimeTest, FormatsMinutesAndSecondsPaddedToTwoDigits) {
    const struct {
        int seconds;
        const char* text;
    } cases[] = {
        {0, "00:00"},   {5, "00:05"},     {59, "00:59"},     {60, "01:00"},  {65, "01:05"},
        {600, "10:00"}, {3599, "59:59"},  {3600, "60:00"},   {6000, "100:00"}, {-3, "00:00"},
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

TEST(NowPlayingSlideTest, SlidesUpAndBackAndIgnoresTogglesMidway) {
    QWidget view;
    view.setGeometry(21, 900, 1068, 655);
    TimerAnimation slide;
    const struct {
        int from, to;
    } slides[] = {{900, 21}, {21, 900}};
    for (const auto& s : slides) {
        ASSERT_TRUE(NowPlayingSlide::toggle(view, slide)) << s.from;
        EXPECT_EQ(slide.curve(), NowPlayingSlide::kCurve);
        EXPECT_EQ(slide.interval(), NowPlayingSlide::kTickMs);
        slide.tick();
        const int midway = view.y();
        EXPECT_NE(midway, s.from);
        EXPECT_FALSE(NowPlayingSlide::toggle(view, slide));
        EXPECT_EQ(slide.endValue(), s.to);
        while (slide.isRunning()) slide.tick();
        EXPECT_EQ(view.y(), s.to);
        EXPECT_EQ(view.x(), 21);
    }
    view.move(21, 400);  // neither parked nor shown
    EXPECT_FALSE(NowPlayingSlide::toggle(view, slide));
}

class PlayBarTest : public ::testing::Test {
protected:
    PlayBarTest() {
        engine.init();
        window.resize(1110, 780);
        strip = new QWidget(&window);
        strip->setObjectName("滤镜_播放栏");
        strip->setGeometry(21, 676, 1068, 83);
        bar = new PlayBar(engine, settings, strip);
    }

    template <typename T = QWidget>
    T* find(const char* name) const {
        T* widget = window.findChild<T*>(QString::fromUtf8(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    PlayBarButton* button(const char* name) const { return find<PlayBarButton>(name); }
    QSlider* slider(const char* name) const { return find<QSlider>(name); }
    QString text(const char* name) const { return find<QLabel>(name)->text(); }
    void click(const char* name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    std::string storedMode() const { return settings.read("Music", "Mode"); }

    // A three-second stereo tone, playing on the test's clock.
    AudioEngine::Handle playingTone() {
        const std::string tone = TestAudio::sine(1000);
        const std::string path = TestAudio::make("playbar.flac", tone + "|" + tone, kRate, 3, "-c:a flac");
        AudioEngine::Handle stream = engine.createStream(StreamSource::fromFile(path));
        EXPECT_NE(stream, 0u);
        bar->setCurrentStream(stream);
        return stream;
    }
    void hear(double seconds) {
        const auto frames = static_cast<int64_t>(seconds * kRate);
        ASSERT_TRUE(output->waitUntilReady(frames));
        output->advance(frames);
    }

    TempDir folder;
    AppSettings settings{folder.file("config.ini")};
    std::shared_ptr<ManualOutput> output = std::make_shared<ManualOutput>();
    AudioEngine engine{output};
    QWidget window;
    QWidget* strip = nullptr;
    PlayBar* bar = nullptr;
};

TEST_F(PlayBarTest, ControlsSitWhereTheBarIsDesigned) {
    const struct {
        const char* name;
        QRect geometry;
    } controls[] = {
        {"播放栏_进度条", {-6, -8, 1081, 18}},   {"播放栏_时长遮罩", {30, 638, 60, 35}},
        {"播放栏_时长", {10, 9, 40, 15}},        {"播放栏_总时长遮罩", {1020, 638, 60, 35}},
        {"播放栏_总时长", {10, 9, 40, 15}},      {"播放栏_海报", {70, 17, 55, 55}},
        {"播放栏_歌曲名", {136, 24, 299, 22}},   {"播放栏_歌手", {136, 47, 315, 25}},
        {"播放栏_播放_上一首", {450, 23, 40, 40}}, {"播放栏_播放", {511, 20, 46, 46}},
        {"播放栏_播放_下一首", {574, 23, 40, 40}}, {"播放栏_MV", {648, 26, 35, 35}},
        {"播放栏_版本号", {667, 59, 400, 24}},   {"播放栏_单曲", {690, 26, 35, 35}},
        {"播放栏_列表", {730, 26, 35, 35}},      {"播放栏_随机", {770, 26, 35, 35}},
        {"播放栏_音量", {810, 26, 35, 35}},      {"播放栏_音量条", {845, 35, 100, 18}},
        {"播放栏_歌词", {950, 26, 35, 35}},      {"播放栏_频谱", {990, 25, 35, 35}},
    };
    for (const auto& control : controls) {
        QWidget* widget = find(control.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), control.geometry) << control.name;
    }
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 1068, 83));
    EXPECT_EQ(text("播放栏_版本号"), "Mivra Music Beta V1.1.4");
    EXPECT_TRUE(find("播放栏_MV")->isHidden());
    EXPECT_TRUE(find("播放栏_时长遮罩")->isHidden());
    EXPECT_FALSE(bar->showsPauseIcon());
    EXPECT_EQ(bar->playMode(), std::nullopt);
}

TEST_F(PlayBarTest, ChoosingAModeHighlightsOnlyItsButtonAndWritesItAtOnce) {
    const PlayMode modes[] = {PlayMode::List, PlayMode::Random, PlayMode::Circulate, PlayMode::List};
    for (PlayMode mode : modes) {
        const int chosen = static_cast<int>(mode);
        click(kModeButtonNames[chosen]);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(button(kModeButtonNames[i])->showsSecond(), i == chosen) << kModeButtonNames[i];
        EXPECT_EQ(bar->playMode(), mode);
        EXPECT_EQ(storedMode(), playModeName(mode));
    }

    // The mode in force is not written again.
    settings.write("Music", "Mode", "edited elsewhere");
    click("播放栏_列表");
    EXPECT_EQ(storedMode(), "edited elsewhere");
    EXPECT_EQ(bar->playMode(), PlayMode::List);
}

TEST_F(PlayBarTest, StartUpShowsTheStoredModeWithoutWritingIt) {
    const std::optional<PlayMode> stored[] = {PlayMode::Circulate, PlayMode::List, PlayMode::Random, std::nullopt};
    for (const auto& mode : stored) {
        StoredSettings settingsRead;
        settingsRead.playMode = mode;
        bar->applyStoredSettings(settingsRead);
        EXPECT_EQ(bar->playMode(), mode);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(button(kModeButtonNames[i])->showsSecond(), mode && static_cast<int>(*mode) == i);
    }
    EXPECT_FALSE(std::filesystem::exists(settings.path()));
}

TEST_F(PlayBarTest, MuteAndUnmuteKeepTheVolumeTheSliderHad) {
    StoredSettings stored;
    stored.volume = 35;
    bar->applyStoredSettings(stored);
    QSlider* volume = slider("播放栏_音量条");
    EXPECT_EQ(volume->value(), 35);
    EXPECT_FALSE(bar->showsMutedIcon());

    click("播放栏_音量");
    EXPECT_EQ(volume->value(), 0);
    EXPECT_TRUE(bar->showsMutedIcon());
    click("播放栏_音量");
    EXPECT_EQ(volume->value(), 35);
    EXPECT_FALSE(bar->showsMutedIcon());

    volume->setValue(60);  // as the user's drag does
    EXPECT_EQ(bar->volume(), 60);
    volume->setValue(0);
    EXPECT_TRUE(bar->showsMutedIcon());
    click("播放栏_音量");
    EXPECT_EQ(volume->value(), 60);
}

TEST_F(PlayBarTest, StoredSilenceShowsTheMutedIcon) {
    StoredSettings stored;
    stored.volume = 0;
    stored.muted = true;
    bar->applyStoredSettings(stored);
    EXPECT_EQ(slider("播放栏_音量条")->value(), 0);
    EXPECT_TRUE(bar->showsMutedIcon());
}

TEST_F(PlayBarTest, SliderCountsTicksUpToTheSongsEnd) {
    AudioEngine::Handle stream = playingTone();
    bar->setSongLength(3);
    EXPECT_EQ(text("播放栏_总时长"), "00:03");
    QSlider* progress = slider("播放栏_进度条");
    EXPECT_EQ(progress->maximum(), 4);

    bar->togglePlay();
    hear(2.0);
    for (int tick = 1; tick <= 4; ++tick) {
        EXPECT_FALSE(bar->songEnded()) << tick;
        bar->tickPlayTimer();
        EXPECT_EQ(progress->value(), tick);
    }
    EXPECT_TRUE(bar->songEnded());
    EXPECT_EQ(text("播放栏_时长"), "00:02");
    EXPECT_EQ(engine.isActive(stream), StreamActivity::kPlaying);
    EXPECT_TRUE(bar->showsPauseIcon());
}

TEST_F(PlayBarTest, PlayAndPauseFollowTheButtonsIcon) {
    AudioEngine::Handle stream = playingTone();
    bar->setSongLength(3);
    click("播放栏_播放");
    EXPECT_TRUE(bar->showsPauseIcon());
    EXPECT_EQ(engine.isActive(stream), StreamActivity::kPlaying);
    EXPECT_TRUE(bar->playTimer().isActive());
    EXPECT_EQ(bar->playTimer().interval(), 1000);

    hear(1.0);
    bar->tickPlayTimer();
    click("播放栏_播放");
    EXPECT_FALSE(bar->showsPauseIcon());
    EXPECT_EQ(engine.isActive(stream), StreamActivity::kPaused);
    EXPECT_FALSE(bar->playTimer().isActive());
    EXPECT_EQ(slider("播放栏_进度条")->value(), 1);
}

TEST_F(PlayBarTest, AStoppedStreamPutsBackTheStoppedState) {
    bar->setSongLength(200);  // no stream: every engine call fails as stopped
    bar->showPlaying();
    bar->togglePlay();
    EXPECT_FALSE(bar->playTimer().isActive());
    bar->togglePlay();
    ASSERT_TRUE(bar->playTimer().isActive());

    bar->setProgress(120);
    bar->tickPlayTimer();
    EXPECT_EQ(slider("播放栏_进度条")->value(), 0);
    EXPECT_EQ(text("播放栏_时长"), "00:00");
    EXPECT_FALSE(bar->showsPauseIcon());
    EXPECT_FALSE(bar->playTimer().isActive());
}

TEST_F(PlayBarTest, DraggingTheSliderPausesSeeksAndResumes) {
    AudioEngine::Handle stream = playingTone();
    bar->setSongLength(3);
    bar->togglePlay();
    QSignalSpy seeks(bar, &PlayBar::seeked);
    QSlider* progress = slider("播放栏_进度条");

    progress->setSliderDown(true);
    EXPECT_EQ(engine.isActive(stream), StreamActivity::kPaused);
    progress->setValue(2);
    ASSERT_EQ(seeks.count(), 1);
    EXPECT_EQ(seeks.at(0).at(0).toInt(), 2);
    EXPECT_EQ(engine.getPosition(stream), engine.secondsToBytes(stream, 2));
    progress->setSliderDown(false);
    EXPECT_EQ(engine.isActive(stream), StreamActivity::kPlaying);

    // The program's own moves do not seek.
    bar->setProgress(1);
    bar->tickPlayTimer();
    EXPECT_EQ(seeks.count(), 1);
    EXPECT_EQ(engine.getPosition(stream), engine.secondsToBytes(stream, 2));
}

TEST_F(PlayBarTest, TimesShowWhileTheMouseIsOverTheSlider) {
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(slider("播放栏_进度条"), &enter);
    EXPECT_FALSE(find("播放栏_时长遮罩")->isHidden());
    EXPECT_FALSE(find("播放栏_总时长遮罩")->isHidden());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(slider("播放栏_进度条"), &leave);
    EXPECT_TRUE(find("播放栏_时长遮罩")->isHidden());
    EXPECT_TRUE(find("播放栏_总时长遮罩")->isHidden());
}

TEST_F(PlayBarTest, SwitchTipsFollowTheirState) {
    QSignalSpy lyrics(bar, &PlayBar::desktopLyricsToggled);
    EXPECT_EQ(bar->hoverTip(button("播放栏_歌词")), "显示歌词");
    click("播放栏_歌词");
    EXPECT_EQ(bar->hoverTip(button("播放栏_歌词")), "隐藏歌词");
    click("播放栏_歌词");
    ASSERT_EQ(lyrics.count(), 2);
    EXPECT_TRUE(lyrics.at(0).at(0).toBool());
    EXPECT_FALSE(lyrics.at(1).at(0).toBool());

    EXPECT_EQ(bar->hoverTip(button("播放栏_频谱")), "显示频谱");
    click("播放栏_频谱");
    EXPECT_EQ(bar->hoverTip(button("播放栏_频谱")), "隐藏频谱");
    EXPECT_EQ(bar->hoverTip(button("播放栏_单曲")), "单曲循环");
    EXPECT_EQ(bar->hoverTip(button("播放栏_列表")), "列表循环");
    EXPECT_EQ(bar->hoverTip(button("播放栏_随机")), "随机播放");
}

TEST_F(PlayBarTest, CoverClickSlidesTheViewUpAndSecondaryClickOpensTheMenu) {
    auto* view = new QWidget(&window);
    view->setGeometry(21, 900, 1068, 655);
    bar->setNowPlayingView(view);
    auto* cover = find<PictureBox>("播放栏_海报");
    QTest::mouseClick(cover, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->y() == 21; }));

    auto* menu = find<QMenu>("PlayBarMenu");
    EXPECT_EQ(menu->parentWidget(), &window);
    QTest::mouseClick(cover, Qt::RightButton);
    EXPECT_TRUE(menu->isVisible());
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), "打开播放列表");
    EXPECT_EQ(menu->actions()[1]->text(), "下载此歌曲");
    menu->close();
}

}  // namespace
