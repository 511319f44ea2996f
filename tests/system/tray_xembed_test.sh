#!/usr/bin/env bash
# Both windows' notification-area icons on a tray that speaks only XEmbed
# (trayer with no StatusNotifierWatcher, as i3bar, tint2 and LXDE have):
# hide and show, the tooltip, the right button's menu and the left click;
# a Free Memory window hidden there with the main window gone comes back
# when the area goes away, and goes back in when the area returns.
#   tray_xembed_test.sh PATH_TO_TRAFALO
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop_lib.sh" "$@"

suite_start --tray
fm_id() { timeout 5 xdotool search --onlyvisible --name 'Free Memory v' 2>/dev/null | head -n1; }
fm_shown() { [ -n "$(fm_id)" ]; }
fm_hidden() { [ -z "$(fm_id)" ]; }
main_hidden() { [ -z "$(window_id)" ]; }
# The icons docked in the tray host's panel, newest first: the centre of each
# on the screen.
panel_id() { timeout 5 xdotool search --name '^panel$' | head -n1; }
icons() {
    timeout 5 xwininfo -children -id "$(panel_id)" | awk '$2 ~ /^\(has/ && $0 ~ /22x30/ {
        split($NF, at, "+"); print at[2] + 11, at[3] + 15 }'
}
icon_count() { icons | grep -c .; }
icons_are() { [ "$(icon_count)" = "$1" ]; }
# The program's pop-up windows (menus, tooltips) taller than min pixels;
# the icons inside the panel are override-redirect windows of it too.
popup_ids() { # min
    local id x y ph px py pw panel_h
    read -r px py pw panel_h < <(geometry "$(panel_id)")
    for id in $(timeout 5 xdotool search --onlyvisible --class trafalo 2>/dev/null); do
        override_redirect "$id" || continue
        read -r x y _ ph < <(geometry "$id")
        [ "$x" -ge "$px" ] && [ "$x" -lt $((px + pw)) ] && [ "$y" -ge "$py" ] && continue
        [ "${ph:-0}" -gt "$1" ] && echo "$id"
    done
}
tooltip_shown() { [ -n "$(popup_ids 10)" ]; }
menu_shown() { [ -n "$(popup_ids 60)" ]; }
# The tray cases of one icon: its tooltip, its menu, and a left click shows
# its window.
icon_cases() { # which "x y" shown-check
    local ix iy
    read -r ix iy <<<"$2"
    xdotool mousemove --sync 640 500
    sleep 0.3
    for step in -6 -4 -2 0; do # a hand comes to rest on it
        xdotool mousemove --sync $((ix + step)) "$iy"
        sleep 0.1
    done
    check "$1: resting on the icon shows its tooltip" wait_for 40 tooltip_shown
    xdotool click 3
    check "$1: the right button opens its menu" wait_for 30 menu_shown
    xdotool key Escape
    sleep 0.3
    xdotool mousemove --sync "$ix" "$iy" click 1
    check "$1: a left click shows the window" wait_for 30 "$3"
    xdotool mousemove --sync 640 500
}

start_shown '' /tray
hover_graph 110
xdotool click 1 # the Tiny meters' Free Memory gesture
check "the Free Memory window shows" wait_for 50 fm_shown
sleep 1
xdotool windowminimize "$(fm_id)"
check "minimised, the Free Memory window goes into the tray" wait_for 30 fm_hidden
check "one icon in the tray ($(icon_count))" wait_for 30 icons_are 1
icon_cases "Free Memory" "$(icons | head -n1)" fm_shown
xdotool windowminimize "$(fm_id)"
wait_for 30 fm_hidden

hover_graph 60
xdotool click 3
wait_menu
sleep 0.3
xdotool key Down Return # "Hide to System Tray"
check "the main window hides in the tray" wait_for 30 main_hidden
check "two icons in the tray ($(icon_count))" wait_for 30 icons_are 2
icon_cases "Trafalo" "$(icons | head -n1)" wait_window

# Exit from the main window's menu: the Free Memory window stays loaded in
# the tray and keeps the program.
hover_graph 60
xdotool click 3
wait_menu
sleep 0.3
xdotool key Up Return # "Exit"
check "the main window is gone" wait_for 30 main_hidden
sleep 1
check "the program runs on for the Free Memory window" kill -0 "$pid"
kill "$DESKTOP_TRAY_PID"
wait "$DESKTOP_TRAY_PID" 2>/dev/null
check "the tray host gone, the Free Memory window shows" wait_for 50 fm_shown
desktop_tray
check "the tray host back, it goes back into the tray" wait_for 50 fm_hidden
check "and its icon is there ($(icon_count))" wait_for 30 icons_are 1
stop_trafalo
check "SIGTERM ends the program" [ "$(pgrep -f "$trafalo /tray" | wc -l)" = 0 ]

suite_end
