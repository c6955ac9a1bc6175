#pragma once
// The program's shared tweens, one for each animation that must not run
// twice at once. They are made together on first use and live until the
// application object is destroyed. Use them on the UI thread only.
#include "anim/AnimationObject.h"
#include "anim/TimerAnimation.h"

namespace ProgramAnimations {

// Moves every scroll pane.
AnimationObject& scrollPanes();
// Slides the now-playing view in and out.
TimerAnimation& nowPlayingSlide();
// Scrolls the now-playing view's lyric list.
TimerAnimation& lyricScroll();

}  // namespace ProgramAnimations
