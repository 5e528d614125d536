#pragma once

// Pins: a pinned body stays where it was pinned, immovable (mass 0, the kind
// of body a wall is) until it is unpinned, when it gets its own mass back.
// Being immovable, it is moved by nothing: not by a dragged body, not by the
// drag itself (BodyUnder never finds it), not by gravity. Every pin change
// wakes every resting body (dynamics/rest.h), which may have rested on it.

#include <cstdint>

#include "world/world.h"

// Pins the body; a resting body stops resting and stays pinned, a grab of it
// is let go. Nothing for the world body or a body already pinned.
void PinBody(World& world, Body& body);

// The pinned body gets its own mass back; nothing for a body not pinned.
void UnpinBody(World& world, Body& body);

// Pins the body at (x, y) (BodyAt), or unpins it when it is pinned. False,
// changing nothing, when no body is there.
bool TogglePinAt(World& world, int32_t x, int32_t y);
