#include "tools/sim/shot.h"

#include <algorithm>
#include <vector>

#include "platform/png_file.h"
#include "platform/services.h"
#include "render/layers.h"
#include "render/render_frame.h"

namespace {

// The script has no clock: the text shows what a 60 Hz display would give.
constexpr int32_t kShotFramesPerSecond = 60;

}  // namespace

struct ShotCamera::Offscreen {
    ScriptedInput input;
    Services services;
    double lastDrawMilliseconds = 0;  // the study view shows the time of the picture before

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
    // The window's mouse never leaves the screen.
    services.mouseX = std::clamp(sim.mouseX, 0, width - 1);
    services.mouseY = std::clamp(sim.mouseY, 0, height - 1);
    FrameOptions options;
    options.view = sim.play.view;
    options.frameMilliseconds = offscreen_->lastDrawMilliseconds;
    options.drawMilliseconds = &offscreen_->lastDrawMilliseconds;
    RenderFrame(sim.world, sim.lighting, kShotFramesPerSecond, services, options);
    return WritePng(ReadBackBuffer(services), services.screenWidth, services.screenHeight, file,
                    error);
}
