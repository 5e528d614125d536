#pragma once

#include <string>

#include "shell/app.h"
#include "shell/services.h"

// Start-up after the services have started: the window and its screen, the
// world (the world body and the four walls), the shadow texture and the one
// light with its gradient. False, with the reason in `error`, when the window
// or the screen cannot be opened; nothing else is checked.
bool StartProgram(App& app, Services& services, std::string& error);

// Sprite 0, one pixel of colour (1, 1, 1), and textured quad 0 made from it:
// the near-black fill of the shadow triangles. Black itself would be
// transparent, so the black that cuts shadows out of a light's own layer is
// textured quad 1, a plain fill.
void CreateShadowTexture(Services& services);
