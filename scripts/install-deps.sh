#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing Clavitor needs.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config git
  qt6-base-dev qt6-base-private-dev qt6-multimedia-dev qt6-speech-dev
  qt6-speech-flite-plugin qt6-svg-dev qt6-tools-dev qt6-l10n-tools
  qt6-tools-dev-tools qt6-declarative-dev qt6-translations-l10n
  libqt6svg6 qt6-qpa-plugins
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  liblua5.1-0-dev libhidapi-dev libarchive-dev libqscintilla2-qt6-dev
  libbenchmark-dev
  clang-14 libclang-rt-14-dev llvm-14
  libgl-dev
  xvfb xauth
  g++-mingw-w64-x86-64 wine wine64 nsis
  libx11-dev libxtst-dev libxi-dev libxrandr-dev xdotool x11-xkb-utils x11-xserver-utils
  x11-utils dpkg-dev file desktop-file-utils appstream lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "Installing: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
