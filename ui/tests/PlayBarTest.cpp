// The play bar as a view of the player: its controls, what it shows of the
// player's state and which intents its controls send.
#include "ui/widgets/PlayBar.h"

#include "anim/TimerAnimation.h"
#include "api/CloudApiClient.h"
#include "audio/AudioEngine.h"
#include "base/AppSettings.h"
#include "browse/LikedSongs.h"
#include "player/Player.h"
#include "ui/widgets/PictureBox.h"
#include "ui/widgets/PlayBarButton.h"
#include "ui/windows/NowPlayingSlide.h"

#include "TempDir.h"

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

const char* const kModeButtonNames[] = {"播放栏_单曲", "播放栏_列表", "播放栏_随机"};

TEST(NowPlayingSlideTest, SlidesUpAndBackAndIgnoresTogglesMidway) {
    QWidget view;
    view.setGeometry(21, 900, 1068, 655);
    TimerAnimation slide;
    const struct { int from, to; } slides[] = {{900, 21}, {21, 900}};
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

// No song is ever played here, so the service is never asked.
class PlayBarTest : public ::testing::Test {
protected:
    PlayBarTest() {
        engine.init(0);
        window.resize(1110, 780);
        strip = new QWidget(&window);
        strip->setObjectName("滤镜_播放栏");
        strip->setGeometry(21, 676, 1068, 83);
        bar = new PlayBar(player, strip);
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

    TempDir folder;
    AppSettings settings{folder.file("config.ini")};
    const CloudApiClient api{ServiceHosts::allAt("http://127.0.0.1:9")};
    AudioEngine engine;
    Player player{api, engine, "", settings};
    QWidget window;
    QWidget* strip = nullptr;
    PlayBar* bar = nullptr;
};

TEST_F(PlayBarTest, ControlsSitWhereTheBarIsDesigned) {
    const struct {
        const char* name;
        QRect geometry;
    } controls[] = {
        {"播放栏_进度条", {-6, -8, 1081, 18}},     {"播放栏_时长遮罩", {30, 638, 60, 35}},
        {"播放栏_时长", {10, 9, 40, 15}},          {"播放栏_总时长遮罩", {1020, 638, 60, 35}},
        {"播放栏_总时长", {10, 9, 40, 15}},        {"播放栏_海报", {70, 17, 55, 55}},
        {"播放栏_歌曲名", {136, 24, 299, 22}},     {"播放栏_歌手", {136, 47, 315, 25}},
        {"播放栏_播放_上一首", {450, 23, 40, 40}}, {"播放栏_播放", {511, 20, 46, 46}},
        {"播放栏_播放_下一首", {574, 23, 40, 40}}, {"播放栏_MV", {648, 26, 35, 35}},
        {"播放栏_版本号", {667, 59, 400, 24}},     {"播放栏_单曲", {690, 26, 35, 35}},
        {"播放栏_列表", {730, 26, 35, 35}},        {"播放栏_随机", {770, 26, 35, 35}},
        {"播放栏_音量", {810, 26, 35, 35}},        {"播放栏_音量条", {845, 35, 100, 18}},
        {"播放栏_歌词", {950, 26, 35, 35}},        {"播放栏_频谱", {990, 25, 35, 35}},
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
    for (const char* name : kModeButtonNames) EXPECT_FALSE(button(name)->showsSecond()) << name;
}

TEST_F(PlayBarTest, ChoosingAModeHighlightsOnlyItsButtonAndWritesItAtOnce) {
    const PlayMode modes[] = {PlayMode::List, PlayMode::Random, PlayMode::Circulate, PlayMode::List};
    for (PlayMode mode : modes) {
        const int chosen = static_cast<int>(mode);
        click(kModeButtonNames[chosen]);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(button(kModeButtonNames[i])->showsSecond(), i == chosen) << kModeButtonNames[i];
        EXPECT_EQ(player.mode(), mode);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(button(kModeButtonNames[i])->showsSecond(), static_cast<int>(mode) == i);
        EXPECT_EQ(storedMode(), playModeName(mode));
    }

    // The mode in force is not written again.
    settings.write("Music", "Mode", "edited elsewhere");
    click("播放栏_列表");
    EXPECT_EQ(storedMode(), "edited elsewhere");
    EXPECT_EQ(player.mode(), PlayMode::List);
}

TEST_F(PlayBarTest, StartUpShowsTheStoredModeWithoutWritingIt) {
    const std::optional<PlayMode> stored[] = {PlayMode::Circulate, PlayMode::List, PlayMode::Random, std::nullopt};
    for (const auto& mode : stored) {
        player.applyStored(std::nullopt, mode ? playModeName(*mode) : "");
        EXPECT_EQ(player.mode(), mode);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(button(kModeButtonNames[i])->showsSecond(), mode && static_cast<int>(*mode) == i);
    }
    EXPECT_FALSE(std::filesystem::exists(settings.path()));
}

TEST_F(PlayBarTest, MuteAndUnmuteKeepTheVolumeTheSliderHad) {
    player.applyStored(35, "");
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
    EXPECT_EQ(player.volume(), 60);
    volume->setValue(0);
    EXPECT_TRUE(bar->showsMutedIcon());
    click("播放栏_音量");
    EXPECT_EQ(volume->value(), 60);
}

TEST_F(PlayBarTest, StoredSilenceShowsTheMutedIcon) {
    player.applyStored(0, "");
    EXPECT_EQ(slider("播放栏_音量条")->value(), 0);
    EXPECT_TRUE(bar->showsMutedIcon());
}

// What the player says comes from its signals; a test may send them.
TEST_F(PlayBarTest, SongLengthProgressAndTimesFollowThePlayer) {
    emit player.songChanged("夏日来信", "林夏");
    EXPECT_EQ(text("播放栏_歌曲名"), "夏日来信");
    EXPECT_EQ(text("播放栏_歌手"), "林夏");
    emit player.lengthChanged(3);
    EXPECT_EQ(text("播放栏_总时长"), "00:03");
    QSlider* progress = slider("播放栏_进度条");
    EXPECT_EQ(progress->maximum(), 4);
    emit player.progressChanged(2, 65);
    EXPECT_EQ(progress->value(), 2);
    EXPECT_EQ(text("播放栏_时长"), "01:05");
    EXPECT_EQ(player.progressTicks(), 0) << "showing the progress is not a seek";

    emit player.mvAvailableChanged(true);
    EXPECT_FALSE(find("播放栏_MV")->isHidden());
    emit player.playingChanged(true);
    EXPECT_TRUE(bar->showsPauseIcon());
}

TEST_F(PlayBarTest, PlayButtonPausesAndResumes) {
    click("播放栏_播放");
    EXPECT_TRUE(player.isPlaying());
    EXPECT_TRUE(bar->showsPauseIcon());
    EXPECT_TRUE(player.playTimer().isActive());
    click("播放栏_播放");
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(bar->showsPauseIcon());
    EXPECT_FALSE(player.playTimer().isActive());
}

TEST_F(PlayBarTest, DraggingTheSliderSeeksButTheProgramsOwnMovesDoNot) {
    QSlider* progress = slider("播放栏_进度条");
    emit player.lengthChanged(30);
    progress->setSliderDown(true);
    progress->setValue(12);
    EXPECT_EQ(player.progressTicks(), 12);
    progress->setSliderDown(false);

    emit player.progressChanged(3, 3);
    EXPECT_EQ(progress->value(), 3);
    EXPECT_EQ(player.progressTicks(), 12);
}

TEST_F(PlayBarTest, ControlsThatStartAPlayWaitWhileASongLoads) {
    const char* starters[] = {"播放栏_播放_上一首", "播放栏_播放_下一首", "播放栏_海报"};
    emit player.loadingChanged(true);
    for (const char* name : starters) EXPECT_FALSE(find(name)->isEnabled()) << name;
    EXPECT_TRUE(find("播放栏_播放")->isEnabled());
    emit player.loadingChanged(false);
    for (const char* name : starters) EXPECT_TRUE(find(name)->isEnabled()) << name;
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
    EXPECT_EQ(bar->hoverTip(button("播放栏_MV")), "播放MV");
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

namespace {

// The service is down here: nobody is logged in and FM never gets a song.
TEST_F(PlayBarTest, PersonalFmHasItsOwnLookAndTheHeartNeedsASong) {
    LikedSongs liked(api);
    bar->showListening(liked);
    EXPECT_FALSE(find("播放栏_喜欢")->isVisible()) << "no song, no heart";
    EXPECT_EQ(find("播放栏_歌曲名")->geometry().right(), find("播放栏_喜欢")->geometry().left() - 8)
        << "the title makes room for the heart";
    window.show();

    player.startFm("MUSIC_U=x");
    EXPECT_TRUE(find("播放栏_不喜欢")->isVisible());
    EXPECT_EQ(find("播放栏_不喜欢")->geometry(), QRect(450, 23, 40, 40)) << "in the place of previous";
    EXPECT_FALSE(find("播放栏_播放_上一首")->isVisible());
    EXPECT_TRUE(find("播放栏_私人FM")->isVisible());
    for (const char* mode : kModeButtonNames) EXPECT_FALSE(find(mode)->isVisible()) << mode;

    player.clearQueue();  // as any other play does, this leaves FM
    EXPECT_FALSE(player.inFm());
    EXPECT_FALSE(find("播放栏_不喜欢")->isVisible());
    EXPECT_TRUE(find("播放栏_播放_上一首")->isVisible());
    EXPECT_FALSE(find("播放栏_私人FM")->isVisible());
    for (const char* mode : kModeButtonNames) EXPECT_TRUE(find(mode)->isVisible()) << mode;
}

}  // namespace
