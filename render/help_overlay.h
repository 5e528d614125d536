#pragma once

#include "platform/services.h"

// Every key and what it does, in a dark panel over the middle of the frame.
void DrawHelpOverlay(Services& services);
