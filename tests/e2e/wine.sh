#!/usr/bin/env bash
# End-to-end test of the Windows program under Wine, in a real X window (Xvfb, openbox), used
# with the mouse and the keyboard (xdotool) as a user would: it is started with a file whose
# path has blanks and non-ASCII letters, continues it, adds a line and saves through Windows'
# own save dialog; the bytes must be those the Linux build writes for the same list. Then it
# saves over that file again (no question), cancels the dialog ("No File Selected"), and
# closes the window: the program ends.
# Usage: tests/e2e/wine.sh PROGRAM.exe   (it makes a fresh Wine prefix of its own)
# FGD_E2E_SHOTS=FOLDER keeps screenshots of the main window and the save dialog there.
set -euo pipefail
program=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
export DISPLAY=:${FGD_E2E_DISPLAY:-92} LANG=C.UTF-8
# A Windows of its own, freshly installed (without Mono and Gecko, which nothing here uses).
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT

source "$here/../../scripts/x11.sh"
export WAIT_TENTHS=300 # Wine starts slowly the first time
shot() { [[ -z ${FGD_E2E_SHOTS:-} ]] || { mkdir -p "$FGD_E2E_SHOTS" && window_picture "$1" "$FGD_E2E_SHOTS/$2"; }; }
start_display
wineboot --init >/dev/null 2>&1
wineserver --wait

# A file this program saved (Windows-1252 text: é and € in it), in a folder whose name has
# blanks and non-ASCII letters, as mod folders on Windows often have.
folder="$work/Mod Ordner ä"
mkdir -p "$folder"
opened="$folder/übung 1.fgd"
cp "$here/../data/encoded.fgd" "$opened"
# What the Linux build writes for that list with the line Add makes from untouched inputs.
python3 - "$opened" "$work/expected.fgd" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
at = data.rindex(b"\r\n\r\n// Made with")
open(sys.argv[2], "wb").write(data[:at] + b'\r\n = Entity Suffix : "Real Name" []' + data[at:])
PY

wine "$program" "$(winepath -w "$opened")" >"$work/program.log" 2>&1 &
app=$!
pids+=($app)
main=$(wait_window "Tarvok's GUI .FGD Program")
click "$main" 236 96 # View Souce: the opened lines are in the list
shot "$main" windows-main-window.png
click "$main" 236 96
click "$main" 60 96 # Add

# Save through the native dialog, to a new name typed without its extension.
click "$main" 152 96
dialog=$(wait_window "Choose FileName for Output")
shot "$dialog" windows-save-dialog.png
key End shift+Home
type_text "$(winepath -w "$work")\\saved"
key Return
wait_for test -f "$work/saved.fgd" || fail "no file saved (the dialog should add .fgd)"
sleep 0.5
cmp "$work/expected.fgd" "$work/saved.fgd" || fail "the saved bytes differ from the Linux build's"

# Saved again over the same file: the dialog offers its name and asks nothing.
touch -d "1 hour ago" "$work/saved.fgd"
click "$main" 152 96
wait_window "Choose FileName for Output" >/dev/null
key Return
wait_for eval 'test -n "$(find "$work/saved.fgd" -mmin -1)"' || fail "not saved over the file"
cmp "$work/expected.fgd" "$work/saved.fgd" || fail "saving again changed the bytes"

# Cancelled: "No File Selected", under its whole title.
click "$main" 152 96
wait_window "Choose FileName for Output" >/dev/null
key Escape
wait_window "An Error has Occurred" >/dev/null
key Return
wait_gone "An Error has Occurred"

# Closing the window ends the program.
xdotool windowactivate --sync "$main" 2>/dev/null || true
key alt+F4
wait_for eval '! kill -0 $app' || fail "the program still runs after its window closed"
echo "wine e2e: 4 passed, 0 failed"
