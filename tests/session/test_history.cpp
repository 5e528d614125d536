#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "session/history.h"

namespace {

// A simulation whose state is a number: every pass multiplies it by 31 and
// adds the sum of its inputs' characters, so that a pass re-run with the
// wrong inputs, or from the wrong state, shows.
struct FakeSim {
    uint64_t state = 7;
    int64_t passes = 0;
    int restores = 0;
    int reruns = 0;
    std::function<bool(int64_t)> stopsAt;  // null: every pass is a stop

    void Pass(std::string_view inputs) {
        for (char c : inputs) {
            state += static_cast<unsigned char>(c);
        }
        state *= 31;
        ++passes;
    }
    HistoryHooks Hooks() {
        return {
            [this] {
                return KeptSnapshot{0, std::pair(state, passes), 1000};
            },
            [this](const std::any& s) {
                std::tie(state, passes) = std::any_cast<std::pair<uint64_t, int64_t>>(s);
                ++restores;
            },
            [this](std::string_view inputs) {
                Pass(inputs);
                ++reruns;
            },
            stopsAt,
        };
    }
};

std::string InputsOf(int64_t pass) {
    return pass % 3 == 0 ? "box " + std::to_string(pass) : "";
}

// Runs `count` passes live and records them; returns the state after each.
std::vector<uint64_t> RunLive(FakeSim& sim, History& history, int64_t count) {
    std::vector<uint64_t> states;
    for (int64_t i = 0; i < count; ++i) {
        const std::string inputs = InputsOf(sim.passes + 1);
        sim.Pass(inputs);
        RecordPass(history, inputs, sim.Hooks());
        states.push_back(sim.state);
    }
    return states;
}

TEST(History, ReturnsToEveryPassFromTheNearestSnapshot) {
    FakeSim sim;
    History history;
    history.interval = 10;
    const uint64_t start = sim.state;
    StartHistory(history, 0, sim.Hooks());
    const std::vector<uint64_t> states = RunLive(sim, history, 35);
    ASSERT_EQ(history.snapshots.size(), 4u);  // passes 0, 10, 20, 30

    for (int64_t pass = 34; pass >= 0; --pass) {
        sim.reruns = 0;
        ASSERT_TRUE(ReturnToPass(history, pass, sim.Hooks()));
        EXPECT_EQ(sim.state, pass == 0 ? start : states[pass - 1]) << pass;
        EXPECT_EQ(sim.passes, pass);
        EXPECT_EQ(sim.reruns, pass % 10);  // only the passes after the snapshot
    }
    EXPECT_EQ(NearestSnapshot(history, 29)->pass, 20);
    EXPECT_EQ(NearestSnapshot(history, 30)->pass, 30);
    EXPECT_EQ(PassInputs(history, 33), "box 33");
}

TEST(History, PassesOutsideTheHistoryChangeNothing) {
    FakeSim sim;
    History history;
    history.interval = 10;
    sim.passes = 5;  // the history may begin later than the session
    StartHistory(history, 5, sim.Hooks());
    RunLive(sim, history, 12);
    EXPECT_FALSE(ReturnToPass(history, 4, sim.Hooks()));
    EXPECT_FALSE(ReturnToPass(history, 18, sim.Hooks()));
    EXPECT_EQ(sim.restores, 0);
    EXPECT_EQ(NearestSnapshot(history, 4), nullptr);
    EXPECT_EQ(NearestSnapshot(history, 12)->pass, 10);
    EXPECT_TRUE(ReturnToPass(history, 5, sim.Hooks()));
    EXPECT_TRUE(ReturnToPass(history, 17, sim.Hooks()));
}

// Taking over at a pass drops the passes and snapshots after it; the new
// future is recorded from there and can be returned to like the old one.
TEST(History, TakingOverDropsTheOldFuture) {
    FakeSim sim;
    History history;
    history.interval = 10;
    StartHistory(history, 0, sim.Hooks());
    RunLive(sim, history, 35);
    ASSERT_TRUE(ReturnToPass(history, 12, sim.Hooks()));
    DropFuture(history, 12);
    EXPECT_EQ(LastPass(history), 12);
    EXPECT_EQ(history.snapshots.back().pass, 10);
    sim.Pass("other");
    RecordPass(history, "other", sim.Hooks());
    const uint64_t branched = sim.state;
    RunLive(sim, history, 10);
    EXPECT_EQ(history.snapshots.back().pass, 20);
    ASSERT_TRUE(ReturnToPass(history, 13, sim.Hooks()));
    EXPECT_EQ(sim.state, branched);
    EXPECT_EQ(PassInputs(history, 13), "other");

    DropFuture(history, 0);  // back to the very start
    EXPECT_EQ(LastPass(history), 0);
    EXPECT_EQ(history.snapshots.size(), 1u);
    EXPECT_TRUE(history.inputs.empty());
}

// Over its budget the history forgets its oldest snapshot and the passes up
// to the next; every pass left is still reached exactly.
TEST(History, KeepsWithinItsBudgetByForgettingTheOldest) {
    FakeSim sim;
    History history;
    history.interval = 10;
    history.budget = 5000;  // about four snapshots of 1000 bytes
    StartHistory(history, 0, sim.Hooks());
    const std::vector<uint64_t> states = RunLive(sim, history, 100);
    EXPECT_LE(HistoryBytes(history), history.budget);
    EXPECT_GT(FirstPass(history), 0);
    EXPECT_EQ(FirstPass(history) % 10, 0);
    for (int64_t pass = FirstPass(history); pass <= 100; ++pass) {
        ASSERT_TRUE(ReturnToPass(history, pass, sim.Hooks()));
        EXPECT_EQ(sim.state, states[pass - 1]) << pass;
    }
    EXPECT_FALSE(ReturnToPass(history, FirstPass(history) - 1, sim.Hooks()));
}

// With the way back prepared while paused, going back one pass after
// another re-runs at most one pass each (the one prepared ahead), across
// every periodic snapshot, and every pass is still the live run's.
TEST(History, APreparedWayBackIsARestoreAndOneRerunAPass) {
    FakeSim sim;
    History history;
    history.interval = 10;
    history.nearbyBudget = 14 * 1000;  // fourteen snapshots
    StartHistory(history, 0, sim.Hooks());
    const std::vector<uint64_t> states = RunLive(sim, history, 95);
    const uint64_t live = sim.state;
    EXPECT_EQ(PrepareWayBack(history, 95, 100, sim.Hooks()), 14);  // as many as the budget holds
    EXPECT_EQ(sim.state, live);
    EXPECT_LE(HistoryTotalBytes(history) - HistoryBytes(history), history.nearbyBudget);

    for (int64_t pass = 94; pass >= 0; --pass) {
        sim.reruns = 0;
        ASSERT_TRUE(ReturnToPass(history, pass, sim.Hooks()));
        EXPECT_EQ(sim.state, pass == 0 ? 7u * 1 : states[pass - 1]) << pass;
        EXPECT_LE(sim.reruns, 1) << pass;
        EXPECT_LE(history.nearbyBytes, history.nearbyBudget);
    }
}

// Only the passes going back stops at get a copy; the passes between are
// re-run on the way to the next stop.
TEST(History, OnlyStopsAreKeptOnTheWayBack) {
    FakeSim sim;
    sim.stopsAt = [](int64_t pass) { return pass % 3 == 0; };
    History history;
    history.interval = 10;
    history.nearbyBudget = 100 * 1000;
    StartHistory(history, 0, sim.Hooks());
    const std::vector<uint64_t> states = RunLive(sim, history, 40);
    PrepareWayBack(history, 40, 100, sim.Hooks());
    for (const auto& [pass, snapshot] : history.nearby) {
        EXPECT_EQ(pass % 3, 0) << pass;
    }
    EXPECT_EQ(history.nearby.size(), 12u);  // 3, 6 … 39 but 30, a periodic one
    ASSERT_TRUE(ReturnToPass(history, 33, sim.Hooks()));
    EXPECT_EQ(sim.state, states[32]);
}

// A live session may have changed since the snapshot of its pass (a
// command noted, not yet run as a pass): preparing leaves it as it is.
TEST(History, PreparingLeavesTheSessionAsItIsNow) {
    FakeSim sim;
    History history;
    history.interval = 10;
    history.nearbyBudget = 100 * 1000;
    StartHistory(history, 0, sim.Hooks());
    RunLive(sim, history, 25);
    ASSERT_TRUE(ReturnToPass(history, 25, sim.Hooks()));  // 25 now has a copy
    sim.state += 1000;                                    // then the session changed
    const uint64_t now = sim.state;
    EXPECT_GT(PrepareWayBack(history, 25, 5, sim.Hooks()), 0);
    EXPECT_EQ(sim.state, now);
    EXPECT_EQ(sim.passes, 25);
}

}  // namespace
