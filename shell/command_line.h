#pragma once

// tumble's command line: what it asks for, read without touching the display,
// and the answers to --help and --version.

#include <cstdio>
#include <string>

struct CommandLine {
    enum class Action {
        Run,      // open the window: no options, or only options that change the run
        Help,     // print the usage on standard output
        Version,  // print "tumble VERSION" on standard output
        Error,    // print `error` and the usage on standard error, exit 2
    };
    Action action = Action::Run;
    // Why the command line cannot be used, for Action::Error: one line
    // without the program's name, e.g. "unknown option '--x'".
    std::string error;
    std::string replay;  // --replay FILE: play this script first
    std::string record;  // --record FILE: write the session to this file
};

// Reads argv[1] .. argv[argc - 1] (shell/option_reader.h has the forms an
// option may take). tumble takes no arguments other than options. An error
// wins over --help and --version, and --help over --version.
CommandLine ParseCommandLine(int argc, const char* const* argv);

// The usage: the synopsis, every option and every key of the window.
std::string UsageText();

// The program's name and version, "tumble 0.9.0".
std::string VersionText();

// Answers a command line whose action is not Run: the usage or the version on
// `out`, or the error and the usage on `err`. Returns the exit status: 0, 2
// for a command line in error, or 1 when the answer could not be written.
// A command line to run gets no answer (status 0, nothing written).
int AnswerCommandLine(const CommandLine& line, std::FILE* out, std::FILE* err);
