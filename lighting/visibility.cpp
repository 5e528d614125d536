#include "lighting/visibility.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The rays beside each corner: far enough apart to pass the corner on either
// side, close enough to stay within a hundredth of a pixel of it a thousand
// pixels away.
constexpr double kBeside = 1e-5;
// A ray just beside a corner meets the box within this of the corner's
// distance unless something nearer hides the corner.
constexpr double kReachedSlack = 0.5;
// A ray through a corner meets the walls that end there, whatever the rounding.
constexpr double kCornerSlack = 1e-9;

double Cross(const Vec2& u, const Vec2& v) {
    return u.x * v.y - u.y * v.x;
}

Vec2 Minus(const Vec2& a, const Vec2& b) {
    return {a.x - b.x, a.y - b.y};
}

const Vec2& Before(const OutlinePolygon& polygon, int32_t i) {
    return polygon.points[i == 1 ? polygon.count : i - 1];
}

const Vec2& After(const OutlinePolygon& polygon, int32_t i) {
    return polygon.points[i == polygon.count ? 1 : i + 1];
}

bool OverlapsSquare(const OutlinePolygon& polygon, const Vec2& light, double reach) {
    double minX = polygon.points[1].x;
    double maxX = minX;
    double minY = polygon.points[1].y;
    double maxY = minY;
    for (int32_t i = 2; i <= polygon.count; ++i) {
        minX = std::min(minX, polygon.points[i].x);
        maxX = std::max(maxX, polygon.points[i].x);
        minY = std::min(minY, polygon.points[i].y);
        maxY = std::max(maxY, polygon.points[i].y);
    }
    return maxX >= light.x - reach && minX <= light.x + reach && maxY >= light.y - reach &&
           minY <= light.y + reach;
}

// Twice the outline's area, positive when it runs anticlockwise (y up).
double TurningArea(const OutlinePolygon& polygon) {
    double area = 0;
    for (int32_t i = 1; i <= polygon.count; ++i) {
        area += Cross(polygon.points[i], After(polygon, i));
    }
    return area;
}

// Which side of the ray through the corner its box lies on: +1 or −1 when
// both sides of the corner lie on one side (the corner is on the silhouette),
// 0 when they do not, or when the box runs on along the ray behind it.
int32_t SilhouetteSide(const Vec2& light, const Vec2& corner, const Vec2& before,
                       const Vec2& after) {
    const Vec2 ray = Minus(corner, light);
    const Vec2 back = Minus(before, corner);
    const Vec2 ahead = Minus(after, corner);
    const double a = Cross(ray, back);
    const double b = Cross(ray, ahead);
    const auto runsOn = [&ray](const Vec2& side) { return side.x * ray.x + side.y * ray.y > 0; };
    if ((a == 0 && runsOn(back)) || (b == 0 && runsOn(ahead))) {
        return 0;
    }
    if (a >= 0 && b >= 0 && (a > 0 || b > 0)) {
        return 1;
    }
    if (a <= 0 && b <= 0 && (a < 0 || b < 0)) {
        return -1;
    }
    return 0;
}

// The sides facing the light become walls; the corners that end one of them
// get rays, those on the silhouette with the side their box lies on.
void AddFacingWalls(const OutlinePolygon& polygon, const Vec2& light, Visibility& visibility) {
    const double turning = TurningArea(polygon);
    const auto faces = [&](const Vec2& a, const Vec2& b) {
        return Cross(Minus(b, a), Minus(light, a)) * turning < 0;
    };
    for (int32_t i = 1; i <= polygon.count; ++i) {
        const Vec2& corner = polygon.points[i];
        const bool facesAfter = faces(corner, After(polygon, i));
        const bool facesBefore = faces(Before(polygon, i), corner);
        if (facesAfter) {
            visibility.walls.push_back({corner, After(polygon, i)});
        }
        if (facesAfter && facesBefore) {
            visibility.corners.push_back({corner, false, 0, &polygon});
        } else if (facesAfter || facesBefore) {
            const int32_t side =
                SilhouetteSide(light, corner, Before(polygon, i), After(polygon, i));
            visibility.corners.push_back({corner, true, side, &polygon});
        }
    }
}

// A light inside an outline: its sides all round are the walls.
void AddEnclosingWalls(const OutlinePolygon& polygon, Visibility& visibility) {
    for (int32_t i = 1; i <= polygon.count; ++i) {
        visibility.walls.push_back({polygon.points[i], After(polygon, i)});
        visibility.corners.push_back({polygon.points[i], false, 0, &polygon});
    }
}

void GatherWalls(const Lighting& lighting, const Vec2& light, double reach, bool withOutlines,
                 Visibility& visibility) {
    visibility.walls.clear();
    visibility.corners.clear();
    const Vec2 square[4] = {{light.x - reach, light.y - reach},
                            {light.x + reach, light.y - reach},
                            {light.x + reach, light.y + reach},
                            {light.x - reach, light.y + reach}};
    for (int32_t i = 0; i < 4; ++i) {
        visibility.walls.push_back({square[i], square[(i + 1) % 4]});
        visibility.corners.push_back({square[i], false, 0, nullptr});
    }
    if (!withOutlines) {
        return;
    }
    for (const OutlinePolygon& polygon : lighting.outlinePolygons) {
        if (polygon.count >= 3 && OutlineContains(polygon, light.x, light.y)) {
            AddEnclosingWalls(polygon, visibility);
            return;  // nothing outside the outline can be reached
        }
    }
    for (const OutlinePolygon& polygon : lighting.outlinePolygons) {
        if (polygon.count >= 2 && OverlapsSquare(polygon, light, reach)) {
            AddFacingWalls(polygon, light, visibility);
        }
    }
}

bool Same(const Vec2& a, const Vec2& b) {
    return a.x == b.x && a.y == b.y;
}

// How far along `direction` the ray from the light meets its nearest wall
// other than those ending at `skip`; infinity when it meets none.
double NearestWall(const std::vector<VisibilitySegment>& walls, const Vec2& light,
                   const Vec2& direction, const Vec2* skip = nullptr) {
    double nearest = std::numeric_limits<double>::infinity();
    for (const VisibilitySegment& wall : walls) {
        if (skip != nullptr && (Same(wall.a, *skip) || Same(wall.b, *skip))) {
            continue;
        }
        const Vec2 along = Minus(wall.b, wall.a);
        const double denominator = Cross(direction, along);
        if (denominator == 0) {
            continue;  // parallel: the walls at its ends stop the ray instead
        }
        const Vec2 toWall = Minus(wall.a, light);
        const double t = Cross(toWall, along) / denominator;
        const double u = Cross(toWall, direction) / denominator;
        if (t >= 0 && u >= -kCornerSlack && u <= 1 + kCornerSlack && t < nearest) {
            nearest = t;
        }
    }
    return nearest;
}

// Where the lines through p along u and through q along v meet; `at` is
// left as it is when they are parallel.
void IntersectionOf(const Vec2& p, const Vec2& u, const Vec2& q, const Vec2& v, Vec2& at) {
    const double denominator = Cross(u, v);
    if (std::fabs(denominator) < 1e-12) {
        return;
    }
    const double t = Cross(Minus(q, p), v) / denominator;
    at = {p.x + t * u.x, p.y + t * u.y};
}

// The hit at the nearest wall recorded.
void CastRay(Visibility& visibility, const Vec2& light, double angle) {
    const Vec2 direction = {std::cos(angle), std::sin(angle)};
    const double t = NearestWall(visibility.walls, light, direction);
    if (std::isfinite(t)) {
        visibility.hits.push_back({angle, {light.x + t * direction.x, light.y + t * direction.y}});
    }
}

// One ray at a corner between two walls; two beside a silhouette corner, one
// past it and one onto the box, which tells whether the light reaches it.
void CastRays(Visibility& visibility, const Vec2& light, const SilhouetteCorner& corner) {
    const Vec2 ray = Minus(corner.point, light);
    const double angle = std::atan2(ray.y, ray.x);
    if (!corner.onSilhouette) {
        CastRay(visibility, light, angle);
        return;
    }
    if (corner.side == 0) {  // edge on: a ray along either side of that edge
        CastRay(visibility, light, angle - kBeside);
        CastRay(visibility, light, angle + kBeside);
        return;
    }
    // A turn towards positive Cross(ray, ·) is a larger angle (y down or up alike).
    CastRay(visibility, light, angle - corner.side * kBeside);
    CastRay(visibility, light, angle + corner.side * kBeside);
    // Reached when no wall but the corner's own stops the ray before it (its
    // own may lie almost along the ray, and meet it anywhere up to the corner).
    const double distance = std::hypot(ray.x, ray.y);
    const Vec2 direction = {ray.x / distance, ray.y / distance};
    if (NearestWall(visibility.walls, light, direction, &corner.point) >=
        distance - kReachedSlack) {
        visibility.silhouettes.push_back(corner);
    }
}

}  // namespace

void BuildVisibilityPolygon(const Lighting& lighting, Vec2 light, double reach, bool withOutlines,
                            Visibility& visibility) {
    GatherWalls(lighting, light, reach, withOutlines, visibility);
    visibility.hits.clear();
    visibility.silhouettes.clear();
    for (const SilhouetteCorner& corner : visibility.corners) {
        CastRays(visibility, light, corner);
    }
    std::sort(visibility.hits.begin(), visibility.hits.end(),
              [](const VisibilityHit& p, const VisibilityHit& q) { return p.angle < q.angle; });
    visibility.polygon.clear();
    for (const VisibilityHit& hit : visibility.hits) {
        visibility.polygon.push_back(hit.point);
    }
}

bool OutlineContains(const OutlinePolygon& polygon, double x, double y) {
    bool inside = false;
    const Vec2* pt = polygon.points;
    for (int32_t i = 1, j = polygon.count; i <= polygon.count; j = i++) {
        if ((pt[i].y > y) != (pt[j].y > y) &&
            x < pt[j].x + (y - pt[j].y) * (pt[i].x - pt[j].x) / (pt[i].y - pt[j].y)) {
            inside = !inside;
        }
    }
    return inside;
}

namespace {

// The direction from `from` to the outline's corner that lies furthest to
// the `lit` side as seen from there.
Vec2 OuterTangent(const OutlinePolygon& outline, const Vec2& from, const Vec2& lit, Vec2& corner) {
    Vec2 best = {0, 0};
    double bestLean = -2;
    for (int32_t i = 1; i <= outline.count; ++i) {
        const Vec2 to = Minus(outline.points[i], from);
        const double length = std::hypot(to.x, to.y);
        const double lean = (to.x * lit.x + to.y * lit.y) / length;
        if (length > 0 && lean > bestLean) {
            bestLean = lean;
            best = {to.x / length, to.y / length};
            corner = outline.points[i];
        }
    }
    return best;
}

void AddFin(const SilhouetteCorner& corner, const Vec2& light, double discRadius,
            std::vector<PenumbraFin>& fins) {
    const Vec2 ray = Minus(corner.point, light);
    const double d = std::hypot(ray.x, ray.y);
    if (d <= 2 * discRadius) {
        return;  // the disc reaches round the corner: no edge to soften
    }
    const Vec2 edge = {ray.x / d, ray.y / d};
    // (−edge.y, edge.x) lies on the side where Cross(edge, ·) is positive.
    const Vec2 lit = {corner.side * edge.y, -corner.side * edge.x};
    // The disc's edge on the box's side, twice as far out: the whole
    // penumbra, 2 · r · s / d wide, lies on the lit side of the hard edge.
    const Vec2 far = {light.x - 2 * discRadius * lit.x, light.y - 2 * discRadius * lit.y};
    Vec2 tangentCorner = corner.point;
    const Vec2 outer = OuterTangent(*corner.outline, far, lit, tangentCorner);
    const double spread =
        std::atan2(Cross(edge, outer) * -corner.side, edge.x * outer.x + edge.y * outer.y);
    if (!(spread > 0)) {
        return;
    }
    Vec2 apex = corner.point;
    IntersectionOf(corner.point, edge, tangentCorner, outer, apex);
    fins.push_back({apex, edge, lit, spread});
}

}  // namespace

void BuildPenumbraFins(const Visibility& visibility, Vec2 light, double discRadius,
                       std::vector<PenumbraFin>& fins) {
    fins.clear();
    if (discRadius <= 0) {
        return;
    }
    for (const SilhouetteCorner& corner : visibility.silhouettes) {
        if (corner.outline != nullptr) {
            AddFin(corner, light, discRadius, fins);
        }
    }
}
