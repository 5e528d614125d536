// What the one script reader does with input nobody meant to give: endless
// streams, lines far too long, NUL and other control bytes, and commands
// beyond the language's limits.

#include <gtest/gtest.h>

#include <sstream>
#include <streambuf>
#include <string>

#include "lighting/light.h"
#include "session/script.h"
#include "session/session.h"

namespace {

// A stream with no end and no newline, as /dev/zero or a runaway pipe is:
// it counts what it hands out.
class EndlessBytes : public std::streambuf {
   public:
    explicit EndlessBytes(char byte) : byte_(byte) {}
    int64_t handedOut = 0;

   protected:
    int_type underflow() override {
        setg(&byte_, &byte_, &byte_ + 1);
        return traits_type::to_int_type(byte_);
    }
    int_type uflow() override {
        ++handedOut;
        return traits_type::to_int_type(byte_);
    }

   private:
    char byte_;
};

struct Outcome {
    int status;
    std::string err;
};

Outcome RunOn(std::istream& script) {
    Session session;
    StartSession(session);
    std::ostringstream out;
    std::ostringstream err;
    const int status = RunScript(session, script, out, err, nullptr);
    return {status, err.str()};
}

TEST(ScriptReader, AnEndlessStreamIsRefusedAfterOneLinesWorth) {
    EndlessBytes zeros('\0');
    std::istream endless(&zeros);
    const Outcome run = RunOn(endless);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err,
              "tumble-sim: line 1: longer than 4096 characters: (a line holding a NUL byte)\n");
    EXPECT_LE(zeros.handedOut, static_cast<int64_t>(kMaxScriptLine) + 1);

    EndlessBytes letters('x');
    std::istream alsoEndless(&letters);
    std::vector<ScriptCommand> commands;
    ScriptError error;
    EXPECT_FALSE(ReadScript(alsoEndless, commands, error));
    EXPECT_EQ(error.line, 1);
    EXPECT_EQ(error.reason, "longer than 4096 characters");
    EXPECT_LE(letters.handedOut, static_cast<int64_t>(kMaxScriptLine) + 1);
}

TEST(ScriptReader, ALineOfExactlyTheLimitIsReadAndOneMoreIsNot) {
    const std::string padding(kMaxScriptLine - std::string("box 1 2").size(), ' ');
    std::istringstream atLimit("box 1 2" + padding + "\nstep 1\n");
    EXPECT_EQ(RunOn(atLimit).status, 0);
    std::istringstream overLimit("box 1 2" + padding + " \nstep 1\n");
    const Outcome run = RunOn(overLimit);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("tumble-sim: line 1: longer than 4096 characters: box 1 2 ", 0), 0u)
        << run.err;
}

TEST(ScriptReader, ErrorsQuoteAShortPieceOfTheLineAndNeverItsControlBytes) {
    const std::string longName = "unknown" + std::string(3000, 'x');
    std::istringstream script("box 1 1\n" + longName + "\n");
    const Outcome run = RunOn(script);
    EXPECT_EQ(run.status, 2);
    EXPECT_LT(run.err.size(), 3000u + 200u);  // the reason names the token; the quote is short
    EXPECT_NE(run.err.find(": " + longName.substr(0, 80) + "…\n"), std::string::npos);

    EXPECT_EQ(QuoteScriptLine(std::string("box 1\0 2", 8)), "(a line holding a NUL byte)");
    EXPECT_EQ(QuoteScriptLine("step \x07"), "(a line holding a control byte)");
    EXPECT_EQ(QuoteScriptLine("box 1 2\r"), "box 1 2\r");  // a Windows line end is no fault
    // An ellipsis never cuts a character in two.
    const std::string accents = std::string(79, 'a') + "é" + std::string(10, 'b');
    EXPECT_EQ(QuoteScriptLine(accents), std::string(79, 'a') + "…");
}

TEST(ScriptReader, ANinthDroppedLightIsAnErrorNamingItsLine) {
    std::string text;
    for (int32_t i = 0; i < kMaxDroppedLights; ++i) {
        text += "light " + std::to_string(50 + 60 * i) + " 100\n";
    }
    std::istringstream eight(text + "dump\n");
    EXPECT_EQ(RunOn(eight).status, 0);
    std::istringstream nine(text + "light 600 400\nstep 1\n");
    const Outcome run = RunOn(nine);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "tumble-sim: line 9: at most 8 lights besides the mouse's: light 600 400\n");
    // One taken away makes room again.
    std::istringstream again(text + "unlight\nlight 600 400\n");
    EXPECT_EQ(RunOn(again).status, 0);
}

}  // namespace
