#include "shell/startup.h"

#include "lighting/light.h"
#include "render/lit_scene.h"
#include "render/light_sprite.h"
#include "world/rounding.h"

namespace {

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
    CreateStartLight(lighting);
    UpdateLightSprites(services, lighting);
}

}  // namespace

bool StartProgram(App& app, Services& services, std::string& error) {
    if (!OpenScreen(services, app.session.world.settings.ScreenSize, error)) {
        return false;
    }
    StartWorld(app.session.world);
    CreateShadowTexture(services);
    CreateMouseLight(app.session.lighting, services);
    return true;
}
