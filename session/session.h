#pragma once

// A session: the world, its lights, the play state and the mouse the world
// sees, with the passes run so far. tumble and tumble-sim each keep one and
// run every script command through it (session/commands.h), so a recording
// made in the window rebuilds the same world in tumble-sim.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "lighting/lighting.h"
#include "session/history.h"
#include "session/play.h"
#include "session/script.h"
#include "session/update_world.h"
#include "world/world.h"

struct Session {
    World world;
    Lighting lighting;
    PlayState play;
    int32_t mouseX = 0;  // the mouse as the world sees it; a session starts at (0, 0)
    int32_t mouseY = 0;
    int64_t passes = 0;  // world updates so far, stepped or idle
    // With timing on, the wall-clock time of every world update, in seconds.
    bool timing = false;
    std::vector<double> updateSeconds;
    // Every pass run, with what is needed to run it again: the scene's
    // commands before it and whether it stepped (session/going_back.cpp).
    History history;
    std::string passInputs;  // the scene's commands since the last pass, one a line
    // Where `figures` writes a row after every pass; null: nowhere.
    std::shared_ptr<std::ostream> figures;
};

// The world body, the four walls, the mouse's light at (0, 0), the mouse at (0, 0).
void StartSession(Session& session);

// One pass of the world: UpdateWorld at the session's mouse, counted.
void RunPass(Session& session, const PassControls& controls);

// Going back in time (session/going_back.cpp). Every pass RunPass runs is
// kept in the session's history with the commands before it, so that any
// pass from FirstSessionPass on is reached again bit for bit.

// Begins the history at the session's current pass (StartSession does).
void StartSessionHistory(Session& session);

// Notes a command that changes the scene as an input of the next pass. A
// session that went back takes over here: the old future is dropped.
void NoteSessionInput(Session& session, const ScriptCommand& command);

// Before a pass: begins the history if the session has none yet, and takes
// over if the session went back. After it: records it with the noted inputs.
void PrepareSessionPass(Session& session);
void RecordSessionPass(Session& session, const PassControls& controls);

// Puts the session back at `pass` (FirstSessionPass … LastSessionPass), the
// commands noted since the last pass forgotten; false, changing nothing,
// outside them. The future is kept until the next input or pass.
bool ReturnSessionTo(Session& session, int64_t pass);

// Prepares up to `stops` more passes of the way back from the session's
// pass, as copies (the window does a few in every paused frame); the session
// is left as it was. Returns the passes prepared.
int64_t PrepareSessionWayBack(Session& session, int64_t stops);

int64_t FirstSessionPass(const Session& session);
int64_t LastSessionPass(const Session& session);

// Whether the recorded pass stepped the world (FirstSessionPass < pass <= LastSessionPass).
bool SessionPassStepped(const Session& session, int64_t pass);

// What a pass of a script does: a stepped one, or an idle one as a paused
// window runs it; the light as the script froze or released it.
PassControls ScriptPassControls(const Session& session, bool idle);

// One line of JSON (without the newline): the passes so far, the lights,
// every particle, every body but the world body, and every shadow triangle,
// each in registry order. Numbers read back to the same double.
std::string DumpSession(const Session& session);

// The state hash as 16 hexadecimal digits.
std::string HashSession(const Session& session);

// "N passes, world update median … ms, 99th percentile … ms" over the timed passes.
std::string TimingSummary(const Session& session);

// Writes the frame the window would show for the session now (the window:
// the frame of its next pass) as a PNG; false, saying why in `error`, when it
// cannot. Supplied by a program that has a renderer.
using ShotWriter =
    std::function<bool(const Session& session, const std::string& file, std::string& error)>;

// Where a session's commands send what they produce: dump and hash lines to
// `out`, shots to `writeShot` (none: shot fails).
struct SessionOutput {
    std::ostream& out;
    ShotWriter writeShot;
};

// Runs a script line by line through the session: dump and hash lines go to
// `out`, shots to `writeShot`. A malformed line, or a command that fails, is
// reported on `err` with its line number and stops the run: exit status 2
// for a malformed line, a line longer than kMaxScriptLine or a command beyond
// the language's limits (a ninth dropped light), 1 for a command that failed
// (a shot not written); 0 when every line ran.
int RunScript(Session& session, std::istream& script, std::ostream& out, std::ostream& err,
              const ShotWriter& writeShot);
