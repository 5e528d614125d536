// tumble's own costs on the crowd scene: one step, one shadow rebuild, one
// whole world update (step, shadows, light to the mouse) and one frame drawn
// by the software renderer offscreen, with one light or several.

#include <benchmark/benchmark.h>

#include "bench/crowd_scene.h"
#include "dynamics/step.h"
#include "lighting/light.h"
#include "lighting/shadows.h"
#include "platform/services.h"
#include "render/lit_scene.h"
#include "render/light_sprite.h"
#include "render/offscreen_frame.h"
#include "render/render_frame.h"
#include "session/update_world.h"
#include "shell/app.h"
#include "shell/startup.h"

namespace {

void StepWorldBenchmark(benchmark::State& state) {
    Session sim;
    BuildCrowd(sim, static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        StepWorld(sim.world);
    }
}

// The sandbox's crowd of mixed shapes under gravity, against StepWorld's
// crowd of boxes without it; with the rest rule, and without it to show
// what resting saves.
void TimeMixedCrowd(benchmark::State& state, bool rest) {
    Session sim;
    sim.world.settings.Rest = rest ? 1 : 0;
    BuildMixedCrowd(sim, static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        StepWorld(sim.world);
    }
}
void StepWorldMixedGravityBenchmark(benchmark::State& state) {
    TimeMixedCrowd(state, true);
}
void StepWorldMixedGravityNoRestBenchmark(benchmark::State& state) {
    TimeMixedCrowd(state, false);
}

void BuildShadowsBenchmark(benchmark::State& state) {
    Session sim;
    BuildCrowd(sim, static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        BuildShadows(sim.world, sim.lighting);
    }
}

void UpdateWorldBenchmark(benchmark::State& state) {
    Session sim;
    BuildCrowd(sim, static_cast<int32_t>(state.range(0)));
    for (auto _ : state) {
        UpdateWorld(sim.world, sim.lighting, sim.mouseX, sim.mouseY);
    }
}

// Drops the lights of the lights benchmark: the mouse's at the centre and
// the others spread over the screen, then casts their shadows.
void AddBenchmarkLights(Session& sim, int32_t lights, bool soft) {
    constexpr int32_t kSpots[kMaxDroppedLights][2] = {
        {100, 80}, {540, 80}, {100, 400}, {540, 400}, {320, 60}, {320, 420}, {60, 240}, {580, 240},
    };
    for (int32_t i = 0; i + 1 < lights && i < kMaxDroppedLights; ++i) {
        DropLight(sim.lighting, kSpots[i][0], kSpots[i][1]);
    }
    sim.lighting.softShadows = soft;
    UpdateWorld(sim.world, sim.lighting, sim.mouseX, sim.mouseY);
}

// The frame of a crowd, drawn by the software renderer offscreen.
void TimeFrames(benchmark::State& state, Session& sim) {
    OffscreenFrame frame;
    std::string error;
    if (!StartOffscreenFrame(frame, 640, 480, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    // Not timed: a frame draws the light sprites only when they change.
    UpdateLightSprites(frame.services, sim.lighting);
    for (auto _ : state) {
        DrawSessionFrame(sim, 60, frame.services);
    }
}

void RenderFrameBenchmark(benchmark::State& state) {
    Session sim;
    BuildCrowd(sim, static_cast<int32_t>(state.range(0)));
    TimeFrames(state, sim);
}

// Crowd 100 under 1, 4 or 8 lights (the mouse's included), hard or soft shadows.
void RenderFrameLightsBenchmark(benchmark::State& state) {
    Session sim;
    BuildCrowd(sim, 100);
    AddBenchmarkLights(sim, static_cast<int32_t>(state.range(0)), state.range(1) != 0);
    TimeFrames(state, sim);
}

// From nothing to the first frame presented: services, window and screen,
// the world, the shadow texture, the light and its 1000 × 1000 gradient.
void StartToFirstFrameBenchmark(benchmark::State& state) {
    for (auto _ : state) {
        ScriptedInput input;
        Services services;
        App app;
        std::string error;
        if (!StartServices(services, ScreenKind::Offscreen, input, error) ||
            !StartProgram(app, services, error)) {
            state.SkipWithError(error.c_str());
        } else {
            RenderFrame(app.session.world, app.session.lighting, 0, services);
        }
        StopServices(services);
    }
}

}  // namespace

BENCHMARK(StartToFirstFrameBenchmark)
    ->Name("tumble/StartToFirstFrame")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(StepWorldBenchmark)
    ->Name("tumble/StepWorld")
    ->Arg(50)
    ->Arg(200)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(StepWorldMixedGravityBenchmark)
    ->Name("tumble/StepWorldMixedGravity")
    ->Arg(50)
    ->Arg(200)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(StepWorldMixedGravityNoRestBenchmark)
    ->Name("tumble/StepWorldMixedGravityNoRest")
    ->Arg(50)
    ->Arg(200)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BuildShadowsBenchmark)
    ->Name("tumble/BuildShadows")
    ->Arg(50)
    ->Arg(200)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(UpdateWorldBenchmark)
    ->Name("tumble/UpdateWorld")
    ->Arg(50)
    ->Arg(200)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(RenderFrameBenchmark)
    ->Name("tumble/RenderFrame")
    ->Arg(50)
    ->Arg(200)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(RenderFrameLightsBenchmark)
    ->Name("tumble/RenderFrameLights")
    ->ArgNames({"lights", "soft"})
    ->ArgsProduct({{1, 4, 8}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
