#!/usr/bin/env bash
# End-to-end test in a real X window: starts PROGRAM under Xvfb with a window manager and uses
# it with the mouse and the keyboard (xdotool), for what only a real window shows: the file
# dialog, the window manager closing windows, the program's life, and opening a file at start.
# It composes a line, enters extras and saves through the dialog (byte for byte); closes the
# main window while Help is open (the program lives on until Help closes); then opens the
# saved file with the program and saves it again unchanged.
# Usage: tests/e2e/run.sh PROGRAM
set -euo pipefail
program=$1
work=$(mktemp -d)
export DISPLAY=:${FGD_E2E_DISPLAY:-91}
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT

fail() {
    local shot=${FGD_E2E_SCREENSHOT:-/tmp/fgd-e2e-failure.png}
    import -window root "$shot" 2>/dev/null && echo "e2e: screen saved to $shot" >&2
    echo "e2e: FAILED: $*" >&2
    exit 1
}
# Waits up to 10 s until the command succeeds.
wait_for() {
    for _ in $(seq 100); do "$@" 2>/dev/null && return 0; sleep 0.1; done
    return 1
}
window() { xdotool search --onlyvisible --name "^$1\$" | head -1 | grep .; }
wait_window() { wait_for window "$1" >/dev/null || fail "no window \"$1\""; sleep 0.3; window "$1"; }
wait_gone() { wait_for eval "! window \"$1\"" || fail "window \"$1\" stays open"; }
# Clicks at X Y in the client area of window $1; then keys and typing.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.3; }
key() { xdotool key "$@"; sleep 0.2; }
type_text() { xdotool type --delay 15 "$1"; sleep 0.2; }
start() { "$program" "$@" >"$work/program.log" 2>&1 & app=$!; pids+=($app); }

Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
wait_for xdotool getdisplaygeometry >/dev/null
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

start
# Positions are the controls' designed places in twips divided by 15, plus half their size.
main=$(wait_window "Tarvok's GUI .FGD Program")
# The frame, title bar included, is in the middle of the screen.
sleep 0.5
info=$(xwininfo -id "$main")
read -r left right top bottom < <(xprop -id "$main" _NET_FRAME_EXTENTS | tr -dc '0-9 \n' | xargs)
x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info") y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
w=$(sed -n 's/.*Width: *//p' <<<"$info") h=$(sed -n 's/.*Height: *//p' <<<"$info")
dx=$(((x - left) * 2 + w + left + right - 1024)) dy=$(((y - top) * 2 + h + top + bottom - 768))
((dx * dx <= 16 && dy * dy <= 16)) || fail "the main window's frame is off the centre by $dx/2, $dy/2"
click "$main" 236 58 && key ctrl+a && type_text "9mmAR"             # suffix box
click "$main" 396 26 && key ctrl+a && type_text "9mm Assault Rifle" # real-world name
click "$main" 60 96                                                 # Add
click "$main" 324 96                                                # Extras
extras=$(wait_window "Input Additional Extras !")
type_text "Jo" && key Tab && type_text "Test" && key Tab && type_text "1.2"
click "$extras" 220 152                                             # Done
wait_gone "Input Additional Extras !"
click "$main" 152 96                                                # Save
wait_window "Choose FileName for Output" >/dev/null
type_text "$work/mymod" && key Return # no extension: the dialog adds .fgd
wait_for test -f "$work/mymod.fgd" || fail "no file saved"
printf '%s\r\n' "// Jo" "// Test  Version: 1.2" "" "//Half Life FGD File Start Code Here:" \
    ' = 9mmAR : "9mm Assault Rifle" []' "" "// Made with Tarvok's FGD maker" "// " "//ICQ : " \
    >"$work/expected.fgd"
cmp "$work/expected.fgd" "$work/mymod.fgd" || fail "the saved file differs"

# Closing the main window leaves the help window, and the program, running.
click "$main" 428 96                                                # Help!
help=$(wait_window "Help")
xdotool windowactivate --sync "$main" || true
key alt+F4
wait_gone "Tarvok's GUI .FGD Program"
sleep 0.5
kill -0 "$app" || fail "the program ended with the help window still open"
click "$help" 152 224                                               # Close
wait_for eval '! kill -0 $app' || fail "the program still runs after its last window closed"
wait "$app" || fail "the program exited with status $?"

# Opened as a file manager opens it, the file comes back whole and Save offers its name.
touch -d "1 hour ago" "$work/mymod.fgd"
start "$work/mymod.fgd"
main=$(wait_window "Tarvok's GUI .FGD Program")
click "$main" 152 96                                                # Save
wait_window "Choose FileName for Output" >/dev/null
key Return                                                          # the name it offers
wait_for eval 'test -n "$(find "$work/mymod.fgd" -mmin -1)"' || fail "the opened file was not saved again"
cmp "$work/expected.fgd" "$work/mymod.fgd" || fail "the opened file changed on saving"
xdotool windowactivate --sync "$main" || true
key alt+F4
wait "$app" || fail "the program exited with status $?"
echo "e2e: 3 passed, 0 failed"
