#include "anim/TimerAnimation.h"

bool TimerAnimation::start(int32_t startValue, int32_t endValue, int curve, FrameCallback frame, FinishCallback finish,
                           int interval, int duration) {
    if (isRunning()) return false;
    return begin(startValue, endValue, curve, std::move(frame), std::move(finish), interval, duration);
}
