#!/usr/bin/env bash
# "Toggle Mute Volume" through the real program on a PulseAudio null sink:
# the mute state flips and the beeps are recorded from the sink's monitor;
# a stalled server, no server and a server that never answers hold up
# nothing; pointer moves over the Tiny graph share one connection.
#   speakers_test.sh PATH_TO_TRAFALO
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/desktop_lib.sh" "$@"

suite_start
stop_pulse() { kill "$pulse"; wait "$pulse" 2>/dev/null; pulse=""; }
start() { # SmallUI
    start_shown "SmallUI=$1\nShowExtendedButton=1\n"
    sleep 0.5
}
toggle() { choose Down 5; } # "Toggle Mute Volume", below Eject All
record() { # file: records the sink's monitor until stop_record
    parec -d null.monitor --raw --format=s16le --channels=1 --rate=44100 >"$1" 2>/dev/null &
    recorder=$!
    sleep 0.3
}
stop_record() { sleep 0.3; kill "$recorder"; wait "$recorder" 2>/dev/null; }
# yes|no: a stream's first start on the null sink takes a second or two
wait_muted() { wait_for 60 is_muted "$1"; }

start_pulse || { echo "FAILED - no PulseAudio"; exit 1; }
start 0
record "$T/mute.raw"
toggle
wait_muted yes
stop_record
check "the toggle mutes the default sink ($(muted))" [ "$(muted)" = yes ]
tones=$(/usr/bin/python3 "$here/tones.py" "$T/mute.raw")
echo "$tones" | sed 's/^/# muting: /'
read -r ms hz < <(echo "$tones" | head -n1)
check "one tone of about 100 ms at 280 Hz before the mute (${ms:-none} ms, ${hz:-?} Hz)" \
    bash -c "[ $(echo "$tones" | grep -c .) = 1 ] && [ ${ms:-0} -ge 85 ] && [ ${ms:-0} -le 115 ] && [ ${hz:-0} -ge 270 ] && [ ${hz:-0} -le 290 ]"

record "$T/unmute.raw"
toggle
wait_muted no
two_tones() { [ "$(/usr/bin/python3 "$here/tones.py" "$T/unmute.raw" | grep -c .)" -ge 2 ]; }
wait_for 60 two_tones # the beeps follow the unmute
stop_record
check "the second toggle unmutes it ($(muted))" [ "$(muted)" = no ]
tones=$(/usr/bin/python3 "$here/tones.py" "$T/unmute.raw")
echo "$tones" | sed 's/^/# unmuting: /'
rising=$(echo "$tones" | awk '{ printf "%s%s", (NR > 1 ? " " : ""), int(($2 + 5) / 10) * 10 "/" $1 }')
check "then 300 Hz and 360 Hz, 60 ms each ($rising)" bash -c "[[ '$rising' =~ ^300/(5[5-9]|6[0-5])\ 360/(5[5-9]|6[0-5])$ ]]"
stop_trafalo

# Tiny with the extended button: every pointer move over the graph asks the
# mute state; one connection answers them all.
start 2
read -r x y _ _ < <(geometry "$(window_id)")
for i in $(seq 1 200); do xdotool mousemove $((x + 10 + i % 90)) $((y + 12)); done
sleep 0.5
clients=$(pactl list clients | grep -c 'application.name = "Trafalo"')
check "200 pointer moves, one connection ($clients)" [ "$clients" = 1 ]
stop_trafalo

# A sound server that stops answering once connected (stopped), none at
# all, and one that accepts and never answers: three toggles in a row each
# time, and the window's thread is never held up. The stopped server, woken,
# carries out the toggles in the order they were asked.
three_toggles() { # what
    ping_start 6
    toggle
    toggle
    toggle
    answered_meanwhile "$1"
}
start 0
toggle
wait_muted yes
kill -STOP "$pulse"
three_toggles "a stalled server"
kill -CONT "$pulse"
check "woken, the server ends unmuted: yes, then no, yes, no ($(muted))" wait_muted no
check_prompt_end

stop_pulse
start 0
three_toggles "no server"
stop_trafalo
mkdir -p "$XDG_RUNTIME_DIR/pulse"
/usr/bin/python3 -c '
import socket, sys, time
s = socket.socket(socket.AF_UNIX)
s.bind(sys.argv[1]); s.listen(8)
held = []
while True:
    c, _ = s.accept(); held.append(c)
' "$XDG_RUNTIME_DIR/pulse/native" &
helpers+=($!)
sleep 0.3
start 0
three_toggles "a server that never answers"
check_prompt_end

suite_end
