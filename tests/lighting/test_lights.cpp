// Dropped lights, the mouse light's colour and radius, and the shadows of
// several lights, hard and soft.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "lighting/light.h"
#include "lighting/shadows.h"
#include "session/update_world.h"
#include "world/factories.h"

namespace {

struct Lights : ::testing::Test {
    World world;
    Lighting lighting;

    void SetUp() override {
        StartWorld(world);
        CreateLight(lighting, 0, 0, 500, 100, 100, 250);  // the mouse's light
    }

    std::vector<const Light*> All() {
        std::vector<const Light*> all;
        for (const Light& light : lighting.lights) {
            all.push_back(&light);
        }
        return all;
    }
};

bool Same(const Light& light, const LightColour& colour) {
    return light.red == colour.red && light.green == colour.green && light.blue == colour.blue;
}

TEST_F(Lights, DroppedLightsTakeThePaletteInTurnUpToEightAndGoLastFirst) {
    for (int32_t i = 0; i < kMaxDroppedLights; ++i) {
        const Light* light = DropLight(lighting, 10 * i, 20 * i);
        ASSERT_NE(light, nullptr) << i;
        EXPECT_TRUE(Same(*light, kLightPalette[i])) << i;
        EXPECT_EQ(light->radius, kDroppedLightRadius);
        EXPECT_EQ(light->x, 10 * i);
    }
    EXPECT_EQ(DropLight(lighting, 5, 5), nullptr);  // a ninth is refused
    EXPECT_EQ(lighting.lights.Size(), 1 + kMaxDroppedLights);
    // Registry order is drop order, the mouse's light first.
    std::vector<const Light*> all = All();
    EXPECT_EQ(all.front()->radius, 500);
    for (int32_t i = 1; i < static_cast<int32_t>(all.size()); ++i) {
        EXPECT_EQ(all[i]->x, 10 * (i - 1));
    }

    ASSERT_TRUE(RemoveLastLight(lighting));
    EXPECT_EQ(All().back()->x, 60);
    const Light* again = DropLight(lighting, 1, 2);  // the freed place again
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(Same(*again, kLightPalette[kMaxDroppedLights - 1]));

    while (RemoveLastLight(lighting)) {
    }
    EXPECT_EQ(lighting.lights.Size(), 1);  // the mouse's light is never removed
    EXPECT_EQ(All().front()->radius, 500);
    EXPECT_FALSE(RemoveLastLight(lighting));
}

TEST_F(Lights, NothingIsDroppedBesideAMissingMouseLight) {
    Lighting empty;
    EXPECT_EQ(DropLight(empty, 1, 1), nullptr);
    EXPECT_FALSE(RemoveLastLight(empty));
}

TEST_F(Lights, TheMouseLightsColourCyclesFromItsStartThroughThePaletteAndBack) {
    Light& light = *lighting.lights.Current();
    for (int32_t i = 0; i < kMaxDroppedLights; ++i) {
        SetLightColour(light, NextLightColour(light));
        EXPECT_TRUE(Same(light, kLightPalette[i])) << i;
    }
    SetLightColour(light, NextLightColour(light));
    EXPECT_TRUE(Same(light, kStartLightColour));
    SetLightColour(light, {1, 2, 3});  // outside the cycle
    EXPECT_FALSE(Same(light, kStartLightColour));
    SetLightColour(light, NextLightColour(light));
    EXPECT_TRUE(Same(light, kStartLightColour));
}

TEST(LightRadius, StaysBetween100And1000) {
    EXPECT_EQ(ClampLightRadius(50), 100);
    EXPECT_EQ(ClampLightRadius(100), 100);
    EXPECT_EQ(ClampLightRadius(550), 550);
    EXPECT_EQ(ClampLightRadius(1050), 1000);
    EXPECT_EQ(ClampLightRadius(-70000), 100);
}

TEST_F(Lights, OnlyTheMouseLightFollowsTheMouse) {
    DropLight(lighting, 100, 100);
    DropLight(lighting, 200, 200);
    UpdateWorld(world, lighting, 300, 310);
    std::vector<const Light*> all = All();
    EXPECT_EQ(all[0]->x, 300);
    EXPECT_EQ(all[0]->y, 310);
    EXPECT_EQ(all[1]->x, 100);
    EXPECT_EQ(all[2]->x, 200);
}

// The casters account for every triangle, light by light in registry order.
void ExpectCastersCoverTheShadows(const Lighting& lighting, int32_t perLight) {
    int32_t total = 0;
    for (size_t i = 0; i < lighting.casters.size(); ++i) {
        EXPECT_EQ(lighting.casters[i].light, static_cast<int32_t>(i) / perLight);
        total += lighting.casters[i].triangles;
    }
    EXPECT_EQ(lighting.casters.size(), static_cast<size_t>(lighting.lights.Size() * perLight));
    EXPECT_EQ(total, lighting.shadowSegments.Size());
}

TEST_F(Lights, HardShadowsCastOncePerLightAndSoftOncePerPenumbraPoint) {
    DropBox(world, 320, 240);
    DropBox(world, 100, 380);
    DropLight(lighting, 600, 50);
    DropLight(lighting, 50, 400);
    UpdateWorld(world, lighting, 320, 40);
    ExpectCastersCoverTheShadows(lighting, 1);
    EXPECT_EQ(lighting.casters[0].dx, 0);
    EXPECT_EQ(lighting.shadowSegments.Size(), 3 * 2 * 6);

    lighting.softShadows = true;
    BuildShadows(world, lighting);
    ExpectCastersCoverTheShadows(lighting, kPenumbraSamples);
    EXPECT_EQ(lighting.casters[1].dx, kPenumbra[1].dx);
    EXPECT_EQ(lighting.casters[1].dy, kPenumbra[1].dy);
    for (const PenumbraOffset& offset : kPenumbra) {
        EXPECT_LE(std::hypot(offset.dx, offset.dy), 12.0f);
    }
}

// Each triangle's corners: finite, and no further off than a far line can be.
void ExpectSoundShadows(const Lighting& lighting, const char* where) {
    for (const ShadowSegment& s : lighting.shadowSegments) {
        for (double v : {s.p1.x, s.p1.y, s.p2.x, s.p2.y, s.p3.x, s.p3.y}) {
            EXPECT_TRUE(std::isfinite(v) && std::fabs(v) < 1e9) << where << ": " << v;
        }
    }
}

TEST_F(Lights, LightsOnACornerInsideABoxAtAScreenCornerOrOnEachOtherCastSoundShadows) {
    CreateBox(world, 300, 220, 340, 260, 1, 1.0, 1.0, 1);
    DropBox(world, 20, 20);
    struct Place {
        int32_t x;
        int32_t y;
        const char* where;
    };
    for (const Place& place :
         {Place{300, 220, "on the first corner"}, Place{340, 260, "on the opposite corner"},
          Place{320, 240, "at the centre"}, Place{310, 250, "inside"},
          Place{0, 0, "at a screen corner"}, Place{639, 479, "at the other screen corner"}}) {
        for (bool soft : {false, true}) {
            while (RemoveLastLight(lighting)) {
            }
            lighting.softShadows = soft;
            DropLight(lighting, place.x, place.y);
            DropLight(lighting, place.x, place.y);  // two lights on one spot
            UpdateWorld(world, lighting, place.x, place.y);
            BuildShadows(world, lighting);  // now the mouse's light is there too
            ExpectSoundShadows(lighting, place.where);
            ExpectCastersCoverTheShadows(lighting, soft ? kPenumbraSamples : 1);
        }
    }
}

TEST_F(Lights, AddingAndRemovingAThousandTimesLeavesOneLightAndNoShadowsOfTheOthers) {
    DropBox(world, 320, 240);
    BuildShadows(world, lighting);
    const int32_t alone = lighting.shadowSegments.Size();
    for (int32_t i = 0; i < 1000; ++i) {
        DropLight(lighting, i % 640, i % 480);
        BuildShadows(world, lighting);
        RemoveLastLight(lighting);
    }
    BuildShadows(world, lighting);
    EXPECT_EQ(lighting.lights.Size(), 1);
    EXPECT_EQ(lighting.shadowSegments.Size(), alone);
    EXPECT_EQ(lighting.casters.size(), 1u);
}

}  // namespace
