#pragma once

#include <string>

#include "platform/services.h"
#include "shell/app.h"

// Start-up after the services have started: the window and its screen, the
// world (the world body and the four walls), the shadow texture and the one
// light with its gradient. False, with the reason in `error`, when the window
// or the screen cannot be opened; nothing else is checked.
bool StartProgram(App& app, Services& services, std::string& error);
