#!/usr/bin/env bash
# The real program on a real (virtual) desktop: Xvfb with openbox and a tray.
#   desktop_test.sh PATH_TO_TRAFALO [SCREENSHOT_FOLDER]
# A start restores a saved place, layout and options and saves them again;
# the readouts draw live traffic; hidden, the
# icon's picture follows the traffic (XEmbed and StatusNotifierItem).
# The first start, a second start, a garbled file, a stale lock, the first
# start's interface and the tray host going away are in first_minute_test.sh,
# faults_test.sh and tests/net/InterfaceSelectionTest.cpp.
set -u
here=$(cd "$(dirname "$0")" && pwd)
shots=${2:-}
source "$here/desktop_lib.sh" "$@"

suite_start --tray
green() { # picture w h x y: green pixels in that part
    convert "$1" -crop "${2}x${3}+${4}+${5}" -fill black +opaque 'rgb(0,255,0)' -format '%[fx:int(mean.g*w*h)]' info:
}

# 1. A start restores a place, the Normal layout and an option; Top -150
# twips is 10 pixels above the screen: the snapping tick pulls it in.
start_program 'Left=3000\nTop=-150\nSound=False\nSmallUI=0\n'
check "the window appears" wait_window
read -r x y w h < <(geometry "$(window_id)")
check "Normal layout is 366 x 217 (got ${w}x${h})" [ "$w $h" = "366 217" ]
check "restored at 200 and pulled to the top edge (got $x,$y)" [ "$x $y" = "200 0" ]
sleep 2.2
shot "$DESKTOP_DIR/before.png" "$w" "$h" "$x" "$y"
loopback_traffic 3
sleep 1.2
shot "$DESKTOP_DIR/after.png" "$w" "$h" "$x" "$y"
changed=$(compare -metric AE -crop 366x52+0+85 "$DESKTOP_DIR/before.png" "$DESKTOP_DIR/after.png" null: 2>&1 | cut -d' ' -f1)
check "the readouts change with loopback traffic ($changed pixels)" [ "${changed%.*}" -gt 50 ]
check "the received total is drawn in green" [ "$(green "$DESKTOP_DIR/after.png" 192 13 0 75)" -gt 20 ]
[ -n "$shots" ] && cp "$DESKTOP_DIR/after.png" "$shots/normal.png"
stop_trafalo
check "saved: the place as pulled in, the option and layout kept ($(ini Left),$(ini Top) $(ini Sound) $(ini SmallUI))" \
    [ "$(ini Left),$(ini Top) $(ini Sound) $(ini SmallUI)" = "3000,0 False 0" ]

# (The Small and Tiny layouts' sizes and bars: first_minute_test.sh and
# TrafficGraph.*.)
# 3. Hidden behind an XEmbed icon: its picture follows the traffic and is
# redrawn as samples arrive; exit saves "Tray" as True.
start_program 'Tray=True\nSmallUI=0\n'
sleep 2
check "starts hidden: no visible window" [ -z "$(window_id)" ]
panel=$(xdotool search --name '^panel$' | head -n1)
read -r px py pw ph < <(geometry "$panel")
shot "$DESKTOP_DIR/tray1.png" "$pw" "$ph" "$px" "$py"
loopback_traffic 3
shot "$DESKTOP_DIR/tray2.png" "$pw" "$ph" "$px" "$py"
sleep 1.1
shot "$DESKTOP_DIR/tray3.png" "$pw" "$ph" "$px" "$py"
changed=$(compare -metric AE "$DESKTOP_DIR/tray1.png" "$DESKTOP_DIR/tray2.png" null: 2>&1 | cut -d' ' -f1)
check "the icon shows the traffic picture ($changed pixels changed)" [ "${changed%.*}" -gt 30 ]
changed=$(compare -metric AE "$DESKTOP_DIR/tray2.png" "$DESKTOP_DIR/tray3.png" null: 2>&1 | cut -d' ' -f1)
check "the icon is redrawn as samples arrive ($changed pixels changed)" [ "${changed%.*}" -gt 0 ]
[ -n "$shots" ] && convert "$DESKTOP_DIR/tray2.png" -scale 400% "$shots/tray.png"
stop_trafalo
check "exit while hidden saves Tray=True ($(ini Tray))" [ "$(ini Tray)" = True ]

# 4. With a StatusNotifierWatcher on the bus the icon is a StatusNotifierItem
# whose picture, read over D-Bus, is the traffic graph. (Its tooltip and
# Activate: freemem_test.sh, through the same icon class.)
start_sni_watcher
start_program 'Tray=True\nSmallUI=0\n'
sleep 3
check "an idle link shows the window's own icon: $(/usr/bin/python3 "$here/sni_check.py" idle)" \
    /usr/bin/python3 "$here/sni_check.py" idle
loopback_traffic 3
check "the item's picture is the traffic graph: $(/usr/bin/python3 "$here/sni_check.py" picture 20)" \
    /usr/bin/python3 "$here/sni_check.py" picture 20
stop_trafalo
end_process "$watcher"

# (Saved hidden with no notification area: the window shows, in
# first_minute_test.sh with the tray host gone.)
suite_end
