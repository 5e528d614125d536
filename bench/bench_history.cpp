// The costs of going back in time on the crowd scene: a snapshot taken and
// restored, a pass back (a restore and the passes re-run after it), and the
// memory ten minutes of history take.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <string>

#include "bench/crowd_scene.h"
#include "lighting/lighting_snapshot.h"
#include "session/history.h"
#include "session/session.h"
#include "session/update_world.h"
#include "world/snapshot.h"

namespace {

struct CrowdSnapshot {
    WorldSnapshot world;
    LightingSnapshot lighting;
};

std::size_t SnapshotBytes(const CrowdSnapshot& s) {
    return WorldSnapshotBytes(s.world) + LightingSnapshotBytes(s.lighting);
}

void Take(const Session& sim, CrowdSnapshot& s) {
    TakeWorldSnapshot(sim.world, s.world);
    TakeLightingSnapshot(sim.lighting, s.lighting);
}

void Restore(Session& sim, const CrowdSnapshot& s) {
    RestoreWorldSnapshot(sim.world, s.world);
    RestoreLightingSnapshot(sim.lighting, s.lighting);
}

void SnapshotTakeBenchmark(benchmark::State& state) {
    Session sim;
    BuildCrowd(sim, static_cast<int32_t>(state.range(0)));
    CrowdSnapshot s;
    for (auto _ : state) {
        Take(sim, s);
    }
    state.counters["bytes"] = static_cast<double>(SnapshotBytes(s));
}

void SnapshotRestoreBenchmark(benchmark::State& state) {
    Session sim;
    BuildCrowd(sim, static_cast<int32_t>(state.range(0)));
    CrowdSnapshot s;
    Take(sim, s);
    for (auto _ : state) {
        Restore(sim, s);
    }
}

// A pass back from a snapshot `passes` behind: the restore and the re-run.
void BackFromSnapshotBenchmark(benchmark::State& state) {
    Session sim;
    BuildCrowd(sim, static_cast<int32_t>(state.range(0)));
    CrowdSnapshot s;
    Take(sim, s);
    for (auto _ : state) {
        Restore(sim, s);
        for (int64_t i = 0; i < state.range(1); ++i) {
            UpdateWorld(sim.world, sim.lighting, sim.mouseX, sim.mouseY);
        }
    }
}

// Ten minutes of passes (36,000) recorded with a snapshot every `interval`:
// the bytes the history holds at the end. One run; it takes as long as the
// passes do.
void HistoryTenMinutesBenchmark(benchmark::State& state) {
    const int64_t interval = state.range(1);
    for (auto _ : state) {
        Session sim;
        BuildCrowd(sim, static_cast<int32_t>(state.range(0)));
        History history;
        history.interval = interval;
        history.budget = SIZE_MAX;
        const HistoryHooks hooks = {[&] {
                                        CrowdSnapshot s;
                                        Take(sim, s);
                                        const std::size_t bytes = SnapshotBytes(s);
                                        return KeptSnapshot{0, std::move(s), bytes};
                                    },
                                    nullptr, nullptr, nullptr};
        StartHistory(history, 0, hooks);
        for (int64_t pass = 0; pass < 36000; ++pass) {
            UpdateWorld(sim.world, sim.lighting, sim.mouseX, sim.mouseY);
            RecordPass(history, "", hooks);
        }
        state.counters["MB"] = static_cast<double>(HistoryBytes(history)) / (1 << 20);
    }
}

}  // namespace

BENCHMARK(SnapshotTakeBenchmark)
    ->Name("tumble/SnapshotTake")
    ->Arg(50)
    ->Arg(200)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(SnapshotRestoreBenchmark)
    ->Name("tumble/SnapshotRestore")
    ->Arg(50)
    ->Arg(200)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BackFromSnapshotBenchmark)
    ->Name("tumble/BackFromSnapshot")
    ->ArgNames({"boxes", "passes"})
    ->ArgsProduct({{200}, {0, 1, 8, 32}})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(HistoryTenMinutesBenchmark)
    ->Name("tumble/HistoryTenMinutes")
    ->ArgNames({"boxes", "interval"})
    ->Args({200, 64})
    ->Iterations(1)
    ->Unit(benchmark::kSecond);

namespace {

// This thread's processor time in milliseconds: on a shared machine the
// slowest pass back by the wall clock is often a pass the thread waited for.
double ThreadMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

// Where Left takes a paused window: the pass before the last step.
int64_t StepBackTarget(const Session& sim) {
    int64_t target = sim.passes;
    while (target > FirstSessionPass(sim) && !SessionPassStepped(sim, target)) {
        --target;
    }
    return std::max(FirstSessionPass(sim), target - 1);
}

// The session's own history at crowd 200: 1000 passes run through RunPass,
// a second's pause as the window runs it (an idle pass and a few passes of
// the way back prepared a frame), then one pass back at a time, as Left held
// does. The mean is over every pass back; "worst_ms" is the slowest by the
// wall clock, "worst_cpu_ms" by this thread's time, "over_2ms" how many
// took longer than 2 ms, "pause_worst_ms" the slowest paused frame.
void SessionScrubBenchmark(benchmark::State& state) {
    Session sim;
    BuildCrowd(sim, static_cast<int32_t>(state.range(0)));
    StartSessionHistory(sim);
    for (int i = 0; i < 1000; ++i) {
        RunPass(sim, ScriptPassControls(sim, false));
    }
    double pauseWorst = 0;
    for (int frame = 0; frame < 60; ++frame) {
        const auto start = std::chrono::steady_clock::now();
        RunPass(sim, ScriptPassControls(sim, true));
        PrepareSessionWayBack(sim, 4);
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        pauseWorst = std::max(pauseWorst, took.count());
    }
    double worst = 0;
    double worstCpu = 0;
    int over2ms = 0;
    for (auto _ : state) {
        if (sim.passes == FirstSessionPass(sim)) {
            state.PauseTiming();
            ReturnSessionTo(sim, LastSessionPass(sim));
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        const double startCpu = ThreadMilliseconds();
        ReturnSessionTo(sim, StepBackTarget(sim));
        const std::chrono::duration<double, std::milli> took =
            std::chrono::steady_clock::now() - start;
        worst = std::max(worst, took.count());
        worstCpu = std::max(worstCpu, ThreadMilliseconds() - startCpu);
        over2ms += took.count() > 2 ? 1 : 0;
    }
    state.counters["worst_ms"] = worst;
    state.counters["worst_cpu_ms"] = worstCpu;
    state.counters["over_2ms"] = over2ms;
    state.counters["pause_worst_ms"] = pauseWorst;
    state.counters["MB"] = static_cast<double>(HistoryTotalBytes(sim.history)) / (1 << 20);
}

// Ten minutes of passes through the session at crowd 200, then a scrub back
// over 400 passes: everything the history holds, in MB.
void SessionTenMinutesBenchmark(benchmark::State& state) {
    for (auto _ : state) {
        Session sim;
        BuildCrowd(sim, static_cast<int32_t>(state.range(0)));
        StartSessionHistory(sim);
        const PassControls controls = ScriptPassControls(sim, false);
        for (int64_t pass = 0; pass < 36000; ++pass) {
            RunPass(sim, controls);
        }
        for (int i = 0; i < 400; ++i) {
            ReturnSessionTo(sim, sim.passes - 1);
        }
        state.counters["MB"] = static_cast<double>(HistoryTotalBytes(sim.history)) / (1 << 20);
        state.counters["first_pass"] = static_cast<double>(FirstSessionPass(sim));
    }
}

}  // namespace

BENCHMARK(SessionScrubBenchmark)
    ->Name("tumble/SessionPassBack")
    ->Arg(200)
    ->Iterations(900)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(SessionTenMinutesBenchmark)
    ->Name("tumble/SessionTenMinutes")
    ->Arg(200)
    ->Iterations(1)
    ->Unit(benchmark::kSecond);
