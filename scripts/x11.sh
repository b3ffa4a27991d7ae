# Helpers for driving the program in a real X window: a virtual display with a window manager,
# finding windows by title, clicking, typing, and a window's place with the frame the window
# manager draws. Sourced by the end-to-end tests and scripts/screenshot.sh; the caller sets
# DISPLAY and the array pids (processes to end on exit).

# Starts Xvfb on $DISPLAY and openbox on it.
start_display() {
    Xvfb "$DISPLAY" -screen 0 "${FGD_SCREEN:-1024x768x24}" -nolisten tcp >/dev/null 2>&1 &
    pids+=($!)
    wait_for xdotool getdisplaygeometry >/dev/null
    openbox >/dev/null 2>&1 &
    pids+=($!)
    sleep 0.5
}
# Saves the screen to $FGD_E2E_SCREENSHOT (or /tmp/fgd-e2e-failure.png), says why, and stops.
fail() {
    local shot=${FGD_E2E_SCREENSHOT:-/tmp/fgd-e2e-failure.png}
    import -window root "$shot" 2>/dev/null && echo "e2e: screen saved to $shot" >&2
    echo "e2e: FAILED: $*" >&2
    exit 1
}
# Waits up to WAIT_TENTHS tenths of a second (default 100) until the command succeeds.
wait_for() {
    for _ in $(seq "${WAIT_TENTHS:-100}"); do "$@" 2>/dev/null && return 0; sleep 0.1; done
    return 1
}
window() { xdotool search --onlyvisible --name "^$1\$" | head -1 | grep .; }
wait_window() { wait_for window "$1" >/dev/null || fail "no window \"$1\""; sleep 0.4; window "$1"; }
wait_gone() { wait_for eval "! window \"$1\"" || fail "window \"$1\" stays open"; }
# Clicks at X Y in the client area of window $1; then keys and typing.
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.3; }
key() { xdotool key "$@"; sleep 0.25; }
type_text() { xdotool type --delay 20 "$1"; sleep 0.25; }
# The window's place with its frame: left top width height.
frame_geometry() {
    local info left right top bottom
    [[ -n $1 ]] || fail "no such window" # xprop would wait for a click on one
    info=$(xwininfo -id "$1")
    read -r left right top bottom < <(xprop -id "$1" _NET_FRAME_EXTENTS | tr -dc '0-9 \n' | xargs)
    left=${left:-0} right=${right:-0} top=${top:-0} bottom=${bottom:-0}
    echo "$(($(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info") - left))" \
        "$(($(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info") - top))" \
        "$(($(sed -n 's/.*Width: *//p' <<<"$info") + left + right))" \
        "$(($(sed -n 's/.*Height: *//p' <<<"$info") + top + bottom))"
}
# Saves a picture of the window with its frame to the file $2.
window_picture() {
    local x y w h
    read -r x y w h < <(frame_geometry "$1")
    import -window root -crop "${w}x$h+$x+$y" +repage "$2"
}
