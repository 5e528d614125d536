#pragma once

// Which pixels a filled triangle covers, worked out row by row. SDL's
// software renderer fills a triangle by testing every pixel of its bounding
// box, which for the long shadow triangles is mostly empty; knowing each
// row's first and last covered pixel lets the fill touch only the covered
// ones. The rule is SDL 2's own (tests/shell/triangle_spans_test.cpp holds
// the two side by side), so the pixels do not move.

#include <cstdint>
#include <vector>

struct GridPoint {
    int32_t x;
    int32_t y;
};

// The covered pixels of one row: x from `left` up to, not including, `right`.
struct Span {
    int32_t y;
    int32_t left;
    int32_t right;
};

// Corners within this distance of the target's origin, across and down, get
// exactly SDL's pixels (the tests go out to it). Four times as far out, SDL's
// own fixed-point arithmetic overflows and its pixels follow no rule at all.
constexpr int32_t kMaxSpanCorner = 4096;

// The pixels of a width × height target that SDL 2's software renderer fills
// for the triangle a, b, c, whichever way it winds: those whose centre
// (x + ½, y + ½) lies inside the triangle, or on an edge that is a top edge
// (level, the inside below it) or a left edge (the inside to its right), so
// that triangles sharing an edge never both fill a pixel on it. A triangle
// with no area fills nothing. Appends one span for each row with covered
// pixels, top row first.
void AppendTriangleSpans(GridPoint a, GridPoint b, GridPoint c, int32_t width, int32_t height,
                         std::vector<Span>& spans);
