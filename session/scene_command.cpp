#include "session/scene_command.h"

#include "dynamics/drag.h"
#include "lighting/light.h"
#include "lighting/shadows.h"
#include "world/factories.h"

namespace {

// A change to the set of casters casts every shadow again at once, so that no
// frame shows a light without its shadows or the shadows of one that is gone.
void RecastShadows(const Scene& scene) {
    BuildShadows(scene.world, scene.lighting);
}

}  // namespace

bool ApplySceneCommand(const Scene& scene, const ScriptCommand& command) {
    switch (command.kind) {
        case CommandKind::Box:
            DropBox(scene.world, command.x, command.y);
            return true;
        case CommandKind::Mouse:
            scene.mouseX = command.x;
            scene.mouseY = command.y;
            return true;
        case CommandKind::Reset:
            RestartScene(scene.world, scene.lighting, scene.play, scene.mouseX, scene.mouseY);
            return true;
        case CommandKind::Grab:
            GrabAt(scene.world, scene.mouseX, scene.mouseY);
            return true;
        case CommandKind::Release:
            ReleaseGrab(scene.world);
            return true;
        case CommandKind::Freeze:
        case CommandKind::Follow:
            scene.play.lightFrozen = command.kind == CommandKind::Freeze;
            return true;
        case CommandKind::View:
            SetView(scene.world, scene.play, command.view);
            return true;
        case CommandKind::Light:
            if (DropLight(scene.lighting, command.x, command.y) != nullptr) {
                RecastShadows(scene);
            }
            return true;
        case CommandKind::Unlight:
            if (RemoveLastLight(scene.lighting)) {
                RecastShadows(scene);
            }
            return true;
        case CommandKind::Colour:
            if (Light* light = MouseLight(scene.lighting)) {
                SetLightColour(*light, NextLightColour(*light));
            }
            return true;
        case CommandKind::Radius:
            if (Light* light = MouseLight(scene.lighting)) {
                light->radius = static_cast<int16_t>(ClampLightRadius(command.radius));
            }
            return true;
        case CommandKind::Soft:
            if (scene.lighting.softShadows != command.on) {
                scene.lighting.softShadows = command.on;
                RecastShadows(scene);
            }
            return true;
        case CommandKind::None:
        case CommandKind::Step:
        case CommandKind::Idle:
        case CommandKind::Dump:
        case CommandKind::Hash:
        case CommandKind::Shot:
            break;
    }
    return false;
}
