#include "render/render_frame.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "render/help_overlay.h"
#include "render/lit_scene.h"
#include "render/light_sprite.h"
#include "render/study_view.h"
#include "world/rounding.h"

namespace {

constexpr uint32_t kBlack = MakeColour(0, 0, 0);
constexpr uint32_t kWhite = MakeColour(255, 255, 255);
constexpr uint32_t kRed = MakeColour(255, 0, 0);
constexpr uint32_t kBlue = MakeColour(0, 0, 255);
constexpr uint32_t kYellow = MakeColour(255, 255, 0);
constexpr int32_t kPinArm = 4;  // a pin's cross reaches this many pixels from the centre

// The diagnostic mode: braces (owned by the world body) blue, sides hit as an
// edge in the last step red, the other sides white.
uint32_t StickRoleColour(const Stick& stick) {
    if (stick.body->id == kWorldBodyId) {
        return kBlue;
    }
    return stick.collisionCount > 0 ? kRed : kWhite;
}

void DrawStick(const Stick& stick, int16_t drawMode, Services& services) {
    const Vec2& a = stick.particleA->position;
    const Vec2& b = stick.particleB->position;
    const int32_t x1 = RoundToInt32(a.x);
    const int32_t y1 = RoundToInt32(a.y);
    const int32_t x2 = RoundToInt32(b.x);
    const int32_t y2 = RoundToInt32(b.y);
    if (drawMode == 0) {
        SetDefaultColour(services, StickRoleColour(stick));
        DrawLine(services, x1, y1, x2, y2);
    } else if (stick.body->id != kWorldBodyId) {
        DrawLine(services, x1, y1, x2, y2, kWhite);  // outlines only: braces stay hidden
    }
}

// The outline view draws as the settings say; the other views colour every
// stick by its role.
void DrawSticks(const World& world, View view, Services& services) {
    const int16_t drawMode = view == View::Outlines ? world.settings.StickDrawMode : 0;
    for (const Stick& stick : world.sticks) {
        DrawStick(stick, drawMode, services);
    }
}

// A pinned body shows a cross at its centre; an unpinned one nothing more.
void DrawPins(const World& world, Services& services) {
    for (const Body& body : world.bodies) {
        if (body.pinned) {
            const int32_t x = RoundToInt32(body.centre.x);
            const int32_t y = RoundToInt32(body.centre.y);
            DrawLine(services, x - kPinArm, y - kPinArm, x + kPinArm, y + kPinArm, kYellow);
            DrawLine(services, x - kPinArm, y + kPinArm, x + kPinArm, y - kPinArm, kYellow);
        }
    }
}

// Stands in for the system pointer, which the mouse service hides.
void DrawMouseMarker(const FrameOptions& options, Services& services) {
    DrawRect(services, options.mouseX - 2, options.mouseY - 2, 5, 5, kRed);
}

void DrawHeadsUpText(const World& world, int32_t framesPerSecond, const FrameOptions& options,
                     Services& services) {
    DrawString(services, 10, 0, "fps : " + std::to_string(framesPerSecond), kWhite, kBlack);
    DrawString(services, 10, 16, "e : " + std::to_string(world.bodies.Size()), kWhite, kBlack);
    int32_t y = 32;
    if (options.shape != Shape::Box40) {
        DrawString(services, 10, y, "shape : " + std::string(ShapeName(options.shape)), kWhite,
                   kBlack);
        y += 16;
    }
    if (options.slowness != 1) {
        DrawString(services, 10, y, "speed : 1/" + std::to_string(options.slowness), kWhite,
                   kBlack);
        y += 16;
    }
    if (options.paused) {
        DrawString(services, 10, y, "paused", kWhite, kBlack);
        y += 16;
    }
    if (options.replaying) {
        DrawString(services, 10, y, "replay", kWhite, kBlack);
        y += 16;
    }
    if (!options.note.empty()) {
        DrawString(services, 10, y, std::string(options.note), kYellow, kBlack);
    }
}

constexpr uint32_t kTimelineColour = MakeColour(128, 128, 128);

// A thin bar along the bottom spans the history that can be reached; it is
// filled up to the pass shown, which a tick marks and a line names.
void DrawTimeline(const Timeline& timeline, Services& services) {
    const int32_t left = 10;
    const int32_t width = services.screenWidth - 2 * left;
    const int32_t top = services.screenHeight - 8;
    const int64_t span = std::max<int64_t>(timeline.last - timeline.first, 1);
    const int32_t x =
        left + static_cast<int32_t>((timeline.now - timeline.first) * (width - 1) / span);
    DrawRect(services, left, top, width, 4, kTimelineColour);
    DrawLine(services, left, top + 1, x, top + 1, kWhite);
    DrawLine(services, left, top + 2, x, top + 2, kWhite);
    DrawLine(services, x, top - 3, x, top + 6, kWhite);
    DrawString(services, left, top - 20,
               "pass " + std::to_string(timeline.now) + " of " + std::to_string(timeline.first) +
                   " to " + std::to_string(timeline.last),
               kWhite, kBlack);
}

}  // namespace

void RenderFrame(const World& world, const Lighting& lighting, int32_t framesPerSecond,
                 Services& services, const FrameOptions& options) {
    const auto start = std::chrono::steady_clock::now();
    UpdateLightSprites(services, lighting);
    ClearBackBuffer(services, kBlack);
    DrawLitScene(lighting, services);
    BeginDrawing(services, BackBufferTarget());
    SetDrawingMode(services, kTransparentText | kOutlineRects);
    DrawSticks(world, options.view, services);
    DrawPins(world, services);
    if (options.view == View::Study) {
        DrawStudyView(world, lighting, {options.frameMilliseconds, options.showTimes}, services);
    }
    DrawMouseMarker(options, services);
    DrawHeadsUpText(world, framesPerSecond, options, services);
    if (options.timeline) {
        DrawTimeline(*options.timeline, services);
    }
    if (!options.help.empty()) {
        DrawHelpOverlay(options.help, services);
    }
    EndDrawing(services);
    if (options.drawMilliseconds != nullptr) {
        const auto took = std::chrono::steady_clock::now() - start;
        *options.drawMilliseconds = std::chrono::duration<double, std::milli>(took).count();
    }
    if (options.capture != nullptr) {
        *options.capture = ReadBackBuffer(services);
    }
    PresentFrame(services);
}
