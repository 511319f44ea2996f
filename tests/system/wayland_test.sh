#!/usr/bin/env bash
# The real program on a Wayland session: weston's headless backend with
# XWayland. Where an X server is there the program is an X11 client (it can
# place itself and stay on top); the user's choice of Wayland stands, and a
# Wayland-only session starts and says once what is lost.
#   wayland_test.sh PATH_TO_TRAFALO
# Weston's headless backend has no seat: input sent through XTest ends
# XWayland, so this suite makes no gestures (the first-minute suites make
# them under two X11 window managers), and weston places every X11 window
# itself, so the saved place is not checked here.
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop_lib.sh" "$@"

desktop_start_wayland || { echo "FAILED - weston with XWayland did not start"; exit 1; }
T=$DESKTOP_DIR
trap suite_cleanup EXIT
plugin() { grep -o 'libqxcb\|libqwayland' "/proc/$1/maps" | sort -u | tr '\n' ' '; }
limits() { grep -c 'running as a Wayland client' "$1"; }

# No settings file, WAYLAND_DISPLAY and DISPLAY both set.
"$trafalo" >"$T/x11.log" 2>&1 &
pid=$!
check "the window maps on XWayland" wait_window
check "the program is an X11 client ($(plugin "$pid"))" [ "$(plugin "$pid")" = "libqxcb " ]
wid=$(window_id)
read -r x0 y0 w h < <(geometry "$wid")
check "the Tiny layout (${w}x$h)" [ "$w $h" = "140 26" ]
sleep 3
stays "its place holds while it samples" "$x0" "$y0"
check "nothing said of Wayland ($(limits "$T/x11.log"))" [ "$(limits "$T/x11.log")" = 0 ]
stop_trafalo
check "the settings are saved at exit ($(ini SmallUI))" [ "$(ini SmallUI)" = 2 ]

# Qt's Wayland plugin leaves a few allocations at exit in modules unloaded by
# then, which no suppression can name: the Wayland runs check no leaks (the
# X11 run above does).
export ASAN_OPTIONS="${ASAN_OPTIONS:-}${ASAN_OPTIONS:+:}detect_leaks=0"

# The user's explicit choice of Wayland, by variable and by option.
for how in variable option; do
    if [ "$how" = variable ]; then
        QT_QPA_PLATFORM=wayland "$trafalo" >"$T/$how.log" 2>&1 &
    else
        "$trafalo" -platform wayland >"$T/$how.log" 2>&1 &
    fi
    pid=$!
    sleep 3
    check "chosen by $how, Wayland stands ($(plugin "$pid"))" [ "$(plugin "$pid")" = "libqwayland " ]
    check "and what is lost is said once ($(limits "$T/$how.log"))" [ "$(limits "$T/$how.log")" = 1 ]
    stop_trafalo
done

# Wayland only: no X server to fall back to.
DISPLAY= "$trafalo" >"$T/wayland.log" 2>&1 &
pid=$!
sleep 3
check "Wayland only, it starts ($(plugin "$pid"))" [ "$(plugin "$pid")" = "libqwayland " ]
check "and says once what is lost ($(limits "$T/wayland.log"))" [ "$(limits "$T/wayland.log")" = 1 ]
stop_trafalo

suite_end
