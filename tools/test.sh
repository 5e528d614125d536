#!/usr/bin/env bash
# Builds and runs every test: once in a debug build, once under the address
# and undefined-behaviour sanitizers; then the web page in headless Chromium.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset debug
cmake --workflow --preset sanitize
tests/web/run.sh
