#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "lighting/lighting.h"
#include "platform/services.h"
#include "render/help_overlay.h"
#include "session/play.h"
#include "world/world.h"

// The passes that can be reached again, and the one shown.
struct Timeline {
    int64_t first = 0;
    int64_t last = 0;
    int64_t now = 0;
};

// What the frame shows besides the world, and where it may be copied to.
struct FrameOptions {
    View view = View::Outlines;
    Shape shape = Shape::Box40;        // what Space drops; a line "shape : NAME" unless Box40
    int32_t slowness = 1;              // speed 1/slowness; a line "speed : 1/N" unless 1
    bool paused = false;               // a third text line, "paused"
    bool replaying = false;            // a text line "replay" below those
    std::optional<Timeline> timeline;  // a bar along the bottom with the pass number
    std::span<const HelpLine> help;    // when not empty, the key help on top of all
    int32_t mouseX = 0;                // where the red marker stands in for the pointer
    int32_t mouseY = 0;
    std::string_view note;         // a short word below the counts, when not empty
    double frameMilliseconds = 0;  // the last frame's drawing time, for the study view
    bool showTimes = true;  // the study view's milliseconds; off for pictures that never change
    std::vector<uint32_t>* capture = nullptr;  // receives the frame's pixels before it is shown
    double* drawMilliseconds = nullptr;  // receives how long drawing took, the present not counted
};

// Draws one frame and presents it: on black, the light gradients with their
// shadows (render/lit_scene.h), the stick lines, the red mouse marker and the two text lines
// "fps : N" and "e : N" (bodies, the world body included), and a small
// cross at the centre of each pinned body. Reads the world
// and the lighting as the previous pass left them; changes neither, but
// first brings the light sprites in line with the lights. The
// options add the other views, the paused line and the help overlay; without
// them the frame is the start-up view.
void RenderFrame(const World& world, const Lighting& lighting, int32_t framesPerSecond,
                 Services& services, const FrameOptions& options = {});
