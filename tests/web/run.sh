#!/usr/bin/env bash
# The browser test: builds the page (tools/web.sh) and tumble-sim, then
# drives the page in headless Chromium against tumble-sim (web_test.py).
# Arguments go to web_test.py (--screenshot PNG, --figures).
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/web.sh
if [ ! -d build/debug ]; then
  cmake --preset debug
fi
cmake --build build/debug --target tumble-sim
# Debian's python3, which has Debian's websocket module.
/usr/bin/python3 tests/web/web_test.py build/web build/debug/tools/tumble-sim "$@"
