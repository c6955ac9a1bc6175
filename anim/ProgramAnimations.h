#pragma once
// The program's shared tweens. They are numbered from 1 (first, second, ...)
// and each is created on first use; all of them live until the application
// object is destroyed. Use them on the UI thread only.
#include "anim/AnimationObject.h"
#include "anim/TimerAnimation.h"

namespace ProgramAnimations {

// The first animation object moves every scroll pane.
constexpr int kScrollPanes = 1;
// The first timer animation slides the now-playing view in and out, the
// second scrolls the lyric list.
constexpr int kNowPlayingSlide = 1;
constexpr int kLyricScroll = 2;

AnimationObject& animationObject(int number);
TimerAnimation& timerAnimation(int number);

}  // namespace ProgramAnimations
