#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "dynamics/body_geometry.h"
#include "lighting/light.h"
#include "lighting/shadows.h"
#include "world/factories.h"

namespace {

// The box of the worked examples: corners (300, 220) to (340, 260), centre (320, 240).
struct LitBox : ::testing::Test {
    World world;
    Lighting lighting;

    void SetUp() override {
        StartWorld(world);
        CreateBox(world, 300, 220, 340, 260, 1, 1.0, 1.0, 1);
        SetVec2(world.bodies.Current()->centre, 320, 240);
    }

    void LightAt(int x, int y) { CreateLight(lighting, x, y, 500, 100, 100, 250); }

    std::vector<std::vector<double>> Triangles() {
        std::vector<std::vector<double>> out;
        for (const ShadowSegment& s : lighting.shadowSegments) {
            out.push_back({s.p1.x, s.p1.y, s.p2.x, s.p2.y, s.p3.x, s.p3.y});
        }
        return out;
    }

    const OutlinePolygon& Outline() { return *lighting.outlinePolygons.begin(); }
};

using Tri = std::vector<double>;

TEST_F(LitBox, LitFromAboveCastsItsShadowDownwards) {
    LightAt(320, 40);
    BuildShadows(world, lighting);
    std::vector<Tri> expected = {
        {320, 240, 300, 220, 340, 220},  {320, 240, 340, 220, 340, 260},
        {320, 240, 340, 260, 300, 260},  {320, 240, 300, 260, 300, 220},
        {173, 1360, 340, 220, 300, 220}, {340, 220, 173, 1360, 467, 1360},
    };
    EXPECT_EQ(Triangles(), expected);
}

TEST_F(LitBox, LitFromTheLeftCastsItsShadowToTheRight) {
    LightAt(100, 240);
    BuildShadows(world, lighting);
    std::vector<Tri> triangles = Triangles();
    ASSERT_EQ(triangles.size(), 6u);
    EXPECT_EQ(triangles[4], (Tri{1440, 106, 300, 260, 300, 220}));
    EXPECT_EQ(triangles[5], (Tri{300, 260, 1440, 106, 1440, 374}));
}

TEST_F(LitBox, LitFromACornerDirectionTheSilhouetteIsTheOtherTwoCorners) {
    LightAt(100, 100);
    BuildOutlinePolygons(world, lighting);
    // dist = 260.77 rounds to 261; the far line's point lies 1120 beyond the centre.
    const Vec2 M = {320, 240};
    const double dist = 261;
    Vec2 P = {M.x + (M.x - 100) / dist * 1120, M.y + (M.y - 100) / dist * 1120};
    Vec2 Q = {P.x + (M.y - 100), P.y + (100 - M.x)};
    Silhouette s = FindSilhouette(P, Q, Outline(), 100, 100);
    ASSERT_TRUE(s.found);
    EXPECT_EQ(std::min(s.minPoint, s.maxPoint), 2);
    EXPECT_EQ(std::max(s.minPoint, s.maxPoint), 4);
}

TEST_F(LitBox, EveryCornerIsAWholeNumber) {
    LightAt(97, 311);
    BuildShadows(world, lighting);
    for (const Tri& t : Triangles()) {
        for (double c : t) {
            EXPECT_EQ(c, std::nearbyint(c));
        }
    }
}

// Where the light gives no direction to cast along, the body still gets its
// fan but no quad, and no corner is ever undefined.
TEST_F(LitBox, DegenerateLightPositionsGiveTheFanOnly) {
    for (auto [x, y] :
         {std::pair{300, 220} /* on the first corner */, std::pair{320, 240} /* on the centre */}) {
        lighting.lights.Clear();
        LightAt(x, y);
        BuildShadows(world, lighting);
        EXPECT_EQ(lighting.shadowSegments.Size(), 4) << "light at " << x << ", " << y;
    }
}

// Level with the centre and in line with the left side, the first corner's
// projection comes out infinite; the silhouette starts from the next corner.
TEST_F(LitBox, InfiniteProjectionsAreSkipped) {
    LightAt(300, 240);
    BuildShadows(world, lighting);
    std::vector<Tri> triangles = Triangles();
    ASSERT_EQ(triangles.size(), 6u);
    for (const Tri& t : triangles) {
        for (double c : t) {
            EXPECT_TRUE(std::isfinite(c));
        }
    }
    EXPECT_EQ(triangles[4], (Tri{1440, -330, 340, 260, 340, 220}));
    EXPECT_EQ(triangles[5], (Tri{340, 260, 1440, -330, 1440, 810}));
}

TEST(Shadows, OnlyBodiesWithTwoOrMoreParticlesHaveOutlines) {
    World world;
    Lighting lighting;
    StartWorld(world);
    CreateLight(lighting, 0, 0, 500, 100, 100, 250);
    BuildShadows(world, lighting);
    EXPECT_EQ(lighting.outlinePolygons.Size(), 0);
    EXPECT_EQ(lighting.shadowSegments.Size(), 0);

    Body* single = CreateBody(world, 1, 1);
    CreateParticle(world, single, 10, 10);
    BuildShadows(world, lighting);
    EXPECT_EQ(lighting.outlinePolygons.Size(), 0);
}

TEST(Shadows, TwoLightsGiveEveryBodyTwoSetsWithTheLightsOutermost) {
    World world;
    Lighting lighting;
    StartWorld(world);
    DropBox(world, 100, 100);
    DropBox(world, 300, 300);
    UpdateBodyGeometry(world);
    CreateLight(lighting, 0, 0, 500, 100, 100, 250);
    CreateLight(lighting, 600, 400, 500, 100, 100, 250);
    BuildShadows(world, lighting);
    ASSERT_EQ(lighting.shadowSegments.Size(), 24);
    // Six triangles per box and light, each set starting at the box's centre.
    std::vector<double> setStarts;
    int i = 0;
    for (const ShadowSegment& s : lighting.shadowSegments) {
        if (i++ % 6 == 0)
            setStarts.push_back(s.p1.x);
    }
    EXPECT_EQ(setStarts, (std::vector<double>{100, 300, 100, 300}));
}

TEST(IntersectLines, ParallelAndDegenerateLinesDoNotMeet) {
    Vec2 meeting{};
    EXPECT_FALSE(IntersectLines({0, 0}, {1, 1}, {5, 0}, {2, 2}, meeting));
    EXPECT_FALSE(IntersectLines({0, 0}, {0, 0}, {5, 0}, {0, 0}, meeting));
    EXPECT_FALSE(IntersectLines({0, 0}, {3, 0}, {5, 0}, {0.00001, 0.00001}, meeting));
}

TEST(IntersectLines, VerticalAndHorizontalLinesMeet) {
    Vec2 meeting{};
    // A horizontal line through y = 7 and a vertical one through x = 4.
    ASSERT_TRUE(IntersectLines({0, 7}, {1, 0}, {4, 100}, {0, 5}, meeting));
    EXPECT_DOUBLE_EQ(meeting.x, 4);
    EXPECT_DOUBLE_EQ(meeting.y, 7);
    ASSERT_TRUE(IntersectLines({4, 0}, {0, 1}, {100, 7}, {3, 0}, meeting));
    EXPECT_DOUBLE_EQ(meeting.x, 4);
    EXPECT_DOUBLE_EQ(meeting.y, 7);
}

TEST(IntersectLines, ARayPointingAwayStillMeetsBehindItsStart) {
    Vec2 meeting{};
    ASSERT_TRUE(IntersectLines({0, 10}, {1, 0}, {5, 5}, {0, -1}, meeting));
    EXPECT_DOUBLE_EQ(meeting.x, 5);
    EXPECT_DOUBLE_EQ(meeting.y, 10);
}

TEST(LightGradient, FallsOffLinearlyFromItsCentreToBlack) {
    Lighting lighting;
    Light* light = CreateLight(lighting, 0, 0, 500, 100, 100, 250);
    auto rgb = [](int r, int g, int b) { return uint32_t(r + g * 256 + b * 65536); };
    EXPECT_EQ(GradientColour(*light, 500, 500), rgb(100, 100, 250));
    EXPECT_EQ(GradientColour(*light, 750, 500), rgb(50, 50, 125));
    EXPECT_EQ(GradientColour(*light, 500, 250), rgb(50, 50, 125));
    for (auto [x, y] : {std::pair{0, 500}, {500, 0}, {0, 0}, {999, 999}}) {
        EXPECT_EQ(GradientColour(*light, x, y), 0u) << x << ", " << y;
    }
    EXPECT_LE(GradientColour(*light, 999, 500), rgb(0, 0, 1));
}

TEST(LightGradient, SixteenBitFieldsKeepTheLowBits) {
    Lighting lighting;
    Light* light = CreateLight(lighting, 3, 4, 65536 + 7, 1, 2, 3);
    EXPECT_EQ(light->radius, 7);
    EXPECT_EQ(light->x, 3.0f);
}

}  // namespace
