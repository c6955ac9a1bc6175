#include "anim/Easing.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(EasingTest, EveryCurveButTheCircularOneStartsAtTheStartAndEndsAtTheEnd) {
    for (int curve = 1; curve <= 32; ++curve) {
        if (curve == Easing::kCircularLinear) continue;
        SCOPED_TRACE(curve);
        EXPECT_NEAR(ease(0, 100, -300, curve), 100, 1e-9);
        EXPECT_NEAR(ease(1, 100, -300, curve), -300, 1e-9);
    }
}

// Midway values of the classic equations, worked out by hand from their
// formulas; a wrong order of the curve numbers or a wrong constant shows here.
TEST(EasingTest, ClassicCurvesFollowTheirEquations) {
    struct Case {
        int curve;
        double t;
        double expected;
    };
    const Case cases[] = {
        {1, 0.5, 0.25},                 // quadratic in
        {2, 0.5, 0.75},                 // quadratic out
        {6, 0.25, 0.0625},              // cubic in-out: 4 t^3
        {8, 0.5, 0.9375},               // quartic out: 1 - (1 - t)^4
        {10, 0.5, 0.03125},             // quintic in
        {11, 0.5, 0.96875},             // quintic out: 1 + (t - 1)^5
        {13, 0.5, 1 - std::sqrt(0.5)},  // sine in: 1 - cos(pi / 4)
        {16, 0.5, 0.03125},             // exponential in: 2^(10 (t - 1))
        {20, 0.5, std::sqrt(0.75)},     // circular out
        {23, 0.5, 0.765625},            // bounce out, second arc
        {25, 0.5, -0.0876975},          // back in with overshoot 1.70158
        {27, 0.25, -0.0996818},         // back in-out: overshoot x 1.525
        {29, 0.5, 1.015625},            // elastic out, period 0.3
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.curve);
        EXPECT_NEAR(ease(c.t, 0, 1, c.curve), c.expected, 1e-6);
    }
}

TEST(EasingTest, ScalesToTheDistanceAndClampsTheFraction) {
    EXPECT_NEAR(ease(0.5, 10, -40, 11), 10 - 50 * 0.96875, 1e-9);
    EXPECT_EQ(ease(-0.5, 10, 20, 1), 10);
    EXPECT_EQ(ease(1.5, 10, 20, 1), 20);
    EXPECT_EQ(ease(0.5, 10, 20, 0), 15);  // an unknown curve moves linearly
}

TEST(EasingTest, CircularLinearTakesTheShortWayRound) {
    struct Case {
        double start, end, t, expected;
    };
    const Case cases[] = {
        {35, -400, 0.5, -2.5},                     // change -435 runs as -75
        {35, -400, 1, -40},    {10, 300, 1, -60},  // change 290 runs as -70
        {0, 180, 1, 180},                          // exactly half a turn goes straight
        {0, -180, 0.5, -90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.end);
        EXPECT_NEAR(ease(c.t, c.start, c.end, Easing::kCircularLinear), c.expected, 1e-9);
    }
}

TEST(EasingTest, BouncingApproachIsExactAtBothEndsAndOvershoots) {
    EXPECT_EQ(ease(0, 900, 21, Easing::kBouncingApproach), 900);
    EXPECT_EQ(ease(1, 900, 21, Easing::kBouncingApproach), 21);
    // Just inside the tolerance above 1 the curve still gives a number.
    EXPECT_NEAR(ease(1 + 5e-8, 900, 21, Easing::kBouncingApproach), 21, 1e-3);
    double lowest = 900;
    for (int i = 1; i < 100; ++i) lowest = std::min(lowest, ease(i / 100.0, 900, 21, Easing::kBouncingApproach));
    EXPECT_LT(lowest, 21);
}

}  // namespace
