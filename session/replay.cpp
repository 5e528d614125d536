#include "session/replay.h"

bool LoadReplay(Replay& replay, const std::string& path, std::string& error) {
    replay = Replay{};
    std::ifstream file;
    std::string reason;
    if (!OpenScriptFile(file, path, reason)) {
        error = "cannot read " + path + ": " + reason;
        return false;
    }
    ScriptError bad;
    if (!ReadScript(file, replay.commands, bad)) {
        error = path + ": line " + std::to_string(bad.line) + ": " + bad.reason + ": " + bad.text;
        return false;
    }
    return true;
}

bool IsReplaying(const Replay& replay) {
    return ReplayHasPass(replay) || replay.next < replay.commands.size();
}

bool ReplayHasPass(const Replay& replay) {
    return replay.passesLeft > 0;
}

bool TakeReplayPass(Replay& replay) {
    --replay.passesLeft;
    return replay.passKind == CommandKind::Step;
}

const ScriptCommand* TakeReplayCommand(Replay& replay) {
    while (!ReplayHasPass(replay) && replay.next < replay.commands.size()) {
        const ScriptCommand& command = replay.commands[replay.next++];
        if (command.kind != CommandKind::Step && command.kind != CommandKind::Idle) {
            return &command;
        }
        replay.passKind = command.kind;
        replay.passesLeft = command.count;
    }
    return nullptr;
}
