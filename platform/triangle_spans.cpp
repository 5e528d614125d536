#include "platform/triangle_spans.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// Rounding towards minus infinity, for a positive divisor.
int64_t FloorDiv(int64_t n, int64_t d) {
    const int64_t q = n / d;
    return (n % d != 0 && n < 0) ? q - 1 : q;
}

// Positive when p lies to the right of the line from a to b as seen on the
// screen (y downwards), i.e. inside a triangle a, b, c that winds clockwise.
int64_t Side(GridPoint a, GridPoint b, GridPoint p) {
    return (int64_t{b.x} - a.x) * (int64_t{p.y} - a.y) -
           (int64_t{b.y} - a.y) * (int64_t{p.x} - a.x);
}

// ⌊n / divisor⌋ while n grows by a fixed step, kept as a quotient and a
// remainder so that a step costs additions instead of a division.
class SteppedQuotient {
   public:
    SteppedQuotient(int64_t n, int64_t step, int64_t divisor)
        : divisor_(divisor),
          quotient_(FloorDiv(n, divisor)),
          remainder_(n - quotient_ * divisor),
          stepQuotient_(FloorDiv(step, divisor)),
          stepRemainder_(step - stepQuotient_ * divisor) {}

    int64_t Value() const { return quotient_; }

    void Step() {
        quotient_ += stepQuotient_;
        remainder_ += stepRemainder_;
        if (remainder_ >= divisor_) {
            remainder_ -= divisor_;
            ++quotient_;
        }
    }

   private:
    int64_t divisor_;
    int64_t quotient_;
    int64_t remainder_;  // 0 ≤ remainder < divisor
    int64_t stepQuotient_;
    int64_t stepRemainder_;
};

// The limit an edge of a clockwise triangle sets on the columns of each row,
// row after row. In doubled coordinates, where pixel centres are whole
// numbers too, the centre (2x + 1, 2y + 1) lies on the inside of an edge of
// extent (dx, dy) when its side value dx·(2y + 1 − fromY) − dy·(2x + 1 − fromX)
// is above 0, or is 0 on a left edge. That is 2·dy·x ≤ room(y), and room grows
// by 2·dx from one row to the next. An edge running down bounds the row on
// the right: x ≤ ⌊room / 2dy⌋. One running up bounds it on the left:
// x ≥ ⌈room / 2dy⌉ = −⌊room / −2dy⌋. A level edge runs along the top or the
// bottom of the triangle's box, and the centres of the box's rows lie
// strictly below or above it: it bounds nothing.
class EdgeLimit {
    enum class Bound { Left, Right, None };

   public:
    EdgeLimit(GridPoint from, GridPoint to, int64_t firstRow)
        : bound_(BoundOf(from, to)), limit_(FirstLimit(from, to, firstRow)) {}

    void Apply(int64_t& left, int64_t& right) const {
        if (bound_ == Bound::Right) {
            right = std::min(right, limit_.Value());
        } else if (bound_ == Bound::Left) {
            left = std::max(left, -limit_.Value());
        }
    }

    void NextRow() { limit_.Step(); }

   private:
    static Bound BoundOf(GridPoint from, GridPoint to) {
        if (to.y > from.y) {
            return Bound::Right;
        }
        return to.y < from.y ? Bound::Left : Bound::None;
    }

    static SteppedQuotient FirstLimit(GridPoint from, GridPoint to, int64_t row) {
        const int64_t dx = 2 * (int64_t{to.x} - from.x);
        const int64_t dy = 2 * (int64_t{to.y} - from.y);
        if (dy == 0) {
            return SteppedQuotient(0, 0, 1);  // never read
        }
        int64_t room = dx * (2 * row + 1 - 2 * int64_t{from.y}) - dy * (1 - 2 * int64_t{from.x});
        if (dy > 0) {
            room -= 1;  // a right edge leaves out the centres on it
        }
        return SteppedQuotient(room, 2 * dx, 2 * std::abs(dy));
    }

    Bound bound_;
    SteppedQuotient limit_;
};

}  // namespace

void AppendTriangleSpans(GridPoint a, GridPoint b, GridPoint c, int32_t width, int32_t height,
                         std::vector<Span>& spans) {
    const int64_t area = Side(a, b, c);
    if (area == 0) {
        return;
    }
    if (area < 0) {
        std::swap(b, c);  // the edge limits are worked out for the clockwise winding
    }
    const int64_t top = std::max<int64_t>(0, std::min({a.y, b.y, c.y}));
    const int64_t bottom = std::min<int64_t>(height, std::max({a.y, b.y, c.y}));
    const int64_t firstColumn = std::max<int64_t>(0, std::min({a.x, b.x, c.x}));
    const int64_t lastColumn = std::min<int64_t>(width, std::max({a.x, b.x, c.x})) - 1;
    EdgeLimit edges[3] = {{a, b, top}, {b, c, top}, {c, a, top}};
    for (int64_t y = top; y < bottom; ++y) {
        int64_t left = firstColumn;
        int64_t right = lastColumn;
        for (EdgeLimit& edge : edges) {
            edge.Apply(left, right);
            edge.NextRow();
        }
        if (left <= right) {
            spans.push_back({static_cast<int32_t>(y), static_cast<int32_t>(left),
                             static_cast<int32_t>(right + 1)});
        }
    }
}
