#pragma once

#include "platform/services.h"
#include "world/world.h"

// Over the stick lines of the roles view: every box's bounds and centre, the
// candidate pairs of the last step as lines between the centres of their
// bodies, the contacts of its last pass (a dot at the penetrating particle,
// and its penetration vector magnified kPenetrationScale times so that half a
// pixel shows), and a block of text at the top right: boxes, pairs, contacts
// and the milliseconds of the last step, shadow rebuild and frame.
void DrawStudyView(const World& world, double frameMilliseconds, Services& services);

constexpr double kPenetrationScale = 20;

// The colours of the study view, for the tests that look for them.
constexpr uint32_t kBoundsColour = MakeColour(96, 96, 0);
constexpr uint32_t kCentreColour = MakeColour(255, 255, 0);
constexpr uint32_t kPairColour = MakeColour(0, 160, 160);
constexpr uint32_t kContactColour = MakeColour(255, 0, 255);
constexpr uint32_t kPenetrationColour = MakeColour(255, 160, 0);
