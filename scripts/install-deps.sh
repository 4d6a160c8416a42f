#!/usr/bin/env bash
# Installs every Debian package the library, its tests, benchmarks and demo need.
# Safe to run again: packages already present are skipped without touching apt.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libwxgtk3.2-dev libgtk-3-dev nlohmann-json3-dev libspdlog-dev libserialport-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libxtst-dev x11-utils
  fonts-noto-cjk imagemagick
  doxygen openbox dpkg-dev fakeroot
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
