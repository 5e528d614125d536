// The session's history: every pass is recorded with the scene's commands
// that ran before it (as script lines) and a mark of its controls, and a
// plain copy of the session's state is kept every kSnapshotInterval passes.
// Going back restores the nearest copy and runs the passes after it again.
// Copies of the passes just before the session's (within a budget of their
// own) make going back one pass after another a restore each: those run
// again on the way, and those prepared ahead of it, one with each pass back
// and a few in every frame of a pause, so that the stretch before the
// copies is ready before going back reaches it.

#include <ostream>

#include "lighting/lighting_snapshot.h"
#include "session/commands.h"
#include "session/session.h"
#include "world/snapshot.h"

namespace {

// Everything of a session that decides its future, as a pass leaves it. The
// pause belongs to the window, not to the history.
struct SessionSnapshot {
    WorldSnapshot world;
    LightingSnapshot lighting;
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    bool lightFrozen = false;
    View view = View::Outlines;
};

// At crowd 200 a copy takes about 137 KB: a copy every 192 passes keeps ten
// minutes (36,000 passes) in about 26 MB, and the copies made on the way back
// hold a stretch of 192 passes in as much again.
constexpr int64_t kSnapshotInterval = 192;
constexpr std::size_t kPeriodicBudget = 36u << 20;
constexpr std::size_t kNearbyBudget = 28u << 20;

// The last character of a pass's inputs: whether it stepped, and whether the
// mouse's light followed the mouse.
char PassMark(const PassControls& controls) {
    return controls.step ? (controls.lightFollows ? 'S' : 's')
                         : (controls.lightFollows ? 'I' : 'i');
}

PassControls ControlsOfMark(char mark) {
    return {mark == 'S' || mark == 's', mark == 'S' || mark == 'I'};
}

KeptSnapshot TakeSessionSnapshot(const Session& session) {
    SessionSnapshot snapshot;
    TakeWorldSnapshot(session.world, snapshot.world);
    TakeLightingSnapshot(session.lighting, snapshot.lighting);
    snapshot.mouseX = session.mouseX;
    snapshot.mouseY = session.mouseY;
    snapshot.lightFrozen = session.play.lightFrozen;
    snapshot.view = session.play.view;
    const std::size_t bytes = sizeof snapshot + WorldSnapshotBytes(snapshot.world) +
                              LightingSnapshotBytes(snapshot.lighting);
    return KeptSnapshot{0, std::move(snapshot), bytes};
}

void RestoreSessionSnapshot(Session& session, const std::any& state) {
    const SessionSnapshot& snapshot = std::any_cast<const SessionSnapshot&>(state);
    RestoreWorldSnapshot(session.world, snapshot.world);
    RestoreLightingSnapshot(session.lighting, snapshot.lighting);
    session.mouseX = snapshot.mouseX;
    session.mouseY = snapshot.mouseY;
    session.play.lightFrozen = snapshot.lightFrozen;
    session.play.view = snapshot.view;
}

// A recorded pass run again: its commands through their actions (none of
// them prints or draws), then the pass as it ran.
void RerunPass(Session& session, std::string_view inputs) {
    static std::ostream nowhere(nullptr);
    const SessionOutput output{nowhere, nullptr};
    std::string_view lines = inputs.substr(0, inputs.size() - 1);
    while (!lines.empty()) {
        const std::size_t end = lines.find('\n');
        ScriptCommand command;
        std::string error;
        if (ParseScriptLine(lines.substr(0, end), command, error)) {
            CommandRowOf(command.kind)->action(session, command, output, error);
        }
        lines.remove_prefix(end + 1);
    }
    UpdateWorld(session.world, session.lighting, session.mouseX, session.mouseY,
                ControlsOfMark(inputs.back()));
    ++session.passes;
}

// Going back stops before a stepped pass (Left skips the idle passes of a
// pause), so those are the passes worth a copy.
bool StopsBefore(const Session& session, int64_t pass) {
    return pass < LastPass(session.history) && SessionPassStepped(session, pass + 1);
}

HistoryHooks HooksOf(Session& session) {
    return {[&session] { return TakeSessionSnapshot(session); },
            [&session](const std::any& state) { RestoreSessionSnapshot(session, state); },
            [&session](std::string_view inputs) { RerunPass(session, inputs); },
            [&session](int64_t pass) { return StopsBefore(session, pass); }};
}

// A session that went back and now goes on takes over from where it is.
void TakeOver(Session& session) {
    if (session.passes < LastPass(session.history)) {
        DropFuture(session.history, session.passes);
    }
}

}  // namespace

void StartSessionHistory(Session& session) {
    session.history = History{};
    session.history.interval = kSnapshotInterval;
    session.history.budget = kPeriodicBudget;
    session.history.nearbyBudget = kNearbyBudget;
    session.passInputs.clear();
    StartHistory(session.history, session.passes, HooksOf(session));
}

void NoteSessionInput(Session& session, const ScriptCommand& command) {
    TakeOver(session);
    session.passInputs += FormatScriptLine(command);
    session.passInputs += '\n';
}

void RecordSessionPass(Session& session, const PassControls& controls) {
    session.passInputs += PassMark(controls);
    RecordPass(session.history, session.passInputs, HooksOf(session));
    session.passInputs.clear();
}

void PrepareSessionPass(Session& session) {
    if (session.history.snapshots.empty()) {
        StartSessionHistory(session);  // a session built without StartSession
    }
    TakeOver(session);
}

bool ReturnSessionTo(Session& session, int64_t pass) {
    if (!ReturnToPass(session.history, pass, HooksOf(session))) {
        return false;
    }
    session.passes = pass;
    session.passInputs.clear();
    return true;
}

int64_t PrepareSessionWayBack(Session& session, int64_t stops) {
    const int64_t passes = session.passes;  // the passes re-run count themselves
    const int64_t prepared = PrepareWayBack(session.history, passes, stops, HooksOf(session));
    session.passes = passes;
    return prepared;
}

int64_t FirstSessionPass(const Session& session) {
    return FirstPass(session.history);
}

int64_t LastSessionPass(const Session& session) {
    return LastPass(session.history);
}

bool SessionPassStepped(const Session& session, int64_t pass) {
    return ControlsOfMark(PassInputs(session.history, pass).back()).step;
}
