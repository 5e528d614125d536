#include "render/lit_scene.h"

#include "lighting/visibility.h"
#include "render/light_map.h"
#include "render/light_sprite.h"
#include "world/rounding.h"

namespace {

constexpr int32_t kShadowSprite = 0;  // one pixel of colour (1, 1, 1)
constexpr int32_t kShadowQuad = 0;

void DrawTriangle(Services& services, int32_t quad, const Vec2& a, const Vec2& b, const Vec2& c) {
    const float ax = static_cast<float>(a.x);
    const float ay = static_cast<float>(a.y);
    const float bx = static_cast<float>(b.x);
    const float by = static_cast<float>(b.y);
    const float cx = static_cast<float>(c.x);
    const float cy = static_cast<float>(c.y);
    SetQuadCorners(services, quad, ax, ay, bx, by, cx, cy, cx, cy);
    DrawQuad(services, quad, 0, 0);
}

// The gradient of the light at that place, centred on the light.
void DrawGradient(Services& services, const Light& light, int32_t place) {
    const int32_t x = RoundToInt32(light.x - light.radius);
    const int32_t y = RoundToInt32(light.y - light.radius);
    BlitSprite(services, LightSprite(place), x, y);
}

using SegmentIterator = OrderedList<ShadowSegment>::ConstIterator;

// The next `count` triangles, in both corner orders; `at` moves past them.
void DrawTriangles(Services& services, int32_t quad, SegmentIterator& at, SegmentIterator end,
                   int32_t count) {
    BeginQuads(services);
    for (int32_t i = 0; i < count && at != end; ++i, ++at) {
        DrawTriangle(services, quad, at->p1, at->p2, at->p3);
        DrawTriangle(services, quad, at->p3, at->p2, at->p1);
    }
    EndQuads(services);
}

// The single-light frame draws the light's gradient and fills its shadows
// over it; a light inside a box would light all the screen its own box's
// shadow does not cover, so that frame, like every other, goes through the
// light map.
bool IsSingleHardLightOutsideOutlines(const Lighting& lighting) {
    if (lighting.lights.Size() != 1 || lighting.casters.size() > 1) {
        return false;
    }
    const Light& light = *lighting.lights.begin();
    for (const OutlinePolygon& polygon : lighting.outlinePolygons) {
        if (OutlineContains(polygon, light.x, light.y)) {
            return false;
        }
    }
    return true;
}

}  // namespace

void DrawLitScene(const Lighting& lighting, Services& services) {
    if (IsSingleHardLightOutsideOutlines(lighting)) {
        DrawLightLayer(lighting, services);
        DrawShadowLayer(lighting, services);
        return;
    }
    static LightMap map;  // kept from frame to frame: once grown, a frame allocates nothing
    DrawLightMap(map, lighting, services);
}
void DrawLightLayer(const Lighting& lighting, Services& services) {
    int32_t place = 0;
    for (const Light& light : lighting.lights) {
        DrawGradient(services, light, place++);
    }
}

void DrawShadowLayer(const Lighting& lighting, Services& services) {
    SegmentIterator at = lighting.shadowSegments.begin();
    DrawTriangles(services, kShadowQuad, at, lighting.shadowSegments.end(),
                  lighting.shadowSegments.Size());
}

void CreateShadowTexture(Services& services) {
    NewSprite(services, kShadowSprite, 1, 1, kTextureMode);
    BeginDrawing(services, SpriteTarget(kShadowSprite));
    PutPixel(services, 0, 0, MakeColour(1, 1, 1));
    EndDrawing(services);
    NewTexturedQuad(services, kShadowQuad, kShadowSprite);
}
