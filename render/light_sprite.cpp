#include "render/light_sprite.h"

namespace {

// A gradient is fixed by its radius, which gives the sprite's size, and its
// full colour, which sits at pixel (R, R): that pair tells whether the sprite
// holds this light's gradient.
bool HoldsGradientOf(const Services& services, const Light& light, int32_t sprite) {
    auto found = services.sprites.find(sprite);
    if (found == services.sprites.end()) {
        return false;
    }
    const int32_t R = light.radius;
    const Sprite& image = found->second;
    return image.width == 2 * R && image.height == 2 * R &&
           SpritePixel(services, sprite, R, R) == GradientColour(light, R, R);
}

}  // namespace

void DrawLightSprite(Services& services, const Light& light, int32_t sprite) {
    const int32_t side = 2 * int32_t{light.radius};
    NewSprite(services, sprite, side, side, kTextureMode);
    BeginDrawing(services, SpriteTarget(sprite));
    for (int32_t py = 0; py < side; ++py) {
        for (int32_t px = 0; px < side; ++px) {
            PutPixel(services, px, py, GradientColour(light, px, py));
        }
    }
    EndDrawing(services);
}

void UpdateLightSprites(Services& services, const Lighting& lighting) {
    int32_t place = 0;
    for (const Light& light : lighting.lights) {
        if (!HoldsGradientOf(services, light, LightSprite(place))) {
            DrawLightSprite(services, light, LightSprite(place));
        }
        ++place;
    }
    for (int32_t sprite = LightSprite(place); sprite <= kLastLightSprite; ++sprite) {
        DeleteSprite(services, sprite);
    }
}
