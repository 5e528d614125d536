// The command line of tumble: the option reader over a table (with an option
// that takes a value, as the run options will), tumble's own options, the
// answers to them, and the real programs asked for their help and version.

#include "shell/command_line.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "shell/option_reader.h"

namespace {

// An argv from a list, with the program's name in front.
class Args {
   public:
    Args(std::initializer_list<const char*> args) {
        pointers_.push_back("tumble");
        pointers_.insert(pointers_.end(), args.begin(), args.end());
    }
    int argc() const { return static_cast<int>(pointers_.size()); }
    const char* const* argv() const { return pointers_.data(); }

   private:
    std::vector<const char*> pointers_;
};

struct Seen {
    int verbose = 0;
    std::vector<std::string> records;
};

const Option<Seen> kTestOptions[] = {
    {"verbose", 'v', "", "say more", [](Seen& seen, std::string_view) { ++seen.verbose; }},
    {"record", 'r', "FILE", "record into FILE",
     [](Seen& seen, std::string_view value) { seen.records.emplace_back(value); }},
};

std::string Read(const Args& args, Seen& seen) {
    return ReadOptions(std::span<const Option<Seen>>(kTestOptions), args.argc(), args.argv(), seen);
}

TEST(OptionReader, ReadsSwitchesAndValuesInEveryForm) {
    Seen seen;
    EXPECT_EQ(Read({"--verbose", "-v", "--record", "a", "--record=b=c", "-r", "-d", "--"}, seen),
              "");
    EXPECT_EQ(seen.verbose, 2);
    // The value after the option is taken as it is, even when it starts with '-'.
    EXPECT_EQ(seen.records, (std::vector<std::string>{"a", "b=c", "-d"}));

    Seen none;
    EXPECT_EQ(Read({}, none), "");
    EXPECT_EQ(none.verbose, 0);
    EXPECT_TRUE(none.records.empty());
}

TEST(OptionReader, NamesTheFirstArgumentInError) {
    const std::vector<std::pair<Args, std::string>> cases = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"-x"}, "unknown option '-x'"},
        {{"-vv"}, "unknown option '-vv'"},
        {{"--verb"}, "unknown option '--verb'"},
        {{"---verbose"}, "unknown option '---verbose'"},
        {{"--verbose=1"}, "option '--verbose' takes no value"},
        {{"--record"}, "option '--record' needs a value (FILE)"},
        {{"-v", "-r"}, "option '-r' needs a value (FILE)"},
        {{"--record="}, "option '--record' needs a value (FILE)"},
        {{"--record", ""}, "option '--record' needs a value (FILE)"},
        {{"file"}, "unexpected argument 'file'"},
        {{"-"}, "unexpected argument '-'"},
        {{""}, "unexpected argument ''"},
        {{"--", "--verbose"}, "unexpected argument '--verbose'"},
        {{"--bogus", "--record"}, "unknown option '--bogus'"},
    };
    for (const auto& [args, expected] : cases) {
        Seen seen;
        EXPECT_EQ(Read(args, seen), expected);
    }
}

TEST(OptionReader, StopsAtTheFirstError) {
    Seen seen;
    EXPECT_NE(Read({"-v", "--bogus", "-v", "--record", "a"}, seen), "");
    EXPECT_EQ(seen.verbose, 1);
    EXPECT_TRUE(seen.records.empty());
}

TEST(OptionReader, UsageListsEveryOptionWithItsValue) {
    EXPECT_EQ(OptionsUsage(std::span<const Option<Seen>>(kTestOptions)),
              "  -v, --verbose         say more\n"
              "  -r, --record FILE     record into FILE\n");
}

CommandLine::Action ActionOf(const Args& args) {
    return ParseCommandLine(args.argc(), args.argv()).action;
}

TEST(CommandLine, ChoosesWhatToDo) {
    using Action = CommandLine::Action;
    EXPECT_EQ(ActionOf({}), Action::Run);
    EXPECT_EQ(ActionOf({"--"}), Action::Run);
    EXPECT_EQ(ActionOf({"--help"}), Action::Help);
    EXPECT_EQ(ActionOf({"-h"}), Action::Help);
    EXPECT_EQ(ActionOf({"--version"}), Action::Version);
    EXPECT_EQ(ActionOf({"--version", "--help"}), Action::Help);
    EXPECT_EQ(ActionOf({"--help", "--version"}), Action::Help);
    // A command line in error is never answered as if it were fine.
    EXPECT_EQ(ActionOf({"--help", "--bogus"}), Action::Error);
    EXPECT_EQ(ActionOf({"--bogus", "--version"}), Action::Error);
    EXPECT_EQ(ActionOf({"--version=2"}), Action::Error);
    EXPECT_EQ(ActionOf({"-V"}), Action::Error);
    EXPECT_EQ(ActionOf({"level.script"}), Action::Error);

    const Args bogus{"--bogus"};
    EXPECT_EQ(ParseCommandLine(bogus.argc(), bogus.argv()).error, "unknown option '--bogus'");
}

TEST(CommandLine, TakesTheFilesToReplayAndToRecord) {
    const Args both{"--replay", "in.script", "--record=out.script"};
    const CommandLine line = ParseCommandLine(both.argc(), both.argv());
    EXPECT_EQ(line.action, CommandLine::Action::Run);
    EXPECT_EQ(line.replay, "in.script");
    EXPECT_EQ(line.record, "out.script");

    const Args missing{"--record"};
    const CommandLine error = ParseCommandLine(missing.argc(), missing.argv());
    EXPECT_EQ(error.action, CommandLine::Action::Error);
    EXPECT_EQ(error.error, "option '--record' needs a value (FILE)");
    EXPECT_EQ(ActionOf({"--replay="}), CommandLine::Action::Error);
}

TEST(CommandLine, UsageListsTheOptionsAndEveryKey) {
    const std::string usage = UsageText();
    EXPECT_EQ(usage.rfind("usage: tumble [OPTION]...\n", 0), 0u);
    for (const char* item :
         {"-h, --help", "--version", "--record FILE", "--replay FILE", "Space", "mouse",
          "left button", "  P  ", "  O  ", "  R  ", "  D  ", "outlines, roles, study", "  F  ",
          "H or F1", "F12", "PNG", "Escape"}) {
        EXPECT_NE(usage.find(item), std::string::npos) << item;
    }
}

TEST(CommandLine, VersionIsTheProjectVersion) {
    EXPECT_EQ(VersionText(), "tumble " TUMBLE_EXPECTED_VERSION);
}

// The text written to a stream that AnswerCommandLine is given.
class Capture {
   public:
    Capture() : file_(std::tmpfile()) {}
    ~Capture() { std::fclose(file_); }
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;
    std::FILE* file() { return file_; }
    std::string Text() {
        std::fflush(file_);
        std::rewind(file_);
        std::string text;
        char buffer[512];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file_)) > 0) {
            text.append(buffer, n);
        }
        return text;
    }

   private:
    std::FILE* file_;
};

TEST(CommandLine, AnswersOnTheRightStreamWithTheRightStatus) {
    struct Case {
        Args args;
        int status;
        std::string out;
        std::string err;
    };
    const std::vector<Case> cases = {
        {{"--help"}, 0, UsageText(), ""},
        {{"--version"}, 0, VersionText() + "\n", ""},
        {{"--bogus"}, 2, "", "tumble: unknown option '--bogus'\n" + UsageText()},
        {{"x"}, 2, "", "tumble: unexpected argument 'x'\n" + UsageText()},
        {{}, 0, "", ""},
    };
    for (const Case& c : cases) {
        Capture out;
        Capture err;
        const CommandLine line = ParseCommandLine(c.args.argc(), c.args.argv());
        EXPECT_EQ(AnswerCommandLine(line, out.file(), err.file()), c.status);
        EXPECT_EQ(out.Text(), c.out);
        EXPECT_EQ(err.Text(), c.err);
    }
}

TEST(CommandLine, AnAnswerThatCannotBeWrittenIsAFailure) {
    std::FILE* full = std::fopen("/dev/full", "w");
    if (full == nullptr) {
        GTEST_SKIP() << "no /dev/full";
    }
    for (const char* option : {"--help", "--version"}) {
        Capture err;
        const Args args{option};
        EXPECT_EQ(AnswerCommandLine(ParseCommandLine(args.argc(), args.argv()), full, err.file()),
                  1)
            << option;
        std::clearerr(full);
        EXPECT_NE(err.Text().find("tumble: cannot write the"), std::string::npos) << option;
    }
    std::fclose(full);
}

struct Outcome {
    int status = -1;  // the exit status, or -1 when the program did not exit normally
    std::string out;
    std::string err;
};

std::string Slurp(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs a program with one argument, without a display, and collects what it wrote.
Outcome RunProgram(const char* program, const char* argument) {
    static int runs = 0;
    const std::string base = ::testing::TempDir() + "tumble_command_line_" +
                             std::to_string(getpid()) + "_" + std::to_string(++runs);
    const pid_t pid = fork();
    if (pid == 0) {
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        std::freopen("/dev/null", "r", stdin);
        std::freopen((base + ".out").c_str(), "w", stdout);
        std::freopen((base + ".err").c_str(), "w", stderr);
        execl(program, program, argument, static_cast<char*>(nullptr));
        _exit(127);
    }
    Outcome outcome;
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        outcome.status = WEXITSTATUS(status);
    }
    outcome.out = Slurp(base + ".out");
    outcome.err = Slurp(base + ".err");
    std::remove((base + ".out").c_str());
    std::remove((base + ".err").c_str());
    return outcome;
}

TEST(CommandLineProcess, TumbleAnswersWithoutOpeningAWindow) {
    const Outcome help = RunProgram(TUMBLE_BINARY, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, UsageText());
    EXPECT_EQ(help.err, "");

    const Outcome version = RunProgram(TUMBLE_BINARY, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "tumble " TUMBLE_EXPECTED_VERSION "\n");
    EXPECT_EQ(version.err, "");

    const Outcome bogus = RunProgram(TUMBLE_BINARY, "--bogus");
    EXPECT_EQ(bogus.status, 2);
    EXPECT_EQ(bogus.out, "");
    EXPECT_EQ(bogus.err, "tumble: unknown option '--bogus'\n" + UsageText());
}

TEST(CommandLineProcess, TumbleRefusesAReplayItCannotReadWithStatus2) {
    const Outcome missing = RunProgram(TUMBLE_BINARY, "--replay=/nonexistent/session.script");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.out, "");
    EXPECT_EQ(missing.err,
              "tumble: cannot read /nonexistent/session.script: No such file or directory\n");

    const Outcome nowhere = RunProgram(TUMBLE_BINARY, "--record=/nonexistent/session.script");
    EXPECT_EQ(nowhere.status, 1);
    EXPECT_EQ(nowhere.err,
              "tumble: cannot write /nonexistent/session.script: No such file or directory\n");
}

TEST(CommandLineProcess, EndlessInputIsRefusedAtOnceWithStatus2) {
    const Outcome replay = RunProgram(TUMBLE_BINARY, "--replay=/dev/zero");
    EXPECT_EQ(replay.status, 2);
    EXPECT_EQ(replay.err,
              "tumble: /dev/zero: line 1: longer than 4096 characters: "
              "(a line holding a NUL byte)\n");
    const Outcome sim = RunProgram(TUMBLE_SIM_BINARY, "/dev/zero");
    EXPECT_EQ(sim.status, 2);
    EXPECT_EQ(sim.err,
              "tumble-sim: line 1: longer than 4096 characters: (a line holding a NUL byte)\n");
    const Outcome folder = RunProgram(TUMBLE_SIM_BINARY, "/tmp");
    EXPECT_EQ(folder.status, 2);
    EXPECT_EQ(folder.err, "tumble-sim: cannot read the script '/tmp': Is a directory\n");
}

TEST(CommandLineProcess, TumbleSimTellsItsVersion) {
    const Outcome version = RunProgram(TUMBLE_SIM_BINARY, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "tumble-sim " TUMBLE_EXPECTED_VERSION "\n");
    EXPECT_EQ(version.err, "");

    const Outcome help = RunProgram(TUMBLE_SIM_BINARY, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--version"), std::string::npos);
}

}  // namespace
