// Fuzz target of the script reader that tumble-sim and tumble's replays
// share: any bytes, run as a script, and read whole as a replay reads it.
// A malformed line must stop the run with status 2 and a message naming that
// line; the lines before it run, none after it; nothing may crash, and the
// world must stay finite, whatever grabs, drags, releases and resets it holds. Each line the reader
// accepts must mean what it says.
//
// Built with libFuzzer under clang (the fuzz preset); elsewhere replay_main.cpp
// runs the corpus through it as an ordinary test.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "lighting/light.h"
#include "session/commands.h"
#include "session/session.h"

namespace {

// Scripts that would run longer than this are valid but slow, not the
// reader's business: the fuzzer skips them. Measured in passes times boxes.
constexpr int64_t kMaxWork = 5000;
constexpr int64_t kMaxPasses = 500;

void Require(bool holds, const char* what, const std::string& detail) {
    if (!holds) {
        std::fprintf(stderr, "script fuzz: %s: %s\n", what, detail.c_str());
        std::abort();
    }
}

bool SameCommand(const ScriptCommand& a, const ScriptCommand& b) {
    return a.kind == b.kind && a.x == b.x && a.y == b.y && a.count == b.count && a.view == b.view &&
           a.file == b.file && a.on == b.on && a.shape == b.shape;
}

// What a line the reader accepted must hold, and that its command reads the
// same when the recordings' writer writes it out.
void CheckAccepted(const ScriptCommand& c, const std::string& line) {
    if (c.kind == CommandKind::None) {
        return;  // a blank line or a comment
    }
    // Every number within the range its row of the command table gives.
    const CommandRow* row = CommandRowOf(c.kind);
    const auto within = [row](int64_t value) { return value >= row->min && value <= row->max; };
    const bool point =
        row->arguments == Arguments::Point || row->arguments == Arguments::ShapePoint;
    Require(!point || (within(c.x) && within(c.y)),
            "a point beyond the coordinate limit was accepted", line);
    Require(row->arguments != Arguments::Count || within(c.count),
            "a number out of its range was accepted", line);
    if (c.kind == CommandKind::Shot) {
        Require(!c.file.empty() && c.file.find(' ') == c.file.npos,
                "a shot without a plain file name was accepted", line);
        return;  // a name may end in a carriage return, which the plain form would lose
    }
    ScriptCommand again;
    std::string error;
    Require(ParseScriptLine(FormatScriptLine(c), again, error) && SameCommand(c, again),
            "the written form of an accepted line reads differently", line);
}

// What running the script must give, found by reading it line by line.
struct Expected {
    int status = 0;
    int64_t stopLine = 0;  // the line that stops the run, with its message
    std::string message;
    int64_t dumps = 0;  // dump and hash lines that run: one output line each
    int64_t work = 0;
};

Expected ReadAhead(const std::string& text) {
    Expected e;
    std::istringstream in(text);
    std::string line;
    int64_t boxes = 0;
    int64_t passes = 0;
    int64_t lights = 0;  // dropped ones; a restart keeps them
    int64_t at = 0;      // the pass the session is at: back moves it, never past 0
    LineRead read = LineRead::Line;
    for (int64_t number = 1; (read = ReadScriptLine(in, line)) != LineRead::End; ++number) {
        Require(line.size() <= kMaxScriptLine, "the reader kept more than a line", "");
        if (read == LineRead::TooLong) {
            e = {2, number, TooLongReason() + ": " + QuoteScriptLine(line), e.dumps, e.work};
            return e;
        }
        ScriptCommand command;
        std::string error;
        const bool ok = ParseScriptLine(line, command, error);
        Require(ok == error.empty(), "the reader's verdict and its message disagree", line);
        if (!ok) {
            e = {2, number, error + ": " + QuoteScriptLine(line), e.dumps, e.work};
            return e;
        }
        if (command.kind == CommandKind::Light && lights < 0) {
            e.work = kMaxWork + 1;  // lights after going back: more than this model follows
            return e;
        }
        if (command.kind == CommandKind::Light && lights == kMaxDroppedLights) {
            e = {2, number, "at most 8 lights besides the mouse's: " + QuoteScriptLine(line),
                 e.dumps, e.work};
            return e;
        }
        if (lights >= 0) {
            lights += (command.kind == CommandKind::Light) -
                      (command.kind == CommandKind::Unlight && lights > 0);
        }
        CheckAccepted(command, line);
        boxes += command.kind == CommandKind::Box || command.kind == CommandKind::Shape;
        if (command.kind == CommandKind::Reset) {
            boxes = 0;
        }
        if (command.kind == CommandKind::Figures) {
            e.work = kMaxWork + 1;  // writes a file: not the reader's business
            return e;
        }
        if (command.kind == CommandKind::Back) {
            if (command.count > at) {
                e = {1, number,
                     "cannot go back " + std::to_string(command.count) +
                         " passes: the history holds " + std::to_string(at) + ": " +
                         QuoteScriptLine(line),
                     e.dumps, e.work};
                return e;
            }
            at -= command.count;
            lights = -1;  // the lights are those of the pass gone back to
        }
        if (command.kind == CommandKind::Step || command.kind == CommandKind::Idle) {
            at += command.count;
            passes += command.count;
            e.work += command.count * (boxes + 1);
            if (passes > kMaxPasses || e.work > kMaxWork) {
                e.work = kMaxWork + 1;
                return e;
            }
        }
        e.dumps += command.kind == CommandKind::Dump || command.kind == CommandKind::Hash ||
                   command.kind == CommandKind::Trace;
        if (command.kind == CommandKind::Shot) {
            e = {1, number,
                 "this build of tumble-sim cannot render pictures: " + QuoteScriptLine(line),
                 e.dumps, e.work};
            return e;
        }
    }
    return e;
}

// A replay reads the whole script first: it must take the same commands the
// line-by-line run takes, or stop at the same first malformed line.
void CheckWholeRead(const std::string& text) {
    std::vector<ScriptCommand> expected;
    ScriptError firstError;
    std::istringstream in(text);
    std::string line;
    LineRead read = LineRead::Line;
    for (int64_t number = 1; (read = ReadScriptLine(in, line)) != LineRead::End; ++number) {
        ScriptCommand command;
        std::string reason = TooLongReason();
        if (read == LineRead::TooLong || !ParseScriptLine(line, command, reason)) {
            firstError = {number, reason, QuoteScriptLine(line)};
            expected.clear();
            break;
        }
        if (command.kind != CommandKind::None) {
            expected.push_back(command);
        }
    }
    std::vector<ScriptCommand> commands;
    ScriptError error;
    const bool ok = ReadScript(text, commands, error);
    Require(ok == (firstError.line == 0), "the whole read and the line reader disagree", text);
    Require(error.line == firstError.line && error.reason == firstError.reason &&
                error.text == firstError.text,
            "the whole read names another malformed line", error.text);
    Require(commands.size() == expected.size() &&
                std::equal(commands.begin(), commands.end(), expected.begin(), SameCommand),
            "the whole read took other commands", text);
}

int64_t CountLines(const std::string& text) {
    int64_t count = 0;
    for (char c : text) {
        count += c == '\n';
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    CheckWholeRead(text);
    const Expected expected = ReadAhead(text);
    if (expected.work > kMaxWork) {
        return -1;  // keep it out of the corpus
    }
    Session sim;
    StartSession(sim);
    std::istringstream script(text);
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunScript(sim, script, out, err, nullptr);

    Require(status == expected.status, "unexpected exit status",
            std::to_string(status) + " instead of " + std::to_string(expected.status));
    const std::string message = expected.status == 0
                                    ? ""
                                    : "tumble-sim: line " + std::to_string(expected.stopLine) +
                                          ": " + expected.message + "\n";
    Require(err.str() == message, "unexpected message", err.str() + " instead of " + message);
    Require(CountLines(out.str()) == expected.dumps, "dumps ran past the stop or went missing",
            out.str());
    // JSON has no NaN or infinity: the dump writes them as null.
    Require(out.str().find("null") == std::string::npos,
            "the world holds a number that is not finite", out.str());
    return 0;
}
