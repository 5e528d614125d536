// The region a light reaches: its square less what the outlines hide, with no
// light through a box, between touching boxes or out of a box it stands in.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "lighting/shadows.h"
#include "lighting/visibility.h"
#include "tests/world/scene.h"
#include "world/factories.h"

namespace {

struct Reach : ::testing::Test {
    World world;
    Lighting lighting;
    Visibility visibility;
    std::vector<Vec2> points;

    void SetUp() override { StartWorld(world); }

    void Box(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
        CreateBox(world, x1, y1, x2, y2, 1, 1.0, 1.0, 1);
    }

    // The polygon from (x, y) with reach 300, kept for Lit.
    void LightAt(double x, double y) {
        BuildOutlinePolygons(world, lighting);
        BuildVisibilityPolygon(lighting, {x, y}, 300, true, visibility);
        points.assign(1, Vec2{0, 0});  // slot 0 is never used
        points.insert(points.end(), visibility.polygon.begin(), visibility.polygon.end());
    }

    bool Lit(double x, double y) {
        OutlinePolygon polygon{points.data(), static_cast<int32_t>(points.size() - 1), {0, 0}};
        return OutlineContains(polygon, x, y);
    }
};

TEST_F(Reach, WithNothingInTheWayTheLightReachesItsWholeSquare) {
    LightAt(320, 240);
    EXPECT_TRUE(Lit(21, 241));
    EXPECT_TRUE(Lit(619, 539));
    EXPECT_FALSE(Lit(619, 541));
    BuildVisibilityPolygon(lighting, {320, 240}, 300, false, visibility);
    EXPECT_EQ(visibility.polygon.size(), 4u);  // one ray at each corner
}

TEST_F(Reach, ABoxHidesWhatLiesBehindItAndNothingBesideIt) {
    Box(300, 220, 340, 260);
    LightAt(320, 100);
    EXPECT_TRUE(Lit(320, 215));   // in front of the box
    EXPECT_FALSE(Lit(320, 240));  // the box itself
    EXPECT_FALSE(Lit(320, 390));  // behind it
    // The shadow widens with the distance: 40 wide at 120 below the light,
    // 80 wide at 240.
    EXPECT_FALSE(Lit(281, 340));
    EXPECT_TRUE(Lit(278, 340));
    EXPECT_TRUE(Lit(320, 90));
}

TEST_F(Reach, NoLightPassesBetweenTouchingBoxesWhateverTheAngle) {
    Box(280, 220, 320, 260);
    Box(320, 220, 360, 260);  // sharing the side x = 320
    // From anywhere above the pair, every ray to a point below the shared
    // side crosses the pair; some pass through the seam's ends.
    for (double x = 281; x <= 359; x += 0.7) {
        LightAt(x, 120);
        for (double y = 262; y <= 400; y += 3) {
            ASSERT_FALSE(Lit(320, y)) << x << " " << y;
        }
    }
    LightAt(320, 120);  // straight along the seam
    EXPECT_FALSE(Lit(320, 300));
    EXPECT_FALSE(Lit(320.3, 300));
    EXPECT_FALSE(Lit(319.7, 300));
}

TEST_F(Reach, ALightInsideABoxReachesOnlyTheInsideOfThatBox) {
    Box(300, 220, 340, 260);
    Box(100, 100, 140, 140);
    LightAt(325, 245);
    EXPECT_TRUE(Lit(305, 225));
    EXPECT_TRUE(Lit(335, 255));
    for (const Vec2& p : visibility.polygon) {
        EXPECT_GE(p.x, 300 - 1e-6);
        EXPECT_LE(p.x, 340 + 1e-6);
        EXPECT_GE(p.y, 220 - 1e-6);
        EXPECT_LE(p.y, 260 + 1e-6);
    }
}

TEST_F(Reach, ASpinningBoxNeverLetsLightThroughItself) {
    // The box turned about its middle a degree at a time: the region behind
    // it stays dark at every angle, as its silhouette corners change.
    Box(300, 220, 340, 260);
    const double angle = 0.0174533;
    for (int32_t step = 0; step < 90; ++step) {
        TurnBodiesAbout(world, 320, 240, angle);
        LightAt(320, 80);
        ASSERT_FALSE(Lit(320, 300)) << step;
        ASSERT_FALSE(Lit(320, 240)) << step;
    }
}

}  // namespace
