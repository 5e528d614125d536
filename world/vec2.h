#pragma once

// Two doubles, x to the right and y downwards, in screen pixels. These are the
// only vector helpers: every other piece of vector arithmetic is written out
// component by component where it is used, so that each rounding point stays
// visible. They are inline because the narrow phase calls them millions of
// times a second.

#include <cmath>

struct Vec2 {
    double x;
    double y;
};

inline void SetVec2(Vec2& v, double x, double y) {
    v.x = x;
    v.y = y;
}

inline double Length(const Vec2& v) { return std::sqrt(v.x * v.x + v.y * v.y); }

inline double Dot(const Vec2& a, const Vec2& b) { return a.x * b.x + a.y * b.y; }

// Scales v to length 1 in place; a zero vector is left as it is.
inline void Normalise(Vec2& v) {
    double len = Length(v);
    if (len == 0) {
        return;
    }
    v.x = v.x / len;
    v.y = v.y / len;
}

// Signed gap between [minA, maxA] and [minB, maxB]: negative when they overlap,
// zero when they touch, the width of the gap when they are apart. With equal
// minima (or a NaN) the second form is taken, so the order of the two
// intervals matters then.
inline double IntervalDistance(double minA, double maxA, double minB, double maxB) {
    if (minB > minA) {
        return minB - maxA;
    }
    return minA - maxB;
}
