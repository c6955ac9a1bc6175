#include "anim/AnimationObject.h"

bool AnimationObject::start(int curve, FrameCallback frame, FinishCallback finish, int interval, int duration) {
    if (isRunning()) return false;
    return startWithoutCheck(curve, std::move(frame), std::move(finish), interval, duration);
}

bool AnimationObject::startWithoutCheck(int curve, FrameCallback frame, FinishCallback finish, int interval,
                                        int duration) {
    return begin(0, 0, curve, std::move(frame), std::move(finish), interval, duration);
}
