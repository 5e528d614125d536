#pragma once

// A script played back in the window: its commands run between the passes,
// and each of its step and idle passes takes one pass of the window.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "session/script.h"

struct Replay {
    std::vector<ScriptCommand> commands;
    std::size_t next = 0;  // the first command not yet taken
    // The passes of the step or idle command being played.
    CommandKind passKind = CommandKind::None;
    int64_t passesLeft = 0;
};

// Reads and checks the whole script at `path` before anything plays. False
// when it cannot be read or a line is malformed, with `error` saying so as
// "cannot read FILE: <reason>" or "FILE: line N: <reason>: <line>".
bool LoadReplay(Replay& replay, const std::string& path, std::string& error);

// Whether anything of the script is left: a pass or a command.
bool IsReplaying(const Replay& replay);

// Whether the next pass belongs to the script.
bool ReplayHasPass(const Replay& replay);

// Takes the next of the script's passes: true when it steps, false for an
// idle one. Only when ReplayHasPass.
bool TakeReplayPass(Replay& replay);

// The next command to run before the script's next pass: null when a pass is
// due or the script has ended. A step or idle command met on the way becomes
// the passes due.
const ScriptCommand* TakeReplayCommand(Replay& replay);
