#!/usr/bin/env bash
# "Toggle Taskbar" through the real program against stand-ins of the Xfce
# and Plasma panels on the session bus: two toggles set auto-hide and clear
# it; a hung Xfconf holds up nothing; on GNOME nothing is called and nothing
# fails.
#   taskbar_test.sh PATH_TO_TRAFALO
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop_lib.sh" "$@"

suite_start
stub=""
on_exit() { [ -n "$stub" ] && kill "$stub" 2>/dev/null; }
start() { # XDG_CURRENT_DESKTOP
    XDG_CURRENT_DESKTOP=$1 start_shown 'SmallUI=0\n'
    sleep 0.5
}
stand_in() { # template bus-name [parameters]
    local parameters=${3:-'{}'}
    : >"$T/calls.log"
    /usr/bin/python3 -m dbusmock --template "$here/$1" -p "$parameters" -l "$T/calls.log" >"$T/stub.log" 2>&1 &
    stub=$!
    wait_for 50 gdbus introspect --session -d "$2" -o / >/dev/null 2>&1
}
stop_stand_in() { kill "$stub"; wait "$stub" 2>/dev/null; stub=""; }
toggle() { choose Down 6; } # "Toggle Taskbar", below Toggle Mute
behavior() { # panel
    gdbus call --session -d org.xfce.Xfconf -o /org/xfce/Xfconf -m org.xfce.Xfconf.GetProperty xfce4-panel \
        "/panels/panel-$1/autohide-behavior" | sed -E 's/.* ([0-9]+)>.*/\1/'
}

stand_in xfconf_stub.py org.xfce.Xfconf
start XFCE
toggle
check "Xfce: the task list's panel hides itself ($(behavior 2)), the other is left alone ($(behavior 1))" \
    bash -c "[ '$(behavior 2)' = 2 ] && [ '$(behavior 1)' = 0 ]"
toggle
check "a second toggle clears it ($(behavior 2))" [ "$(behavior 2)" = 0 ]
stop_trafalo

# A hung Xfconf takes every call and answers none: three toggles in a row
# hold up nothing, and the program still ends at once.
stop_stand_in
stand_in xfconf_stub.py org.xfce.Xfconf '{"stall": true}'
start XFCE
ping_start 6
toggle
toggle
toggle
answered_meanwhile "a hung Xfconf, three toggles"
check_prompt_end
stop_stand_in
stand_in xfconf_stub.py org.xfce.Xfconf

calls=$(grep -c Property "$T/calls.log")
start GNOME
toggle
check "GNOME: nothing is called on any panel" [ "$(grep -c Property "$T/calls.log")" = "$calls" ]
check "and the widget runs on" kill -0 "$pid"
stop_trafalo
stop_stand_in

stand_in plasma_stub.py org.kde.plasmashell
start KDE
toggle
check "Plasma: the panel hides itself" grep -q "p.hiding = 'autohide'" "$T/calls.log"
toggle
check "a second toggle clears it" grep -q "p.hiding = 'none'" "$T/calls.log"
stop_trafalo

suite_end
