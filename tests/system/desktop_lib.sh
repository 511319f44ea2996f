# Helpers of the desktop tests: checks, the program's window, screenshots.
# A suite sources it with its own arguments, the program first:
#   here=$(cd "$(dirname "$0")" && pwd); source "$here/desktop_lib.sh" "$@"
# and ends with suite_end. Sets $trafalo (the program, as an absolute path).
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/desktop.sh"
[ $# -ge 1 ] && trafalo=$(readlink -f "$1")

failures=0
passes=0
check() { # description, then a command that must succeed
    local what=$1
    shift
    if "$@"; then
        passes=$((passes + 1))
        echo "ok - $what"
    else
        failures=$((failures + 1))
        echo "FAILED - $what"
    fi
}

# xdotool can hang on a window that goes away while it searches: bound it.
# The main window is the one the window manager manages; menus and tooltips
# are override-redirect windows of the same name.
override_redirect() { timeout 5 xwininfo -id "$1" 2>/dev/null | grep -q 'Override Redirect State: yes'; }
window_id() {
    local id
    for id in $(timeout 5 xdotool search --onlyvisible --name '^Trafalo$' 2>/dev/null); do
        override_redirect "$id" || { echo "$id"; return; }
    done
}
window_shown() { [ -n "$(window_id)" ]; }
wait_window() { wait_for 100 window_shown; }
geometry() { # prints "X Y W H" of the window in root coordinates
    timeout 5 xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
        /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}
# The menus are the program's override-redirect windows taller than a tooltip.
menu_ids() {
    local id mh
    for id in $(timeout 5 xdotool search --onlyvisible --class trafalo 2>/dev/null); do
        override_redirect "$id" || continue
        read -r _ _ _ mh < <(geometry "$id")
        [ "${mh:-0}" -gt 100 ] && echo "$id"
    done
}
menu_open() { [ -n "$(menu_ids)" ]; }
menu_closed() { [ -z "$(menu_ids)" ]; }
wait_menu() { wait_for 30 menu_open; }
close_menu() {
    local i
    for i in 1 2 3; do
        menu_closed && return 0
        xdotool key Escape
        sleep 0.2
    done
}
# Opens the menu on the title and picks an item with the keyboard: "Up n"
# counts from the bottom (Exit is 1), "Down n" from the top.
choose() {
    read -r x y _ _ < <(geometry "$(window_id)")
    xdotool mousemove $((x + 150)) $((y + 15)) click 3
    wait_menu || return 1
    # Mapped is not yet listening: a loaded machine may take a moment
    # before the menu holds the keyboard.
    sleep 0.3
    xdotool key --delay 60 $(yes "$1" | head -n "$2") Return
    sleep 0.4
}
ini() { grep -E "^$(printf '%s' "$1" | sed 's/ /%20/g')=" "$XDG_CONFIG_HOME/Trafalo/Trafalo.ini" | cut -d= -f2-; }
ended() { ! kill -0 "$1" 2>/dev/null; }
stop_trafalo() { # [pid]: the program ($pid, then forgotten) by default
    local p=${1:-$pid}
    [ "$p" = "$pid" ] && pid=""
    kill -TERM "$p" 2>/dev/null
    wait_for 50 ended "$p"
    wait "$p" 2>/dev/null
}
shot() { # file w h x y: the window's part of the screen
    import -window root "$DESKTOP_DIR/root.png"
    convert "$DESKTOP_DIR/root.png" -crop "${2}x${3}+${4}+${5}" +repage "$1"
}
loopback_traffic() { # seconds
    /usr/bin/python3 - "$1" <<'PY'
import socket, sys, time
s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
end = time.time() + float(sys.argv[1])
while time.time() < end:
    for _ in range(50):
        s.sendto(b"x" * 1400, ("127.0.0.1", 9))
    time.sleep(0.01)
PY
}


# A StatusNotifierWatcher stand-in on the session bus: Qt then shows the icon
# as a StatusNotifierItem. Sets $watcher to its process.
start_sni_watcher() {
    /usr/bin/python3 -m dbusmock org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.kde.StatusNotifierWatcher \
        >"$DESKTOP_DIR/watcher.log" 2>&1 &
    watcher=$!
    wait_for 50 gdbus introspect --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher >/dev/null 2>&1
    gdbus call --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher \
        -m org.freedesktop.DBus.Mock.AddProperties org.kde.StatusNotifierWatcher \
        "{'IsStatusNotifierHostRegistered': <true>, 'ProtocolVersion': <0>, 'RegisteredStatusNotifierItems': <@as []>}" >/dev/null
    gdbus call --session -d org.kde.StatusNotifierWatcher -o /StatusNotifierWatcher \
        -m org.freedesktop.DBus.Mock.AddMethods org.kde.StatusNotifierWatcher \
        "[('RegisterStatusNotifierItem', 's', '', ''), ('RegisterStatusNotifierHost', 's', '', '')]" >/dev/null
}

# Starts the program ($pid) on a settings file of these lines (printf
# escapes) after "Connection=0"; further arguments go to the program. Its
# output goes to $T/trafalo.log.
start_program() { # settings [arguments...]
    mkdir -p "$XDG_CONFIG_HOME/Trafalo"
    printf '[Setting]\nConnection=0\n%b' "$1" >"$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
    "$trafalo" "${@:2}" >>"$T/trafalo.log" 2>&1 &
    pid=$!
}
start_shown() { start_program "$@" && wait_window; } # settings [arguments...]

# A suite's desktop and its clean-up at exit: the program ($pid) is stopped,
# the helpers the suite started ($helpers) are ended newest first, the
# suite's own on_exit runs if it has one, the logs of a failed run are kept
# in $TRAFALO_LOGS (default /tmp), and the desktop goes. Sets $T to its folder.
pid=""
helpers=()
suite_start() { # desktop_start's options
    desktop_start "$@"
    T=$DESKTOP_DIR
    trap suite_cleanup EXIT
}
suite_cleanup() {
    [ -n "$pid" ] && stop_trafalo
    local i
    for ((i = ${#helpers[@]} - 1; i >= 0; i--)); do
        end_process "${helpers[$i]}"
    done
    declare -F on_exit >/dev/null && on_exit
    [ "$failures" = 0 ] || cp "$T"/*.log "$T"/*.png "${TRAFALO_LOGS:-/tmp}/" 2>/dev/null
    desktop_stop
}
wait_for() { # tenths command...: until the command succeeds
    local i
    for i in $(seq 1 "$1"); do
        "${@:2}" && return 0
        sleep 0.1
    done
    return 1
}

# The pointer as a hand moves it: in from below the window in a few steps to
# (dx, middle) of the window, and away to the middle of the screen.
hover_graph() { # dx
    local x y w h step mid
    read -r x y w h < <(geometry "$(window_id)")
    mid=$((h / 2))
    [ "$h" = 217 ] && mid=176 # the Normal layout's graph is at its bottom
    for step in 40 20 0; do
        xdotool mousemove --sync $((x + $1)) $((y + mid + step))
        sleep 0.05
    done
    sleep 0.5
}
away() {
    xdotool mousemove --sync 640 500
    sleep 0.3
}
# The window's left and top, read from the X server, are still (x, y).
stays() { # description x y
    local gx gy
    read -r gx gy _ _ < <(geometry "$(window_id)")
    check "$1 (at $gx,$gy, wanted $2,$3)" [ "$gx $gy" = "$2 $3" ]
}

# Whether the window's thread is ever held up while commands run: it is
# pinged as window managers do for the given seconds in the background, and
# every answer must come within half a second (an idle window answers within
# a few milliseconds; a wait on another process shows as a second or more).
pinger=""
ping_start() { # seconds
    /usr/bin/python3 "$here/window_ping.py" "$(window_id)" "$1" >"$T/ping" &
    pinger=$!
}
answered_meanwhile() { # what
    local longest answered sent
    wait "$pinger"
    read -r longest answered sent <"$T/ping"
    check "$1: every ping answered within 500 ms (longest ${longest:-?} ms, ${answered:-0} of ${sent:-?})" \
        [ "${answered:-0}" = "${sent:-none}" -a "${longest:-9999}" -lt 500 ]
}

# Stops the program ($pid) and checks that it ended within 3 s of the
# request: a wait on a stalled service must not hold up the exit.
check_prompt_end() {
    local t0
    t0=$(date +%s%N)
    stop_trafalo
    check "the program then ends within 3 s" [ $((($(date +%s%N) - t0) / 1000000)) -lt 3000 ]
}

# A PulseAudio server with a null sink as the default output; on_exit of a
# suite that started it stops it.
pulse=""
start_pulse() {
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --load=module-null-sink \
        --load=module-native-protocol-unix >>"$T/pulse.log" 2>&1 &
    pulse=$!
    helpers+=("$pulse")
    wait_for 50 pactl info >/dev/null 2>&1
}
muted() { pactl get-sink-mute @DEFAULT_SINK@ | awk '{print $2}'; }
is_muted() { [ "$(muted)" = "$1" ]; }

# The end of a suite: no sanitizer report in the logs of its programs, the
# counts, and its status.
suite_end() {
    check "no sanitizer report from the program" bash -c "! cat '$T'/*.log 2>/dev/null | grep -E 'Sanitizer|runtime error'"
    cat "$T"/*.log 2>/dev/null | grep -E -A12 'Sanitizer|runtime error' | head -40
    echo "# $passes passed, $failures failed"
    [ "$failures" = 0 ]
}
