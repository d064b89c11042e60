#!/usr/bin/env bash
# Installs every Debian 12 package the project needs to build, run, test and benchmark.
set -euo pipefail
export DEBIAN_FRONTEND=noninteractive
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
packages=(
  # build
  cmake ninja-build g++ clang qt6-base-dev libqt6sql6-sqlite libjpeg62-turbo-dev libgif-dev
  qt6-translations-l10n
  libsodium-dev pkg-config
  # fonts of the windows
  fonts-noto-cjk
  # tests, screenshots, the wallpaper installer tests
  xvfb xauth x11-apps libglib2.0-bin gsettings-desktop-schemas
  # benchmarks
  libbenchmark-dev
  # the Plasma wallpaper installer test talks to a stand-in over a private session bus
  dbus-daemon
)
$SUDO apt-get update
$SUDO apt-get install -y --no-install-recommends "${packages[@]}"
