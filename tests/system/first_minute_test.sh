#!/usr/bin/env bash
# A new user's first minute with the real program: no settings file, the
# default layout and place, the pointer moving over the graph and away
# between gestures as a hand does, the window's place read back from the X
# server after every gesture, the same menu command several times in a row,
# double clicks through the layouts and back, a move by the window manager,
# the notification area going away and coming back.
#   first_minute_test.sh PATH_TO_TRAFALO openbox|xfwm4
set -u
here=$(cd "$(dirname "$0")" && pwd)
wm=${2:-openbox}
source "$here/desktop_lib.sh" "$@"

suite_start --tray --wm "$wm"
echo "# window manager: $wm"
start_pulse || { echo "FAILED - no PulseAudio"; exit 1; }

"$trafalo" >"$T/trafalo.log" 2>&1 &
pid=$!
check "a first start with no settings file shows a window" wait_window
wid=$(window_id)
sleep 3
read -r x0 y0 w h < <(geometry "$wid")
check "the Tiny layout at the top right, 120 px in (got ${w}x$h at $x0,$y0)" [ "$w $h $x0 $y0" = "140 26 1020 0" ]

# The speaker button comes with the pointer over the graph's left part; the
# column grows to the right and the left edge stays.
hover_graph 30
read -r x y w h < <(geometry "$wid")
check "hovering the graph widens the window to the right, in place (got ${w} wide at $x,$y)" \
    [ "$w $x $y" = "168 $x0 $y0" ]
away
stays "the window stays after the pointer left" "$x0" "$y0"

# The same command three times: the menu opens under the window each time.
for want in yes no yes; do
    hover_graph 60
    xdotool click 3
    if check "a right click on the graph opens the menu (round for $want)" wait_menu; then
        read -r mx my _ _ < <(geometry "$(menu_ids | head -n1)")
        read -r x y w h < <(geometry "$wid")
        check "the Tiny menu opens under the window's lower left corner (menu at $mx,$my)" \
            [ "$mx $my" = "$x $((y + h))" ]
        sleep 0.3
        xdotool key --delay 60 Down Down Down Down Down Return
        # The mute follows the beeps asked before it, and a sink asleep (the
        # null sink sleeps long) may start each of them a second or two late.
        check "\"Toggle Mute Volume\" sets the mute to $want" wait_for 120 is_muted "$want"
    fi
    stays "the window stays after the command" "$x0" "$y0"
    away
done

# Double clicks through the layouts and back: Tiny -> Normal -> Small ->
# Tiny. The wider layouts are pulled back from the right edge.
for layout in "Normal 366 217 914" "Small 366 77 914" "Tiny 140 26 914"; do
    read -r name lw lh lx <<<"$layout"
    hover_graph 40
    xdotool click --repeat 2 --delay 80 1
    sleep 0.6
    read -r x y w h < <(geometry "$wid")
    check "a double click shows the $name layout at the right edge (got ${w}x$h at $x,$y)" \
        [ "$w $h $x $y" = "$lw $lh $lx 0" ]
    away
done
hover_graph 30
stays "hovering the Tiny graph again leaves it in place" 914 0
away

# The window manager moves the window (a keyboard move, a script): the
# program's next resize keeps the new place.
xdotool windowmove "$wid" 300 200
sleep 0.5
hover_graph 30
stays "after the window manager moved it, a hover leaves it there" 300 200
away
xdotool mousemove --sync 340 210 mousedown 1
for _ in 1 2 3 4 5; do xdotool mousemove_relative --sync 10 5; sleep 0.05; done
xdotool mouseup 1
sleep 0.5
stays "a drag by the graph moves it by the pointer's way" 350 225
away
hover_graph 30
stays "and a hover after the drag leaves it there" 350 225
away

# Hidden in the notification area, the window comes back when the area goes
# away and goes back in when the area returns, as the user left it.
hover_graph 60
xdotool click 3
wait_menu
sleep 0.3
xdotool key Down Return # "Hide to System Tray"
hidden() { [ -z "$(window_id)" ]; }
check "hidden in the notification area" wait_for 20 hidden
kill "$DESKTOP_TRAY_PID"
wait "$DESKTOP_TRAY_PID" 2>/dev/null
check "the area gone, the window shows" wait_window
desktop_tray
check "the area back, the window goes back into it" wait_for 50 hidden
stop_trafalo
check "saved as hidden ($(ini Tray))" [ "$(ini Tray)" = True ]

suite_end
