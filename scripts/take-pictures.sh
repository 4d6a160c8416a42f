#!/usr/bin/env bash
# take-pictures.sh GALLERY DIR: runs `GALLERY --screenshots DIR` on a private
# Xvfb display with openbox, so every picture has its title bar.
set -euo pipefail
gallery=$1
dir=$2

display=:$((90 + RANDOM % 400))
while [ -e "/tmp/.X11-unix/X${display#:}" ]; do display=:$((90 + RANDOM % 400)); done

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp &
xvfb=$!
wm=""
cleanup() {
  if [ -n "$wm" ]; then kill "$wm" 2>/dev/null || true; wait "$wm" 2>/dev/null || true; fi
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

DISPLAY=$display openbox --sm-disable &
wm=$!
sleep 1

mkdir -p "$dir"
DISPLAY=$display GDK_BACKEND=x11 NO_AT_BRIDGE=1 LANG=C.UTF-8 "$gallery" --screenshots "$dir"
