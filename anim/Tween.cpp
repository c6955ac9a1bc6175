#include "anim/Tween.h"

#include "anim/Easing.h"

namespace {
constexpr double kTolerance = 0.0000001;
}

Tween::Tween(bool resetFractionWhenDone) : resetFractionWhenDone_(resetFractionWhenDone) {
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Tween::tick);
}

int Tween::timerId() const { return timer_.isActive() ? timer_.timerId() : 0; }

void Tween::setInterval(int milliseconds) {
    if (milliseconds < 0) milliseconds = 0;
    if (milliseconds == interval_) return;
    timer_.stop();
    if (milliseconds != 0) timer_.start(milliseconds);
    interval_ = milliseconds;
}

bool Tween::begin(int32_t startValue, int32_t endValue, int curve, FrameCallback frame, FinishCallback finish,
                  int interval, int duration) {
    if (interval <= 0) return false;
    startValue_ = startValue;
    endValue_ = endValue;
    fraction_ = 0;
    value_ = 0;
    curve_ = curve;
    duration_ = duration;
    frame_ = std::move(frame);
    finish_ = std::move(finish);
    setInterval(interval);
    return true;
}

void Tween::tick() {
    // A duration of 0 or less finishes on the first tick.
    fraction_ += duration_ > 0 ? 10.0 / duration_ : 1.0;
    // The callbacks may start this tween again, which replaces them; call copies.
    FrameCallback frame = frame_;
    if (fraction_ >= 1 - kTolerance) {
        const double reached = fraction_;
        setInterval(0);
        if (resetFractionWhenDone_) fraction_ = 0;
        value_ = endValue_;
        FinishCallback finish = finish_;
        if (frame) frame(value_, reached * 100);
        if (finish) finish();
        return;
    }
    value_ = ease(fraction_, startValue_, endValue_, curve_);
    if (frame) frame(value_, fraction_ * 100);
}
