#!/usr/bin/env bash
# Builds the release preset and runs every benchmark five times, printing the
# median of each: tumble's step, shadow rebuild, world update and frame on the
# crowd scene, and the same crowd in Box2D and Chipmunk. Extra arguments go to
# Google Benchmark (e.g. --benchmark_filter=/200).
#
#   tools/bench.sh --against REV [ARGS…]
#
# also builds commit REV (its release preset, in build/baseline) and runs its
# tumble benchmarks right after this tree's, in the same run, so that a
# speed-up is measured against the code it replaces on the same loaded
# machine. 8799b66 is the last commit before the record layout was reshaped.
#
#   tools/bench.sh --window
#
# builds the release tumble and prints the window figures instead: passes per
# second of a replayed script under Xvfb, per number of lights and renderer
# (tools/window_bench.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = "--window" ]; then
  cmake --preset release >/dev/null
  cmake --build --preset release --target tumble
  exec tools/window_bench.sh build/release/shell/tumble
fi

against=""
if [ "${1:-}" = "--against" ]; then
  [ -n "${2:-}" ] || { echo "bench.sh: --against needs a commit" >&2; exit 2; }
  against=$2
  shift 2
fi

cmake --preset release >/dev/null
cmake --build --preset release --target tumble-bench
run() {
  "$1" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "${@:2}"
}

if [ -z "$against" ]; then
  run build/release/bench/tumble-bench "$@"
  exit
fi

baseline=build/baseline
rm -rf "$baseline/src"
mkdir -p "$baseline/src"
git archive "$against" | tar -x -C "$baseline/src"
cmake -S "$baseline/src" -B "$baseline/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DTUMBLE_BUILD_TESTS=OFF >/dev/null
cmake --build "$baseline/release" --target tumble-bench

echo "== this tree"
run build/release/bench/tumble-bench "$@"
echo "== $against"
run "$baseline/release/bench/tumble-bench" --benchmark_filter='^tumble/' "$@"
