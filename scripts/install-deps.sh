#!/usr/bin/env bash
# Installs every Debian package the library, its tests, benchmarks and demo need.
# Safe to run again: packages already present are skipped without touching apt.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  libwxgtk3.2-dev libgtk-3-dev nlohmann-json3-dev libspdlog-dev libserialport-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth libxtst-dev x11-utils
  fonts-noto-cjk imagemagick locales
  doxygen openbox dpkg-dev fakeroot
  python3 python3-dev python3-wxgtk4.0 pybind11-dev python3-pytest
  libsqlite3-dev libmosquitto-dev mosquitto sqlite3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The number tests also run under a decimal-comma locale.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "Generating the de_DE.UTF-8 locale"
  $SUDO sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^de_DE\.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
