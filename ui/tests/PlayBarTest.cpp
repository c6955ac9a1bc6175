// The play bar as a view of the player: its controls, what it shows of the
// player's state and which intents its controls send.
#include "ui/widgets/PlayBar.h"

#include "anim/TimerAnimation.h"
#include "api/CloudApiClient.h"
#include "audio/AudioEngine.h"
#include "base/AppSettings.h"
#include "browse/LikedSongs.h"
#include "player/PlayBarState.h"
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
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

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

// The mouse on a slider, as the user's hand gives it.
void sendMouse(QWidget* widget, QEvent::Type type, QPoint at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void sendWheel(QWidget* widget, int angle) {
    const QPoint at = widget->rect().center();
    QWheelEvent event(at, widget->mapToGlobal(at), {}, {0, angle}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(widget, &event);
}

TEST_F(PlayBarTest, AClickOnTheProgressSeeksWhereItLandsAndADragPreviewsUntilLetGo) {
    QSlider* progress = slider("播放栏_进度条");
    emit player.lengthChanged(100);  // the slider counts 0 to 101
    const int y = progress->height() / 2;
    const struct {
        const char* where;
        int x;
        int lowest, highest;
    } clicks[] = {{"middle", progress->width() / 2, 49, 52},
                  {"left end", 0, 0, 0},
                  {"right end", progress->width() - 1, 101, 101},
                  {"a quarter in", progress->width() / 4, 23, 27}};
    for (const auto& click : clicks) {
        sendMouse(progress, QEvent::MouseButtonPress, {click.x, y});
        sendMouse(progress, QEvent::MouseButtonRelease, {click.x, y});
        EXPECT_GE(player.progressTicks(), click.lowest) << click.where;
        EXPECT_LE(player.progressTicks(), click.highest) << click.where;
        EXPECT_EQ(progress->value(), player.progressTicks()) << click.where;
    }

    player.seek(0);
    sendMouse(progress, QEvent::MouseButtonPress, {progress->width() / 4, y});
    sendMouse(progress, QEvent::MouseMove, {progress->width() * 3 / 4, y});
    EXPECT_EQ(player.progressTicks(), 0) << "a drag seeks only once let go";
    const int previewed = progress->sliderPosition();
    EXPECT_NEAR(previewed, 76, 2);
    EXPECT_EQ(text("播放栏_时长"), QString::fromStdString(formatPlayTime(previewed)));
    EXPECT_EQ(text("播放栏_时间"), QString::fromStdString(formatPlayTime(previewed)) + " / 01:40");
    emit player.progressChanged(1, 1);
    EXPECT_EQ(progress->sliderPosition(), previewed) << "the player's tick does not pull the handle away";
    sendMouse(progress, QEvent::MouseButtonRelease, {progress->width() * 3 / 4, y});
    EXPECT_EQ(player.progressTicks(), previewed);

    sendWheel(progress, 120);
    EXPECT_EQ(player.progressTicks(), previewed) << "the wheel does not seek";
    emit player.progressChanged(3, 3);
    EXPECT_EQ(progress->value(), 3);
    EXPECT_EQ(player.progressTicks(), previewed) << "the program's own moves do not seek";
}

TEST_F(PlayBarTest, AClickOnTheVolumeSetsItThereAndTheWheelTurnsIt) {
    player.applyStored(20, "");
    QSlider* volume = slider("播放栏_音量条");
    const int y = volume->height() / 2;
    sendMouse(volume, QEvent::MouseButtonPress, {volume->width() / 2, y});
    sendMouse(volume, QEvent::MouseButtonRelease, {volume->width() / 2, y});
    EXPECT_NEAR(player.volume(), 50, 2);
    sendMouse(volume, QEvent::MouseButtonPress, {0, y});
    sendMouse(volume, QEvent::MouseButtonRelease, {0, y});
    EXPECT_EQ(player.volume(), 0);
    EXPECT_TRUE(bar->showsMutedIcon());

    const struct {
        int from, angle, to;
    } turns[] = {{40, 120, 45}, {40, -240, 30}, {98, 120, 100}, {3, -120, 0}, {40, 30, 45}, {40, -15, 35}};
    for (const auto& turn : turns) {
        player.setVolume(turn.from);
        sendWheel(volume, turn.angle);
        EXPECT_EQ(player.volume(), turn.to) << turn.from << " " << turn.angle;
        EXPECT_EQ(volume->value(), turn.to);
    }
}

TEST_F(PlayBarTest, TheTimeLineShowsElapsedAndTotalUnderThePlayButtonClearOfTheOtherControls) {
    QLabel* line = find<QLabel>("播放栏_时间");
    EXPECT_EQ(line->text(), "00:00 / 00:00");
    emit player.lengthChanged(296);
    emit player.progressChanged(83, 83);
    EXPECT_EQ(line->text(), "01:23 / 04:56");

    const QRect play = find("播放栏_播放")->geometry();
    EXPECT_EQ(line->geometry().center().x(), play.center().x());
    EXPECT_GT(line->geometry().top(), play.bottom());
    EXPECT_TRUE(bar->rect().contains(line->geometry()));
    for (QWidget* other : bar->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other == line || other->isHidden() || other->objectName() == "播放栏_进度条") continue;
        EXPECT_FALSE(other->geometry().intersects(line->geometry())) << other->objectName().toStdString();
    }
    QFontMetrics metrics(line->font());
    EXPECT_LE(metrics.horizontalAdvance("100:00 / 100:00"), line->width()) << "long times still fit";
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
