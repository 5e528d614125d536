#include "render/light_sprite.h"

#include "lighting/light.h"

namespace {

// A gradient is fixed by its radius, which gives the sprite's size, and its
// full colour, which sits at pixel (R, R): that pair tells whether the sprite
// holds this light's gradient.
bool HoldsGradientOf(const Services& services, const Light& light) {
    auto found = services.sprites.find(light.sprite);
    if (found == services.sprites.end()) {
        return false;
    }
    const int32_t R = light.radius;
    const Sprite& sprite = found->second;
    return sprite.width == 2 * R && sprite.height == 2 * R &&
           SpritePixel(services, light.sprite, R, R) == GradientColour(light, R, R);
}

}  // namespace

void DrawLightSprite(Services& services, const Light& light) {
    const int32_t side = 2 * int32_t{light.radius};
    NewSprite(services, light.sprite, side, side, kTextureMode);
    BeginDrawing(services, SpriteTarget(light.sprite));
    for (int32_t py = 0; py < side; ++py) {
        for (int32_t px = 0; px < side; ++px) {
            PutPixel(services, px, py, GradientColour(light, px, py));
        }
    }
    EndDrawing(services);
}

void UpdateLightSprites(Services& services, const Lighting& lighting) {
    for (const Light& light : lighting.lights) {
        if (!HoldsGradientOf(services, light)) {
            DrawLightSprite(services, light);
        }
    }
    for (int32_t sprite = kFirstDroppedSprite; sprite <= kLastDroppedSprite; ++sprite) {
        if (!SpriteInUse(lighting, sprite)) {
            DeleteSprite(services, sprite);
        }
    }
}
