#include "shell/startup.h"

#include "lighting/light.h"
#include "lighting/light_sprite.h"
#include "render/layers.h"
#include "world/rounding.h"

namespace {

constexpr int32_t kShadowSprite = 0;
constexpr int32_t kShadowQuad = 0;

bool OpenScreen(Services& services, const Vec2& screenSize, std::string& error) {
    const int32_t width = RoundToInt32(screenSize.x);
    const int32_t height = RoundToInt32(screenSize.y);
    if (!OpenMainWindow(services, "tumble", width, height, error) ||
        !OpenScreenInWindow(services, width, height, error)) {
        return false;
    }
    // After the window: the mouse can only be held inside one that exists.
    StartDevices(services);
    return true;
}

// The mouse's light with its gradient.
void CreateMouseLight(Lighting& lighting, Services& services) {
    DrawLightSprite(services, *CreateStartLight(lighting));
}

}  // namespace

bool StartProgram(App& app, Services& services, std::string& error) {
    if (!OpenScreen(services, app.world.settings.ScreenSize, error)) {
        return false;
    }
    StartWorld(app.world);
    CreateShadowTexture(services);
    CreateMouseLight(app.lighting, services);
    return true;
}

void CreateShadowTexture(Services& services) {
    NewSprite(services, kShadowSprite, 1, 1, kTextureMode);
    BeginDrawing(services, SpriteTarget(kShadowSprite));
    PutPixel(services, 0, 0, MakeColour(1, 1, 1));
    EndDrawing(services);
    NewTexturedQuad(services, kShadowQuad, kShadowSprite);
    NewFilledQuad(services, kCutOutQuad, MakeColour(0, 0, 0));
}
