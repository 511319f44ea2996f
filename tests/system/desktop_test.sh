#!/usr/bin/env bash
# The real program on a real (virtual) desktop: Xvfb with openbox.
#   desktop_test.sh PATH_TO_TRAFALO [SCREENSHOT_FOLDER]
# Checks the Normal window with live values, one instance per user, the
# settings written at exit and restored at the next start, and a garbled
# settings file.
set -u
here=$(cd "$(dirname "$0")" && pwd)
trafalo=$1
shots=${2:-}
source "$here/../../scripts/desktop.sh"

source "$here/desktop_lib.sh"

suite_start --tray # keeps the logs (the tray host's too) of a failed run

tiny_x=$((1280 - 140 - 120))
normal_x=$((1280 - 366 - 120))

# 1. First start with nothing but the watched interface saved (lo, so the
# test's loopback traffic shows): the Tiny mode at the top right.
mkdir -p "$XDG_CONFIG_HOME/Trafalo"
printf '[Setting]\nConnection=0\n' >"$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
"$trafalo" >"$DESKTOP_DIR/trafalo.log" 2>&1 &
pid=$!
check "the window appears" wait_window
wid=$(window_id)
read -r x y w h < <(geometry "$wid")
check "an empty store starts Tiny, 140 x 26 (got ${w}x${h})" [ "$w $h" = "140 26" ]
check "placed at the top, 120 px left of the right edge (got $x,$y)" [ "$x $y" = "$tiny_x 0" ]
loopback_traffic 3
shot "$DESKTOP_DIR/tiny.png" "$w" "$h" "$x" "$y"
[ -n "$shots" ] && cp "$DESKTOP_DIR/tiny.png" "$shots/tiny.png"
green=$(convert "$DESKTOP_DIR/tiny.png" -crop 75x26+0+0 -fill black +opaque 'rgb(0,255,0)' -format '%[fx:int(mean.g*w*h)]' info:)
check "the Tiny graph plots green bars ($green green pixels)" [ "$green" -gt 20 ]

# 2. A second start opens no second window and ends at once.
start=$(date +%s%N)
timeout 10 "$trafalo" >/dev/null 2>&1
rc=$?
elapsed=$((($(date +%s%N) - start) / 1000000))
check "a second start ends by itself (rc $rc, ${elapsed} ms)" [ "$rc" = 0 ]
count=$(xdotool search --onlyvisible --name '^Trafalo$' | wc -l)
check "still one window ($count)" [ "$count" = 1 ]

# 3. Exit saves every key of the shutdown list.
stop_trafalo "$pid"
check "the program ended on SIGTERM" bash -c "! kill -0 $pid 2>/dev/null"
expected=("Connection=0" "Left=$((tiny_x * 15))" "Top=0" "Tray=False" "System tray icon type=True"
    "Always On Top=True" "Transparent=True" "Sound=True" "SmallUI=2" "ShowExtendedButton=True"
    "ShowBandwidth=True" "Battery=True" "ShowRealIP=True")
for pair in "${expected[@]}"; do
    key=${pair%%=*}
    check "saved $pair (got $(ini "$key"))" [ "$(ini "$key")" = "${pair#*=}" ]
done

# 4. A restart restores a changed place, mode and options, and saves them again.
sed -i -e 's/^Left=.*/Left=3000/' -e 's/^Top=.*/Top=-150/' -e 's/^Sound=.*/Sound=False/' \
    -e 's/^SmallUI=.*/SmallUI=0/' "$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
"$trafalo" >>"$DESKTOP_DIR/trafalo.log" 2>&1 &
pid=$!
check "the window appears again" wait_window
read -r x y w h < <(geometry "$(window_id)")
check "Normal layout is 366 x 217 (got ${w}x${h})" [ "$w $h" = "366 217" ]
# Top -150 twips is 10 pixels above the screen: the snapping tick pulls it in.
check "restored at 200 and pulled to the top edge (got $x,$y)" [ "$x $y" = "200 0" ]
sleep 2.2
shot "$DESKTOP_DIR/before.png" "$w" "$h" "$x" "$y"
loopback_traffic 3
sleep 1.2
shot "$DESKTOP_DIR/after.png" "$w" "$h" "$x" "$y"
# The readouts (totals and speeds) change while traffic flows.
changed=$(compare -metric AE -crop 366x52+0+85 "$DESKTOP_DIR/before.png" "$DESKTOP_DIR/after.png" null: 2>&1 | cut -d' ' -f1)
check "the readouts change with loopback traffic ($changed pixels)" [ "${changed%.*}" -gt 50 ]
green=$(convert "$DESKTOP_DIR/after.png" -crop 192x13+0+75 -fill black +opaque 'rgb(0,255,0)' -format '%[fx:int(mean.g*w*h)]' info:)
check "the received total is drawn in green ($green green pixels)" [ "$green" -gt 20 ]
[ -n "$shots" ] && cp "$DESKTOP_DIR/after.png" "$shots/normal.png"
stop_trafalo "$pid"
check "Left kept ($(ini Left))" [ "$(ini Left)" = 3000 ]
check "Top saved as pulled in ($(ini Top))" [ "$(ini Top)" = 0 ]
check "Sound kept" [ "$(ini Sound)" = False ]
check "SmallUI kept" [ "$(ini SmallUI)" = 0 ]

# The Small mode: the graph alone.
sed -i -e 's/^SmallUI=.*/SmallUI=1/' -e 's/^Top=.*/Top=0/' "$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
"$trafalo" >>"$DESKTOP_DIR/trafalo.log" 2>&1 &
pid=$!
wait_window
read -r x y w h < <(geometry "$(window_id)")
check "Small layout is 366 x 77 (got ${w}x${h})" [ "$w $h" = "366 77" ]
loopback_traffic 4
shot "$DESKTOP_DIR/small.png" "$w" "$h" "$x" "$y"
[ -n "$shots" ] && cp "$DESKTOP_DIR/small.png" "$shots/small.png"
stop_trafalo "$pid"

# 5. A garbled settings file: defaults, no crash, and a clean file after exit.
head -c 4096 /dev/urandom >"$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
"$trafalo" >>"$DESKTOP_DIR/trafalo.log" 2>&1 &
pid=$!
check "starts on a garbled settings file" wait_window
read -r x y w h < <(geometry "$(window_id)")
check "garbled place falls back to the default ($x,$y)" [ "$x $y" = "$tiny_x 0" ]
stop_trafalo "$pid"
check "saved cleanly after garbage" [ "$(ini SmallUI)" = 2 ]

# 7. Hidden in the notification area: the icon's picture follows the traffic,
# exit saves "Tray" as True, and a left click on the icon shows the window.
printf '[Setting]\nConnection=0\nTray=True\nSmallUI=0\n' >"$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
"$trafalo" >>"$DESKTOP_DIR/trafalo.log" 2>&1 &
pid=$!
sleep 2
check "starts hidden: no visible window" [ -z "$(window_id)" ]
panel=$(xdotool search --name '^panel$' | head -n1)
read -r px py pw ph < <(geometry "$panel")
check "the icon sits in the tray (${pw}x${ph} at $px,$py)" [ "${pw:-0}" -ge 16 ]
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
stop_trafalo "$pid"
check "exit while hidden saves Tray=True ($(ini Tray))" [ "$(ini Tray)" = True ]
"$trafalo" >>"$DESKTOP_DIR/trafalo.log" 2>&1 &
pid=$!
sleep 2
check "the next start is hidden again" [ -z "$(window_id)" ]
xdotool mousemove --sync $((px + pw / 2)) $((py + ph / 2)) click 1
check "a left click on the icon shows the window" wait_window
stop_trafalo "$pid"
check "exit while shown saves Tray=False ($(ini Tray))" [ "$(ini Tray)" = False ]

# 8. With a StatusNotifierWatcher on the bus the icon is a StatusNotifierItem:
# its tooltip and picture read over D-Bus, and Activate shows the window.
start_sni_watcher
printf '[Setting]\nConnection=0\nTray=True\nSmallUI=0\n' >"$DESKTOP_DIR/config/Trafalo/Trafalo.ini"
"$trafalo" >>"$DESKTOP_DIR/trafalo.log" 2>&1 &
pid=$!
sleep 3
check "an idle link shows the window's own icon: $(/usr/bin/python3 "$here/sni_check.py" idle)" \
    /usr/bin/python3 "$here/sni_check.py" idle
loopback_traffic 3
check "the item's tooltip has three lines: $(/usr/bin/python3 "$here/sni_check.py" tooltip)" \
    /usr/bin/python3 "$here/sni_check.py" tooltip
check "the item's picture is the traffic graph: $(/usr/bin/python3 "$here/sni_check.py" picture 20)" \
    /usr/bin/python3 "$here/sni_check.py" picture 20
/usr/bin/python3 "$here/sni_check.py" activate
check "Activate shows the window" wait_window
stop_trafalo "$pid"
kill "$watcher" 2>/dev/null
wait "$watcher" 2>/dev/null

# 9. The notification area going away while hidden brings the window back;
# without one, a start saved hidden shows the window.
printf '[Setting]\nConnection=0\nTray=True\nSmallUI=0\n' >"$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
"$trafalo" >>"$DESKTOP_DIR/trafalo.log" 2>&1 &
pid=$!
sleep 2
check "hidden behind the tray host's icon" [ -z "$(window_id)" ]
kill "$DESKTOP_TRAY_PID"
check "the tray host gone, the window comes back" wait_window
stop_trafalo "$pid"
check "and is saved as hidden, as the user left it ($(ini Tray))" [ "$(ini Tray)" = True ]
sed -i 's/^Tray=.*/Tray=True/' "$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
"$trafalo" >>"$DESKTOP_DIR/trafalo.log" 2>&1 &
pid=$!
check "saved hidden but no tray host: the window shows" wait_window
stop_trafalo "$pid"

# 10. A first start watches the interface the traffic takes, in a network
# namespace of the test's own: lo and a veth pair, listed by index (lo first,
# then the pair's ends in the order the kernel numbered them), the default
# route through the second end; then no route; then only lo.
first_start() { # the position "Connection" is saved with after a first start
    rm -f "$XDG_CONFIG_HOME/Trafalo/Trafalo.ini"
    ip netns exec "$ns" "$trafalo" >>"$DESKTOP_DIR/trafalo.log" 2>&1 &
    pid=$!
    wait_window
    stop_trafalo "$pid"
    ini Connection
}
ns=trafalo-test-$$
if [ "$(id -u)" = 0 ] && ip netns add "$ns" 2>/dev/null; then
    ip -n "$ns" link set lo up
    ip -n "$ns" link add va type veth peer name vb
    ip -n "$ns" link set va up
    ip -n "$ns" link set vb up
    second=$(ip -n "$ns" -o link show | awk -F': ' '$2 ~ /^v[ab]/ { sub(/@.*/, "", $2); name = $2 } END { print name }')
    ip -n "$ns" addr add 10.7.0.1/24 dev "$second"
    ip -n "$ns" route add default via 10.7.0.2 dev "$second"
    got=$(first_start)
    check "a first start selects the default route's $second, position 2 (got $got)" [ "$got" = 2 ]
    ip -n "$ns" route flush default
    got=$(first_start)
    check "no default route: the first one up that is no loopback, position 1 (got $got)" [ "$got" = 1 ]
    ip -n "$ns" link del va
    got=$(first_start)
    check "only lo: entry 0 (got $got)" [ "$got" = 0 ]
    ip netns del "$ns"
else
    echo "skipped: the first start in a network namespace needs root"
fi

# 6. A lock left by a killed instance does not block the next start.
"$trafalo" >>"$DESKTOP_DIR/trafalo.log" 2>&1 &
pid=$!
wait_window
kill -KILL "$pid"
wait "$pid" 2>/dev/null
"$trafalo" >>"$DESKTOP_DIR/trafalo.log" 2>&1 &
pid=$!
check "starts after a crashed instance" wait_window
stop_trafalo "$pid"

# Under the sanitizers the program's own reports land in its log.
check "no sanitizer report from the program" bash -c "! grep -E 'Sanitizer|runtime error' '$DESKTOP_DIR/trafalo.log'"
grep -E -A12 'Sanitizer|runtime error' "$DESKTOP_DIR/trafalo.log" | head -40

echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
