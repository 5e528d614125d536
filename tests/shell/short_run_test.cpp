// A short run of the whole program, start-up to shutdown, with what a user
// does in it, for the leak checkers: under the sanitize preset LeakSanitizer
// looks at this test's process when it exits, and the leaks.program test runs
// it under valgrind in the other builds.

#include <gtest/gtest.h>

#include <cstdio>

#include "shell/program.h"

namespace {

constexpr int32_t kPasses = 120;

// A user at the keyboard: Space tapped every few passes while the mouse
// wanders to the corners and edges, the button held now and then, the views
// cycled, a pause, the help, a restart, a display reset, then Escape.
class User final : public InputSource {
   public:
    int32_t pass = 0;

    int32_t NextWindowEvent() override {
        if (pass == kPasses / 2 && !reset_) {
            reset_ = true;
            return kDisplayReset;
        }
        return kNoEvent;
    }

    void ReadKeys(KeyStates& down) override {
        pass += 1;  // one snapshot a pass
        down = {};
        down[kKeySpace] = pass % 4 < 2;
        down[kKeyD] = pass % 30 == 5;
        down[kKeyP] = pass == 40 || pass == 50;
        down[kKeyO] = pass == 45;
        down[kKeyH] = pass == 60 || pass == 70;
        down[kKeyF] = pass == 75 || pass == 85;
        down[kKeyR] = pass == 90;
        down[kKeyEscape] = pass >= kPasses;
    }

    bool ReadRightButton() override { return false; }
    void ReadMouseMotion(int32_t& dx, int32_t& dy, bool& leftButton) override {
        leftButton = pass % 20 >= 8;
        static constexpr int32_t kMoves[][2] = {
            {700, 0}, {0, 500}, {-700, 0}, {300, -260}, {-25, -15}};
        dx = kMoves[pass % 5][0];
        dy = kMoves[pass % 5][1];
    }

    uint32_t Milliseconds() override { return static_cast<uint32_t>(pass) * 16; }

   private:
    bool reset_ = false;
};

TEST(ShortRun, DropsLightMovesAResetAndEscapeEndWithStatus0) {
    User user;
    Services services;
    EXPECT_EQ(RunProgram(services, ScreenKind::Offscreen, user, stderr), 0);
    EXPECT_EQ(user.pass, kPasses);
}

}  // namespace
