#include "world/vec2.h"

#include <cmath>

void SetVec2(Vec2& v, double x, double y) {
    v.x = x;
    v.y = y;
}

double Length(const Vec2& v) { return std::sqrt(v.x * v.x + v.y * v.y); }

double Dot(const Vec2& a, const Vec2& b) { return a.x * b.x + a.y * b.y; }

void Normalise(Vec2& v) {
    double len = Length(v);
    if (len == 0) {
        return;
    }
    v.x = v.x / len;
    v.y = v.y / len;
}

double IntervalDistance(double minA, double maxA, double minB, double maxB) {
    // With equal minima (or a NaN) the second form is taken.
    if (minB > minA) {
        return minB - maxA;
    }
    return minA - maxB;
}
