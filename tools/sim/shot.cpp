#include "tools/sim/shot.h"

#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <set>
#include <vector>

#include "lighting/light_sprite.h"
#include "render/render_frame.h"
#include "shell/services.h"
#include "shell/startup.h"

namespace {

// The script has no clock: the text shows what a 60 Hz display would give.
constexpr int32_t kShotFramesPerSecond = 60;

bool SavePng(const std::vector<uint32_t>& colours, int32_t width, int32_t height,
             const std::string& file, std::string& error) {
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_RGB24);
    if (surface == nullptr) {
        error = std::string("cannot make the picture: ") + SDL_GetError();
        return false;
    }
    for (int32_t y = 0; y < height; ++y) {
        auto* row = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
        for (int32_t x = 0; x < width; ++x) {
            uint32_t colour = colours[static_cast<size_t>(y) * width + x];
            row[3 * x] = static_cast<uint8_t>(RedOf(colour));
            row[3 * x + 1] = static_cast<uint8_t>(GreenOf(colour));
            row[3 * x + 2] = static_cast<uint8_t>(BlueOf(colour));
        }
    }
    bool saved = IMG_SavePNG(surface, file.c_str()) == 0;
    if (!saved) {
        error = "cannot write '" + file + "': " + SDL_GetError();
    }
    SDL_FreeSurface(surface);
    return saved;
}

}  // namespace

struct ShotCamera::Offscreen {
    ScriptedInput input;
    Services services;
    std::set<int32_t> drawnSprites;  // light gradients already made

    ~Offscreen() { StopServices(services); }
};

ShotCamera::ShotCamera() = default;
ShotCamera::~ShotCamera() = default;

bool ShotCamera::Write(const Sim& sim, const std::string& file, std::string& error) {
    const int32_t width = static_cast<int32_t>(sim.world.settings.ScreenSize.x);
    const int32_t height = static_cast<int32_t>(sim.world.settings.ScreenSize.y);
    if (offscreen_ == nullptr) {
        auto offscreen = std::make_unique<Offscreen>();
        if (!StartServices(offscreen->services, ScreenKind::Offscreen, offscreen->input, error) ||
            !OpenMainWindow(offscreen->services, "tumble", width, height, error) ||
            !OpenScreenInWindow(offscreen->services, width, height, error)) {
            error = "cannot draw offscreen: " + error;
            return false;
        }
        CreateShadowTexture(offscreen->services);
        offscreen_ = std::move(offscreen);
    }
    Services& services = offscreen_->services;
    for (const Light& light : sim.lighting.lights) {
        if (offscreen_->drawnSprites.insert(light.sprite).second) {
            DrawLightSprite(services, light);
        }
    }
    // The window's mouse never leaves the screen.
    services.mouseX = std::clamp(sim.mouseX, 0, width - 1);
    services.mouseY = std::clamp(sim.mouseY, 0, height - 1);
    RenderFrame(sim.world, sim.lighting, kShotFramesPerSecond, services);
    return SavePng(ReadBackBuffer(services), services.screenWidth, services.screenHeight, file,
                   error);
}
