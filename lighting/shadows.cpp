#include "lighting/shadows.h"

#include <cmath>

#include "world/rounding.h"

namespace {

// Below this, IntersectLines takes a direction as zero and two lines as parallel.
constexpr float kEpsilon = 0.0001f;

void AddTriangle(Lighting& lighting, const Vec2& a, const Vec2& b, const Vec2& c) {
    AddShadowSegment(lighting, RoundToInt32(a.x), RoundToInt32(a.y), RoundToInt32(b.x),
                     RoundToInt32(b.y), RoundToInt32(c.x), RoundToInt32(c.y));
}

// Triangles from the centre to each side: they cover the body itself.
void AddFan(Lighting& lighting, const OutlinePolygon& polygon) {
    const Vec2* pt = polygon.points;
    const int32_t n = polygon.count;
    if (n < 2) {
        return;
    }
    for (int32_t i = 1; i <= n - 1; ++i) {
        AddTriangle(lighting, polygon.centre, pt[i], pt[i + 1]);
    }
    AddTriangle(lighting, polygon.centre, pt[n], pt[1]);
}

// The quad behind the body as seen from the light, out to the far line of
// ShadowSilhouette.
void AddShadowQuad(const World& world, Lighting& lighting, const OutlinePolygon& polygon,
                   float lightX, float lightY) {
    Silhouette s = ShadowSilhouette(world, polygon, lightX, lightY);
    if (!s.found) {
        return;
    }
    const Vec2* pt = polygon.points;
    AddTriangle(lighting, s.minFar, pt[s.maxPoint], pt[s.minPoint]);
    AddTriangle(lighting, pt[s.maxPoint], s.minFar, s.maxFar);
}

// The world body and one-particle bodies have no outline and cast no shadow.
bool CastsShadow(const Body& body) {
    return body.particleCount > 1;
}

// Every outline's fan and quad as seen from (x, y), recorded as one caster.
void CastShadows(const World& world, Lighting& lighting, int32_t light, float dx, float dy, float x,
                 float y) {
    const int32_t before = lighting.shadowSegments.Size();
    for (const OutlinePolygon& polygon : lighting.outlinePolygons) {
        AddFan(lighting, polygon);
        AddShadowQuad(world, lighting, polygon, x, y);
    }
    lighting.casters.push_back({light, dx, dy, lighting.shadowSegments.Size() - before});
}

}  // namespace

Silhouette ShadowSilhouette(const World& world, const OutlinePolygon& polygon, float lightX,
                            float lightY) {
    const Vec2& M = polygon.centre;
    const Vec2 l = {lightX, lightY};
    const Vec2& screen = world.settings.ScreenSize;
    const int16_t K = static_cast<int16_t>(RoundToInt32(screen.x + screen.y));

    const int32_t dist = RoundToInt32(Length({l.x - M.x, l.y - M.y}));
    if (dist == 0) {
        return Silhouette{};
    }
    Vec2 perp = {M.y - l.y, l.x - M.x};
    Vec2 dir = {(M.x - l.x) / dist, (M.y - l.y) / dist};
    Vec2 P = {M.x + dir.x * K, M.y + dir.y * K};
    Vec2 Q = {P.x + perp.x, P.y + perp.y};
    return FindSilhouette(P, Q, polygon, l.x, l.y);
}

void AddShadowSegment(Lighting& lighting, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                      int32_t x3, int32_t y3) {
    ShadowSegment* segment = lighting.shadowSegments.Append();
    SetVec2(segment->p1, x1, y1);
    SetVec2(segment->p2, x2, y2);
    SetVec2(segment->p3, x3, y3);
}

void BuildOutlinePolygons(const World& world, Lighting& lighting) {
    lighting.outlinePolygons.Clear();
    // Room for every outline first: the pool must not move while outlines
    // point into it.
    std::vector<Vec2>& pool = lighting.outlinePoints;
    std::size_t total = 0;
    for (const Body& body : world.bodies) {
        if (CastsShadow(body)) {
            total += body.particleCount + 1;
        }
    }
    pool.clear();
    pool.reserve(total);

    const float scale = world.settings.OutlineScale;
    for (const Body& body : world.bodies) {
        if (!CastsShadow(body)) {
            continue;
        }
        OutlinePolygon* polygon = lighting.outlinePolygons.Append();
        polygon->count = body.particleCount;
        const std::size_t slot0 = pool.size();
        pool.push_back({0, 0});
        for (int32_t i = 1; i <= polygon->count; ++i) {
            const Vec2& p = BodyParticle(body, i)->position;
            pool.push_back({p.x * scale, p.y * scale});
        }
        polygon->points = &pool[slot0];
        SetVec2(polygon->centre, body.centre.x * scale, body.centre.y * scale);
    }
}

void BuildShadows(const World& world, Lighting& lighting) {
    BuildOutlinePolygons(world, lighting);
    lighting.shadowSegments.Clear();
    lighting.casters.clear();  // keeps its capacity: no allocation once grown
    lighting.lights.Reset();
    int32_t place = 0;
    while (const Light* light = lighting.lights.Next()) {
        if (!lighting.softShadows) {
            CastShadows(world, lighting, place, 0, 0, light->x, light->y);
        } else {
            for (const PenumbraOffset& offset : kPenumbra) {
                CastShadows(world, lighting, place, offset.dx, offset.dy, light->x + offset.dx,
                            light->y + offset.dy);
            }
        }
        ++place;
    }
}

Silhouette FindSilhouette(const Vec2& P, const Vec2& Q, const OutlinePolygon& polygon,
                          double lightX, double lightY) {
    Silhouette s{};
    const Vec2* pt = polygon.points;
    if (pt[1].x - lightX == 0 && pt[1].y - lightY == 0) {
        return s;  // the light sits on the first point: no direction to project along
    }
    const Vec2 farDirection = {Q.x - P.x, Q.y - P.y};
    // The far line runs mostly horizontally when the light is more above or
    // below the centre than beside it; then the x coordinates are compared.
    const Vec2& M = polygon.centre;
    const bool keyIsX = std::fabs(M.x - lightX) < std::fabs(M.y - lightY);
    auto key = [keyIsX](const Vec2& v) { return keyIsX ? v.x : v.y; };

    for (int32_t i = 1; i <= polygon.count; ++i) {
        // Two points on the ray from the light through pt[i], subtracted.
        Vec2 ahead = {pt[i].x + (pt[i].x - lightX), pt[i].y + (pt[i].y - lightY)};
        Vec2 D = {ahead.x - pt[i].x, ahead.y - pt[i].y};
        Vec2 I;
        if (!IntersectLines(P, farDirection, pt[i], D, I)) {
            continue;
        }
        // The first point that projects at all starts both ends.
        if (!s.found) {
            s = {true, i, i, I, I};
        }
        // Strict comparisons: on a tie the earlier point keeps its place.
        if (key(s.maxFar) < key(I)) {
            s.maxFar = I;
            s.maxPoint = i;
        }
        if (key(s.minFar) > key(I)) {
            s.minFar = I;
            s.minPoint = i;
        }
    }
    return s;
}

bool IntersectLines(const Vec2& P1, const Vec2& D1, const Vec2& P2, const Vec2& D2, Vec2& meeting) {
    if (std::fabs(D2.x) < kEpsilon && std::fabs(D2.y) < kEpsilon &&
        (std::fabs(D1.x) < kEpsilon || std::fabs(D1.y) < kEpsilon)) {
        return false;
    }
    // An infinite or NaN ratio never makes the lines parallel here.
    float r1 = static_cast<float>(D1.x / D2.x);
    float r2 = static_cast<float>(D1.y / D2.y);
    if (std::fabs(r1 - r2) < kEpsilon) {
        return false;
    }
    float s;
    if (std::fabs(D2.y) > kEpsilon) {
        s = static_cast<float>(((P1.x - P2.x) - (P1.y - P2.y) * D2.x / D2.y) /
                               (D1.y * D2.x / D2.y - D1.x));
    } else {
        s = static_cast<float>((P2.y - P1.y) / D1.y);
    }
    Vec2 point = {P1.x + s * D1.x, P1.y + s * D1.y};
    if (!std::isfinite(point.x) || !std::isfinite(point.y)) {
        return false;
    }
    meeting = point;
    return true;
}
