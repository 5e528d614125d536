#!/usr/bin/env bash
# Installs what is missing, builds tumble and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-packages.sh
cmake --preset release
cmake --build --preset release --target tumble
exec build/release/shell/tumble
