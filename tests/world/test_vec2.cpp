#include <gtest/gtest.h>

#include <cmath>

#include "world/vec2.h"

namespace {

TEST(Vec2, NormaliseLeavesAZeroVectorAndKeepsTheSignsOfUnitOnes) {
    Vec2 zero = {0, 0};
    Normalise(zero);
    EXPECT_EQ(zero.x, 0);  // no NaN from a division by zero
    EXPECT_EQ(zero.y, 0);

    Vec2 up = {0, -1};
    Normalise(up);
    EXPECT_EQ(up.x, 0);
    EXPECT_EQ(up.y, -1);

    Vec2 right = {1, -0.0};
    Normalise(right);
    EXPECT_EQ(right.x, 1);
    EXPECT_TRUE(right.y == 0 && std::signbit(right.y));
}

TEST(Vec2, IntervalDistanceIsTheSignedGapMeasuredFromTheFirstMinimumOnATie) {
    EXPECT_EQ(IntervalDistance(0, 10, 5, 20), -5);
    EXPECT_EQ(IntervalDistance(5, 20, 0, 10), -5);
    EXPECT_EQ(IntervalDistance(0, 10, 10, 20), 0);
    EXPECT_EQ(IntervalDistance(0, 10, 12, 20), 2);
    EXPECT_EQ(IntervalDistance(0, 10, 0, 4), -4);
    EXPECT_EQ(IntervalDistance(0, 4, 0, 10), -10);
}

}  // namespace
