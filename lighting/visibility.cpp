#include "lighting/visibility.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The rays beside each corner: far enough apart to pass the corner on either
// side, close enough to stay within a hundredth of a pixel of it a thousand
// pixels away.
constexpr double kBeside = 1e-5;
// A ray through a corner meets the walls that end there, whatever the rounding.
constexpr double kCornerSlack = 1e-9;

double Cross(const Vec2& u, const Vec2& v) {
    return u.x * v.y - u.y * v.x;
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

void AddOutlineWalls(const OutlinePolygon& polygon, std::vector<VisibilitySegment>& walls) {
    const Vec2* pt = polygon.points;
    for (int32_t i = 1; i < polygon.count; ++i) {
        walls.push_back({pt[i], pt[i + 1]});
    }
    walls.push_back({pt[polygon.count], pt[1]});
}

void GatherWalls(const Lighting& lighting, const Vec2& light, double reach, bool withOutlines,
                 std::vector<VisibilitySegment>& walls) {
    walls.clear();
    const Vec2 corners[4] = {{light.x - reach, light.y - reach},
                             {light.x + reach, light.y - reach},
                             {light.x + reach, light.y + reach},
                             {light.x - reach, light.y + reach}};
    for (int32_t i = 0; i < 4; ++i) {
        walls.push_back({corners[i], corners[(i + 1) % 4]});
    }
    if (!withOutlines) {
        return;
    }
    for (const OutlinePolygon& polygon : lighting.outlinePolygons) {
        if (polygon.count >= 2 && OverlapsSquare(polygon, light, reach)) {
            AddOutlineWalls(polygon, walls);
        }
    }
}

// How far along `direction` the ray from the light meets its nearest wall;
// infinity when it meets none.
double NearestWall(const std::vector<VisibilitySegment>& walls, const Vec2& light,
                   const Vec2& direction) {
    double nearest = std::numeric_limits<double>::infinity();
    for (const VisibilitySegment& wall : walls) {
        const Vec2 along = {wall.b.x - wall.a.x, wall.b.y - wall.a.y};
        const double denominator = Cross(direction, along);
        if (denominator == 0) {
            continue;  // parallel: the walls at its ends stop the ray instead
        }
        const Vec2 toWall = {wall.a.x - light.x, wall.a.y - light.y};
        const double t = Cross(toWall, along) / denominator;
        const double u = Cross(toWall, direction) / denominator;
        if (t >= 0 && u >= -kCornerSlack && u <= 1 + kCornerSlack && t < nearest) {
            nearest = t;
        }
    }
    return nearest;
}

void CastRay(Visibility& visibility, const Vec2& light, double angle) {
    const Vec2 direction = {std::cos(angle), std::sin(angle)};
    const double t = NearestWall(visibility.walls, light, direction);
    if (std::isfinite(t)) {
        visibility.hits.push_back({angle, {light.x + t * direction.x, light.y + t * direction.y}});
    }
}

}  // namespace

void BuildVisibilityPolygon(const Lighting& lighting, Vec2 light, double reach, bool withOutlines,
                            Visibility& visibility) {
    GatherWalls(lighting, light, reach, withOutlines, visibility.walls);
    visibility.hits.clear();
    for (std::size_t i = 0; i < visibility.walls.size(); ++i) {
        const Vec2& corner = visibility.walls[i].a;  // every corner starts one wall
        const double angle = std::atan2(corner.y - light.y, corner.x - light.x);
        CastRay(visibility, light, angle - kBeside);
        CastRay(visibility, light, angle);
        CastRay(visibility, light, angle + kBeside);
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

// Which side of the ray through the corner its box lies on: +1 or −1 when
// both sides of the corner lie on one side (the corner is on the silhouette),
// 0 when they do not, or when the box runs on along the ray behind it.
int32_t SilhouetteSide(const Vec2& light, const Vec2& corner, const Vec2& before,
                       const Vec2& after) {
    const Vec2 ray = {corner.x - light.x, corner.y - light.y};
    const Vec2 back = {before.x - corner.x, before.y - corner.y};
    const Vec2 ahead = {after.x - corner.x, after.y - corner.y};
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

void AddFin(const Vec2& light, const Vec2& corner, int32_t side, double discRadius,
            std::vector<PenumbraFin>& fins) {
    const double d = std::hypot(corner.x - light.x, corner.y - light.y);
    if (d <= discRadius) {
        return;  // the disc reaches the corner: no fin can be told from the light itself
    }
    const Vec2 edge = {(corner.x - light.x) / d, (corner.y - light.y) / d};
    // (−edge.y, edge.x) lies on the side where Cross(edge, ·) is positive.
    const Vec2 lit = {side * edge.y, -side * edge.x};
    fins.push_back({corner, edge, lit, 2 * std::atan(discRadius / d)});
}

}  // namespace

void BuildPenumbraFins(const Lighting& lighting, Vec2 light, double reach, double discRadius,
                       std::vector<PenumbraFin>& fins) {
    fins.clear();
    if (discRadius <= 0) {
        return;
    }
    for (const OutlinePolygon& polygon : lighting.outlinePolygons) {
        if (polygon.count < 3 || !OverlapsSquare(polygon, light, reach) ||
            OutlineContains(polygon, light.x, light.y)) {
            continue;
        }
        const Vec2* pt = polygon.points;
        for (int32_t i = 1; i <= polygon.count; ++i) {
            const Vec2& before = pt[i == 1 ? polygon.count : i - 1];
            const Vec2& after = pt[i == polygon.count ? 1 : i + 1];
            const int32_t side = SilhouetteSide(light, pt[i], before, after);
            if (side != 0) {
                AddFin(light, pt[i], side, discRadius, fins);
            }
        }
    }
}
