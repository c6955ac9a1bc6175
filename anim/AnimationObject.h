#pragma once
// A reusable tween whose start and end values may be moved while it runs: the
// scroll panes restart it for every scroll request and retarget it.
#include "anim/Tween.h"

class AnimationObject : public Tween {
public:
    AnimationObject() : Tween(/*resetFractionWhenDone=*/true) {}

    // Starts a tween from 0 to 0 (set the values afterwards). Refused (false)
    // while running or for an interval of 0.
    bool start(int curve = kDefaultCurve, FrameCallback frame = {}, FinishCallback finish = {},
               int interval = kDefaultInterval, int duration = kDefaultDuration);
    // The same without the running test: a running tween starts over.
    bool startWithoutCheck(int curve = kDefaultCurve, FrameCallback frame = {}, FinishCallback finish = {},
                           int interval = kDefaultInterval, int duration = kDefaultDuration);

    // A running tween uses new values from its next tick.
    void setStartValue(int32_t value) { startValue_ = value; }
    void setEndValue(int32_t value) { endValue_ = value; }
    void resetFraction() { fraction_ = 0; }
};
