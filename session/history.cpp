#include "session/history.h"

#include <algorithm>

namespace {

void KeepSnapshot(History& history, const HistoryHooks& hooks) {
    KeptSnapshot snapshot = hooks.take();
    snapshot.pass = history.lastPass;
    history.snapshots.push_back(std::move(snapshot));
}

void DropNearby(History& history, std::map<int64_t, KeptSnapshot>::iterator from,
                std::map<int64_t, KeptSnapshot>::iterator to) {
    for (auto it = from; it != to; ++it) {
        history.nearbyBytes -= it->second.bytes;
    }
    history.nearby.erase(from, to);
}

bool StopsAt(const HistoryHooks& hooks, int64_t pass) {
    return !hooks.stopsAt || hooks.stopsAt(pass);
}

bool HasSnapshot(const History& history, int64_t pass) {
    const KeptSnapshot* periodic = NearestSnapshot(history, pass);
    return (periodic != nullptr && periodic->pass == pass) || history.nearby.contains(pass);
}

// Keeps the pass just re-run, unless a snapshot of it is kept already.
void KeepNearby(History& history, int64_t pass, const HistoryHooks& hooks) {
    if (history.nearbyBudget == 0 || HasSnapshot(history, pass)) {
        return;
    }
    KeptSnapshot snapshot = hooks.take();
    snapshot.pass = pass;
    history.nearbyBytes += snapshot.bytes;
    history.nearby.emplace(pass, std::move(snapshot));
}

// Over the budget, the nearby snapshots after `pass` go first, the farthest
// first, since going forward from `pass` is one pass re-run; then the oldest.
// The snapshot of `pass` itself stays: the session is put back from it.
void TrimNearby(History& history, int64_t pass) {
    while (!history.nearby.empty() && history.nearbyBytes > history.nearbyBudget) {
        auto last = std::prev(history.nearby.end());
        auto drop = last->first > pass ? last : history.nearby.begin();
        if (drop->first == pass) {
            return;
        }
        DropNearby(history, drop, std::next(drop));
    }
}

// Whether one more snapshot fits the nearby budget beside those at or before `pass`.
bool RoomBehind(const History& history, int64_t pass) {
    std::size_t ahead = 0;
    for (auto it = history.nearby.upper_bound(pass); it != history.nearby.end(); ++it) {
        ahead += it->second.bytes;
    }
    return history.nearbyBytes - ahead + history.snapshots.back().bytes <= history.nearbyBudget;
}

// The newest snapshot, periodic or nearby, at or before `pass`.
const KeptSnapshot* StartingPoint(const History& history, int64_t pass) {
    const KeptSnapshot* periodic = NearestSnapshot(history, pass);
    auto after = history.nearby.upper_bound(pass);
    if (after == history.nearby.begin()) {
        return periodic;
    }
    const KeptSnapshot* near = &std::prev(after)->second;
    return periodic == nullptr || near->pass > periodic->pass ? near : periodic;
}

// A pause longer than this (idle passes are no stops) ends the search for
// the way back; the passes before it are run again when going back reaches them.
constexpr int64_t kLongestSearch = 4096;

// The newest stop before `pass` that has no snapshot; -1 when every stop
// from there back to the history's first pass (or the search's end) has one.
int64_t NearestGap(const History& history, int64_t pass, const HistoryHooks& hooks) {
    const int64_t end = std::max(FirstPass(history), pass - kLongestSearch);
    for (int64_t p = pass - 1; p > end; --p) {
        if (StopsAt(hooks, p) && !HasSnapshot(history, p)) {
            return p;
        }
    }
    return -1;
}

// Re-runs the passes after `from` up to the first stop, or `to`; returns the pass reached.
int64_t RerunToStop(const History& history, int64_t from, int64_t to, const HistoryHooks& hooks) {
    int64_t p = from;
    do {
        ++p;
        hooks.rerunPass(PassInputs(history, p));
    } while (p < to && !StopsAt(hooks, p));
    return p;
}

// The oldest snapshot goes with the passes up to the next one, which then
// begins the history. The newest snapshot always stays.
void DropOldest(History& history) {
    const int64_t from = history.snapshots[0].pass;
    const int64_t to = history.snapshots[1].pass;
    const std::size_t cut = history.inputEnds[to - from - 1];
    history.inputs.erase(0, cut);
    history.inputEnds.erase(history.inputEnds.begin(), history.inputEnds.begin() + (to - from));
    for (std::size_t& end : history.inputEnds) {
        end -= cut;
    }
    history.snapshots.erase(history.snapshots.begin());
    DropNearby(history, history.nearby.begin(),
               history.nearby.lower_bound(history.snapshots[0].pass));
}

// Prepares the way back from `pass`; `keptIsHere` says that a snapshot of
// `pass` holds the session as it is (true right after going back; a live
// session may have changed since).
int64_t PrepareStops(History& history, int64_t pass, int64_t stops, const HistoryHooks& hooks,
                     bool keptIsHere) {
    std::any here;    // the session at `pass`, when no snapshot holds it
    int64_t at = -1;  // the pass the session is at while preparing; -1: at `pass`
    int64_t kept = 0;
    for (; kept < stops && RoomBehind(history, pass); ++kept) {
        const int64_t gap = NearestGap(history, pass, hooks);
        if (gap < 0) {
            break;
        }
        if (at < 0 && !(keptIsHere && HasSnapshot(history, pass))) {
            here = hooks.take().state;
        }
        const KeptSnapshot* start = StartingPoint(history, gap);
        if (start->pass != at) {
            hooks.restore(start->state);
        }
        at = RerunToStop(history, start->pass, gap, hooks);
        KeepNearby(history, at, hooks);
        TrimNearby(history, pass);
    }
    if (at >= 0) {
        hooks.restore(here.has_value() ? here : StartingPoint(history, pass)->state);
    }
    return kept;
}

}  // namespace

void StartHistory(History& history, int64_t pass, const HistoryHooks& hooks) {
    history.snapshots.clear();
    history.inputs.clear();
    history.inputEnds.clear();
    DropNearby(history, history.nearby.begin(), history.nearby.end());
    history.lastPass = pass;
    KeepSnapshot(history, hooks);
}

void RecordPass(History& history, std::string_view inputs, const HistoryHooks& hooks) {
    history.inputs.append(inputs);
    history.inputEnds.push_back(history.inputs.size());
    ++history.lastPass;
    if (history.lastPass % history.interval == 0) {
        KeepSnapshot(history, hooks);
    }
    while (history.snapshots.size() > 1 && HistoryBytes(history) > history.budget) {
        DropOldest(history);
    }
}

int64_t FirstPass(const History& history) {
    return history.snapshots.empty() ? history.lastPass : history.snapshots.front().pass;
}

const KeptSnapshot* NearestSnapshot(const History& history, int64_t pass) {
    auto after =
        std::upper_bound(history.snapshots.begin(), history.snapshots.end(), pass,
                         [](int64_t p, const KeptSnapshot& snapshot) { return p < snapshot.pass; });
    return after == history.snapshots.begin() ? nullptr : &*(after - 1);
}

std::string_view PassInputs(const History& history, int64_t pass) {
    const std::size_t i = static_cast<std::size_t>(pass - FirstPass(history) - 1);
    const std::size_t begin = i == 0 ? 0 : history.inputEnds[i - 1];
    return std::string_view(history.inputs).substr(begin, history.inputEnds[i] - begin);
}

bool ReturnToPass(History& history, int64_t pass, const HistoryHooks& hooks) {
    const KeptSnapshot* snapshot = StartingPoint(history, pass);
    if (snapshot == nullptr || pass > history.lastPass) {
        return false;
    }
    hooks.restore(snapshot->state);
    for (int64_t p = snapshot->pass + 1; p <= pass; ++p) {
        hooks.rerunPass(PassInputs(history, p));
        if (p == pass || StopsAt(hooks, p)) {
            KeepNearby(history, p, hooks);
        }
    }
    TrimNearby(history, pass);
    PrepareStops(history, pass, 1, hooks, true);
    return true;
}

int64_t PrepareWayBack(History& history, int64_t pass, int64_t stops, const HistoryHooks& hooks) {
    return PrepareStops(history, pass, stops, hooks, false);
}

void DropFuture(History& history, int64_t pass) {
    if (pass >= history.lastPass || pass < FirstPass(history)) {
        return;
    }
    while (history.snapshots.back().pass > pass) {
        history.snapshots.pop_back();
    }
    const std::size_t kept = static_cast<std::size_t>(pass - FirstPass(history));
    history.inputEnds.resize(kept);
    history.inputs.resize(kept == 0 ? 0 : history.inputEnds.back());
    history.lastPass = pass;
    DropNearby(history, history.nearby.upper_bound(pass), history.nearby.end());
}

std::size_t HistoryBytes(const History& history) {
    std::size_t bytes = history.inputs.capacity() +
                        history.inputEnds.capacity() * sizeof(std::size_t) +
                        history.snapshots.capacity() * sizeof(KeptSnapshot);
    for (const KeptSnapshot& snapshot : history.snapshots) {
        bytes += snapshot.bytes;
    }
    return bytes;
}

std::size_t HistoryTotalBytes(const History& history) {
    return HistoryBytes(history) + history.nearbyBytes;
}
