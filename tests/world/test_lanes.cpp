// The lanes promise each lane the scalar result to the last bit: the
// separating-axis test relies on it for results identical to the one-axis
// code. Checked on ordinary numbers, on numbers near the edges of the float
// range and on the values where min, max and division are easy to get wrong.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "world/lanes.h"

namespace {

std::vector<double> Samples() {
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<double> v = {0.0,   -0.0,  1.0,     -1.0,  0.5,    3.4028235677973366e38,
                             1e-46, -1e-40, 1e300,  inf,   -inf,   std::nan(""),
                             2.0 / 3, 0.1,  640.25, -479.75, 56.568542494923804};
    std::mt19937_64 generator(7);
    std::uniform_real_distribution<double> spread(-2000, 2000);
    for (int i = 0; i < 200; ++i) v.push_back(spread(generator));
    return v;
}

// Bit patterns, so that -0 differs from 0 and two NaNs compare equal.
uint64_t Bits(double x) { return std::bit_cast<uint64_t>(x); }
uint32_t Bits(float x) { return std::bit_cast<uint32_t>(x); }

// The same bits, or both NaN (whose payloads the results do not depend on).
bool Same(double a, double b) { return Bits(a) == Bits(b) || (std::isnan(a) && std::isnan(b)); }

TEST(Lanes, EachLaneRoundsAsTheScalarOperation) {
    const std::vector<double> v = Samples();
    for (std::size_t i = 0; i + 3 < v.size(); ++i) {
        const double a[4] = {v[i], v[i + 1], v[i + 2], v[i + 3]};
        const double b[4] = {v[i + 3], v[i], v[(i * 7) % v.size()], v[(i * 3) % v.size()]};
        const Doubles4 la = Load(a);
        const Doubles4 lb = Lanes(b[0], b[1], b[2], b[3]);
        double sum[4], product[4], quotient[4], root[4], chosen[4], greater[4], widened[4];
        Store(la + lb * la - lb, sum);
        Store(la * lb, product);
        Store(la / lb, quotient);
        Store(Sqrt(la), root);
        Store(SelectWhereZero(la, lb, la / lb), chosen);
        Store(SelectWhereGreater(la, lb, la - lb, lb - la), greater);
        float rounded[4];
        Store(ToFloats(la), rounded);
        Store(ToDoubles(ToFloats(la)), widened);
        for (int k = 0; k < 4; ++k) {
            EXPECT_TRUE(Same(sum[k], a[k] + b[k] * a[k] - b[k])) << a[k] << " " << b[k];
            EXPECT_TRUE(Same(product[k], a[k] * b[k])) << a[k] << " " << b[k];
            EXPECT_TRUE(Same(quotient[k], a[k] / b[k])) << a[k] << " " << b[k];
            EXPECT_TRUE(Same(root[k], std::sqrt(a[k]))) << a[k];
            EXPECT_TRUE(Same(chosen[k], a[k] == 0 ? b[k] : a[k] / b[k])) << a[k] << " " << b[k];
            EXPECT_TRUE(Same(rounded[k], static_cast<float>(a[k]))) << a[k];
            EXPECT_TRUE(Same(greater[k], a[k] > b[k] ? a[k] - b[k] : b[k] - a[k]))
                << a[k] << " " << b[k];
            EXPECT_TRUE(Same(widened[k], static_cast<double>(static_cast<float>(a[k])))) << a[k];
        }
    }
}

// `if (value < least) least = value;` keeps the first of equal values (so
// -0 after 0 stays 0) and never takes a NaN; the lanes must do the same.
TEST(Lanes, LeastAndMostKeepWhatTheComparisonsKeep) {
    const float nan = std::nanf("");
    const float values[] = {0.0f, -0.0f, 1.0f, nan, -3.5f, -0.0f, 0.0f, 7.25f, nan, -3.5f};
    for (float first : values) {
        for (float second : values) {
            Floats4 least = ToFloats(Broadcast(first));
            Floats4 most = least;
            const Floats4 value = ToFloats(Broadcast(second));
            least = KeepLess(value, least);
            most = KeepGreater(value, most);
            float l[4], m[4];
            Store(least, l);
            Store(most, m);
            float wantLeast = first;
            float wantMost = first;
            if (second < wantLeast) wantLeast = second;
            if (second > wantMost) wantMost = second;
            EXPECT_EQ(Bits(l[0]), Bits(wantLeast)) << first << " then " << second;
            EXPECT_EQ(Bits(m[3]), Bits(wantMost)) << first << " then " << second;
        }
    }
}

// The separating-axis test stops at an axis whose gap is above 0, and the
// wall pass looks for a wall a particle is below 0 of; only the lanes that
// hold a candidate count: the others repeat the last one, or hold anything.
TEST(Lanes, AnyAboveOrBelowZeroLooksOnlyAtTheLanesInUse) {
    const float nan = std::nanf("");
    const float inf = std::numeric_limits<float>::infinity();
    struct Case {
        float lanes[4];
        bool above[5];  // for 0 (unused) and counts 1 to 4
    };
    const Case cases[] = {
        {{-1.0f, -2.0f, -0.0f, 0.0f}, {false, false, false, false, false}},
        {{-1.0f, -2.0f, -3.0f, 1e-45f}, {false, false, false, false, true}},
        {{0.5f, -2.0f, -3.0f, -4.0f}, {false, true, true, true, true}},
        {{nan, nan, -inf, inf}, {false, false, false, false, true}},
        {{-1.0f, 3.0f, nan, -0.0f}, {false, false, true, true, true}},
    };
    for (const Case& c : cases) {
        const Floats4 lanes = ToFloats(Lanes(c.lanes[0], c.lanes[1], c.lanes[2], c.lanes[3]));
        const Floats4 negated = ToFloats(Lanes(-c.lanes[0], -c.lanes[1], -c.lanes[2], -c.lanes[3]));
        for (int32_t count = 1; count <= 4; ++count) {
            EXPECT_EQ(AnyAboveZero(lanes, count), c.above[count])
                << c.lanes[0] << " " << c.lanes[1] << " " << c.lanes[2] << " " << c.lanes[3]
                << ", first " << count;
            EXPECT_EQ(AnyBelowZero(negated, count), c.above[count])
                << "negated " << c.lanes[0] << " " << c.lanes[1] << " " << c.lanes[2] << " "
                << c.lanes[3] << ", first " << count;
        }
    }
}

}  // namespace
