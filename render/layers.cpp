#include "render/layers.h"

#include "world/rounding.h"

namespace {

constexpr int32_t kShadowQuad = 0;

void DrawTriangle(Services& services, const Vec2& a, const Vec2& b, const Vec2& c) {
    const float ax = static_cast<float>(a.x);
    const float ay = static_cast<float>(a.y);
    const float bx = static_cast<float>(b.x);
    const float by = static_cast<float>(b.y);
    const float cx = static_cast<float>(c.x);
    const float cy = static_cast<float>(c.y);
    SetQuadCorners(services, kShadowQuad, ax, ay, bx, by, cx, cy, cx, cy);
    DrawQuad(services, kShadowQuad, 0, 0);
}

}  // namespace

void DrawLightLayer(const Lighting& lighting, Services& services) {
    for (const Light& light : lighting.lights) {
        const int32_t x = RoundToInt32(light.x - light.radius);
        const int32_t y = RoundToInt32(light.y - light.radius);
        BlitSprite(services, light.sprite, x, y);
    }
}

void DrawShadowLayer(const Lighting& lighting, Services& services) {
    BeginQuads(services);
    for (const ShadowSegment& segment : lighting.shadowSegments) {
        DrawTriangle(services, segment.p1, segment.p2, segment.p3);
        DrawTriangle(services, segment.p3, segment.p2, segment.p1);
    }
    EndQuads(services);
}
