#!/usr/bin/env bash
# Takes screenshots of the program's windows under a virtual X display (Xvfb) for docs/.
# Usage: scripts/screenshot.sh OUTPUT.png [xdotool steps ...]
# Each step is an xdotool command line run against the started program, e.g.
#   scripts/screenshot.sh out.png "search --name Tarvok mousemove --window %1 236 96 click 1"
# A window manager (openbox) draws the frames when it is installed.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$1
shift
binary=${FGD_BINARY:-./build/app/fgd-composer}

display=:${FGD_XVFB_DISPLAY:-93}
Xvfb "$display" -screen 0 ${FGD_SCREEN:-1024x768x24} -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $program $wm $xvfb 2>/dev/null || true' EXIT
program=""
wm=""
sleep 0.5
wm=""
if command -v openbox >/dev/null; then
    DISPLAY=$display openbox >/dev/null 2>&1 &
    wm=$!
    sleep 0.5
fi
DISPLAY=$display "$binary" &
program=$!
sleep 1.5
for step in "$@"; do
    DISPLAY=$display sh -c "xdotool $step"
    sleep 0.4
done
DISPLAY=$display import -window root "$out"
