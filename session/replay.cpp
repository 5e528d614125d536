#include "session/replay.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// The whole file; false with the system's reason when it cannot be read (a
// folder, say, opens but does not read).
bool ReadWholeFile(const std::string& path, std::string& text, std::string& reason) {
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         std::fclose);
    if (file == nullptr) {
        reason = std::strerror(errno);
        return false;
    }
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        text.append(buffer, got);
    }
    if (std::ferror(file.get()) != 0) {
        reason = errno != 0 ? std::strerror(errno) : "read error";
        return false;
    }
    return true;
}

}  // namespace

bool LoadReplay(Replay& replay, const std::string& path, std::string& error) {
    replay = Replay{};
    std::string text;
    std::string reason;
    if (!ReadWholeFile(path, text, reason)) {
        error = "cannot read " + path + ": " + reason;
        return false;
    }
    ScriptError bad;
    if (!ReadScript(text, replay.commands, bad)) {
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
