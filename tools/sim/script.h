#pragma once

// The tumble-sim script language: one command a line, tokens separated by
// spaces, every number a decimal integer.
//
//   box X Y      what a Space release with the mouse at (X, Y) does
//   mouse X Y    the mouse moves to (X, Y); the light follows after each pass
//   step N       N passes of the world update
//   dump         one line of JSON with the state of the world
//   shot FILE    the frame the window would show now, written as a PNG
//
// Blank lines and lines starting with # are ignored.

#include <cstdint>
#include <string>
#include <string_view>

// Coordinates beyond this are refused: boxes may be dropped outside the
// screen (the walls bring them back), but not at absurd distances.
constexpr int64_t kMaxScriptCoordinate = 1000000;

enum class CommandKind { None, Box, Mouse, Step, Dump, Shot };

struct ScriptCommand {
    CommandKind kind = CommandKind::None;  // None: a blank or comment line
    int32_t x = 0;                         // box, mouse
    int32_t y = 0;
    int64_t passes = 0;  // step
    std::string file;    // shot
};

// Parses one line. On a malformed line returns false and says why in `error`
// (without the line number, which the caller knows).
bool ParseScriptLine(std::string_view line, ScriptCommand& command, std::string& error);
