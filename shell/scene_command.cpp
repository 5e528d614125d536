#include "shell/scene_command.h"

#include "dynamics/drag.h"
#include "world/factories.h"

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
