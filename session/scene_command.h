#pragma once

// What the script commands that change the scene at once do: the same in
// tumble-sim and in a replay in the window, so that a recording rebuilds the
// world the window had.

#include <cstdint>

#include "lighting/lighting.h"
#include "session/play.h"
#include "session/script.h"
#include "world/world.h"

// The scene a script acts on: the world, its lights, the play state and the
// mouse the world sees.
struct Scene {
    World& world;
    Lighting& lighting;
    PlayState& play;
    int32_t& mouseX;
    int32_t& mouseY;
};

// Runs box, mouse, reset, grab, release, freeze, follow, view, light,
// unlight, colour, radius and soft. A dropped or removed light and a switch
// between hard and soft shadows rebuild the shadows at once. Returns
// false, changing nothing, for every other command: the passes and the
// outputs are the caller's.
bool ApplySceneCommand(const Scene& scene, const ScriptCommand& command);
