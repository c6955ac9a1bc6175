#include "anim/Easing.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kTolerance = 0.0000001;
// The bouncing approach is defined with this rounded value of pi.
constexpr double kBouncePi = 3.1415926535;
constexpr double kPi = std::numbers::pi;
constexpr double kBackOvershoot = 1.70158;
constexpr double kElasticPeriod = 0.3;

// Each shape maps progress 0..1 to a share of the distance (0 at 0, 1 at 1
// for all but the overshooting ones in between).
enum class Shape { Quadratic, Cubic, Quartic, Quintic, Sine, Exponential, Circular, Bounce, Back, Elastic };

double power(double t, int exponent) { return std::pow(t, exponent); }

double bounceOut(double t) {
    constexpr double k = 7.5625;
    if (t < 1 / 2.75) return k * t * t;
    if (t < 2 / 2.75) {
        t -= 1.5 / 2.75;
        return k * t * t + 0.75;
    }
    if (t < 2.5 / 2.75) {
        t -= 2.25 / 2.75;
        return k * t * t + 0.9375;
    }
    t -= 2.625 / 2.75;
    return k * t * t + 0.984375;
}

double elasticIn(double t) {
    if (t <= 0) return 0;
    if (t >= 1) return 1;
    const double s = kElasticPeriod / 4;
    t -= 1;
    return -(std::pow(2, 10 * t) * std::sin((t - s) * 2 * kPi / kElasticPeriod));
}

double backIn(double t, double overshoot) { return t * t * ((overshoot + 1) * t - overshoot); }

// The "in" form of a shape.
double easeIn(Shape shape, double t) {
    switch (shape) {
        case Shape::Quadratic: return power(t, 2);
        case Shape::Cubic: return power(t, 3);
        case Shape::Quartic: return power(t, 4);
        case Shape::Quintic: return power(t, 5);
        case Shape::Sine: return 1 - std::cos(t * kPi / 2);
        case Shape::Exponential: return t <= 0 ? 0 : std::pow(2, 10 * (t - 1));
        case Shape::Circular: return 1 - std::sqrt(std::max(0.0, 1 - t * t));
        case Shape::Bounce: return 1 - bounceOut(1 - t);
        case Shape::Back: return backIn(t, kBackOvershoot);
        case Shape::Elastic: return elasticIn(t);
    }
    return t;
}

// The "out" form mirrors the "in" form: out(t) = 1 - in(1 - t).
double easeOut(Shape shape, double t) {
    switch (shape) {
        case Shape::Bounce: return bounceOut(t);
        case Shape::Exponential: return t >= 1 ? 1 : 1 - std::pow(2, -10 * t);
        default: return 1 - easeIn(shape, 1 - t);
    }
}

// The "in-out" form runs the "in" form over the first half and the "out"
// form over the second. The back curves overshoot further in this form.
double easeInOut(Shape shape, double t) {
    if (shape == Shape::Back) {
        const double overshoot = kBackOvershoot * 1.525;
        return t < 0.5 ? backIn(2 * t, overshoot) / 2 : 1 - backIn(2 - 2 * t, overshoot) / 2;
    }
    return t < 0.5 ? easeIn(shape, 2 * t) / 2 : 0.5 + easeOut(shape, 2 * t - 1) / 2;
}

double classicShare(int curve, double t) {
    const auto shape = static_cast<Shape>((curve - 1) / 3);
    switch ((curve - 1) % 3) {
        case 0: return easeIn(shape, t);
        case 1: return easeOut(shape, t);
        default: return easeInOut(shape, t);
    }
}

}  // namespace

double ease(double t, double start, double end, int curve) {
    if (t < -kTolerance) t = 0;
    if (t > 1 + kTolerance) t = 1;
    const double change = end - start;
    if (curve == Easing::kCircularLinear) {
        if (change < -180 - kTolerance) return start + t * (change + 360);
        if (change > 180 + kTolerance) return start + t * (change - 360);
        return start + t * change;
    }
    if (curve == Easing::kBouncingApproach) {
        // Inside the tolerance t may pass 1 by a hair; the power needs a base of 0 or more.
        const double rest = std::max(0.0, 1 - t);
        return start + change * (1 + 1.2 * rest) *
                           (t + std::sin(t * (2.5 * t * t * t + 0.2) * kBouncePi) * std::pow(rest, 2.2));
    }
    if (curve >= Easing::kQuadraticIn && curve <= Easing::kElasticInOut) return start + change * classicShare(curve, t);
    return start + change * t;
}
