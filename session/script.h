#pragma once

// The script language of tumble-sim and of tumble's recordings: one command
// a line, tokens separated by spaces, every number a decimal integer; blank
// lines and lines starting with # are left out. The commands themselves,
// their arguments, ranges and help lines are the rows of one table
// (session/commands.h); this reader and this writer follow it, and both
// programs read and write scripts only through them.

#include <cstdint>
#include <fstream>
#include <iosfwd>
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
    Back,
    Figures,
    Trace,
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
    int64_t count = 0;           // a number: step, idle, radius, back
    View view = View::Outlines;  // view
    std::string file;            // shot, figures
    bool on = false;             // a switch: soft, gravity, rest
    Shape shape = Shape::Box40;  // shape, choose
};

// Parses one line. On a malformed line returns false and says why in `error`
// (without the line number, which the caller knows).
bool ParseScriptLine(std::string_view line, ScriptCommand& command, std::string& error);

// The plain form of a command, as a recording writes it: the name and its
// arguments, one space apart, without the newline. A None command is "".
std::string FormatScriptLine(const ScriptCommand& command);

// No line of a script is longer than this (the newline not counted): the
// language needs a few dozen characters, and a stream with no newline (a
// device, a pipe, a binary file) is refused after this much instead of being
// read into memory whole.
constexpr size_t kMaxScriptLine = 4096;

enum class LineRead {
    Line,     // a line, its newline taken off (the last one may have none)
    End,      // nothing left
    TooLong,  // more than kMaxScriptLine characters before a newline
};

// The one way a script is read: the next line of `in`, into `line`. Reads at
// most kMaxScriptLine + 1 characters of a line; after TooLong, `line` holds
// its first kMaxScriptLine.
LineRead ReadScriptLine(std::istream& in, std::string& line);

// "longer than 4096 characters", as an error names a line that is too long.
std::string TooLongReason();

// The offending line as an error message shows it: at most about 80
// characters, an ellipsis after a longer one; a line holding a NUL or another
// control byte is named as such, never printed raw.
std::string QuoteScriptLine(std::string_view line);

// Where a script went wrong: its line number counted from 1, why, and the
// line as an error message quotes it.
struct ScriptError {
    int64_t line = 0;
    std::string reason;
    std::string text;
};

// Opens the script file at `path` for ReadScriptLine. False, with the
// system's reason in `reason`, when it cannot be read: missing, unreadable,
// or a folder (which opens but reads as nothing).
bool OpenScriptFile(std::ifstream& file, const std::string& path, std::string& reason);

// Reads a whole script: every command in order, blank lines and comments
// left out. False at the first malformed or too long line, with `error`
// saying which; `commands` then holds nothing.
bool ReadScript(std::istream& in, std::vector<ScriptCommand>& commands, ScriptError& error);
bool ReadScript(std::string_view text, std::vector<ScriptCommand>& commands, ScriptError& error);
