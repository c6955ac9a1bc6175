#pragma once
// The now-playing view slides between its parked top below the window and
// its shown top over the pages, on a bouncing curve.
#include "anim/TimerAnimation.h"

class QWidget;

namespace NowPlayingSlide {

constexpr int kCurve = 32;  // the bouncing ease-out curve
constexpr int kTickMs = 1;

// Starts sliding `view` up when it is parked, down when it is shown. A view
// that is moving (at any other top) is left alone: false.
bool toggle(QWidget& view, TimerAnimation& slide);

}  // namespace NowPlayingSlide
