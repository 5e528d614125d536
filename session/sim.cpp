#include "session/sim.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <istream>
#include <ostream>

#include "lighting/light.h"
#include "session/scene_command.h"
#include "session/state_dump.h"
#include "session/state_hash.h"
#include "session/update_world.h"
#include "world/factories.h"

namespace {

// One pass of the window; idle passes run as a paused window's do.
void RunPass(Sim& sim, bool idle) {
    const PassControls controls = SimPassControls(sim, idle);
    if (!sim.timing) {
        UpdateWorld(sim.world, sim.lighting, sim.mouseX, sim.mouseY, controls);
    } else {
        auto start = std::chrono::steady_clock::now();
        UpdateWorld(sim.world, sim.lighting, sim.mouseX, sim.mouseY, controls);
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        sim.updateSeconds.push_back(took.count());
    }
    ++sim.passes;
}

// The value below which the given share of the sorted times lie (nearest rank).
double Percentile(const std::vector<double>& sorted, double share) {
    std::size_t rank = static_cast<std::size_t>(std::ceil(share * sorted.size()));
    return sorted[rank > 0 ? rank - 1 : 0];
}

}  // namespace

std::string TimingSummary(const Sim& sim) {
    std::vector<double> sorted = sim.updateSeconds;
    if (sorted.empty()) {
        return "0 passes timed";
    }
    std::sort(sorted.begin(), sorted.end());
    char text[160];
    std::snprintf(text, sizeof text,
                  "%zu passes, world update median %.3f ms, 99th percentile %.3f ms", sorted.size(),
                  Percentile(sorted, 0.5) * 1e3, Percentile(sorted, 0.99) * 1e3);
    return text;
}

PassControls SimPassControls(const Sim& sim, bool idle) {
    PlayState play = sim.play;
    play.paused = idle;
    return ControlsFor(play);
}

void StartSim(Sim& sim) {
    StartWorld(sim.world);
    CreateStartLight(sim.lighting);
}

std::string DumpSim(const Sim& sim) {
    return DumpState(sim.world, sim.lighting, sim.passes);
}

int RunScript(Sim& sim, std::istream& script, std::ostream& out, std::ostream& err,
              const ShotWriter& writeShot) {
    std::string line;
    int64_t lineNumber = 0;
    while (std::getline(script, line)) {
        ++lineNumber;
        ScriptCommand command;
        std::string error;
        auto fail = [&](int status) {
            err << "tumble-sim: line " << lineNumber << ": " << error << ": " << line << '\n';
            return status;
        };
        if (!ParseScriptLine(line, command, error)) {
            return fail(2);
        }
        if (ApplySceneCommand(Scene{sim.world, sim.lighting, sim.play, sim.mouseX, sim.mouseY},
                              command)) {
            continue;
        }
        switch (command.kind) {
            case CommandKind::Step:
            case CommandKind::Idle:
                for (int64_t i = 0; i < command.passes; ++i) {
                    RunPass(sim, command.kind == CommandKind::Idle);
                }
                break;
            case CommandKind::Dump:
                out << DumpSim(sim) << '\n';
                break;
            case CommandKind::Hash:
                out << HashText(HashState(sim.world, sim.lighting)) << '\n';
                break;
            case CommandKind::Shot:
                if (!writeShot) {
                    error = "this build of tumble-sim cannot render pictures";
                    return fail(1);
                }
                if (!writeShot(sim, command.file, error)) {
                    return fail(1);
                }
                break;
            default:  // None, and the scene's commands run above
                break;
        }
    }
    return 0;
}
