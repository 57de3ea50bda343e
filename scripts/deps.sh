#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need.
# Does nothing (and needs no network) when they are already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config
  qtbase5-dev qtbase5-private-dev libqt5opengl5-dev qtbase5-dev-tools
  juce-modules-source-data zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xserver-xephyr xauth fonts-manrope openbox icewm fluxbox
  x11-utils x11-xserver-utils glslang-tools libxcb1-dev libxcb-xtest0-dev
  clang libclang-rt-14-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
