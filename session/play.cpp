#include "session/play.h"

#include <utility>

const char* ViewName(View view) {
    switch (view) {
        case View::Outlines:
            return "outlines";
        case View::Roles:
            return "roles";
        case View::Study:
            break;
    }
    return "study";
}

View NextView(View view) {
    switch (view) {
        case View::Outlines:
            return View::Roles;
        case View::Roles:
            return View::Study;
        case View::Study:
            break;
    }
    return View::Outlines;
}

void SetView(World& world, PlayState& play, View view) {
    play.view = view;
    world.trace.collecting = view == View::Study;
    if (!world.trace.collecting) {
        world.trace = StudyTrace{};  // its memory goes with the view
    }
}

PassControls ControlsFor(const PlayState& play) {
    PassControls controls;
    controls.step = !play.paused || play.stepOnce;
    controls.lightFollows = !play.lightFrozen;
    return controls;
}

void RestartScene(World& world, Lighting& lighting, const PlayState& play, int32_t mouseX,
                  int32_t mouseY) {
    RestartWorld(world);
    lighting.shadowSegments.Clear();
    lighting.outlinePolygons.Clear();
    lighting.casters.clear();
    Light* light = MouseLight(lighting);
    if (light != nullptr && !play.lightFrozen) {
        light->x = static_cast<float>(mouseX);
        light->y = static_cast<float>(mouseY);
    }
}

// Found without the registry's cursor, which decides where a new light goes.
const Light* MouseLight(const Lighting& lighting) {
    auto first = lighting.lights.begin();
    return first != lighting.lights.end() ? &*first : nullptr;
}

Light* MouseLight(Lighting& lighting) {
    return const_cast<Light*>(MouseLight(std::as_const(lighting)));
}
