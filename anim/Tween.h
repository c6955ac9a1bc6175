#pragma once
// The common core of the program's tween objects: a timer that advances a
// fraction on every tick, maps it through an easing curve to a value between
// a start and an end value, and hands each value to a frame callback.
// Tweens live on the UI thread; their timer ticks and callbacks run there.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

class Tween : public QObject {
public:
    // Called with each new value and the fraction times 100.
    using FrameCallback = std::function<void(double value, double percent)>;
    // Called once after the last frame.
    using FinishCallback = std::function<void()>;

    static constexpr int kDefaultCurve = 1;
    static constexpr int kDefaultInterval = 10;
    static constexpr int kDefaultDuration = 400;

    // One timer step: the fraction grows by 10 / duration whatever the
    // interval. On reaching 1 the timer stops and the last frame carries the
    // exact end value; then the finish callback runs.
    void tick();

    // Restarts the timer with a new period; 0 (or less) stops it. Setting the
    // current interval again changes nothing, so a running timer keeps its phase.
    void setInterval(int milliseconds);
    int interval() const { return interval_; }
    bool isRunning() const { return interval_ != 0; }
    // The running timer's id, 0 when stopped.
    int timerId() const;
    const FrameCallback& frameCallback() const { return frame_; }

    double value() const { return value_; }
    double fraction() const { return fraction_; }
    int curve() const { return curve_; }
    int duration() const { return duration_; }
    int32_t startValue() const { return startValue_; }
    int32_t endValue() const { return endValue_; }

protected:
    // `resetFractionWhenDone`: whether a finished tween reports fraction 0
    // (ready for reuse) or keeps the fraction it reached.
    explicit Tween(bool resetFractionWhenDone);

    // Clears the fields, stores the arguments and starts the timer. Refused
    // (false) for an interval of 0 or less.
    bool begin(int32_t startValue, int32_t endValue, int curve, FrameCallback frame, FinishCallback finish,
               int interval, int duration);

    int32_t startValue_ = 0;
    int32_t endValue_ = 0;
    double fraction_ = 0;

private:
    const bool resetFractionWhenDone_;
    QTimer timer_;
    int interval_ = 0;
    int curve_ = kDefaultCurve;
    int duration_ = kDefaultDuration;
    FrameCallback frame_;
    FinishCallback finish_;
    double value_ = 0;
};
