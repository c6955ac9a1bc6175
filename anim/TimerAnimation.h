#pragma once
// A one-shot tween between two values given at its start; a finished tween
// keeps the fraction it reached.
#include "anim/Tween.h"

class TimerAnimation : public Tween {
public:
    TimerAnimation() : Tween(/*resetFractionWhenDone=*/false) {}

    // Refused (false), changing nothing, while running or for an interval of 0.
    bool start(int32_t startValue, int32_t endValue, int curve = kDefaultCurve, FrameCallback frame = {},
               FinishCallback finish = {}, int interval = kDefaultInterval, int duration = kDefaultDuration);
};
