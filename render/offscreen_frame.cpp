#include "render/offscreen_frame.h"

#include <algorithm>

#include "render/lit_scene.h"

bool StartOffscreenFrame(OffscreenFrame& frame, int32_t width, int32_t height, std::string& error) {
    if (!StartOffscreenServices(frame.services, frame.input, width, height, error)) {
        return false;
    }
    CreateShadowTexture(frame.services);
    return true;
}

void DrawSessionFrame(const Session& session, int32_t framesPerSecond, Services& services,
                      FrameOptions options) {
    options.view = session.play.view;
    options.shape = session.play.shape;
    options.mouseX = std::clamp(session.mouseX, 0, std::max(services.screenWidth - 1, 0));
    options.mouseY = std::clamp(session.mouseY, 0, std::max(services.screenHeight - 1, 0));
    RenderFrame(session.world, session.lighting, framesPerSecond, services, options);
}
