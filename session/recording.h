#pragma once

// A session written down as a script while it runs: what the user did, in
// the script's own commands, and the passes between, each run of stepped or
// paused passes as one `step N` or `idle N`. Lines gather in memory and go
// to the file when the caller flushes (the window does so at least once a
// second, and on every way out), so a crash loses at most the last second.

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <string>
#include <string_view>

#include "session/script.h"

struct Recording {
    std::FILE* file = nullptr;  // null: nothing is being recorded
    std::string path;
    std::string pending;  // whole lines not yet written to the file
    // The passes since the last command, not yet written: step or idle.
    CommandKind runKind = CommandKind::None;
    int64_t runPasses = 0;
    // The mouse as the script has it so far; a script starts at (0, 0).
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    uint32_t lastFlush = 0;  // the clock when the lines last went to the file
    bool failed = false;     // a write failed and the recording stopped
};

// The comment lines a recording opens with: the program and its version, the
// time it was made, and how to replay it.
std::string RecordingHeader(std::string_view version, std::time_t made, std::string_view path);

// Creates (or empties) the file and writes `header` to it at once. False,
// with the system's reason in `error`, when the file cannot be written.
bool StartRecording(Recording& recording, const std::string& path, const std::string& header,
                    std::string& error);

bool IsRecording(const Recording& recording);

// Notes a command that changes the scene. A mouse command is noted only when
// the mouse moved since the last one; step and idle are for RecordPass; dump,
// hash and shot are not noted. Does nothing while not recording.
void RecordCommand(Recording& recording, const ScriptCommand& command);

// Notes that the mouse is at (x, y), as a mouse command when it moved.
void RecordMouse(Recording& recording, int32_t x, int32_t y);

// Notes one pass, stepped or paused.
void RecordPass(Recording& recording, bool stepped);

// Writes every line noted so far, the passes of the current run included.
// On a write failure says why in `error`, closes the file and stops the
// recording; what was written stays.
bool FlushRecording(Recording& recording, std::string& error);

// Flushes and closes the file. False as FlushRecording, or when closing
// fails.
bool StopRecording(Recording& recording, std::string& error);
