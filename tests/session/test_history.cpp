#include <gtest/gtest.h>

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

}  // namespace
