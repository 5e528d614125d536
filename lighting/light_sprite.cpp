#include "lighting/light_sprite.h"

#include "lighting/light.h"

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
