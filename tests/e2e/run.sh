#!/usr/bin/env bash
# End-to-end test in a real X window: starts PROGRAM under Xvfb with a window manager and uses
# it as a person would, with the mouse and the keyboard (xdotool). It composes a Weapon line,
# shows the source, edits a line, enters extras, saves through the file dialog and compares the
# saved file byte for byte; then it closes the main window while the help window is open and
# checks that the program keeps running until the help window closes too. Last, it opens the
# saved file with the program and saves it again, unchanged.
# Usage: tests/e2e/run.sh PROGRAM
set -euo pipefail
program=$1
work=$(mktemp -d)
display=:${FGD_E2E_DISPLAY:-91}
pids=()

cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "e2e: FAILED: $*" >&2
    DISPLAY=$display import -window root "${FGD_E2E_SCREENSHOT:-/tmp/fgd-e2e-failure.png}" \
        2>/dev/null && echo "e2e: screen saved to ${FGD_E2E_SCREENSHOT:-/tmp/fgd-e2e-failure.png}" >&2
    exit 1
}

# Waits up to 10 s for a visible window whose title is exactly TITLE; prints its id.
wait_window() {
    local id
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true)
        if [[ -n "$id" ]]; then
            sleep 0.3
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    fail "no window \"$1\""
}

wait_gone() {
    for _ in $(seq 100); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    fail "window \"$1\" did not close"
}

# Clicks at X Y in the client area of window ID.
click() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
    sleep 0.3
}

type_text() {
    xdotool type --delay 15 "$1"
    sleep 0.2
}

key() {
    xdotool key "$@"
    sleep 0.2
}

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
for _ in $(seq 50); do
    xdotool getdisplaygeometry >/dev/null 2>&1 && break
    sleep 0.1
done
openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

"$program" >"$work/program.log" 2>&1 &
app=$!
pids+=($app)

# Positions are the controls' designed places in twips divided by 15, plus half their size.
main=$(wait_window "Tarvok's GUI .FGD Program")
click "$main" 396 26         # real-world name box, then back to the drop-downs with the keyboard
key shift+Tab shift+Tab      # Pointsize drop-down
type_text "w"                # Weapon
key Tab                      # Entity Info drop-down
type_text "w"                # weapon_
click "$main" 236 58         # suffix box
key ctrl+a
type_text "9mmAR"
click "$main" 396 26         # real-world name box
key ctrl+a
type_text "9mm Assault Rifle"
click "$main" 60 96          # Add
click "$main" 236 96         # View Souce: the source list shows

click "$main" 60 129         # the first line of the source list
click "$main" 452 140        # Edit
editor=$(wait_window "Edit Pointsize To Suit")
key ctrl+a
type_text "// edited by hand"
click "$editor" 124 64       # Update
wait_gone "Edit Pointsize To Suit"

click "$main" 324 96         # Extras
extras=$(wait_window "Input Additional Extras !")
type_text "Jo"
key Tab
type_text "Test"
key Tab
type_text "1.2"
click "$extras" 220 152      # Done
wait_gone "Input Additional Extras !"

click "$main" 152 96         # Save
wait_window "Choose FileName for Output" >/dev/null
type_text "$work/mymod"      # no extension: the dialog adds .fgd
key Return
for _ in $(seq 50); do
    [[ -f "$work/mymod.fgd" ]] && break
    sleep 0.1
done
[[ -f "$work/mymod.fgd" ]] || fail "no file saved"

printf '%s\r\n' "// Jo" "// Test  Version: 1.2" "" \
    '@PointClass size(-16 -16 0, 16 16 36) = weapon_9mmAR : "9mm Assault Rifle" []' \
    "// edited by hand" "" "// Made with Tarvok's FGD maker" "// " "//ICQ : " >"$work/expected.fgd"
if ! cmp "$work/expected.fgd" "$work/mymod.fgd"; then
    diff <(cat -A "$work/expected.fgd") <(cat -A "$work/mymod.fgd") >&2 || true
    fail "the saved file differs"
fi
echo "e2e: saved file matches, byte for byte"

# Closing the main window leaves the help window, and the program, running.
click "$main" 428 96         # Help!
help=$(wait_window "Help")
xdotool windowactivate --sync "$main" 2>/dev/null || true
key alt+F4
wait_gone "Tarvok's GUI .FGD Program"
sleep 0.5
kill -0 "$app" 2>/dev/null || fail "the program ended with the help window still open"
click "$help" 152 224        # Close
for _ in $(seq 50); do
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$app" 2>/dev/null; then
    fail "the program still runs after its last window closed"
fi
wait "$app" || fail "the program exited with status $?"
echo "e2e: the program ran until its last window closed"

# Continuing the saved file: opened from the command line as a file manager opens it, it comes
# back whole, and Save offers its name, so saving again writes the same bytes.
touch -d "1 hour ago" "$work/mymod.fgd"
"$program" "$work/mymod.fgd" >"$work/program.log" 2>&1 &
app=$!
pids+=($app)
main=$(wait_window "Tarvok's GUI .FGD Program")
click "$main" 152 96         # Save
wait_window "Choose FileName for Output" >/dev/null
key Return                   # the name it offers
for _ in $(seq 50); do
    [[ $(find "$work/mymod.fgd" -mmin -1) ]] && break
    sleep 0.1
done
[[ $(find "$work/mymod.fgd" -mmin -1) ]] || fail "the continued file was not saved again"
cmp "$work/expected.fgd" "$work/mymod.fgd" || fail "the continued file changed on saving"
xdotool windowactivate --sync "$main" 2>/dev/null || true
key alt+F4
wait "$app" || fail "the program exited with status $?"
echo "e2e: an opened file saves again byte for byte"
echo "e2e: 3 passed, 0 failed"
