#!/usr/bin/env bash
# The popup menu's window commands and dragging, driven with xdotool on Xvfb
# with openbox: Transparent, Always on top and Start with Windows as the
# window manager and the autostart folder see them, the About box, the menu
# at the pointer, a drag and a magnetic edge. (Which keys open the menu, the
# start place and the edges' distances are pinned on fakes:
# frmMainMenu.EachOpeningFollowsTheWindowAndTheKeys, PlaceAtStartup.*,
# WindowPlacement.*; the Tiny menu and the tray in first_minute_test.sh.)
#   shell_test.sh PATH_TO_TRAFALO [SCREENSHOT_FOLDER]
set -u
here=$(cd "$(dirname "$0")" && pwd)
shots=${2:-}
source "$here/desktop_lib.sh" "$@"

suite_start
# Run from a file name with a dot: the start-up entry must name that file.
cp "$trafalo" "$T/trafalo.bin"
trafalo=$T/trafalo.bin
state() { xprop -id "$(window_id)" _NET_WM_STATE 2>/dev/null; }
above() { state | grep -q _NET_WM_STATE_ABOVE; }
opacity() { xprop -id "$(window_id)" _NET_WM_WINDOW_OPACITY 2>/dev/null | awk -F' = ' '/=/{print $2}'; }
opaque() { [ -z "$(opacity)" ] || [ "$(opacity)" = 4294967295 ]; }
autostart="$XDG_CONFIG_HOME/autostart/Trafalo.desktop"

# 1. The Normal window starts on top and transparent; a right click on the
# title opens the menu at the pointer.
start_shown 'SmallUI=0\n'
sleep 0.5 # the snapping tick settles the place
check "always on top: $(state)" above
check "transparent: opacity $(opacity) is 120/255" [ "$(opacity)" = 2021161080 ]
read -r x y w h < <(geometry "$(window_id)")
xdotool mousemove $((x + 150)) $((y + 15)) click 3
wait_menu
read -r mx my _ _ < <(geometry "$(menu_ids | head -n1)")
check "a right click on the title opens the menu at the pointer ($mx,$my)" [ "$mx $my" = "$((x + 150)) $((y + 15))" ]
shot "$T/menu.png" 560 400 $((x - 40)) 0
[ -n "$shots" ] && cp "$T/menu.png" "$shots/menu.png"
close_menu

# 2. Transparent, Always on top and Start with Windows through the menu, off
# and on again; the start-up entry is written and removed at once.
transparent() { choose Down 2 && xdotool key --delay 60 Right Down Down Down Return && sleep 0.4; }
transparent
check "Transparent off: opaque (opacity '$(opacity)')" opaque
transparent
check "Transparent on: 120/255 ($(opacity))" [ "$(opacity)" = 2021161080 ]
choose Up 4
check "Always on top off: $(state)" bash -c "! xprop -id $(window_id) _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE"
choose Up 4
check "Always on top on: $(state)" above
check "no autostart entry before the command" [ ! -e "$autostart" ]
choose Up 3 # checked by default: off first
check "Start with Windows off: no entry, saved at once ($(ini 'Start with Windows'))" \
    [ "$([ -e "$autostart" ] && echo entry) $(ini 'Start with Windows')" = " False" ]
choose Up 3
check "Start with Windows on: the entry runs $trafalo, saved at once ($(ini 'Start with Windows'))" \
    [ "$(grep -cxF "Exec=$(readlink -f "$trafalo")" "$autostart") $(ini 'Start with Windows')" = "1 True" ]
choose Up 3
check "Start with Windows off again removes the entry" [ ! -e "$autostart" ]

# 3. The About box: Cancel (Escape) closes the box, never the program.
windows() { timeout 5 xdotool search --onlyvisible --name '^Trafalo$' 2>/dev/null | wc -l; }
choose Up 2
two_windows() { [ "$(windows)" -ge 2 ]; }
check "About opens its box" wait_for 30 two_windows
xdotool key Escape
sleep 0.5
check "Cancel in the About box leaves the program and its window ($(windows))" \
    [ "$(kill -0 "$pid" 2>/dev/null && echo alive) $(windows)" = "alive 1" ]

# 4. Dragging the title moves the window and opens no menu; released 15 px
# from the left edge it snaps flush.
drag() { # to the window's new left and top
    read -r x y _ _ < <(geometry "$(window_id)")
    xdotool mousemove $((x + 150)) $((y + 15)) mousedown 1
    sleep 0.2
    xdotool mousemove $((x + 150 + 40)) $((y + 15 + 40))
    sleep 0.2
    xdotool mousemove $(($1 + 150)) $(($2 + 15))
    sleep 0.3
    xdotool mouseup 1
    sleep 0.3
    read -r x y _ _ < <(geometry "$(window_id)")
}
drag 300 200
check "dragging the title moves the window ($x,$y)" [ "$x $y" = "300 200" ]
check "no menu after a drag" menu_closed
drag 15 200
check "released 15 px from the left edge it snaps flush ($x)" [ "$x" = 0 ]
stop_trafalo

suite_end
