#include "render/layers.h"

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

// The gradient of the light at that place, centred on the light moved by (dx, dy).
void DrawGradient(Services& services, const Light& light, int32_t place, float dx, float dy) {
    const int32_t x = RoundToInt32((light.x + dx) - light.radius);
    const int32_t y = RoundToInt32((light.y + dy) - light.radius);
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

// One caster's layer: the gradient from where it cast, its shadows cut out,
// added onto the back buffer with the caster's share of its light.
void AddCasterLayer(Services& services, const Light& light, const ShadowCaster& caster,
                    int32_t weight, SegmentIterator& at, SegmentIterator end) {
    if (!BeginLayer(services, kLightLayer)) {
        return;
    }
    DrawGradient(services, light, caster.light, caster.dx, caster.dy);
    DrawTriangles(services, kCutOutQuad, at, end, caster.triangles);
    EndLayer(services);
    AddLayer(services, kLightLayer, weight);
}

// Every light with its casters. A light the last rebuild did not see (none
// before the first, none after a restart) shows its gradient without
// shadows, as the start-up frame does.
void DrawLayeredScene(const Lighting& lighting, Services& services) {
    const std::vector<ShadowCaster>& casters = lighting.casters;
    SegmentIterator at = lighting.shadowSegments.begin();
    const SegmentIterator end = lighting.shadowSegments.end();
    std::size_t next = 0;
    int32_t place = 0;
    for (const Light& light : lighting.lights) {
        const std::size_t first = next;
        while (next < casters.size() && casters[next].light == place) {
            ++next;
        }
        const int32_t count = static_cast<int32_t>(next - first);
        if (count == 0) {
            AddCasterLayer(services, light, ShadowCaster{place, 0, 0, 0}, 255, at, end);
        }
        // 255 / 8 rounds to 32: the eight shares add up to the light itself.
        const int32_t weight = count > 0 ? (255 + count / 2) / count : 0;
        for (std::size_t i = first; i < next; ++i) {
            AddCasterLayer(services, light, casters[i], weight, at, end);
        }
        ++place;
    }
}

bool IsSingleHardLight(const Lighting& lighting) {
    return lighting.lights.Size() == 1 && lighting.casters.size() <= 1;
}

}  // namespace

void DrawLitScene(const Lighting& lighting, Services& services) {
    if (IsSingleHardLight(lighting)) {
        DrawLightLayer(lighting, services);
        DrawShadowLayer(lighting, services);
        FreeLayer(services, kLightLayer);  // kept only while more than one light is drawn
        return;
    }
    DrawLayeredScene(lighting, services);
}

void DrawLightLayer(const Lighting& lighting, Services& services) {
    int32_t place = 0;
    for (const Light& light : lighting.lights) {
        DrawGradient(services, light, place++, 0, 0);
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
    NewFilledQuad(services, kCutOutQuad, MakeColour(0, 0, 0));
}
