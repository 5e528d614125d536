#include "session/recording.h"

#include <cerrno>
#include <cstring>

namespace {

void AppendLine(Recording& recording, const ScriptCommand& command) {
    recording.pending += FormatScriptLine(command);
    recording.pending += '\n';
}

// Writes the run of passes noted so far as one step or idle line.
void EndRun(Recording& recording) {
    if (recording.runPasses == 0) {
        return;
    }
    ScriptCommand run;
    run.kind = recording.runKind;
    run.count = recording.runPasses;
    AppendLine(recording, run);
    recording.runKind = CommandKind::None;
    recording.runPasses = 0;
}

std::string SystemReason(int cause) {
    return cause != 0 ? std::strerror(cause) : "write error";
}

}  // namespace

std::string RecordingHeader(std::string_view version, std::time_t made, std::string_view path) {
    std::tm utc{};
    gmtime_r(&made, &utc);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M:%S UTC", &utc);
    const std::string file(path);
    return "# tumble " + std::string(version) + " recording, made " + when + "\n" +
           "# replay it in the window: tumble --replay " + file + "\n" +
           "# or without one:          tumble-sim " + file + "\n";
}

bool StartRecording(Recording& recording, const std::string& path, const std::string& header,
                    std::string& error) {
    recording = Recording{};
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) {
        error = SystemReason(errno);
        return false;
    }
    recording.file = file;
    recording.path = path;
    recording.pending = header;
    return FlushRecording(recording, error);
}

bool IsRecording(const Recording& recording) {
    return recording.file != nullptr;
}

void RecordCommand(Recording& recording, const ScriptCommand& command) {
    if (!IsRecording(recording)) {
        return;
    }
    switch (command.kind) {
        case CommandKind::Mouse:
            RecordMouse(recording, command.x, command.y);
            return;
        case CommandKind::Step:
        case CommandKind::Idle:  // passes are noted one by one, by RecordPass
        case CommandKind::None:
        case CommandKind::Dump:  // what a session printed or drew is not part of it
        case CommandKind::Hash:
        case CommandKind::Shot:
        case CommandKind::Figures:
        case CommandKind::Trace:
            return;
        default:
            EndRun(recording);
            AppendLine(recording, command);
            return;
    }
}

void RecordMouse(Recording& recording, int32_t x, int32_t y) {
    if (!IsRecording(recording) || (x == recording.mouseX && y == recording.mouseY)) {
        return;
    }
    EndRun(recording);
    recording.mouseX = x;
    recording.mouseY = y;
    ScriptCommand mouse;
    mouse.kind = CommandKind::Mouse;
    mouse.x = x;
    mouse.y = y;
    AppendLine(recording, mouse);
}

void RecordPass(Recording& recording, bool stepped) {
    if (!IsRecording(recording)) {
        return;
    }
    const CommandKind kind = stepped ? CommandKind::Step : CommandKind::Idle;
    // A run ends where the other kind begins, and before its count would
    // leave the range a script line may hold.
    if (recording.runKind != kind || recording.runPasses == INT32_MAX) {
        EndRun(recording);
        recording.runKind = kind;
    }
    ++recording.runPasses;
}

bool FlushRecording(Recording& recording, std::string& error) {
    if (!IsRecording(recording)) {
        return true;
    }
    EndRun(recording);
    errno = 0;
    const bool written = std::fwrite(recording.pending.data(), 1, recording.pending.size(),
                                     recording.file) == recording.pending.size() &&
                         std::fflush(recording.file) == 0;
    recording.pending.clear();
    if (written) {
        return true;
    }
    error = SystemReason(errno);
    std::fclose(recording.file);
    recording.file = nullptr;
    recording.failed = true;
    return false;
}

bool StopRecording(Recording& recording, std::string& error) {
    if (!IsRecording(recording)) {
        return true;
    }
    if (!FlushRecording(recording, error)) {
        return false;
    }
    errno = 0;
    const bool closed = std::fclose(recording.file) == 0;
    recording.file = nullptr;
    if (!closed) {
        error = SystemReason(errno);
        recording.failed = true;
    }
    return closed;
}
