// The costs of going back in time on the crowd scene: a snapshot taken and
// restored, a pass back (a restore and the passes re-run after it), and the
// memory ten minutes of history take.

#include <benchmark/benchmark.h>

#include <string>

#include "bench/crowd_scene.h"
#include "lighting/lighting_snapshot.h"
#include "session/history.h"
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
                                    nullptr, nullptr};
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
