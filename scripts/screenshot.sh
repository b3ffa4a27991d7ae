#!/usr/bin/env bash
# Takes screenshots of the program's windows under a virtual X display (Xvfb) for docs/.
# Usage: scripts/screenshot.sh OUTPUT.png [xdotool steps ...]
# Each step is an xdotool command line run against the started program, e.g.
#   scripts/screenshot.sh out.png "search --name Tarvok mousemove --window %1 236 96 click 1"
# FGD_ARGS are passed to the program (a file to open). A window manager (openbox) draws the
# frames. With FGD_CAPTURE=TITLE only the window of that title is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
out=$1
shift
binary=${FGD_BINARY:-./build/app/fgd-composer}

[[ -x $binary ]] || { echo "no program at $binary: build it first" >&2; exit 1; }
export DISPLAY=:${FGD_XVFB_DISPLAY:-93}
source scripts/x11.sh
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true' EXIT
start_display
"$binary" ${FGD_ARGS:-} &
pids+=($!)
sleep 1.5
for step in "$@"; do
    sh -c "xdotool $step"
    sleep 0.4
done
if [[ -n "${FGD_CAPTURE:-}" ]]; then
    # Only the window whose title matches FGD_CAPTURE, with the frame the window manager drew.
    window_picture "$(xdotool search --name "$FGD_CAPTURE" | tail -1)" "$out"
else
    import -window root "$out"
fi
