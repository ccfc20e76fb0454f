#!/usr/bin/env bash
# Installs what is missing, builds the Casvel demo and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target casvel
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: starting Casvel under Xvfb (set DISPLAY to see its window)." >&2
  exec xvfb-run -a build/demos/casvel/casvel "$@"
fi
exec build/demos/casvel/casvel "$@"
