#include "anim/AnimationObject.h"
#include "anim/Easing.h"
#include "anim/ProgramAnimations.h"
#include "anim/TimerAnimation.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <vector>

namespace {

struct Frames {
    std::vector<double> values;
    int finishes = 0;
    Tween::FrameCallback frame() {
        return [this](double value, double) { values.push_back(value); };
    }
    Tween::FinishCallback finish() {
        return [this] { ++finishes; };
    }
};

// Ticks by hand until the tween stops; returns the number of ticks.
int tickToEnd(Tween& tween) {
    int ticks = 0;
    while (tween.isRunning() && ticks < 1000) {
        tween.tick();
        ++ticks;
    }
    return ticks;
}

TEST(TweenTest, TheDurationSetsTheNumberOfTicksWhateverTheInterval) {
    struct Case {
        int duration, interval, ticks;
    };
    const Case cases[] = {{400, 10, 40}, {120, 10, 12}, {400, 1, 40}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.duration);
        TimerAnimation tween;
        Frames frames;
        ASSERT_TRUE(tween.start(0, 1000, Easing::kQuinticOut, frames.frame(), frames.finish(), c.interval, c.duration));
        EXPECT_EQ(tickToEnd(tween), c.ticks);
        ASSERT_EQ(frames.values.size(), size_t(c.ticks));
        EXPECT_EQ(frames.values.back(), 1000);
        EXPECT_LT(frames.values[c.ticks - 2], 1000);
        EXPECT_EQ(frames.finishes, 1);
        EXPECT_EQ(tween.interval(), 0);
        EXPECT_EQ(tween.timerId(), 0);
    }
}

TEST(TweenTest, CircularLinearHeadsTheShortWayThenLandsOnTheEnd) {
    TimerAnimation tween;
    Frames frames;
    ASSERT_TRUE(tween.start(35, -400, Easing::kCircularLinear, frames.frame(), {}, 10, 120));
    tickToEnd(tween);
    ASSERT_EQ(frames.values.size(), 12u);
    double previous = 35;
    for (size_t i = 0; i + 1 < frames.values.size(); ++i) {
        EXPECT_LT(frames.values[i], previous);
        EXPECT_GT(frames.values[i], -40);
        previous = frames.values[i];
    }
    EXPECT_EQ(frames.values.back(), -400);
    EXPECT_EQ(tween.value(), -400);
}

TEST(TweenTest, FinishedAnimationObjectReportsFractionZeroAndTimerAnimationKeepsIt) {
    AnimationObject object;
    ASSERT_TRUE(object.start(Easing::kQuinticOut));
    object.setEndValue(-40);
    tickToEnd(object);
    EXPECT_EQ(object.fraction(), 0);
    EXPECT_EQ(object.value(), -40);

    TimerAnimation timer;
    ASSERT_TRUE(timer.start(0, 10));
    tickToEnd(timer);
    EXPECT_GE(timer.fraction(), 1 - 1e-7);
}

TEST(TweenTest, SecondStartOnARunningTimerAnimationIsRefusedAndChangesNothing) {
    TimerAnimation tween;
    Frames first;
    ASSERT_TRUE(tween.start(900, 21, Easing::kBouncingApproach, first.frame(), {}, 1, 400));
    tween.tick();
    const double fraction = tween.fraction();
    const int timerId = tween.timerId();

    Frames second;
    EXPECT_FALSE(tween.start(21, 900, Easing::kCircularLinear, second.frame(), {}, 10, 120));
    EXPECT_EQ(tween.startValue(), 900);
    EXPECT_EQ(tween.endValue(), 21);
    EXPECT_EQ(tween.curve(), Easing::kBouncingApproach);
    EXPECT_EQ(tween.interval(), 1);
    EXPECT_EQ(tween.duration(), 400);
    EXPECT_EQ(tween.fraction(), fraction);
    EXPECT_EQ(tween.timerId(), timerId);
    tween.tick();
    EXPECT_TRUE(second.values.empty());
    EXPECT_EQ(first.values.size(), 2u);
}

TEST(TweenTest, AnIntervalOfZeroIsRefused) {
    TimerAnimation timer;
    EXPECT_FALSE(timer.start(0, 10, 1, {}, {}, 0));
    EXPECT_FALSE(timer.isRunning());
    AnimationObject object;
    EXPECT_FALSE(object.start(1, {}, {}, 0));
    EXPECT_FALSE(object.startWithoutCheck(1, {}, {}, 0));
}

TEST(TweenTest, AnimationObjectCanBeRetargetedAndRestartedWhileRunning) {
    AnimationObject object;
    Frames frames;
    ASSERT_TRUE(object.start(Easing::kQuinticOut, frames.frame()));
    object.setStartValue(10);
    object.setEndValue(-40);
    object.tick();
    EXPECT_NEAR(frames.values.back(), ease(0.025, 10, -40, Easing::kQuinticOut), 1e-9);

    EXPECT_FALSE(object.start(Easing::kQuinticOut, frames.frame()));
    ASSERT_TRUE(object.startWithoutCheck(Easing::kQuinticOut, frames.frame()));
    EXPECT_EQ(object.fraction(), 0);
    object.setStartValue(-20);
    object.setEndValue(-80);
    EXPECT_EQ(tickToEnd(object), 40);
    EXPECT_EQ(frames.values.back(), -80);
}

TEST(TweenTest, TheFinishCallbackMayStartTheTweenAgain) {
    TimerAnimation tween;
    bool restarted = false;
    ASSERT_TRUE(tween.start(
        0, 10, 1, {}, [&] { restarted = tween.start(10, 0, 1, {}, {}, 10, 20); }, 10, 20));
    tween.tick();
    tween.tick();
    EXPECT_TRUE(restarted);
    EXPECT_EQ(tween.startValue(), 10);
    EXPECT_EQ(tickToEnd(tween), 2);
    EXPECT_EQ(tween.value(), 0);
}

TEST(TweenTest, TheTimerDrivesTheTweenToItsEnd) {
    AnimationObject object;
    Frames frames;
    QEventLoop loop;
    ASSERT_TRUE(object.start(
        Easing::kQuinticOut, frames.frame(), [&] { loop.quit(); }, 1, 100));
    object.setEndValue(250);
    EXPECT_NE(object.timerId(), 0);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(frames.values.size(), 10u);
    EXPECT_EQ(object.value(), 250);
    EXPECT_FALSE(object.isRunning());
    EXPECT_EQ(object.timerId(), 0);
}

TEST(TweenTest, EachProgramAnimationIsOneTweenForTheWholeRun) {
    AnimationObject& scroll = ProgramAnimations::scrollPanes();
    EXPECT_EQ(&scroll, &ProgramAnimations::scrollPanes());
    TimerAnimation& slide = ProgramAnimations::nowPlayingSlide();
    TimerAnimation& lyrics = ProgramAnimations::lyricScroll();
    EXPECT_NE(&slide, &lyrics);
    EXPECT_EQ(&lyrics, &ProgramAnimations::lyricScroll());
}

}  // namespace
