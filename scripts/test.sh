#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test.
# Sets up the local print queues the printing tests use (as root).
# BUILD_DIR and CMAKE_ARGS choose another build (the sanitizer build).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/print-queues.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${BUILD_TYPE:-RelWithDebInfo} ${CMAKE_ARGS:-}
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 600
