#pragma once

#include <cstdio>

#include "shell/services.h"

// The whole program on the given services: start-up, the main loop until
// Escape, the close box or a stop signal, and shutdown. Returns the exit
// status: 0, or 1 when no window can be had (no display, or a window or a
// screen that cannot be made), after saying why on `err`.
int RunProgram(Services& services, ScreenKind kind, InputSource& input, std::FILE* err);
