#!/usr/bin/env bash
# "Kill <entry>" through the real program, on copies of sleep the test starts
# under chosen names: matches end within a second, near names survive,
# another user's copy survives a widget run as root, and "*" run by a
# user of the test's own leaves the widget, the session process that started
# it and the user's session bus alive. Root only (for that user).
# (choose and geometry set x and y: the test keeps its own names apart.)
#   killer_test.sh PATH_TO_TRAFALO
set -u
[ "$(id -u)" = 0 ] || { echo "skipped: needs root for a user of its own"; exit 77; }
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop_lib.sh" "$@"

suite_start
user=trafalo-kill-test
useradd --system --no-create-home --shell /usr/sbin/nologin "$user" 2>/dev/null
uid=$(id -u "$user")
started=()
on_exit() {
    for p in "${started[@]}"; do kill -KILL "$p" 2>/dev/null; done
    pkill -KILL -u "$uid" 2>/dev/null
    userdel "$user" 2>/dev/null
}

# The program in a folder of its own, with its list beside it.
prog=$(mktemp -d /tmp/trafalo-kill.XXXXXX)
chmod 755 "$prog"
cp "$(readlink -f "$1")" "$prog/trafalo"
for name in notepad notepadx calc; do cp /bin/sleep "$prog/$name"; done
trafalo=$prog/trafalo
run() { # name [user]: a copy of sleep under that name
    if [ -n "${2:-}" ]; then
        setpriv --reuid="$uid" --regid="$uid" --clear-groups "$prog/$1" 600 &
    else
        "$prog/$1" 600 &
    fi
    started+=($!)
    last=$!
}
alive() { kill -0 "$1" 2>/dev/null && [ "$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null)" != Z ]; }
all_gone() { local p; for p in "$@"; do ! alive "$p" || return 1; done; }
wait_gone() { # tenths pid...: false without a pid, so that a copy never started cannot pass
    [ $# -ge 2 ] && [ -n "$2" ] && wait_for "$1" all_gone "${@:2}"
}
kill_command() { choose Up 5; } # above Always On Top

# 1. An LF list: three copies of notepad end within a second, notepadx and
# another user's notepad survive.
printf '; editors\n  notepad  \n' >"$prog/killlist.txt"
run notepad; a=$last; run notepad; b=$last; run notepad; c=$last
run notepadx; near=$last
run notepad other; theirs=$last
start_shown 'SmallUI=0\n' && sleep 0.5

kill_command
check "three copies of notepad end within a second" wait_gone 10 "$a" "$b" "$c"
check "notepadx survives \"notepad\"" alive "$near"
check "another user's notepad survives a widget run as root" alive "$theirs"
check "the widget lives on" alive "$pid"
stop_trafalo

# (A CRLF list and a process that ignores SIGTERM, killed after the grace, are
# pinned on fakes: KillList.EntriesCaptionAndPattern,
# KillListedProcesses.EndsOnlyOwnMatchesAndForcesTheStubbornAfterTheGrace.)

# 2. "*" in the list of a widget a user of the test's own started from a
# session process, with a session bus of that user's: the session, its bus
# and the widget live on; a sibling the session started and another copy of
# the user's end; the widget still answers.
home=$(mktemp -d /tmp/trafalo-kill-home.XXXXXX)
mkdir -p "$home/config/Trafalo"
printf '[Setting]\nConnection=0\nSmallUI=0\n' >"$home/config/Trafalo/Trafalo.ini"
chown -R "$uid:$uid" "$home"
chmod 700 "$home"
printf '*\n' >"$prog/killlist.txt"
cp /bin/bash "$prog/session"
as_user() {
    setpriv --reuid="$uid" --regid="$uid" --clear-groups env HOME="$home" XDG_CONFIG_HOME="$home/config" \
        XDG_RUNTIME_DIR="$home" DBUS_SESSION_BUS_ADDRESS="unix:path=$home/bus" "$@"
}
as_user dbus-daemon --session --nofork --address="unix:path=$home/bus" >>"$T/user.log" 2>&1 &
bus=$!
started+=($bus)
wait_for 50 test -S "$home/bus"
run calc other; mine=$last
as_user "$prog/session" -c '"$1" >>"$2" 2>&1 & "$3" 600 & wait' session "$prog/trafalo" "$home/trafalo.log" "$prog/calc" &
started+=($!)
wait_window
# The session process itself (the job above is the shell that started it).
session=$(pgrep -u "$uid" -f "^$prog/session ")
pid=$(pgrep -u "$uid" -f "^$prog/trafalo")
sibling=$(pgrep -u "$uid" -P "$session" -f "^$prog/calc")
sleep 0.5
kill_command
check "\"*\" ends the user's copy" wait_gone 30 "$mine"
check "and the sibling the session started" wait_gone 30 "$sibling"
sleep 0.5
check "the session process that started the widget lives on" alive "$session"
check "so does the user's session bus" alive "$bus"
check "and the widget" alive "$pid"
check "and every process of others" alive "$near"
read -r x y _ _ < <(geometry "$(window_id)")
xdotool mousemove $((x + 150)) $((y + 15)) click 3
check "the widget answers: its menu opens" wait_menu
close_menu
# Each ends before its folders go: the widget writes its settings on the way out.
for p in "$pid" "$session" "$bus"; do end_process "$p"; done
pid=""
rm -rf "$home" "$prog"

suite_end
