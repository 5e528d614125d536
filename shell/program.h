#pragma once

#include <cstdio>
#include <string>

#include "platform/services.h"
#include "shell/app.h"

// The files a session reads and writes; empty names none.
struct SessionFiles {
    std::string replay;  // a script to play in the window first
    std::string record;  // where the session is written as a script
};

// The whole program on the given services: the replay read and checked, the
// recording created, start-up, the main loop until Escape, the close box or
// a stop signal, and shutdown. Returns the exit status after saying why on
// `err`: 2 for a replay that cannot be read or has a malformed line, 1 for a
// recording that cannot be created or could not all be written, or when no
// window can be had (no display, or a window or a screen that cannot be
// made); 0 otherwise. The replay and the recording are dealt with before
// the window opens.
int RunProgram(Services& services, ScreenKind kind, InputSource& input, std::FILE* err,
               const SessionFiles& files = {});

// RunProgram in two halves, for a host that runs the passes itself (the
// browser, one pass per animation frame). OpenProgram does everything before
// the main loop: kProgramOpen when the loop may run, else RunProgram's exit
// status, everything already closed. CloseProgram does everything after.
constexpr int kProgramOpen = -1;
int OpenProgram(App& app, Services& services, ScreenKind kind, InputSource& input, std::FILE* err,
                const SessionFiles& files);
int CloseProgram(App& app, Services& services, std::FILE* err);
