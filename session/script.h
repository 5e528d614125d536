#pragma once

// The script language of tumble-sim and of tumble's recordings: one command
// a line, tokens separated by spaces, every number a decimal integer; blank
// lines and lines starting with # are left out. The commands themselves,
// their arguments, ranges and help lines are the rows of one table
// (session/commands.h); this reader and this writer follow it, and both
// programs read and write scripts only through them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "session/play.h"
#include "world/shapes.h"

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
    Light,
    Unlight,
    Colour,
    Radius,
    Soft,
    Gravity,
    Rest,
    Shape,
    Choose,
    Pin,
};

// One command with its arguments; which fields it uses, its row says.
struct ScriptCommand {
    CommandKind kind = CommandKind::None;  // None: a blank or comment line
    int32_t x = 0;                         // a point: box, mouse, light, shape
    int32_t y = 0;
    int64_t count = 0;           // a number: step, idle, radius
    View view = View::Outlines;  // view
    std::string file;            // shot
    bool on = false;             // a switch: soft, gravity, rest
    Shape shape = Shape::Box40;  // shape, choose
};

// Parses one line. On a malformed line returns false and says why in `error`
// (without the line number, which the caller knows).
bool ParseScriptLine(std::string_view line, ScriptCommand& command, std::string& error);

// The plain form of a command, as a recording writes it: the name and its
// arguments, one space apart, without the newline. A None command is "".
std::string FormatScriptLine(const ScriptCommand& command);

// Where a script went wrong: its line number counted from 1, why, and the
// line as it stands.
struct ScriptError {
    int64_t line = 0;
    std::string reason;
    std::string text;
};

// Reads a whole script held in `text`: every command in order, blank lines
// and comments left out. False at the first malformed line, with `error`
// saying which; `commands` then holds nothing.
bool ReadScript(std::string_view text, std::vector<ScriptCommand>& commands, ScriptError& error);
