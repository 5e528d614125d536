#include "session/commands.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <ostream>

#include "dynamics/drag.h"
#include "dynamics/gravity.h"
#include "dynamics/pins.h"
#include "dynamics/rest.h"
#include "lighting/light.h"
#include "lighting/shadows.h"
#include "session/figures_csv.h"
#include "session/state_dump.h"
#include "world/factories.h"

namespace {

using Output = SessionOutput;

// A change to the set of casters casts every shadow again at once, so that no
// frame shows a light without its shadows or the shadows of one that is gone.
void RecastShadows(Session& session) {
    BuildShadows(session.world, session.lighting);
}

bool DropBoxAt(Session& session, const ScriptCommand& command, const Output&, std::string&) {
    DropBox(session.world, command.x, command.y);
    return true;
}

bool DropShapeAt(Session& session, const ScriptCommand& command, const Output&, std::string&) {
    DropShape(session.world, command.shape, command.x, command.y);
    return true;
}

// What Space drops; kept through a restart, as the view is.
bool ChooseShape(Session& session, const ScriptCommand& command, const Output&, std::string&) {
    session.play.shape = command.shape;
    return true;
}

bool SwitchGravity(Session& session, const ScriptCommand& command, const Output&, std::string&) {
    SetGravity(session.world, command.on);
    return true;
}

bool SwitchRest(Session& session, const ScriptCommand& command, const Output&, std::string&) {
    SetRest(session.world, command.on);
    return true;
}

// Nothing happens when no body is at the mouse.
bool PinAtMouse(Session& session, const ScriptCommand&, const Output&, std::string&) {
    TogglePinAt(session.world, session.mouseX, session.mouseY);
    return true;
}

bool MoveMouse(Session& session, const ScriptCommand& command, const Output&, std::string&) {
    session.mouseX = command.x;
    session.mouseY = command.y;
    return true;
}

bool RunPasses(Session& session, const ScriptCommand& command, const Output&, std::string&) {
    const PassControls controls = ScriptPassControls(session, command.kind == CommandKind::Idle);
    for (int64_t i = 0; i < command.count; ++i) {
        RunPass(session, controls);
    }
    return true;
}

bool Restart(Session& session, const ScriptCommand&, const Output&, std::string&) {
    RestartScene(session.world, session.lighting, session.play, session.mouseX, session.mouseY);
    return true;
}

bool GrabAtMouse(Session& session, const ScriptCommand&, const Output&, std::string&) {
    GrabAt(session.world, session.mouseX, session.mouseY);
    return true;
}

bool LetGo(Session& session, const ScriptCommand&, const Output&, std::string&) {
    ReleaseGrab(session.world);
    return true;
}

bool FreezeOrFollow(Session& session, const ScriptCommand& command, const Output&, std::string&) {
    session.play.lightFrozen = command.kind == CommandKind::Freeze;
    return true;
}

bool ShowView(Session& session, const ScriptCommand& command, const Output&, std::string&) {
    SetView(session.world, session.play, command.view);
    return true;
}

bool PrintDump(Session& session, const ScriptCommand&, const Output& output, std::string&) {
    output.out << DumpSession(session) << '\n' << std::flush;
    return true;
}

bool PrintHash(Session& session, const ScriptCommand&, const Output& output, std::string&) {
    output.out << HashSession(session) << '\n' << std::flush;
    return true;
}

bool PrintTrace(Session& session, const ScriptCommand&, const Output& output, std::string&) {
    output.out << DumpTrace(session.world, session.lighting) << '\n' << std::flush;
    return true;
}

bool WriteShot(Session& session, const ScriptCommand& command, const Output& output,
               std::string& error) {
    if (!output.writeShot) {
        error = "this build of tumble-sim cannot render pictures";
        return false;
    }
    return output.writeShot(session, command.file, error);
}

bool AddLight(Session& session, const ScriptCommand& command, const Output&, std::string&) {
    if (DropLight(session.lighting, command.x, command.y) != nullptr) {
        RecastShadows(session);
    }
    return true;
}

bool RoomForLight(const Session& session, const ScriptCommand&, std::string& why) {
    if (DroppedLightCount(session.lighting) < kMaxDroppedLights) {
        return true;
    }
    why = "at most " + std::to_string(kMaxDroppedLights) + " lights besides the mouse's";
    return false;
}

bool RemoveLight(Session& session, const ScriptCommand&, const Output&, std::string&) {
    if (RemoveLastLight(session.lighting)) {
        RecastShadows(session);
    }
    return true;
}

bool NextColour(Session& session, const ScriptCommand&, const Output&, std::string&) {
    if (Light* light = MouseLight(session.lighting)) {
        SetLightColour(*light, NextLightColour(*light));
    }
    return true;
}

bool SetRadius(Session& session, const ScriptCommand& command, const Output&, std::string&) {
    if (Light* light = MouseLight(session.lighting)) {
        light->radius = static_cast<int16_t>(ClampLightRadius(static_cast<int32_t>(command.count)));
    }
    return true;
}

bool SetSoft(Session& session, const ScriptCommand& command, const Output&, std::string&) {
    if (session.lighting.softShadows != command.on) {
        session.lighting.softShadows = command.on;
        RecastShadows(session);
    }
    return true;
}

bool GoBack(Session& session, const ScriptCommand& command, const Output&, std::string& error) {
    const int64_t reachable = session.passes - FirstSessionPass(session);
    if (command.count > reachable) {
        error = "cannot go back " + std::to_string(command.count) + " passes: the history holds " +
                std::to_string(reachable);
        return false;
    }
    return ReturnSessionTo(session, session.passes - command.count);
}

bool WriteFigures(Session& session, const ScriptCommand& command, const Output&,
                  std::string& error) {
    errno = 0;
    auto file = std::make_shared<std::ofstream>(command.file);
    if (!*file) {
        error = "cannot write " + command.file + ": " +
                (errno != 0 ? std::strerror(errno) : "open failed");
        return false;
    }
    WriteFiguresHeader(*file);
    session.figures = std::move(file);
    return true;
}

constexpr int64_t kMaxPasses = INT32_MAX;

// clang-format off
constexpr CommandRow kCommands[] = {
    {"box", CommandKind::Box, Arguments::Point, "X Y", -kMaxScriptCoordinate, kMaxScriptCoordinate,
     "drop a 40 x 40 box centred on (X, Y), as Space does", DropBoxAt},
    {"shape", CommandKind::Shape, Arguments::ShapePoint, "NAME X Y", -kMaxScriptCoordinate,
     kMaxScriptCoordinate, "drop the shape NAME centred on (X, Y), as Space does", DropShapeAt},
    {"choose", CommandKind::Choose, Arguments::Shape, "NAME", 0, 0,
     "Space drops the shape NAME from now on, as Tab chooses", ChooseShape},
    {"mouse", CommandKind::Mouse, Arguments::Point, "X Y", -kMaxScriptCoordinate, kMaxScriptCoordinate,
     "move the mouse; the light follows after each pass", MoveMouse},
    {"step", CommandKind::Step, Arguments::Count, "N", 0, kMaxPasses,
     "run N passes of the world", RunPasses},
    {"idle", CommandKind::Idle, Arguments::Count, "N", 0, kMaxPasses,
     "run N passes as a paused window does: no step", RunPasses},
    {"reset", CommandKind::Reset, Arguments::None, "", 0, 0,
     "the world as at start-up, the light at the mouse", Restart},
    {"grab", CommandKind::Grab, Arguments::None, "", 0, 0,
     "press the left button at the mouse: grab the box there", GrabAtMouse},
    {"release", CommandKind::Release, Arguments::None, "", 0, 0,
     "release the left button", LetGo},
    {"freeze", CommandKind::Freeze, Arguments::None, "", 0, 0,
     "the light stays where it is", FreezeOrFollow},
    {"follow", CommandKind::Follow, Arguments::None, "", 0, 0,
     "the light follows the mouse again", FreezeOrFollow},
    {"view", CommandKind::View, Arguments::View, "outlines|roles|study", 0, 0,
     "the view shot draws", ShowView},
    {"light", CommandKind::Light, Arguments::Point, "X Y", -kMaxScriptCoordinate, kMaxScriptCoordinate,
     "drop a fixed light at (X, Y), as L does (up to 8)", AddLight, RoomForLight},
    {"unlight", CommandKind::Unlight, Arguments::None, "", 0, 0,
     "remove the last light dropped, as Backspace does", RemoveLight},
    {"colour", CommandKind::Colour, Arguments::None, "", 0, 0,
     "the mouse's light takes the next colour, as C does", NextColour},
    {"radius", CommandKind::Radius, Arguments::Count, "R", kMinLightRadius, kMaxLightRadius,
     "the mouse's light's radius becomes R (100 to 1000)", SetRadius},
    {"soft", CommandKind::Soft, Arguments::Switch, "on|off", 0, 0,
     "soft or hard shadows, as S switches them", SetSoft},
    {"gravity", CommandKind::Gravity, Arguments::Switch, "on|off", 0, 0,
     "gravity down the screen or none, as G switches it", SwitchGravity},
    {"rest", CommandKind::Rest, Arguments::Switch, "on|off", 0, 0,
     "quiet bodies come to rest under gravity, as K switches it", SwitchRest},
    {"pin", CommandKind::Pin, Arguments::None, "", 0, 0,
     "pin the body at the mouse, or unpin it, as the right button does", PinAtMouse},
    {"dump", CommandKind::Dump, Arguments::None, "", 0, 0,
     "print the state of the world as one line of JSON", PrintDump},
    {"hash", CommandKind::Hash, Arguments::None, "", 0, 0,
     "print a 64-bit hash of the state of the world", PrintHash},
    {"shot", CommandKind::Shot, Arguments::File, "FILE", 0, 0,
     "write the frame the window would show as a PNG", WriteShot},
    {"back", CommandKind::Back, Arguments::Count, "N", 1, kMaxPasses,
     "go back N passes, as Left does while paused", GoBack},
    {"figures", CommandKind::Figures, Arguments::File, "FILE", 0, 0,
     "write the figures of every pass from now on to FILE as CSV", WriteFigures},
    {"trace", CommandKind::Trace, Arguments::None, "", 0, 0,
     "print what the study view shows of the last step as JSON", PrintTrace},
};
// clang-format on

}  // namespace

std::span<const CommandRow> CommandTable() {
    return kCommands;
}

const CommandRow* FindCommand(std::string_view name) {
    for (const CommandRow& row : kCommands) {
        if (name == row.name) {
            return &row;
        }
    }
    return nullptr;
}

const CommandRow* CommandRowOf(CommandKind kind) {
    for (const CommandRow& row : kCommands) {
        if (row.kind == kind) {
            return &row;
        }
    }
    return nullptr;
}

std::string CommandUsage(const CommandRow& row) {
    const std::string name = row.name;
    return row.arguments == Arguments::None ? name : name + " " + row.argumentText;
}

bool CommandAllowed(const Session& session, const ScriptCommand& command, std::string& why) {
    const CommandRow* row = CommandRowOf(command.kind);
    return row == nullptr || row->check == nullptr || row->check(session, command, why);
}

bool NotedInHistory(CommandKind kind) {
    switch (kind) {
        case CommandKind::None:
        case CommandKind::Step:  // passes are recorded one by one as they run
        case CommandKind::Idle:
        case CommandKind::Dump:  // what a session printed or wrote is not part of it
        case CommandKind::Hash:
        case CommandKind::Shot:
        case CommandKind::Figures:
        case CommandKind::Back:
            return false;
        default:
            return true;
    }
}

bool RunCommand(Session& session, const ScriptCommand& command, const SessionOutput& output,
                std::string& error) {
    const CommandRow* row = CommandRowOf(command.kind);
    if (row == nullptr) {
        return true;
    }
    if (!CommandAllowed(session, command, error)) {
        return false;
    }
    if (NotedInHistory(command.kind)) {
        NoteSessionInput(session, command);
    }
    return row->action(session, command, output, error);
}
