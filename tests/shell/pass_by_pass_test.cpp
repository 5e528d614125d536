// The program run pass by pass by its host, as a web page runs it (one pass
// per animation frame): OpenProgram, RunLoopPass, CloseProgram must do what
// RunProgram does with its own loop.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "session/session.h"
#include "shell/main_loop.h"
#include "shell/program.h"

namespace {

constexpr int32_t kEscapePass = 50;

// A user who drops a box now and then, drags, and presses Escape at the end.
class User final : public InputSource {
   public:
    int32_t pass = 0;

    int32_t NextWindowEvent() override { return kNoEvent; }
    void ReadKeys(KeyStates& down) override {
        pass += 1;
        down = {};
        down[kKeySpace] = pass % 9 < 3;
        down[kKeyEscape] = pass >= kEscapePass;
    }
    void ReadMouseMotion(int32_t& dx, int32_t& dy, bool& leftButton) override {
        leftButton = pass % 15 >= 10;
        dx = pass % 2 == 0 ? 37 : -21;
        dy = pass % 3 == 0 ? 29 : -8;
    }
    bool ReadRightButton() override { return false; }
    uint32_t Milliseconds() override { return static_cast<uint32_t>(pass) * 16; }
};

std::string TempPath(const std::string& name) {
    return testing::TempDir() + "pass_by_pass_" + name;
}

// The recording without its opening comments (they hold the time it was made).
std::string RecordedCommands(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::string commands;
    while (std::getline(file, line)) {
        if (!line.empty() && line[0] != '#') {
            commands += line + "\n";
        }
    }
    return commands;
}

std::string WriteReplay() {
    const std::string path = TempPath("replay.script");
    std::ofstream(path) << "mouse 200 200\nbox 200 200\nbox 260 210\nlight 500 100\nstep 20\n"
                           "mouse 300 300\nstep 5\n";
    return path;
}

TEST(PassByPass, RecordsWhatRunProgramRecordsForTheSameReplayAndInput) {
    const std::string replay = WriteReplay();
    const std::string whole = TempPath("whole.script");
    const std::string parts = TempPath("parts.script");
    {
        User user;
        Services services;
        EXPECT_EQ(RunProgram(services, ScreenKind::Offscreen, user, stderr, {replay, whole}), 0);
    }
    User user;
    Services services;
    auto app = std::make_unique<App>();
    ASSERT_EQ(OpenProgram(*app, services, ScreenKind::Offscreen, user, stderr, {replay, parts}),
              kProgramOpen);
    std::optional<LoopEnd> end;
    int32_t passes = 0;
    while (!(end = RunLoopPass(*app, services))) {
        passes += 1;
    }
    EXPECT_EQ(*end, LoopEnd::Escape);
    EXPECT_EQ(passes + 1, kEscapePass);
    EXPECT_FALSE(IsReplaying(app->replay));
    const std::string hash = HashSession(app->session);
    EXPECT_EQ(CloseProgram(*app, services, stderr), 0);
    const std::string recorded = RecordedCommands(parts);
    EXPECT_NE(recorded.find("box "), std::string::npos);
    EXPECT_NE(recorded.find("grab"), std::string::npos);
    EXPECT_EQ(recorded, RecordedCommands(whole));
    EXPECT_EQ(hash.size(), 16u);
}

TEST(PassByPass, OpenProgramAnswersAsRunProgramWhenTheFilesFail) {
    std::FILE* err = std::tmpfile();
    ScriptedInput input;
    {
        Services services;
        App app;
        EXPECT_EQ(OpenProgram(app, services, ScreenKind::Offscreen, input, err,
                              {"/nonexistent/replay.script", ""}),
                  2);
    }
    {
        Services services;
        App app;
        EXPECT_EQ(OpenProgram(app, services, ScreenKind::Offscreen, input, err,
                              {"", "/nonexistent/folder/session.script"}),
                  1);
        EXPECT_FALSE(IsRecording(app.recording));
    }
    EXPECT_GT(std::ftell(err), 0);  // each said why
    std::fclose(err);
}

}  // namespace
