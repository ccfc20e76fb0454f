#!/usr/bin/env bash
# Installs the Debian packages the build, the tests, the demos and the fuzz
# programs (fuzz/) need.
# Fast when everything is present already.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libsqlite3-dev libcups2-dev
  cups cups-client printer-driver-cups-pdf
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fontconfig
  pxlib-dev python3-dbf
  xvfb xauth poppler-utils
  clang libclang-rt-14-dev
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
