#pragma once
// Easing curves that map the progress of a tween (0 to 1) to a value between
// a start and an end value.

namespace Easing {

// Curve numbers 1 to 30 are the classic easing equations in the order
// quadratic, cubic, quartic, quintic, sine, exponential, circular, bounce,
// back, elastic, each as in, out and in-out (1 quadratic in, 2 quadratic out,
// 3 quadratic in-out, ..., 30 elastic in-out).
constexpr int kQuadraticIn = 1;
constexpr int kQuinticOut = 11;
constexpr int kElasticInOut = 30;
// Linear motion on a 360-unit circle: a jump of more than half a turn goes
// the short way round (used for angles and wrapping positions).
constexpr int kCircularLinear = 31;
// A quick approach that overshoots and settles, for sliding panels.
constexpr int kBouncingApproach = 32;

}  // namespace Easing

// The value at progress `t` of a tween from `start` to `end` on `curve`.
// `t` is clamped to 0..1; an unknown curve number moves linearly.
double ease(double t, double start, double end, int curve);
