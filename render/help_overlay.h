#pragma once

#include <span>

#include "platform/services.h"

// One line of the key help: the key as the help names it, and what it does.
struct HelpLine {
    const char* key;
    const char* action;
};

// The lines, each a key and what it does, in a dark panel over the middle of
// the frame.
void DrawHelpOverlay(std::span<const HelpLine> lines, Services& services);
