#!/usr/bin/env bash
# The real program under the faults a user's machine brings: a full disk at
# exit, kills during the save, hang-ups, lock files left by a crash, an
# unwritable folder, clock corrections and a notification area that goes away. Needs root for the mount namespace.
#   faults_test.sh PATH_TO_TRAFALO
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop_lib.sh" "$@"

suite_start
ini_file="$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
mkdir -p "$XDG_CONFIG_HOME/Trafalo"
log="$DESKTOP_DIR/trafalo.log"
start() { # starts the program in the background with "$@" before it (env settings)
    env "$@" "$trafalo" >>"$log" 2>&1 &
    pid=$!
}
# Each sample of the shutdown list the program writes; the last one is ShowRealIP.
whole() { grep -q '^\[Setting\]$' "$1" && grep -q '^Connection=' "$1" && [ "$(tail -c1 "$1" | od -An -c | tr -d ' ')" = '\n' ]; }
whole_new() { grep -q '^ShowRealIP=' "$1" && whole "$1"; }

# 1. SIGHUP (a terminal or session closing) saves and ends like SIGTERM.
printf '[Setting]\nConnection=0\nSmallUI=0\n' >"$ini_file"
start
wait_window
kill -HUP "$pid"
wait_for 50 ended "$pid"
check "SIGHUP ends the program" bash -c "! kill -0 $pid 2>/dev/null"
wait "$pid" 2>/dev/null
check "SIGHUP saved the shutdown list ($(ini Sound))" whole_new "$ini_file"

# 2. Killed at any moment after SIGTERM: the file is the old one or the new one, whole.
torn=0
for cycle in $(seq 1 30); do
    printf '[Setting]\nConnection=0\nCycle=%s\nurl=%s\n' "$cycle" "$(head -c 20000 /dev/zero | tr '\0' u)" >"$ini_file"
    cp "$ini_file" "$DESKTOP_DIR/old.ini"
    start
    wait_window
    kill -TERM "$pid"
    sleep "0.0$((RANDOM % 40))"
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
    # New is any whole file the program wrote: the shutdown list, or the
    # start-up's own write of the interface choice on a slow start.
    if ! cmp -s "$ini_file" "$DESKTOP_DIR/old.ini" &&
        ! { whole "$ini_file" && grep -q "^Cycle=$cycle$" "$ini_file" && [ "$(grep -c '^url=u*$' "$ini_file")" = 1 ]; }; then
        torn=$((torn + 1))
        cp "$ini_file" "$DESKTOP_DIR/torn-$cycle.ini"
    fi
done
check "30 kills after SIGTERM: every file old or new and whole ($torn torn)" [ "$torn" = 0 ]

# (A garbled or huge settings file is set aside whole and the defaults used:
# QtSettingsStore.JunkIsSetAsideAndTheDefaultsUsed, on real files.)

# 4. Empty lock files left by a crash neither block nor delay a start.
printf '[Setting]\nConnection=0\n' >"$ini_file"
: >"$XDG_RUNTIME_DIR/trafalo.lock"
: >"$ini_file.lock"
start
check "an empty instance lock does not block the start" wait_window
first=$pid
timeout 10 "$trafalo" 2>"$DESKTOP_DIR/second.err"
check "a second start says it runs already: $(cat "$DESKTOP_DIR/second.err")" grep -q "already running" "$DESKTOP_DIR/second.err"
stop_trafalo "$first"

# 5. A full disk at exit and a read-only folder: the old file stays, the failure is logged.
for free_pages in 1 2; do
    out=$(unshare -m --propagation private bash -s "$free_pages" "$trafalo" <<'SH'
        set -u
        free_pages=$1
        folder=$(mktemp -d /tmp/trafalo-full.XXXXXX)
        mount -t tmpfs -o size=64k tmpfs "$folder"
        mkdir -p "$folder/Trafalo"
        printf '[Setting]\nConnection=0\nurl=%s\n' "$(head -c 6000 /dev/zero | tr '\0' u)" >"$folder/Trafalo/Trafalo.ini"
        cp "$folder/Trafalo/Trafalo.ini" /tmp/trafalo-full-old.$$
        avail=$(df -B1 --output=avail "$folder" | tail -n1)
        head -c $((avail - free_pages * 4096)) /dev/zero >"$folder/fill"
        XDG_CONFIG_HOME=$folder "$2" >"$folder.log" 2>&1 &
        pid=$!
        sleep 1.5
        kill -TERM "$pid"
        wait "$pid"
        if cmp -s "$folder/Trafalo/Trafalo.ini" /tmp/trafalo-full-old.$$; then
            grep -q "settings are not saved" "$folder.log" && echo "old,logged" || echo "old,silent"
        elif grep -q '^ShowRealIP=' "$folder/Trafalo/Trafalo.ini" && [ "$(grep -c '^url=u\{6000\}$' "$folder/Trafalo/Trafalo.ini")" = 1 ]; then
            echo "new"
        else
            echo "torn"
        fi
        rm -f /tmp/trafalo-full-old.$$ "$folder.log"
        umount "$folder"
        rmdir "$folder"
SH
    )
    check "tmpfs with $free_pages free page(s) at exit: $out" bash -c "[ '$out' = old,logged ] || [ '$out' = new ]"
done
out=$(unshare -m --propagation private bash -s "$trafalo" "$XDG_CONFIG_HOME" <<'SH'
    mount --bind "$2" "$2" && mount -o remount,bind,ro "$2"
    "$1" >"$2.ro.log" 2>&1 &
    pid=$!
    sleep 1.5
    kill -TERM "$pid"
    wait "$pid"
    grep -c "settings are not saved" "$2.ro.log"
SH
)
check "a read-only settings folder is logged, once ($out)" [ "$out" = 1 ]

# 6. The clock set back an hour, then forward a day: the readouts keep changing.
faketime_lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n1)
if [ -n "$faketime_lib" ]; then
    echo "+0" >"$DESKTOP_DIR/faketime"
    printf '[Setting]\nConnection=0\nSmallUI=0\nLeft=0\nTop=0\n' >"$ini_file"
    start LD_PRELOAD="$faketime_lib" FAKETIME_TIMESTAMP_FILE="$DESKTOP_DIR/faketime" FAKETIME_NO_CACHE=1 \
        FAKETIME_DONT_FAKE_MONOTONIC=1 ASAN_OPTIONS="${ASAN_OPTIONS:-}:verify_asan_link_order=0"
    wait_window
    for step in -1h +1d; do
        echo "$step" >"$DESKTOP_DIR/faketime"
        sleep 1.5
        read -r x y w h < <(geometry "$(window_id)")
        shot "$DESKTOP_DIR/before.png" "$w" "$h" "$x" "$y"
        loopback_traffic 2.5
        shot "$DESKTOP_DIR/after.png" "$w" "$h" "$x" "$y"
        changed=$(compare -metric AE -crop 366x52+0+85 "$DESKTOP_DIR/before.png" "$DESKTOP_DIR/after.png" null: 2>&1 | cut -d' ' -f1)
        check "clock moved $step: the readouts keep changing ($changed pixels)" [ "${changed%.*}" -gt 50 ]
    done
    stop_trafalo
else
    echo "skipped: libfaketime is not installed"
fi

# 7. The session bus goes away while hidden behind a StatusNotifierItem: the window comes back.
start_sni_watcher
printf '[Setting]\nConnection=0\nTray=True\nSmallUI=0\n' >"$ini_file"
start
sleep 2
check "hidden behind the StatusNotifierItem" [ -z "$(window_id)" ]
bus=${DESKTOP_PIDS[1]}
kill "$bus"
check "the session bus gone, the window comes back" wait_window
stop_trafalo
kill "$watcher" 2>/dev/null
wait "$watcher" 2>/dev/null

# 8. Neither HOME nor XDG_CONFIG_HOME: nothing is written under "/.config", and that is logged.
if [ ! -e /.config/Trafalo ]; then
    env -C "$DESKTOP_DIR" -u HOME -u XDG_CONFIG_HOME "$trafalo" >"$DESKTOP_DIR/nohome.log" 2>&1 &
    pid=$!
    wait_window
    stop_trafalo
    check "without HOME nothing is written under /.config" [ ! -e /.config/Trafalo ]
    check "and that is logged" grep -q "no configuration folder" "$DESKTOP_DIR/nohome.log"
    cat "$DESKTOP_DIR/nohome.log" >>"$log"
fi

# 9. The display goes away (a logout, the X server dying): a change made
# seconds before is saved already.
printf '[Setting]\nConnection=0\nSmallUI=0\nLeft=0\nTop=0\n' >"$ini_file"
start
wait_window
xdotool windowmove "$(window_id)" 300 200
sleep 4.5
kill "${DESKTOP_PIDS[0]}" # Xvfb
wait_for 50 ended "$pid"
wait "$pid" 2>/dev/null
check "the X server gone, the place moved to 4 s before is saved ($(ini Left),$(ini Top))" \
    [ "$(ini Left)" = 4500 ]

[ "$failures" = 0 ] || { echo "# the program's log, last lines:"; tail -n 25 "$log" | sed 's/^/#   /'; }

suite_end
