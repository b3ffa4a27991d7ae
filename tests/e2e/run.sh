#!/usr/bin/env bash
# End-to-end test in a real X window: starts PROGRAM under Xvfb with a window manager and uses
# it with the mouse and the keyboard (xdotool), for what only a real window shows: the file
# dialog, the window manager closing windows, the window's place and the program's life.
# It composes a line, enters extras and saves through the dialog (byte for byte); closes the
# main window while Help is open (the program lives on until Help closes). Opening a file at
# start, in a real window, is tests/e2e/wine.sh's part.
# Usage: tests/e2e/run.sh PROGRAM
set -euo pipefail
program=$1
work=$(mktemp -d)
export DISPLAY=:${FGD_E2E_DISPLAY:-91}
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT

source "$(dirname "$0")/../../scripts/x11.sh"
start() { "$program" "$@" >"$work/program.log" 2>&1 & app=$!; pids+=($app); }
start_display

start
# Positions are the controls' designed places in twips divided by 15, plus half their size.
main=$(wait_window "Tarvok's GUI .FGD Program")
# The frame, title bar included, is in the middle of the screen, once the window manager has
# drawn it (on a busy machine that takes a while).
off_centre() {
    local x y w h
    read -r x y w h < <(frame_geometry "$main")
    echo "$((x * 2 + w - 1024)) $((y * 2 + h - 768))"
}
centred() { read -r dx dy < <(off_centre); ((dx * dx <= 16 && dy * dy <= 16)); }
wait_for centred || fail "the main window's frame is off the centre by $(off_centre | tr ' ' /) (halves)"
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
echo "e2e: 2 passed, 0 failed"
