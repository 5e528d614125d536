#include "session/session.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <istream>
#include <ostream>

#include "lighting/light.h"
#include "session/commands.h"
#include "session/figures_csv.h"
#include "session/state_dump.h"
#include "session/state_hash.h"

namespace {

// The value below which the given share of the sorted times lie (nearest rank).
double Percentile(const std::vector<double>& sorted, double share) {
    std::size_t rank = static_cast<std::size_t>(std::ceil(share * sorted.size()));
    return sorted[rank > 0 ? rank - 1 : 0];
}

}  // namespace

void StartSession(Session& session) {
    StartWorld(session.world);
    CreateStartLight(session.lighting);
    StartSessionHistory(session);
}

void RunPass(Session& session, const PassControls& controls) {
    PrepareSessionPass(session);
    if (!session.timing && !session.figures) {
        UpdateWorld(session.world, session.lighting, session.mouseX, session.mouseY, controls);
        ++session.passes;
        RecordSessionPass(session, controls);
        return;
    }
    auto start = std::chrono::steady_clock::now();
    UpdateWorld(session.world, session.lighting, session.mouseX, session.mouseY, controls);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (session.timing) {
        session.updateSeconds.push_back(took.count());
    }
    ++session.passes;
    RecordSessionPass(session, controls);
    if (session.figures) {
        WriteFiguresRow(*session.figures, session.passes, MeasureWorld(session.world),
                        took.count() * 1e3);
    }
}

PassControls ScriptPassControls(const Session& session, bool idle) {
    PlayState play = session.play;
    play.paused = idle;
    return ControlsFor(play);
}

std::string DumpSession(const Session& session) {
    return DumpState(session.world, session.lighting, session.passes);
}

std::string HashSession(const Session& session) {
    return HashText(HashState(session.world, session.lighting));
}

std::string TimingSummary(const Session& session) {
    std::vector<double> sorted = session.updateSeconds;
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

int RunScript(Session& session, std::istream& script, std::ostream& out, std::ostream& err,
              const ShotWriter& writeShot) {
    const SessionOutput output{out, writeShot};
    std::string line;
    for (int64_t number = 1;; ++number) {
        const LineRead read = ReadScriptLine(script, line);
        if (read == LineRead::End) {
            return 0;
        }
        ScriptCommand command;
        std::string error = TooLongReason();
        int status = 0;
        if (read == LineRead::TooLong || !ParseScriptLine(line, command, error) ||
            !CommandAllowed(session, command, error)) {
            status = 2;  // a malformed line, or one beyond the language's limits
        } else if (!RunCommand(session, command, output, error)) {
            status = 1;
        }
        if (status != 0) {
            err << "tumble-sim: line " << number << ": " << error << ": " << QuoteScriptLine(line)
                << '\n';
            return status;
        }
    }
}
