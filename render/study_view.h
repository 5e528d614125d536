#pragma once

#include "lighting/lighting.h"
#include "platform/services.h"
#include "world/world.h"

// Over the stick lines of the roles view: every box's bounds and centre, the
// candidate pairs of the last step as lines between the centres of their
// bodies, the contacts of its last pass (a dot at the penetrating particle,
// and its penetration vector magnified kPenetrationScale times so that half a
// pixel shows), the last separating-axis test that found an overlap (the edge
// it hit, its axis as an arrow, the corner's move, magnified the same), the
// step's most stretched stick, its deepest wall push (as long as it was, from
// the wall inwards), the last edge contact's sliding along the edge
// before friction (magnified the same), the silhouette corners of every
// outline as the mouse's light sees them, and a
// block of text at the top right: boxes, pairs, contacts, that test's overlap
// and, unless left out, the milliseconds of the last step, shadow rebuild and
// frame; along the bottom, strip charts of the last kPlotSteps steps: kinetic
// energy, contacts, the largest stick error and (unless left out) the step's
// milliseconds, each with its name and newest value.
struct StudyOptions {
    double frameMilliseconds = 0;  // the last frame's drawing time
    bool showTimes = true;         // off: pictures that come out the same on every run
};
void DrawStudyView(const World& world, const Lighting& lighting, const StudyOptions& options,
                   Services& services);

constexpr double kPenetrationScale = 20;
constexpr double kAxisLength = 24;

// The colours of the study view, for the tests that look for them.
constexpr uint32_t kBoundsColour = MakeColour(96, 96, 0);
constexpr uint32_t kCentreColour = MakeColour(255, 255, 0);
constexpr uint32_t kPairColour = MakeColour(0, 160, 160);
constexpr uint32_t kContactColour = MakeColour(255, 0, 255);
constexpr uint32_t kPenetrationColour = MakeColour(255, 160, 0);
constexpr uint32_t kEdgeColour = MakeColour(255, 64, 160);
constexpr uint32_t kAxisColour = MakeColour(0, 255, 0);
constexpr uint32_t kSilhouetteColour = MakeColour(64, 64, 160);
constexpr uint32_t kStretchColour = MakeColour(0, 200, 255);
constexpr uint32_t kWallPushColour = MakeColour(192, 255, 64);
constexpr uint32_t kFrictionColour = MakeColour(200, 160, 255);
