#pragma once

// The script language of tumble-sim and of tumble's recordings: one command
// a line, tokens separated by spaces, every number a decimal integer. Both
// programs read scripts with this reader and tumble writes them with this
// writer.
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
//   light X Y    what L does with the mouse at (X, Y): a fixed light dropped there
//   unlight      what Backspace does: the last light dropped is removed
//   colour       what C does: the mouse's light takes the next colour
//   radius R     what - and = do: the mouse's light's radius becomes R (100 to 1000)
//   soft on      what S does: soft shadows on (soft off: hard shadows again)
//   dump         one line of JSON with the state of the world
//   hash         one line: a 64-bit hash of the state of the world
//   shot FILE    the frame the window would show now, written as a PNG
//
// Blank lines and lines starting with # are ignored.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lighting/light.h"
#include "session/play.h"

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
    Light,
    Unlight,
    Colour,
    Radius,
    Soft,
};

struct ScriptCommand {
    CommandKind kind = CommandKind::None;  // None: a blank or comment line
    int32_t x = 0;                         // box, mouse, light
    int32_t y = 0;
    int64_t passes = 0;          // step, idle
    View view = View::Outlines;  // view
    std::string file;            // shot
    int32_t radius = 0;          // radius
    bool on = false;             // soft
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
