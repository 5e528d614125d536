#pragma once

// The tools a player and a learner use on the running world, shared by the
// window and tumble-sim: pause and single step, restart, the three views,
// and a light that can be frozen in place.

#include <cstdint>

#include "lighting/lighting.h"
#include "session/update_world.h"
#include "world/shapes.h"
#include "world/world.h"

// outlines: the boxes' sides in white (the start-up view). roles: every
// stick coloured by its role. study: roles, plus bounds, centres, candidate
// pairs, contacts and a block of counts and times.
enum class View { Outlines, Roles, Study };

struct PlayState {
    bool paused = false;
    bool stepOnce = false;  // while paused: the next pass steps
    bool lightFrozen = false;
    View view = View::Outlines;
    Shape shape = Shape::Box40;  // what Space drops
};

// "outlines", "roles" or "study", as scripts name the views.
const char* ViewName(View view);

// outlines → roles → study → outlines.
View NextView(View view);

// Shows the view; the study trace is collected only while the study view is on.
void SetView(World& world, PlayState& play, View view);

// What the next pass does, from the pause and the light's freeze.
PassControls ControlsFor(const PlayState& play);

// The world as at start-up (the settings and view kept), its shadows gone,
// and the mouse's light at the mouse unless it is frozen. Lights stay.
void RestartScene(World& world, Lighting& lighting, const PlayState& play, int32_t mouseX,
                  int32_t mouseY);

// The light that follows the mouse: the first of the registry; null when there is none.
Light* MouseLight(Lighting& lighting);
const Light* MouseLight(const Lighting& lighting);
