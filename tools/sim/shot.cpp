#include "tools/sim/shot.h"

#include "platform/png_file.h"
#include "render/offscreen_frame.h"

namespace {

// The script has no clock: the text shows what a 60 Hz display would give.
constexpr int32_t kShotFramesPerSecond = 60;

}  // namespace

struct ShotCamera::Offscreen {
    OffscreenFrame frame;
    double lastDrawMilliseconds = 0;  // the study view shows the time of the picture before
};

ShotCamera::ShotCamera() = default;
ShotCamera::~ShotCamera() = default;

bool ShotCamera::Write(const Session& session, const std::string& file, std::string& error) {
    if (offscreen_ == nullptr) {
        auto offscreen = std::make_unique<Offscreen>();
        const int32_t width = static_cast<int32_t>(session.world.settings.ScreenSize.x);
        const int32_t height = static_cast<int32_t>(session.world.settings.ScreenSize.y);
        if (!StartOffscreenFrame(offscreen->frame, width, height, error)) {
            error = "cannot draw offscreen: " + error;
            return false;
        }
        offscreen_ = std::move(offscreen);
    }
    Services& services = offscreen_->frame.services;
    FrameOptions options;
    options.frameMilliseconds = offscreen_->lastDrawMilliseconds;
    options.drawMilliseconds = &offscreen_->lastDrawMilliseconds;
    options.showTimes = showTimes;
    DrawSessionFrame(session, kShotFramesPerSecond, services, options);
    return WritePng(ReadBackBuffer(services), services.screenWidth, services.screenHeight, file,
                    error);
}
