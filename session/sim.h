#pragma once

// tumble-sim: the world, step and shadow code of the window, driven by a
// script instead of a keyboard and a mouse.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "lighting/lighting.h"
#include "session/play.h"
#include "session/script.h"
#include "world/world.h"

// The world as start-up leaves it, the mouse, and the passes run so far.
struct Sim {
    World world;
    Lighting lighting;
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    int64_t passes = 0;
    // The light's freeze and the view that shot draws; never paused (idle
    // runs its passes without the step instead).
    PlayState play;
    // With timing on, the wall-clock time of every world update, in seconds.
    bool timing = false;
    std::vector<double> updateSeconds;
};

// The world body, the four walls, one light at (0, 0), the mouse at (0, 0).
void StartSim(Sim& sim);

// What a pass of the script does: a stepped one, or an idle one as a paused
// window runs it; the light as the script froze or released it.
PassControls SimPassControls(const Sim& sim, bool idle);

// One line of JSON (without the newline): the passes so far, the light, every
// particle, every body but the world body, and every shadow triangle, each in
// registry order. Numbers read back to the same double.
std::string DumpSim(const Sim& sim);

// "N passes, world update median … ms, 99th percentile … ms" over the timed passes.
std::string TimingSummary(const Sim& sim);

// Writes the frame the window would show now as a PNG; returns false and
// says why in `error` when it cannot. Supplied by a build that has a renderer.
using ShotWriter = std::function<bool(const Sim& sim, const std::string& file, std::string& error)>;

// Runs the script line by line. A malformed line, or a failing command, is
// reported on `err` with its line number and stops the run: exit status 2 for
// a malformed line, 1 for a command that failed. 0 when every line ran.
int RunScript(Sim& sim, std::istream& script, std::ostream& out, std::ostream& err,
              const ShotWriter& writeShot);
