// Frames whose pictures are kept under tests/golden: a change to the drawing
// that moves any pixel of any of them shows here, with the first pixel that
// moved. Run with TUMBLE_UPDATE_GOLDEN=1 to write the pictures anew after a
// deliberate change.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "session/session.h"
#include "tests/tools/read_png.h"
#include "tools/sim/crowd.h"
#include "tools/sim/shot.h"

namespace {

std::string GoldenPath(const std::string& name) {
    return std::string(TUMBLE_GOLDEN_DIR) + "/" + name + ".png";
}

std::string Hex(uint32_t colour) {
    std::ostringstream text;
    text << std::hex << "0x" << colour;
    return text.str();
}

// Runs the scene, takes the frame and compares it with the kept picture.
void ExpectFrameSameAsGolden(const std::string& name, const std::string& scene) {
    const std::string shot =
        (std::filesystem::temp_directory_path() / ("tumble-frame-" + name + ".png")).string();
    Session sim;
    StartSession(sim);
    ShotCamera camera;
    ShotWriter writeShot = [&camera](const Session& s, const std::string& file,
                                     std::string& error) { return camera.Write(s, file, error); };
    std::istringstream script(scene + "shot " + shot + "\n");
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunScript(sim, script, out, err, writeShot), 0) << err.str();

    const std::string golden = GoldenPath(name);
    if (std::getenv("TUMBLE_UPDATE_GOLDEN") != nullptr) {
        std::filesystem::copy_file(shot, golden, std::filesystem::copy_options::overwrite_existing);
        GTEST_SKIP() << "wrote " << golden;
    }
    Picture want = ReadPng(golden);
    Picture got = ReadPng(shot);
    std::filesystem::remove(shot);
    ASSERT_FALSE(want.pixels.empty()) << "cannot read " << golden;
    ASSERT_EQ(got.width, want.width) << name;
    ASSERT_EQ(got.height, want.height) << name;
    for (size_t i = 0; i < want.pixels.size(); ++i) {
        ASSERT_EQ(Hex(got.pixels[i]), Hex(want.pixels[i]))
            << name << ": first different pixel at (" << i % want.width << ", " << i / want.width
            << ")";
    }
}

// The crowd of the benchmarks, light and mouse at the centre of the screen.
TEST(FrameGolden, CrowdOf200LitFromTheCentre) {
    ExpectFrameSameAsGolden("crowd200", CrowdScript(200));
}

// Few boxes with long shadows from a light off the centre, and a packed
// screen lit from near a corner; the light moves to the mouse at the end of a pass, so the
// last step shows it (and its shadows) at the new place.
TEST(FrameGolden, CrowdOf50LitFromTheUpperLeft) {
    ExpectFrameSameAsGolden("crowd50", CrowdScript(50, 60, 7) + "mouse 250 130\nstep 2\n");
}

TEST(FrameGolden, CrowdOf500LitFromTheTopRight) {
    ExpectFrameSameAsGolden("crowd500", CrowdScript(500, 30, 3) + "mouse 610 35\nstep 2\n");
}

}  // namespace
