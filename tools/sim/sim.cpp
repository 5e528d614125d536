#include "tools/sim/sim.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cmath>
#include <istream>
#include <ostream>

#include "dynamics/drag.h"
#include "lighting/light.h"
#include "shell/state_hash.h"
#include "shell/update_world.h"
#include "world/factories.h"

namespace {

// The shortest form that reads back to the same double; JSON has no NaN or
// infinity, which the world never holds, so they would show as null.
void AppendNumber(std::string& out, double value) {
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buffer[32];
    auto [end, result] = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, end);
}

void AppendArray(std::string& out, std::initializer_list<double> values) {
    out += '[';
    const char* separator = "";
    for (double value : values) {
        out += separator;
        AppendNumber(out, value);
        separator = ", ";
    }
    out += ']';
}

// Appends `"name": [` to a dump; the items follow, then `]`.
void BeginList(std::string& out, const char* name) {
    out += ", \"";
    out += name;
    out += "\": [";
}

void AppendItem(std::string& out, bool& first, std::initializer_list<double> values) {
    if (!first) {
        out += ", ";
    }
    first = false;
    AppendArray(out, values);
}

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
                  "%zu passes, world update median %.3f ms, 99th percentile %.3f ms",
                  sorted.size(), Percentile(sorted, 0.5) * 1e3, Percentile(sorted, 0.99) * 1e3);
    return text;
}

PassControls SimPassControls(const Sim& sim, bool idle) {
    PlayState play = sim.play;
    play.paused = idle;
    return ControlsFor(play);
}

void StartSim(Sim& sim) {
    StartWorld(sim.world);
    CreateLight(sim.lighting, 0, 0, 500, 100, 100, 250, 1);
}

std::string DumpSim(const Sim& sim) {
    std::string out = "{\"pass\": " + std::to_string(sim.passes) + ", \"light\": ";
    const Light* light = MouseLight(sim.lighting);
    if (light != nullptr) {
        AppendArray(out, {light->x, light->y});
    } else {
        out += "null";
    }
    BeginList(out, "particles");
    bool first = true;
    for (const Particle& p : sim.world.particles) {
        AppendItem(out, first, {p.position.x, p.position.y});
    }
    out += ']';

    BeginList(out, "bodies");
    first = true;
    for (const Body& b : sim.world.bodies) {
        if (b.id != kWorldBodyId) {
            AppendItem(out, first, {b.centre.x, b.centre.y, b.boundsMin.x, b.boundsMin.y,
                                    b.boundsMax.x, b.boundsMax.y});
        }
    }
    out += ']';

    BeginList(out, "shadows");
    first = true;
    for (const ShadowSegment& s : sim.lighting.shadowSegments) {
        AppendItem(out, first, {s.p1.x, s.p1.y, s.p2.x, s.p2.y, s.p3.x, s.p3.y});
    }
    out += ']';
    out += '}';
    return out;
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
        switch (command.kind) {
            case CommandKind::None:
                break;
            case CommandKind::Box:
                DropBox(sim.world, command.x, command.y);
                break;
            case CommandKind::Mouse:
                sim.mouseX = command.x;
                sim.mouseY = command.y;
                break;
            case CommandKind::Step:
            case CommandKind::Idle:
                for (int64_t i = 0; i < command.passes; ++i) {
                    RunPass(sim, command.kind == CommandKind::Idle);
                }
                break;
            case CommandKind::Reset:
                RestartScene(sim.world, sim.lighting, sim.play, sim.mouseX, sim.mouseY);
                break;
            case CommandKind::Grab:
                GrabAt(sim.world, sim.mouseX, sim.mouseY);
                break;
            case CommandKind::Release:
                ReleaseGrab(sim.world);
                break;
            case CommandKind::Freeze:
            case CommandKind::Follow:
                sim.play.lightFrozen = command.kind == CommandKind::Freeze;
                break;
            case CommandKind::View:
                SetView(sim.world, sim.play, command.view);
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
        }
    }
    return 0;
}
