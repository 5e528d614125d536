#pragma once

// Dragging a box with the mouse: a grabbed particle is pulled toward the
// mouse in every pass of the step, right after the sticks are relaxed, so
// that the walls and the other boxes still have their say in the same pass
// and the rest of the box follows through its sticks. Once released, the box
// keeps the motion it has (a particle's velocity is its last step's motion).

#include <cstdint>

#include "world/world.h"

// A grabbed particle moves at most this far toward the mouse in one pass: ten
// passes make 40 pixels a step, below the speed limit, and less than the 10
// pixels by which a wall pushes back in one pass.
constexpr double kMaxDragPerPass = 4;

// The body under (x, y): the last one in the registry (the one drawn on top)
// whose outline, its particles in slot order, holds the point. Null when
// there is none; the world body and immovable bodies (pinned ones among
// them) are never under the mouse, but a resting body is (dynamics/rest.h).
Body* BodyUnder(const World& world, double x, double y);

// The same search over every body but the world body, immovable or not: the
// body a pin takes (dynamics/pins.h).
Body* BodyAt(const World& world, double x, double y);

// Grabs the particle of the body under (x, y) that lies nearest to it (the
// first such slot on a tie) and aims it at (x, y); a resting body wakes.
// False, and nothing grabbed, when no body is there. A grab already held is
// let go first.
bool GrabAt(World& world, int32_t x, int32_t y);

// Lets go of the grabbed particle, if any.
void ReleaseGrab(World& world);

bool IsGrabbing(const World& world);

// Moves the point the grabbed particle is pulled toward.
void AimGrab(World& world, int32_t x, int32_t y);

// One pass's pull: the grabbed particle moves toward the aim by at most
// kMaxDragPerPass. Nothing without a grab.
void PullGrabbedParticle(World& world);
