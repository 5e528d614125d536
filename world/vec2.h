#pragma once

// Two doubles, x to the right and y downwards, in screen pixels. These are the
// only vector helpers: every other piece of vector arithmetic is written out
// component by component where it is used, so that each rounding point stays
// visible.

struct Vec2 {
    double x;
    double y;
};

void SetVec2(Vec2& v, double x, double y);
double Length(const Vec2& v);
double Dot(const Vec2& a, const Vec2& b);

// Scales v to length 1 in place; a zero vector is left as it is.
void Normalise(Vec2& v);

// Signed gap between [minA, maxA] and [minB, maxB]: negative when they overlap,
// zero when they touch, the width of the gap when they are apart.
double IntervalDistance(double minA, double maxA, double minB, double maxB);
