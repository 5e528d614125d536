#pragma once

// The history of a session: snapshots of its state every `interval` passes,
// and the inputs (script lines) that ran before every pass since the oldest
// snapshot. Any pass from the oldest snapshot on is reached again exactly by
// restoring the nearest snapshot at or before it and re-running the passes
// after it with their inputs. The history does not know what a snapshot
// holds: the session hands it one (with its size) and gets it back.

#include <any>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct KeptSnapshot {
    int64_t pass;  // the state after this many passes
    std::any state;
    std::size_t bytes;
};

struct History {
    int64_t interval = 64;                // a snapshot after every pass that is a multiple of it
    std::size_t budget = 64u << 20;       // bytes; the oldest passes go when it is exceeded
    int64_t lastPass = 0;                 // the pass the session is at
    std::vector<KeptSnapshot> snapshots;  // oldest first; the first is where the history begins
    // The inputs of passes snapshots.front().pass + 1 … lastPass, one after another.
    std::string inputs;
    std::vector<std::size_t> inputEnds;  // where each pass's inputs end in `inputs`
    // Snapshots of the passes re-run on the way back and of those prepared
    // ahead of it (PrepareWayBack), so that going back through them is a
    // restore. Beyond `nearbyBudget` bytes (0: none are kept) those after the
    // session's pass go first, then the oldest.
    std::map<int64_t, KeptSnapshot> nearby;
    std::size_t nearbyBudget = 0;
    std::size_t nearbyBytes = 0;
};

// What the history asks of the session.
struct HistoryHooks {
    std::function<KeptSnapshot()> take;  // the state as it is now (its pass is set by the history)
    std::function<void(const std::any& state)> restore;
    std::function<void(std::string_view inputs)> rerunPass;  // the inputs, then one pass
    // Whether going back may stop at the pass; only those get a nearby
    // snapshot (null: every pass may).
    std::function<bool(int64_t pass)> stopsAt;
};

// Begins the history at the session's current pass, with a snapshot of it.
void StartHistory(History& history, int64_t pass, const HistoryHooks& hooks);

// Records the pass that just ran with the inputs that ran before it; takes a
// snapshot when the pass is a multiple of the interval, then drops the
// oldest snapshots (and their passes) while the history is over its budget.
void RecordPass(History& history, std::string_view inputs, const HistoryHooks& hooks);

// The first pass that can be reached again, and the last.
int64_t FirstPass(const History& history);
inline int64_t LastPass(const History& history) {
    return history.lastPass;
}

// The newest snapshot at or before `pass`; null when `pass` is before the history.
const KeptSnapshot* NearestSnapshot(const History& history, int64_t pass);

// The inputs that ran before `pass` (FirstPass < pass <= LastPass).
std::string_view PassInputs(const History& history, int64_t pass);

// Puts the session back at `pass`: the nearest snapshot restored and the
// passes after it re-run (each kept as a nearby snapshot, within its budget),
// then one more pass of the way back prepared. False, changing nothing, when
// `pass` is outside FirstPass … LastPass. The future after `pass` is kept
// until DropFuture, so going forward again can re-run it.
bool ReturnToPass(History& history, int64_t pass, const HistoryHooks& hooks);

// Prepares the way back from `pass`, where the session is: the stops before
// it that have no snapshot yet, newest first, are re-run from the snapshot
// before them and kept as nearby snapshots, at most `stops` of them, while
// the nearby budget holds them beside those already kept behind `pass`.
// Then the session is put back at `pass`. Returns the stops kept. Going back
// one stop at a time, each with one prepared, is then a restore each.
int64_t PrepareWayBack(History& history, int64_t pass, int64_t stops, const HistoryHooks& hooks);

// Forgets every pass after `pass` and the snapshots taken after it: the
// session takes over from there.
void DropFuture(History& history, int64_t pass);

// Bytes held by the periodic snapshots and the inputs (what `budget` bounds).
std::size_t HistoryBytes(const History& history);

// Everything the history holds: HistoryBytes and the nearby snapshots.
std::size_t HistoryTotalBytes(const History& history);
