#!/usr/bin/env bash
# The popup menu, its commands and dragging, driven with xdotool on Xvfb with
# openbox and a tray host.
#   shell_test.sh PATH_TO_TRAFALO [SCREENSHOT_FOLDER]
set -u
here=$(cd "$(dirname "$0")" && pwd)
trafalo=$1
shots=${2:-}
source "$here/../../scripts/desktop.sh"
source "$here/desktop_lib.sh"

desktop_start --tray
trap desktop_stop EXIT
# Run from a file name with a dot: the start-up entry must name that file.
cp "$trafalo" "$DESKTOP_DIR/trafalo.bin"
trafalo=$DESKTOP_DIR/trafalo.bin

# (No --sync on mousemove: it waits for ever when the pointer is already there.)
click_at() { # x y button
    xdotool mousemove "$1" "$2"
    sleep 0.15
    xdotool click "$3"
}

menu_height() { read -r _ _ _ mh < <(geometry "$(menu_ids | head -n1)"); echo "$mh"; }
state() { xprop -id "$(window_id)" _NET_WM_STATE 2>/dev/null; }
opacity() { xprop -id "$(window_id)" _NET_WM_WINDOW_OPACITY 2>/dev/null | awk -F' = ' '/=/{print $2}'; }
start() {
    "$trafalo" >>"$DESKTOP_DIR/trafalo.log" 2>&1 &
    pid=$!
    wait_window
    sleep 0.5 # the snapping tick settles the place
}
autostart="$XDG_CONFIG_HOME/autostart/Trafalo.desktop"

# 1. An empty store: Tiny, on top and transparent, no entry written yet.
start
read -r x y w h < <(geometry "$(window_id)")
check "Tiny at the top, 120 px left of the right edge (${w}x${h} at $x,$y)" \
    [ "$x" = $((1280 - 140 - 120)) ] && [ "$y" = 0 ] && [ "$w" = 140 ]
check "always on top: $(state)" bash -c "xprop -id $(window_id) _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE"
check "transparent: opacity $(opacity) is 120/255" [ "$(opacity)" = 2021161080 ]
check "no autostart entry before the command" [ ! -e "$autostart" ]
# A right click on the Tiny graph opens the menu under the window's lower left corner.
xdotool mousemove $((x + 40)) $((y + 13)) click 3
check "a right click on the Tiny graph opens the menu" wait_menu
read -r mx my _ _ < <(geometry "$(menu_ids | head -n1)")
check "the Tiny menu opens at the window's lower left corner ($mx,$my)" [ "$mx $my" = "$x 26" ]
close_menu
stop_trafalo "$pid"

# 2. The Normal window: a right click on the title opens the menu at the pointer.
sed -i -e 's/^SmallUI=.*/SmallUI=0/' -e 's/^Left=.*/Left=99999/' "$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
start
read -r x y w h < <(geometry "$(window_id)")
check "a saved Left beyond the right edge starts at the right-most place ($x,$y)" \
    [ "$x" = $((1280 - 366 - 120)) ] && [ "$y" = 0 ]
xdotool mousemove $((x + 150)) $((y + 15)) click 3
check "a right click on the title opens the menu" wait_menu
read -r mx my _ mh < <(geometry "$(menu_ids | head -n1)")
check "the menu opens at the pointer ($mx,$my)" [ "$mx $my" = "$((x + 150)) $((y + 15))" ]
shot "$DESKTOP_DIR/menu.png" 560 400 $((x - 40)) 0
[ -n "$shots" ] && cp "$DESKTOP_DIR/menu.png" "$shots/menu.png"
close_menu
for key in ctrl shift; do
    xdotool keydown $key
    xdotool mousemove $((x + 150)) $((y + 15)) click 3
    sleep 0.5
    xdotool keyup $key
    check "$key with the right click opens no menu" menu_closed
    close_menu
done
xdotool mousemove $((x + 150)) $((y + 15)) click 2
sleep 0.4
check "the middle button opens no menu" menu_closed

# 3. Transparent, Always on top and Start with Windows through the menu.
choose Down 2 && xdotool key --delay 60 Right Down Down Down Return && sleep 0.4
check "Transparent off: opaque (opacity '$(opacity)')" bash -c '[ -z "$0" ] || [ "$0" = 4294967295 ]' "$(opacity)"
choose Down 2 && xdotool key --delay 60 Right Down Down Down Return && sleep 0.4
check "Transparent on: 120/255 ($(opacity))" [ "$(opacity)" = 2021161080 ]
choose Up 4
check "Always on top off: $(state)" bash -c "! xprop -id $(window_id) _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE"
choose Up 4
check "Always on top on: $(state)" bash -c "xprop -id $(window_id) _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE"
choose Up 3
check "Start with Windows off: no entry, saved at once ($(ini 'Start with Windows'))" \
    bash -c "[ ! -e '$autostart' ] && [ \"\$0\" = False ]" "$(ini 'Start with Windows')"
choose Up 3
check "Start with Windows on: the entry runs $trafalo" grep -qxF "Exec=$(readlink -f "$trafalo")" "$autostart"
check "Start with Windows on: saved at once ($(ini 'Start with Windows'))" [ "$(ini 'Start with Windows')" = True ]
choose Up 3
check "Start with Windows off again removes the entry" [ ! -e "$autostart" ]

# The About box: Cancel (Escape) closes the box, never the program.
windows() { timeout 5 xdotool search --onlyvisible --name '^Trafalo$' 2>/dev/null | wc -l; }
choose Up 2
for i in $(seq 1 30); do
    [ "$(windows)" -ge 2 ] && break
    sleep 0.1
done
check "About opens its box ($(windows) windows)" [ "$(windows)" -ge 2 ]
xdotool key Escape
sleep 0.5
check "Cancel in the About box leaves the program and its window" \
    bash -c "kill -0 $pid 2>/dev/null && [ $(windows) = 1 ]"

# 4. Dragging the title, and the magnetic edges.
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
drag 16 200
check "released 16 px from the left edge it stays ($x)" [ "$x" = 16 ]
drag 15 200
check "released 15 px from the left edge it snaps flush ($x)" [ "$x" = 0 ]
drag 300 $((800 - 217 - 16))
check "16 px above the bottom it stays ($y)" [ "$y" = $((800 - 217 - 16)) ]
drag 300 $((800 - 217 - 15))
check "15 px above the bottom it snaps flush ($y)" [ "$y" = $((800 - 217)) ]
drag $((1280 - 366 - 15)) 300
check "15 px from the right edge it snaps flush ($x)" [ "$x" = $((1280 - 366)) ]
drag 300 10
check "10 px from the top it snaps flush ($y)" [ "$y" = 0 ]

# 5. Exit chosen while hidden saves "Tray" as True; the next start is hidden.
choose Down 1
hidden() { [ -z "$(timeout 5 xdotool search --onlyvisible --name "^Trafalo$")" ]; }
check "Hide to System Tray hides the window" wait_for 30 hidden
# The icon docks in the tray; look for it and open its menu, a few times if
# the tray is slow to take it.
for attempt in 1 2 3; do
    sleep 1
    panel=$(timeout 5 xdotool search --name '^panel$' | head -n1)
    read -r px py pw ph < <(geometry "$panel")
    [ "${pw:-0}" -ge 16 ] || continue
    click_at $((px + pw / 2)) $((py + ph / 2)) 3
    wait_menu && break
done
check "the tray holds the icon (${pw:-0}x${ph:-0})" [ "${pw:-0}" -ge 16 ]
check "a right click on the tray icon opens the menu" menu_open
sleep 0.3
xdotool key --delay 60 Up Return
for i in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
check "Exit ends the program" bash -c "! kill -0 $pid 2>/dev/null"
stop_trafalo "$pid"
check "Exit while hidden saved Tray=True ($(ini Tray))" [ "$(ini Tray)" = True ]
"$trafalo" >>"$DESKTOP_DIR/trafalo.log" 2>&1 &
pid=$!
sleep 2
check "the next start is hidden in the tray" [ -z "$(window_id)" ]
stop_trafalo "$pid"

check "no sanitizer report from the program" bash -c "! grep -E 'Sanitizer|runtime error' '$DESKTOP_DIR/trafalo.log'"
grep -E -A12 'Sanitizer|runtime error' "$DESKTOP_DIR/trafalo.log" | head -40

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
