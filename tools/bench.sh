#!/usr/bin/env bash
# Builds the release preset and runs every benchmark five times, printing the
# median of each: tumble's step, shadow rebuild, world update and frame on the
# crowd scene, and the same crowd in Box2D and Chipmunk. Extra arguments go to
# Google Benchmark (e.g. --benchmark_filter=/200).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release --target tumble-bench
exec build/release/bench/tumble-bench --benchmark_repetitions=5 \
  --benchmark_report_aggregates_only=true "$@"
