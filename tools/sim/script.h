#pragma once

// The tumble-sim script language: one command a line, tokens separated by
// spaces, every number a decimal integer.
//
//   box X Y      what a Space release with the mouse at (X, Y) does
//   mouse X Y    the mouse moves to (X, Y); the light follows after each pass
//   step N       N passes of the world update
//   idle N       N passes as a paused window runs them: no step
//   reset        what R does: the world as at start-up
//   grab         the left button pressed at the mouse
//   release      the left button released
//   freeze       the light stays where it is
//   follow       the light follows the mouse again
//   view V       the view shot draws: outlines, roles or study
//   dump         one line of JSON with the state of the world
//   hash         one line: a 64-bit hash of the state of the world
//   shot FILE    the frame the window would show now, written as a PNG
//
// Blank lines and lines starting with # are ignored.

#include <cstdint>
#include <string>
#include <string_view>

#include "shell/play.h"

// Coordinates beyond this are refused: boxes may be dropped outside the
// screen (the walls bring them back), but not at absurd distances.
constexpr int64_t kMaxScriptCoordinate = 1000000;

enum class CommandKind {
    None,
    Box,
    Mouse,
    Step,
    Idle,
    Reset,
    Grab,
    Release,
    Freeze,
    Follow,
    View,
    Dump,
    Hash,
    Shot,
};

struct ScriptCommand {
    CommandKind kind = CommandKind::None;  // None: a blank or comment line
    int32_t x = 0;                         // box, mouse
    int32_t y = 0;
    int64_t passes = 0;         // step, idle
    View view = View::Outlines; // view
    std::string file;           // shot
};

// Parses one line. On a malformed line returns false and says why in `error`
// (without the line number, which the caller knows).
bool ParseScriptLine(std::string_view line, ScriptCommand& command, std::string& error);
