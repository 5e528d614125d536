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
