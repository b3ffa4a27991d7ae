#!/usr/bin/env bash
# Takes screenshots of the program's windows under a virtual X display (Xvfb) for docs/.
# Usage: scripts/screenshot.sh OUTPUT.png [xdotool steps ...]
# Each step is an xdotool command line run against the started program, e.g.
#   scripts/screenshot.sh out.png "search --name Tarvok mousemove --window %1 236 96 click 1"
# FGD_ARGS are passed to the program (a file to open). A window manager (openbox) draws the
# frames when it is installed. With FGD_CAPTURE=TITLE only
# the window of that title is kept.
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
DISPLAY=$display "$binary" ${FGD_ARGS:-} &
program=$!
sleep 1.5
for step in "$@"; do
    DISPLAY=$display sh -c "xdotool $step"
    sleep 0.4
done
if [[ -n "${FGD_CAPTURE:-}" ]]; then
    # Only the window whose title matches FGD_CAPTURE, with the frame the window manager drew.
    id=$(DISPLAY=$display xdotool search --name "$FGD_CAPTURE" | tail -1)
    info=$(DISPLAY=$display xwininfo -id "$id")
    X=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    Y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    WIDTH=$(sed -n 's/.*Width: *//p' <<<"$info")
    HEIGHT=$(sed -n 's/.*Height: *//p' <<<"$info")
    read -r left right top bottom < <(DISPLAY=$display xprop -id "$id" _NET_FRAME_EXTENTS |
        sed -n 's/.*= *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1 \2 \3 \4/p')
    left=${left:-0} right=${right:-0} top=${top:-0} bottom=${bottom:-0}
    geometry="$((WIDTH + left + right))x$((HEIGHT + top + bottom))+$((X - left))+$((Y - top))"
    DISPLAY=$display import -window root -crop "$geometry" +repage "$out"
else
    DISPLAY=$display import -window root "$out"
fi
