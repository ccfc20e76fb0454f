#!/usr/bin/env bash
# Renders the demo windows to PNG (the demo tests' screenshot cases, head-less)
# under <build>/screenshots and refreshes the README's picture of Casvel.
# BUILD_DIR chooses the build folder (default: build).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
[ -f "$build/build.ninja" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --target casvel_tests_screenshots tondrel_tests_screenshots
mkdir -p docs
cp "$build/screenshots/casvel.png" docs/casvel.png
ls "$build"/screenshots/casvel*.png "$build"/screenshots/tondrel*.png
