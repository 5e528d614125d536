#pragma once

// Every key of the window and what it does: the help overlay lists them, and
// so does `tumble --help`.

struct KeyHelp {
    const char* key;
    const char* action;
};

inline constexpr KeyHelp kKeyHelp[] = {
    {"Space", "drop a box at the mouse (on release)"},
    {"mouse", "move the mouse's light and the marker"},
    {"left button", "drag a box"},
    {"P", "pause and resume"},
    {"O", "one step, while paused"},
    {"R", "restart with an empty world"},
    {"D", "view: outlines, roles, study"},
    {"F", "freeze the light, or let it follow"},
    {"L", "drop a coloured light at the mouse"},
    {"Backspace", "remove the last light dropped"},
    {"C", "next colour for the mouse's light"},
    {"- and =", "shrink or grow the mouse's light"},
    {"S", "soft shadows on or off"},
    {"H or F1", "show or hide the key help"},
    {"F12", "save the frame as a PNG"},
    {"Escape", "quit (so does the close box)"},
};
