// A session played through the scripted services, written down with
// --record and rebuilt from the file: by tumble-sim, and by the window's own
// --replay. Then what the recording and the replay do with bad files and
// full disks.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "dynamics/drag.h"
#include "session/recording.h"
#include "session/replay.h"
#include "session/session.h"
#include "session/state_dump.h"
#include "session/state_hash.h"
#include "shell/offscreen.h"
#include "shell/program.h"

namespace {

namespace fs = std::filesystem;

class RecordReplay : public ::testing::Test {
   protected:
    fs::path folder;

    void SetUp() override {
        folder = fs::temp_directory_path() / ("tumble-record-" + std::to_string(getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string PathOf(const char* name) const { return (folder / name).string(); }

    static std::string Slurp(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }

    static void Record(Offscreen& program, const std::string& path) {
        std::string error;
        ASSERT_TRUE(
            StartRecording(program.app.recording, path, RecordingHeader("test", 0, path), error))
            << error;
    }

    // Drops, mouse motion, a pause with a single step, a drag, a frozen
    // light, a view, a restart, and Escape.
    static void PlaySession(Offscreen& program) {
        ScriptedInput& input = program.input;
        input.MoveMouse(300, 240);
        program.Tap(kKeySpace);
        input.MoveMouse(6, 4);
        program.Tap(kKeySpace);  // on top of the first: they fly apart
        program.Run(8);
        input.MoveMouse(100, -100);
        program.Tap(kKeySpace);
        program.Run(4);
        program.Tap(kKeyP);
        input.MoveMouse(-20, 0);
        program.Run(3);
        program.Tap(kKeyO);
        program.Run(2);
        program.Tap(kKeyP);
        input.MoveMouse(20, 0);
        input.leftButton = true;  // over the box dropped at (406, 144)
        program.Run(1);
        EXPECT_TRUE(IsGrabbing(program.app.session.world));
        input.MoveMouse(-200, 150);
        program.Run(12);
        input.leftButton = false;
        program.Run(3);
        program.Tap(kKeyF);
        input.MoveMouse(30, 30);
        program.Run(3);
        program.Tap(kKeyF);
        program.Tap(kKeyD);
        program.Run(5);
        program.Tap(kKeyR);
        input.MoveMouse(-50, 10);
        program.Tap(kKeySpace);
        program.Run(6);
        input.keysDown[kKeyEscape] = 1;
        EXPECT_EQ(program.Run(1), LoopEnd::Escape);
    }

    // The dump and the hash tumble-sim prints at the end of the script.
    static std::string SimEnd(const std::string& script) {
        Session sim;
        StartSession(sim);
        std::istringstream in(script + "dump\nhash\n");
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunScript(sim, in, out, err, nullptr), 0) << err.str();
        return out.str();
    }

    static std::string WindowEnd(const App& app) {
        return DumpState(app.session.world, app.session.lighting, app.session.passes) + "\n" +
               HashText(HashState(app.session.world, app.session.lighting)) + "\n";
    }
};

TEST_F(RecordReplay, TumbleSimEndsInTheWorldTheWindowHadWhenItClosed) {
    Offscreen program{true};
    Record(program, PathOf("session.script"));
    PlaySession(program);
    ASSERT_TRUE(FinishRecording(program.app, stderr));
    EXPECT_EQ(program.app.session.world.bodies.Size(), 2);  // the world body, and the box after R

    const std::string script = Slurp(PathOf("session.script"));
    EXPECT_EQ(script.rfind("# tumble test recording, made 1970-01-01 00:00:00 UTC\n", 0), 0u)
        << script;
    for (const char* command :
         {"\nbox ", "\nmouse ", "\nstep ", "\nidle ", "\ngrab\n", "\nrelease\n", "\nfreeze\n",
          "\nfollow\n", "\nview roles\n", "\nreset\n"}) {
        EXPECT_NE(script.find(command), std::string::npos) << command << " missing:\n" << script;
    }
    EXPECT_EQ(SimEnd(script), WindowEnd(program.app));
}

TEST_F(RecordReplay, AReplayRecordedAgainRebuildsTheWholeSession) {
    Offscreen first{true};
    Record(first, PathOf("first.script"));
    PlaySession(first);
    ASSERT_TRUE(FinishRecording(first.app, stderr));

    Offscreen second{true};
    std::string error;
    ASSERT_TRUE(LoadReplay(second.app.replay, PathOf("first.script"), error)) << error;
    Record(second, PathOf("second.script"));
    PlayReplayCommands(second.app, second.services);
    for (int pass = 0; pass < 10000 && IsReplaying(second.app.replay); ++pass) {
        second.Run(1);
    }
    ASSERT_FALSE(IsReplaying(second.app.replay));
    // The window rebuilt the first session exactly, pass for pass.
    EXPECT_EQ(WindowEnd(second.app), WindowEnd(first.app));

    // Then it is the user's again, from that world.
    second.input.MoveMouse(40, 40);
    second.Tap(kKeySpace);
    second.Run(5);
    ASSERT_TRUE(FinishRecording(second.app, stderr));
    EXPECT_NE(WindowEnd(second.app), WindowEnd(first.app));
    EXPECT_EQ(SimEnd(Slurp(PathOf("second.script"))), WindowEnd(second.app));
}

TEST_F(RecordReplay, AReplayTakesOnePassAFrameAndTheUsersPauseHoldsIt) {
    std::ofstream(PathOf("play.script")) << "box 320 240\nmouse 50 60\nstep 4\nbox 100 100\n";
    Offscreen program{true};
    std::string error;
    ASSERT_TRUE(LoadReplay(program.app.replay, PathOf("play.script"), error)) << error;
    PlayReplayCommands(program.app, program.services);
    EXPECT_EQ(program.app.session.world.particles.Size(), 4);

    // The user's Space and mouse belong to the script while it plays; P is theirs.
    ScriptedInput& input = program.input;
    input.MoveMouse(200, 200);
    input.keysDown[kKeySpace] = 1;
    input.keysDown[kKeyP] = 1;
    program.Run(1);
    input.keysDown[kKeySpace] = 0;
    input.keysDown[kKeyP] = 0;
    program.Run(1);  // the second of the script's passes; then P pauses
    EXPECT_EQ(GetMouseX(program.services), 50);
    EXPECT_EQ(GetMouseY(program.services), 60);
    EXPECT_EQ(program.app.session.world.particles.Size(), 4);
    EXPECT_TRUE(program.app.session.play.paused);
    EXPECT_EQ(program.app.replay.passesLeft, 2);

    program.Run(3);  // paused: the script waits
    EXPECT_EQ(program.app.replay.passesLeft, 2);
    program.Tap(kKeyO);
    program.Run(1);  // the single step takes one of the script's passes
    EXPECT_EQ(program.app.replay.passesLeft, 1);
    program.Tap(kKeyP);
    program.Run(1);
    EXPECT_FALSE(IsReplaying(program.app.replay));
    EXPECT_EQ(program.app.session.world.particles.Size(), 8);

    // The program goes on interactively, the mouse from where the script left it.
    input.MoveMouse(10, 0);
    program.Tap(kKeySpace);
    EXPECT_EQ(program.app.session.world.particles.Size(), 12);
    EXPECT_EQ(GetMouseX(program.services), 60);
}

TEST_F(RecordReplay, ABoxTheScriptStillHoldsIsLetGoUnlessTheButtonIsDown) {
    std::ofstream(PathOf("held.script")) << "box 320 240\nmouse 305 225\ngrab\nstep 2\n";
    for (const bool buttonDown : {false, true}) {
        Offscreen program{true};
        std::string error;
        ASSERT_TRUE(LoadReplay(program.app.replay, PathOf("held.script"), error)) << error;
        Record(program, PathOf("held-again.script"));
        PlayReplayCommands(program.app, program.services);
        program.input.leftButton = buttonDown;
        program.Run(1);
        EXPECT_TRUE(IsGrabbing(program.app.session.world));  // whatever the user's button
        program.Run(1);  // the script's last pass; its input is the user's again
        ASSERT_FALSE(IsReplaying(program.app.replay));
        EXPECT_EQ(IsGrabbing(program.app.session.world), buttonDown) << buttonDown;
        ASSERT_TRUE(FinishRecording(program.app, stderr));
        EXPECT_EQ(SimEnd(Slurp(PathOf("held-again.script"))), WindowEnd(program.app));
    }
}

TEST_F(RecordReplay, AReplaysDumpHashAndShotAreTheOnesTumbleSimGives) {
    const std::string shot = PathOf("replayed.png");
    const std::string script =
        "box 320 240\nmouse 200 100\nstep 3\ndump\nhash\nshot " + shot + "\nstep 1\n";
    std::ofstream(PathOf("outputs.script")) << script;
    Offscreen program{true};
    std::string error;
    ASSERT_TRUE(LoadReplay(program.app.replay, PathOf("outputs.script"), error)) << error;
    PlayReplayCommands(program.app, program.services);
    testing::internal::CaptureStdout();
    program.Run(5);
    const std::string printed = testing::internal::GetCapturedStdout();

    Session sim;
    StartSession(sim);
    std::istringstream in("box 320 240\nmouse 200 100\nstep 3\ndump\nhash\n");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunScript(sim, in, out, err, nullptr), 0) << err.str();
    EXPECT_EQ(printed, out.str());
    EXPECT_TRUE(fs::exists(shot));
}

// The whole program on a file or two, stopped by Escape after one pass
// should it get that far.
ProgramRun RunWhole(const SessionFiles& files) {
    ScriptedInput input;
    input.keysDown[kKeyEscape] = 1;
    return RunWhole(Refusals{}, input, files);
}

TEST_F(RecordReplay, AReplayIsCheckedWholeBeforeAnythingElse) {
    const std::string bad = PathOf("bad.script");
    std::ofstream(bad) << "box 320 240\nstep 10\nstep ten\nbox 1 2 3\n";
    const std::string record = PathOf("never.script");
    ProgramRun run = RunWhole({bad, record});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.said, "tumble: " + bad + ": line 3: 'ten' is not a decimal integer: step ten\n");
    EXPECT_FALSE(fs::exists(record));  // nothing was recorded over

    run = RunWhole({PathOf("missing.script"), ""});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.said,
              "tumble: cannot read " + PathOf("missing.script") + ": No such file or directory\n");

    run = RunWhole({folder.string(), ""});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.said, "tumble: cannot read " + folder.string() + ": Is a directory\n");

    const std::string good = PathOf("good.script");
    std::ofstream(good) << "box 320 240\nstep 2\n";
    EXPECT_EQ(RunWhole({good, ""}).status, 0);
}

TEST_F(RecordReplay, ARecordingThatCannotBeMadeEndsTheProgramBeforeTheWindow) {
    const std::string nowhere = PathOf("no/such/folder.script");
    ProgramRun run = RunWhole({"", nowhere});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.said, "tumble: cannot write " + nowhere + ": No such file or directory\n");
    if (fs::exists("/dev/full")) {
        run = RunWhole({"", "/dev/full"});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.said, "tumble: cannot write /dev/full: No space left on device\n");
    }
    run = RunWhole({"", PathOf("fine.script")});
    EXPECT_EQ(run.status, 0) << run.said;
    const std::string script = Slurp(PathOf("fine.script"));
    EXPECT_EQ(script.rfind("# tumble ", 0), 0u);
    EXPECT_NE(script.find("tumble --replay " + PathOf("fine.script")), std::string::npos);
    EXPECT_NE(script.find("\nstep 1\n"), std::string::npos);  // the one pass before Escape
}

TEST_F(RecordReplay, ADiskThatFillsStopsTheRecordingAndTheProgramGoesOn) {
    if (!fs::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    Offscreen program{true};
    Record(program, PathOf("filling.script"));
    // The disk fills after the file was made: its writes fail from now on.
    std::fclose(program.app.recording.file);
    program.app.recording.file = std::fopen("/dev/full", "w");
    ASSERT_NE(program.app.recording.file, nullptr);
    program.Run(2);
    testing::internal::CaptureStderr();
    program.input.clock += 1000;  // the once-a-second write comes due
    program.Run(1);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said, "tumble: cannot write the recording " + PathOf("filling.script") +
                        ": No space left on device; recording stopped\n");
    EXPECT_FALSE(IsRecording(program.app.recording));
    program.input.MoveMouse(320, 240);
    program.Tap(kKeySpace);
    EXPECT_EQ(program.app.session.world.particles.Size(), 4);
    EXPECT_FALSE(FinishRecording(program.app, stderr));  // the exit status will say so
}

TEST(Recording, WritesRunsOfPassesAsOneLineAndTheMouseOnlyWhenItMoved) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    Recording recording;
    recording.file = file;
    RecordPass(recording, true);
    RecordPass(recording, true);
    RecordMouse(recording, 0, 0);  // where a script starts: nothing to say
    RecordPass(recording, true);
    RecordPass(recording, false);
    RecordMouse(recording, 5, 7);
    RecordMouse(recording, 5, 7);
    ScriptCommand box;
    box.kind = CommandKind::Box;
    box.x = -3;
    box.y = 1000000;
    RecordCommand(recording, box);
    RecordPass(recording, false);
    RecordPass(recording, false);
    std::string error;
    ASSERT_TRUE(FlushRecording(recording, error)) << error;
    // A run still going when the lines are written is cut there; the lines
    // after it go on counting.
    RecordPass(recording, false);
    recording.runPasses = INT32_MAX - 1;
    RecordPass(recording, false);
    RecordPass(recording, false);
    ASSERT_TRUE(FlushRecording(recording, error)) << error;
    std::rewind(file);
    std::string text;
    char buffer[256];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, file)) {
        text.append(buffer, n);
    }
    EXPECT_EQ(text, "step 3\nidle 1\nmouse 5 7\nbox -3 1000000\nidle 2\nidle 2147483647\nidle 1\n");
    std::fclose(file);
    recording.file = nullptr;

    // Not recording: nothing is kept.
    Recording idle;
    RecordPass(idle, true);
    RecordCommand(idle, box);
    EXPECT_TRUE(idle.pending.empty());
    EXPECT_EQ(idle.runPasses, 0);
}

}  // namespace

namespace {

// The window's world after every pass it ran, by pass.
using PassWorlds = std::map<int64_t, std::string>;

void RunNoting(Offscreen& program, PassWorlds& worlds, int64_t passes) {
    for (int64_t i = 0; i < passes; ++i) {
        program.Run(1);
        const Session& s = program.app.session;
        worlds[s.passes] = DumpState(s.world, s.lighting, s.passes);
    }
}

// A pass is gone back to as it left the world, before the commands after
// it: the pass at whose end the key acts is not noted.
void TapNoting(Offscreen& program, PassWorlds& worlds, int32_t key) {
    program.input.keysDown[key] = 1;
    RunNoting(program, worlds, 1);
    program.input.keysDown[key] = 0;
    program.Run(1);
}

std::string WorldNow(const Offscreen& program) {
    const Session& s = program.app.session;
    return DumpState(s.world, s.lighting, s.passes);
}

}  // namespace

// Paused, Left held plays the world backwards a pass a frame, each frame the
// world of that pass; Right re-runs the future exactly; a box dropped then
// takes over, and the recording (with its back N) rebuilds the session in
// tumble-sim and in the window's replay.
TEST_F(RecordReplay, GoingBackShowsEachEarlierPassAndTakingOverReplays) {
    Offscreen program{true};
    Record(program, PathOf("back.script"));
    ScriptedInput& input = program.input;
    PassWorlds worlds;
    input.MoveMouse(300, 200);
    TapNoting(program, worlds, kKeySpace);
    RunNoting(program, worlds, 20);
    input.MoveMouse(40, 0);
    TapNoting(program, worlds, kKeyL);
    RunNoting(program, worlds, 10);
    TapNoting(program, worlds, kKeyP);
    RunNoting(program, worlds, 3);  // idle passes: Left goes back over them
    const int64_t paused = program.app.session.passes;

    input.keysDown[kKeyLeft] = 1;
    int64_t shown = paused;
    for (int frame = 0; frame < 12; ++frame) {
        program.Run(1);
        const int64_t now = program.app.session.passes;
        EXPECT_LT(now, shown);
        if (worlds.contains(now)) {
            ASSERT_EQ(WorldNow(program), worlds.at(now)) << now;
        }
        shown = now;
    }
    input.keysDown[kKeyLeft] = 0;
    program.Run(1);  // the release of a held key does nothing more
    EXPECT_EQ(program.app.session.passes, shown);
    program.Tap(kKeyRight);
    program.Tap(kKeyRight);
    EXPECT_EQ(program.app.session.passes, shown + 2);
    EXPECT_EQ(WorldNow(program), worlds.at(shown + 2));

    input.MoveMouse(-80, -60);
    program.Tap(kKeySpace);  // takes over: a box in the world of that pass
    EXPECT_EQ(LastSessionPass(program.app.session), program.app.session.passes);
    program.Tap(kKeyP);
    program.Run(15);
    ASSERT_TRUE(FinishRecording(program.app, stderr));

    const std::string script = Slurp(PathOf("back.script"));
    EXPECT_NE(script.find("\nback "), std::string::npos) << script;
    EXPECT_EQ(SimEnd(script), WindowEnd(program.app));

    Offscreen again{true};
    std::string error;
    ASSERT_TRUE(LoadReplay(again.app.replay, PathOf("back.script"), error)) << error;
    PlayReplayCommands(again.app, again.services);
    for (int pass = 0; pass < 10000 && IsReplaying(again.app.replay); ++pass) {
        again.Run(1);
    }
    EXPECT_EQ(WindowEnd(again.app), WindowEnd(program.app));
}

// At 1/4 the world steps on every fourth pass and idles between; the idle
// passes are recorded, so tumble-sim and the window's replay end in the same
// world, and ] brings the speed back to 1.
TEST_F(RecordReplay, SlowMotionStepsEveryFourthPassAndReplaysExactly) {
    Offscreen program{true};
    Record(program, PathOf("slow.script"));
    const Session& session = program.app.session;
    program.input.MoveMouse(320, 100);
    program.Tap(kKeySpace);
    program.Tap(kKeyLeftBracket);
    program.Tap(kKeyLeftBracket);
    EXPECT_EQ(program.app.window.slowness, 4);
    auto steppedSince = [&](int64_t from) {
        std::vector<int64_t> stepped;
        for (int64_t pass = from + 1; pass <= session.passes; ++pass) {
            if (SessionPassStepped(session, pass)) {
                stepped.push_back(pass);
            }
        }
        return stepped;
    };
    const int64_t slow = session.passes;
    program.Run(12);
    EXPECT_EQ(steppedSince(slow), (std::vector<int64_t>{slow + 4, slow + 8, slow + 12}));

    program.input.MoveMouse(-30, 40);
    program.Tap(kKeySpace);  // a drop between the steps
    program.Tap(kKeyRightBracket);
    program.Tap(kKeyRightBracket);
    EXPECT_EQ(program.app.window.slowness, 1);
    const int64_t normal = session.passes;
    program.Run(3);
    EXPECT_EQ(steppedSince(normal), (std::vector<int64_t>{normal + 1, normal + 2, normal + 3}));
    ASSERT_TRUE(FinishRecording(program.app, stderr));

    const std::string script = Slurp(PathOf("slow.script"));
    EXPECT_NE(script.find("\nidle 3\nstep 1\nidle 3\n"), std::string::npos) << script;
    EXPECT_EQ(SimEnd(script), WindowEnd(program.app));

    Offscreen again{true};
    std::string error;
    ASSERT_TRUE(LoadReplay(again.app.replay, PathOf("slow.script"), error)) << error;
    PlayReplayCommands(again.app, again.services);
    for (int pass = 0; pass < 10000 && IsReplaying(again.app.replay); ++pass) {
        again.Run(1);
    }
    EXPECT_EQ(WindowEnd(again.app), WindowEnd(program.app));
}

// Quitting while gone back: the recording ends in the world shown.
TEST_F(RecordReplay, ARecordingLeftWhileGoneBackEndsWhereTheWindowWas) {
    Offscreen program{true};
    Record(program, PathOf("left.script"));
    program.input.MoveMouse(320, 100);
    program.Tap(kKeySpace);
    program.Run(30);
    program.Tap(kKeyP);
    const int64_t paused = program.app.session.passes;  // its last pass stepped
    for (int i = 0; i < 5; ++i) {
        program.Tap(kKeyLeft);
    }
    EXPECT_EQ(program.app.session.passes, paused - 5);
    ASSERT_TRUE(FinishRecording(program.app, stderr));
    EXPECT_EQ(SimEnd(Slurp(PathOf("left.script"))), WindowEnd(program.app));
}
