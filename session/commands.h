#pragma once

// The script language as one table: each command's name, its arguments and
// their range, its help line and what it does to a session. The reader and
// the writer (session/script.h), tumble-sim's --help, the README's check and
// the fuzz target all read this table; adding a command is one row and its
// action.

#include <cstdint>
#include <span>
#include <string>

#include "session/script.h"
#include "session/session.h"

// The shapes of a command's arguments.
enum class Arguments {
    None,        // reset
    Point,       // box X Y: two whole numbers within ±min … max
    Shape,       // choose NAME: a shape's name (world/shapes.h)
    ShapePoint,  // shape NAME X Y: a shape's name and a Point
    Count,       // step N: one whole number within min … max
    Switch,      // soft on|off
    View,        // view outlines|roles|study
    File,        // shot FILE
};

// What a command does to the session; false, saying why in `error`, when it
// fails (a shot that cannot be written). The window runs step and idle one
// pass a frame instead of through their action.
using CommandAction = bool (*)(Session& session, const ScriptCommand& command,
                               const SessionOutput& output, std::string& error);

// Whether the session can take the command: false, saying why in `why`, for
// one beyond the language's limits (a ninth dropped light). A script stops
// at such a line; the window shows why and leaves the scene as it is.
using CommandCheck = bool (*)(const Session& session, const ScriptCommand& command,
                              std::string& why);

struct CommandRow {
    const char* name;
    CommandKind kind;
    Arguments arguments;
    const char* argumentText;  // the arguments as the usage names them ("X Y")
    int64_t min;               // the range of a Count, or of each coordinate of a Point
    int64_t max;
    const char* help;
    CommandAction action;
    CommandCheck check = nullptr;  // none: every well-formed command is taken
};

// Every command, in the order the help lists them.
std::span<const CommandRow> CommandTable();

// The row of a command by name; null for a name no command has.
const CommandRow* FindCommand(std::string_view name);

// The row of a kind; null for None.
const CommandRow* CommandRowOf(CommandKind kind);

// "box X Y", as the usage and an error message show a command.
std::string CommandUsage(const CommandRow& row);

// The row's check: true for a command every session takes.
bool CommandAllowed(const Session& session, const ScriptCommand& command, std::string& why);


// Whether a command is one of the inputs of the next pass in the session's
// history: every command that changes the scene.
bool NotedInHistory(CommandKind kind);

// Runs the command's action on the session when it is allowed, noting it in
// the history when it changes the scene; true for None.
bool RunCommand(Session& session, const ScriptCommand& command, const SessionOutput& output,
                std::string& error);

// Coordinates beyond this are refused: boxes may be dropped outside the
// screen (the walls bring them back), but not at absurd distances.
constexpr int64_t kMaxScriptCoordinate = 1000000;
